// Player 1's stick in the game list.
#include "app/main_stick_win.h"

#include "app/main_window_win.h"

namespace qv {

void MainStick::update() {
    const bool wanted = main_.settings.CB_JoyList && active_;
    if (wanted == polling_) return;
    polling_ = wanted;
    stick_.reset();
    if (wanted) {
        SetTimer(main_.hwnd(), kTimerId, kPollMs, nullptr);
    } else {
        KillTimer(main_.hwnd(), kTimerId);
    }
}

const JoystickDevice* MainStick::deviceToRead() const {
    const JoystickDevice* device = JoystickDeviceOf(main_.settings.CB_P1D);
    StickUse use = main_.PJ.stickUse();
    // Asked afresh: the window may have changed since it last told the panel.
    use.windowActive = main_.activeForInput();
    use.busy = main_.Busy();
    use.listWanted = main_.settings.CB_JoyList;
    use.listJoystick = device ? device->joystick : 0;
    return StickReaderOf(use) == StickReader::kList ? device : nullptr;
}

void MainStick::tick() {
    const JoystickDevice* device = deviceToRead();
    // No joystick, or a query that fails: nothing happens, and nothing is said.
    const std::optional<StickReading> reading =
        device ? main_.PJ.stick->query(device->joystick) : std::nullopt;
    if (!reading) {
        stick_.reset();
        return;
    }
    const StickPush push =
        PushOf(reading->y, main_.settings.*device->calibration, main_.settings.SE_AJR);
    const ListStick::Step step = stick_.take(push, (reading->buttons & 1) != 0);
    GameList& games = main_.games;
    if (step.move) {
        // The first push brings the focus into the list; later ones move it.
        if (!games.moveFocus(step.move < 0 ? ListKey::Up : ListKey::Down)) games.focusList();
    }
    if (step.press) {
        if (GameButton* game = games.focusedButton()) {
            game->command(BN_CLICKED);
        } else {
            games.focusList();
        }
    }
}

}  // namespace qv
