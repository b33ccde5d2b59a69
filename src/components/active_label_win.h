// TOstrelActiveLabel: a label that takes its active colour while the pointer
// is over it (checked by a 100 ms timer of its own) and, unless a click
// handler is set, opens its target through the shell when clicked.
#pragma once

#include <windows.h>

#include <string>

#include "ui/controls_win.h"
#include "ui/thread_timer_win.h"

namespace qv {

class TOstrelActiveLabel : public Label {
public:
    explicit TOstrelActiveLabel(Container& owner);

    COLORREF ActiveColor() const { return activeColor_; }
    void SetActiveColor(COLORREF color) { activeColor_ = color; }
    COLORREF NotActiveColor() const { return notActiveColor_; }
    void SetNotActiveColor(COLORREF color) { notActiveColor_ = color; }
    const std::string& CmdExec() const { return cmdExec_; }
    void SetCmdExec(std::string target) { cmdExec_ = std::move(target); }

    // The hover check: inclusive on all four sides, whether or not the label
    // is visible or covered.
    void checkHover();

private:
    std::string cmdExec_;
    COLORREF notActiveColor_;
    COLORREF activeColor_;
    ThreadTimer timer_{[this] { checkHover(); }};
};

}  // namespace qv
