// The system's joystick and Esc key.
#include "input/stick_source_win.h"

#include <windows.h>
#include <mmsystem.h>

#include "util/on_demand_win.h"

namespace qv {

std::optional<StickReading> SystemStickSource::query(int joystick) {
    if (joystick != 1 && joystick != 2) return std::nullopt;
    JOYINFO info{};
    if (on_demand::joyGetPos(static_cast<UINT>(joystick - 1), &info) != JOYERR_NOERROR)
        return std::nullopt;
    return StickReading{static_cast<std::uint16_t>(info.wXpos),
                        static_cast<std::uint16_t>(info.wYpos),
                        static_cast<std::uint32_t>(info.wButtons)};
}

bool SystemStickSource::escapeHeld() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }

}  // namespace qv
