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

int MainStick::joystickToRead() const {
    const Settings& settings = host_.stickSettings();
    StickUse use = host_.stickUse();
    use.listWanted = settings.CB_JoyList;
    use.listJoystick = JoystickOfDevice(settings.CB_P1D);
    return StickReaderOf(use) == StickReader::kList ? use.listJoystick : 0;
}

void MainStick::tick() {
    const int joystick = joystickToRead();
    // No joystick, or a query that fails: nothing happens, and nothing is said.
    const std::optional<StickReading> reading =
        joystick ? host_.stickSource().query(joystick) : std::nullopt;
    if (!reading) {
        stick_.reset();
        return;
    }
    const Settings& settings = host_.stickSettings();
    const std::string& calibration = joystick == 2 ? settings.JoyC2 : settings.JoyC1;
    const StickPush push = PushOf(reading->y, calibration, settings.SE_AJR);
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
