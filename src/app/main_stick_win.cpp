// Player 1's stick in the game list.
#include "app/main_stick_win.h"


namespace qv {

void MainStick::update() {
    const bool wanted = host_.stickSettings().CB_JoyList && active_;
    if (wanted == polling_) return;
    polling_ = wanted;
    stick_.reset();
    if (wanted) {
        SetTimer(host_.stickWindow(), kTimerId, kPollMs, nullptr);
    } else {
        KillTimer(host_.stickWindow(), kTimerId);
    }
}

const JoystickDevice* MainStick::deviceToRead() const {
    const Settings& settings = host_.stickSettings();
    const JoystickDevice* device = JoystickDeviceOf(settings.CB_P1D);
    StickUse use = host_.stickUse();
    use.listWanted = settings.CB_JoyList;
    use.listJoystick = device ? device->joystick : 0;
    return StickReaderOf(use) == StickReader::kList ? device : nullptr;
}

void MainStick::tick() {
    const JoystickDevice* device = deviceToRead();
    // No joystick, or a query that fails: nothing happens, and nothing is said.
    const std::optional<StickReading> reading =
        device ? host_.stickSource().query(device->joystick) : std::nullopt;
    if (!reading) {
        stick_.reset();
        return;
    }
    const Settings& settings = host_.stickSettings();
    const StickPush push = PushOf(reading->y, settings.*device->calibration, settings.SE_AJR);
    const ListStick::Step step = stick_.take(push, (reading->buttons & 1) != 0);
    GameList& games = host_.gameList();
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
