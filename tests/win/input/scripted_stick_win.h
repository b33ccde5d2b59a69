// A joystick for the Windows tests that plays a script of readings, one per
// query (the last one repeats), and holds Esc down from a given reading on,
// or all along. Like the system's, it reads nothing for a joystick number
// other than 1 or 2; with fails set, every query fails, as with no joystick.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

#include "input/joystick.h"

namespace qv::test {

class ScriptedStick : public StickSource {
public:
    std::vector<StickReading> script;
    std::size_t escapeFrom = std::numeric_limits<std::size_t>::max();
    bool escape = false;
    bool fails = false;
    std::vector<int> asked;  // the joystick numbers queried
    std::size_t next = 0;
    std::function<void()> queried;  // told of every query

    std::optional<StickReading> query(int joystick) override {
        asked.push_back(joystick);
        if (queried) queried();
        if (fails || (joystick != 1 && joystick != 2)) return std::nullopt;
        if (script.empty()) return StickReading{};
        return script[std::min(next++, script.size() - 1)];
    }
    bool escapeHeld() override { return escape || next >= escapeFrom; }
};

}  // namespace qv::test
