// The stand-in emulator's reading of an options file: every line is checked
// against the fixed layout the front end writes, and what it sets is kept.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace ravlen {

struct Options {
    std::vector<std::string> lines;  // the file's lines, without their CR LF
    std::string title;               // game title from the banner
    std::string saveDir;
    std::string pcxDir;
    int width = 0;
    int height = 0;
    std::string frameSkip;
    bool vsync = false;
    bool intensity = false;
    std::vector<std::string> flags;      // the optional switches given, in file order
    std::array<std::string, 3> devices;  // device code of players 1 to 3
    long analogJoyRes = 0;
    std::array<std::string, 2> thresholds;  // "left right top bottom" of joysticks 1 and 2
    std::array<std::string, 7>
        buttonMaps;  // JOY1, JOY2, 4BUTTON, 6BUTTON, GRIP1, GRIP2, SIDEWINDER
    std::array<std::string, 2> keyLayouts;  // KEY1, KEY2
};

struct CheckResult {
    bool ok = false;
    std::string error;  // "line N: ..." naming what is wrong, when not ok
    Options options;
};

// Checks the whole file as read from disk (ANSI text, every line ending with CR LF).
CheckResult CheckOptionsFile(std::string_view text);

}  // namespace ravlen
