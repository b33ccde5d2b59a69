// The options file Quarvel writes for "Final Fight" with every setting at its
// default, line by line: where the stand-in emulator's tests start from.
#pragma once

#include <string>
#include <vector>

namespace qv::test {

inline std::vector<std::string> FinalFightOptionsLines(const std::string& saveDir = "\\Saves",
                                                       const std::string& pcxDir = "\\Pcx",
                                                       const std::string& res = "384 224") {
    const std::string banner = "Quarvel v1.01 - Ravlen v0.23 Configuration for Final Fight";
    const std::string dashes = ";" + std::string(banner.size() + 2, '-');
    return {dashes,
            "; " + banner,
            dashes,
            "-savedir " + saveDir,
            "-pcxdir " + pcxDir,
            "-res " + res,
            "-frameskip AUTO",
            "-vsync ON",
            "-intensity OFF",
            "-fpucopy",
            ";--- Players Input Devices ---",
            "-setinput 1 KEY1",
            "-setinput 2 KEY2",
            "-setinput 3 NONE",
            ";--- JoyStick ---",
            "-analogjoyres 1024",
            "-setjoythresh 1 0 0 0 0",
            "-setjoythresh 2 0 0 0 0",
            "; button mappings",
            "-remapbut       JOY1 0 1 255 255 255 255 255 255",
            "-remapbut       JOY2 0 1 255 255 255 255 255 255",
            "-remapbut    4BUTTON 0 2 3 1 255 255 2 3",
            "-remapbut    6BUTTON 2 3 5 0 1 4 255 255",
            "-remapbut      GRIP1 2 3 4 5 6 7 0 1",
            "-remapbut      GRIP2 2 3 4 5 6 7 0 1",
            "-remapbut SIDEWINDER 3 4 5 0 1 2 8 9",
            "; keyboard scan codes",
            "-setkey KEY1 71 72 73 75 77 79 80 81 25 26 27 39 40 43 59 61",
            "-setkey KEY2 19 20 21 33 35 47 48 49 30 31 32 44 45 46 60 62"};
}

}  // namespace qv::test
