// TOstrelActiveLabel.
#include "components/active_label_win.h"

#include <shellapi.h>

#include "ui/container_win.h"
#include "util/on_demand_win.h"

namespace qv {

TOstrelActiveLabel::TOstrelActiveLabel(Container& owner)
    : Label(owner), notActiveColor_(color()), activeColor_(color()) {
    timer_.start(100);
    onClick = [this](GraphicControl&) {
        on_demand::ShellExecuteA(nullptr, nullptr, cmdExec_.c_str(), nullptr, nullptr,
                                 SW_SHOWNORMAL);
    };
}

void TOstrelActiveLabel::checkHover() {
    POINT at{};
    if (!GetCursorPos(&at) || !owner().hwnd()) return;
    ScreenToClient(owner().hwnd(), &at);
    const RECT& r = bounds();
    const bool over = r.left <= at.x && at.x <= r.right && r.top <= at.y && at.y <= r.bottom;
    const COLORREF wanted = over ? activeColor_ : notActiveColor_;
    if (color() != wanted) setColor(wanted);
}

}  // namespace qv
