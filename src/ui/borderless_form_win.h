// The base of the borderless forms beside the main window (the snapshot
// viewer, the games window): an exit picture on the top edge that shows only
// while the pointer is on it and hides the form, as a close request does.
#pragma once

#include "ui/container_win.h"

namespace qv {

class BorderlessForm : public Container {
public:
    // Handlers.
    void TimeProc();  // the exit picture shows only under the pointer
    void HideProc();  // the exit picture and a close request hide the form

    Image* Img_Exit = nullptr;

    // The exit picture's poll; a form's own timers take other ids.
    static constexpr UINT_PTR kTimerId = 1;

protected:
    // Adds the exit picture, hidden and sized by its picture, at left on the
    // top edge (in front of the controls added so far), and starts its poll.
    // The form loads the picture itself.
    Image& addExitPicture(int left);

    // Answers the poll's WM_TIMER (every WM_TIMER: a form handles its own
    // timers first), WM_CLOSE and, ending the poll, WM_DESTROY.
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace qv
