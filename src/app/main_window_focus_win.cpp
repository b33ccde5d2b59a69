// Where the main window's focus and front go: its focus stops, the focus
// kept across activations and framed, the stick's readers told of changes,
// and the front taken back after a game.
#include "app/main_window_win.h"

#include "input/stick_source_win.h"
#include "settings/play_history_store_win.h"

namespace qv {

// Any window in front but this one, another program's or one of its own (the
// games window, the viewer, a box), keeps it there; with none in front the
// window comes back.
void TF_Main::comeBackAfterRun() {
    if (!session.comeBack.pending()) return;
    auto front = [this] {
        if (GetActiveWindow() == hwnd() && GetForegroundWindow() == hwnd())
            return ComeBack::Front::kThisWindow;
        // A window already destroyed can still be named the foreground one:
        // it has no owner any more, and holds the front no more than none.
        // Nor does the desktop window, which the system can name when the
        // game's console closes and leaves nothing in front.
        DWORD owner = 0;
        if (HWND shown = GetForegroundWindow(); shown && shown != GetDesktopWindow())
            GetWindowThreadProcessId(shown, &owner);
        return owner != 0 ? ComeBack::Front::kOther : ComeBack::Front::kNone;
    };
    const std::int64_t now = SteadyMilliseconds();
    ComeBack::Step step = session.comeBack.tick(now, front());
    if (step == ComeBack::Step::kTakeFront) {
        SetForegroundWindow(hwnd());
        step = session.comeBack.tick(now, front());
    }
    // Made active while the run still kept it disabled, the window had no
    // control to give the focus to.
    if (step == ComeBack::Step::kKeepFocus && !GetFocus() && savedFocus_ && IsWindow(savedFocus_))
        SetFocus(savedFocus_);
}

void TF_Main::markFocus() {
    HWND focus = GetFocus();
    HWND parent = focus ? GetParent(focus) : nullptr;
    for (Container* surface : {static_cast<Container*>(this), static_cast<Container*>(&PA),
                               static_cast<Container*>(&PP), static_cast<Container*>(&PK),
                               static_cast<Container*>(&PJ), static_cast<Container*>(&PI)}) {
        if (surface->hwnd()) surface->markFocusedChild(parent == surface->hwnd() ? focus : nullptr);
    }
}

// "..." (B_1), the exit and the five panel pictures, the controls of the
// panel in front (and the information panel's links), Re-Scan (B_R).
std::vector<FocusStop> TF_Main::focusStops() {
    std::vector<FocusStop> stops{{.window = B_1}};
    for (Image* picture : {Img_Exit, Img_PA, Img_PP, Img_PK, Img_PJ, Img_PI})
        stops.push_back({.surface = this, .picture = picture});
    for (HWND child = GetWindow(front_->hwnd(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) stops.push_back({.window = child});
    }
    if (front_ == &PI) {
        for (Image* link : {PI.Img_Ostrel, PI.Img_Tev, PI.Img_Int})
            stops.push_back({.surface = &PI, .picture = link});
    }
    stops.push_back({.window = B_R});
    return stops;
}

StickUse TF_Main::stickUse() const {
    StickUse use = PJ.stickUse();
    // Asked afresh: the window may have changed since it last told the panel.
    use.windowActive = activeForInput();
    use.busy = Busy();
    return use;
}

// The list reads the stick before the joystick panel is made.
StickSource& TF_Main::stickSource() {
    if (!PJ.stick) PJ.stick = std::make_unique<SystemStickSource>();
    return *PJ.stick;
}

bool TF_Main::activeForInput() const {
    return GetActiveWindow() == hwnd() && IsWindowEnabled(hwnd()) && !IsIconic(hwnd());
}

void TF_Main::stickUseChanged(std::optional<bool> active) {
    const bool takesInput = active.value_or(activeForInput());
    PJ.setWindowState(takesInput, Busy(), front_ == &PJ);
    stick_.windowActivated(takesInput);
}

void TF_Main::onActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && (focus == hwnd() || IsChild(hwnd(), focus))) savedFocus_ = focus;
        return;
    }
    if (HIWORD(wp)) return;  // minimised
    if (savedFocus_ &&
        !(IsWindow(savedFocus_) && IsWindowVisible(savedFocus_) && IsWindowEnabled(savedFocus_))) {
        savedFocus_ = nullptr;  // gone with a scan, or hidden meanwhile
    }
    if (savedFocus_) SetFocus(savedFocus_);
}

}  // namespace qv
