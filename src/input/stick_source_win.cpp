// The system's joystick and Esc key.
#include "input/stick_source_win.h"

#include <windows.h>
#include <mmsystem.h>

namespace qv {

StickReading SystemStickSource::read(int joystick) {
    if (joystick != 1 && joystick != 2) return {};
    JOYINFO info{};
    // A stick that is not there reads as a stick at rest with no button held.
    if (joyGetPos(static_cast<UINT>(joystick - 1), &info) != JOYERR_NOERROR) return {};
    return {static_cast<std::uint16_t>(info.wXpos), static_cast<std::uint16_t>(info.wYpos),
            static_cast<std::uint32_t>(info.wButtons)};
}

bool SystemStickSource::escapeHeld() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }

}  // namespace qv
