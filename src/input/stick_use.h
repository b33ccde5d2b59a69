// Which part of the main window reads player 1's stick now, if any: the
// joystick panel's live view or the game list. One rule for both, so that
// neither reads the stick while nobody looks or while a game uses it.
#pragma once

namespace qv {

struct StickUse {
    bool windowActive = false;  // the main window is active (so not minimised)
    bool busy = false;          // a launch or a scan is under way
    bool calibrating = false;   // a calibration reads the stick itself
    bool capturing = false;     // a map field takes the stick's buttons itself
    bool panelInFront = false;  // the joystick panel is in front
    int panelJoystick = 0;      // the analog joystick of the panel's device, 0 for none
    bool listWanted = false;    // the user wants the stick in the list (CB_JoyList)
    int listJoystick = 0;       // the analog joystick of player 1's device, 0 for none
};

enum class StickReader { kNone, kLiveView, kList };

// Nobody reads while the window is inactive, busy, or while a calibration
// or a capture has the stick; the live view, when it shows, comes before
// the list.
StickReader StickReaderOf(const StickUse& use);

}  // namespace qv
