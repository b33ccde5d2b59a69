// Tests of the options file, byte for byte.
#include "launch/options_file.h"
#include "util/whole_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace qv {
namespace {

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
    const auto lines = LinesOf(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(OptionsFile, FinalFightWithEveryDefault) {
    const std::string expected =
        ";------------------------------------------------------------\r\n"
        "; Quarvel v1.01 - Ravlen v0.23 Configuration for Final Fight\r\n"
        ";------------------------------------------------------------\r\n"
        "-savedir \\Saves\r\n"
        "-pcxdir \\Pcx\r\n"
        "-res 384 224\r\n"
        "-frameskip AUTO\r\n"
        "-vsync ON\r\n"
        "-intensity OFF\r\n"
        "-fpucopy\r\n"
        ";--- Players Input Devices ---\r\n"
        "-setinput 1 KEY1\r\n"
        "-setinput 2 KEY2\r\n"
        "-setinput 3 NONE\r\n"
        ";--- JoyStick ---\r\n"
        "-analogjoyres 1024\r\n"
        "-setjoythresh 1 0 0 0 0\r\n"
        "-setjoythresh 2 0 0 0 0\r\n"
        "; button mappings\r\n"
        "-remapbut       JOY1 0 1 255 255 255 255 255 255\r\n"
        "-remapbut       JOY2 0 1 255 255 255 255 255 255\r\n"
        "-remapbut    4BUTTON 0 2 3 1 255 255 2 3\r\n"
        "-remapbut    6BUTTON 2 3 5 0 1 4 255 255\r\n"
        "-remapbut      GRIP1 2 3 4 5 6 7 0 1\r\n"
        "-remapbut      GRIP2 2 3 4 5 6 7 0 1\r\n"
        "-remapbut SIDEWINDER 3 4 5 0 1 2 8 9\r\n"
        "; keyboard scan codes\r\n"
        "-setkey KEY1 71 72 73 75 77 79 80 81 25 26 27 39 40 43 59 61\r\n"
        "-setkey KEY2 19 20 21 33 35 47 48 49 30 31 32 44 45 46 60 62\r\n";
    const std::string text = OptionsFileText(DefaultSettings("C:\\Ravlen\\", true), "Final Fight");
    EXPECT_EQ(text, expected);
    EXPECT_EQ(LinesOf(text).size(), 29u);
}

TEST(OptionsFile, EachOptionalSwitchAppearsOnlyWhenChecked) {
    struct Box {
        bool Settings::*flag;
        const char* line;
    };
    const Box boxes[] = {
        {&Settings::CB_novesa, "-novesa"},  {&Settings::CB_linear, "-linear"},
        {&Settings::CB_banked, "-banked"},  {&Settings::CB_exclusive, "-exclusive"},
        {&Settings::CB_altkey, "-altkey"},  {&Settings::CB_FPUcopy, "-fpucopy"},
        {&Settings::CB_MMXcopy, "-mmxcopy"}};
    Settings none = DefaultSettings("", false);
    const std::string bare = OptionsFileText(none, "G");
    EXPECT_EQ(LinesOf(bare).size(), 28u);
    for (const Box& box : boxes) {
        EXPECT_FALSE(HasLine(bare, box.line)) << box.line;
        Settings one = none;
        one.*box.flag = true;
        const auto lines = LinesOf(OptionsFileText(one, "G"));
        ASSERT_EQ(lines.size(), 29u) << box.line;
        EXPECT_EQ(lines[9], box.line);  // right after -intensity
    }
    // All seven together, in their fixed order.
    Settings all = none;
    for (const Box& box : boxes)
        all.*box.flag = true;
    const auto lines = LinesOf(OptionsFileText(all, "G"));
    ASSERT_EQ(lines.size(), 35u);
    for (std::size_t i = 0; i < std::size(boxes); ++i)
        EXPECT_EQ(lines[9 + i], boxes[i].line);
    EXPECT_EQ(lines[16], ";--- Players Input Devices ---");
}

TEST(OptionsFile, ListEntriesAndDevices) {
    Settings s = DefaultSettings("", true);
    s.CB_RES = 12;
    s.CB_FS = 8;
    s.CB_P1D = 7;
    s.cb_p2d = 11;
    s.cb_p3d = 0;
    s.SE_AJR = 65535;
    std::string text = OptionsFileText(s, "G");
    EXPECT_TRUE(HasLine(text, "-res 1024 768"));
    EXPECT_TRUE(HasLine(text, "-frameskip 8"));
    EXPECT_TRUE(HasLine(text, "-setinput 1 SIDEWINDER"));
    EXPECT_TRUE(HasLine(text, "-setinput 2 SNESPAD2"));
    EXPECT_TRUE(HasLine(text, "-setinput 3 NONE"));
    EXPECT_TRUE(HasLine(text, "-analogjoyres 65535"));
    s.CB_vsync = false;
    EXPECT_TRUE(HasLine(OptionsFileText(s, "G"), "-vsync OFF"));
    s.CB_intensity = true;
    EXPECT_TRUE(HasLine(OptionsFileText(s, "G"), "-intensity ON"));

    // Lists without a selection keep their lines, with nothing after the switch.
    s.CB_RES = s.CB_FS = s.CB_P1D = s.cb_p2d = s.cb_p3d = kNoSelection;
    text = OptionsFileText(s, "G");
    for (const char* line :
         {"-res ", "-frameskip ", "-setinput 1 ", "-setinput 2 ", "-setinput 3 "})
        EXPECT_TRUE(HasLine(text, line)) << line;
    EXPECT_EQ(LinesOf(text).size(), 29u);
}

TEST(OptionsFile, DashLinesGrowWithTheTitle) {
    const Settings s = DefaultSettings("", true);
    for (const std::string title : {"", "1941", "Street Fighter 2 Champion Edition (Japan)"}) {
        const auto lines = LinesOf(OptionsFileText(s, title));
        const std::string banner = "Quarvel v1.01 - Ravlen v0.23 Configuration for " + title;
        EXPECT_EQ(lines[1], "; " + banner);
        EXPECT_EQ(lines[0], ";" + std::string(banner.size() + 2, '-'));
        EXPECT_EQ(lines[2], lines[0]);
    }
}

TEST(OptionsFile, TextsFromMemoryGoInAsTheyAre) {
    Settings s = DefaultSettings("", true);
    s.L_SF = "C:\\My Games\\Ravlen Saves\\";
    s.L_PF = " D:\\Snap shots ";
    s.JoyC2 = "102 922  102 922";
    s.RB_Grp2 = "";
    s.Ks_Key1 = "\xE9 1";  // a byte of the ANSI code page
    const std::string text = OptionsFileText(s, "Ch\xE2teau");
    EXPECT_TRUE(HasLine(text, "-savedir C:\\My Games\\Ravlen Saves\\"));
    EXPECT_TRUE(HasLine(text, "-pcxdir  D:\\Snap shots "));
    EXPECT_TRUE(HasLine(text, "-setjoythresh 2 102 922  102 922"));
    EXPECT_TRUE(HasLine(text, "-remapbut      GRIP2 "));
    EXPECT_TRUE(HasLine(text, "-setkey KEY1 \xE9 1"));
    EXPECT_TRUE(HasLine(text, "; Quarvel v1.01 - Ravlen v0.23 Configuration for Ch\xE2teau"));
}

TEST(OptionsFile, WriteReplacesTheFileWithTheText) {
    const std::string path = ::testing::TempDir() + "Quarvel.InI";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(5000, 'z');
    }
    const Settings s = DefaultSettings("", true);
    EXPECT_TRUE(WriteWholeFile(path, OptionsFileText(s, "Final Fight")));
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    EXPECT_EQ(written, OptionsFileText(s, "Final Fight"));
    std::remove(path.c_str());
    // A file that cannot be created, or not written whole, is told.
    EXPECT_FALSE(WriteWholeFile(::testing::TempDir() + "no such folder/Quarvel.InI",
                                OptionsFileText(s, "x")));
    EXPECT_FALSE(WriteWholeFile("/dev/full", OptionsFileText(s, "Final Fight")));
}

}  // namespace
}  // namespace qv
