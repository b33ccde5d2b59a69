// The joystick as the system reports it: the multimedia library's position
// query, and the keyboard's state for the Esc test.
#pragma once

#include "input/joystick.h"

namespace qv {

class SystemStickSource : public StickSource {
public:
    std::optional<StickReading> query(int joystick) override;
    bool escapeHeld() override;
};

}  // namespace qv
