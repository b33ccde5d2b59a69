// TOstrelLabel4Move.
#include "components/label4move_win.h"

#include "ui/container_win.h"

namespace qv {

void TOstrelLabel4Move::SetAbout(const std::string&) {
    MessageBoxA(owner().hwnd(),
                "Label 4 Move v1.0\r\nA drag handle for borderless windows, by Ostrel", "About",
                MB_OK | MB_ICONINFORMATION);
}

void TOstrelLabel4Move::mousePressed(POINT at) {
    window_ = GetAncestor(owner().hwnd(), GA_ROOT);
    RECT r{};
    GetWindowRect(window_, &r);
    size_ = SIZE{r.right - r.left, r.bottom - r.top};
    grab_ = at;
    dragging_ = true;
}

void TOstrelLabel4Move::mouseMoved(POINT at) {
    if (!dragging_) return;
    // The label moves with its window, so the next point is relative to the
    // label again and the grab point stays under the pointer.
    RECT r{};
    GetWindowRect(window_, &r);
    SetWindowPos(window_, HWND_TOP, r.left + at.x - grab_.x, r.top + at.y - grab_.y, size_.cx,
                 size_.cy, SWP_SHOWWINDOW);
}

}  // namespace qv
