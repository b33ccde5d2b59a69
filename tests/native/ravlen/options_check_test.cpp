// The stand-in's check of the options file: the default file passes, and each
// kind of wrong line is named with its line number.
#include "options_check.h"

#include "../../shared/final_fight_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ravlen {
namespace {

std::string FileOf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

TEST(RavlenOptions, DefaultFilePassesAndIsRead) {
    ASSERT_EQ(qv::test::FinalFightOptionsLines().size(), 29u);
    const CheckResult r = CheckOptionsFile(FileOf(qv::test::FinalFightOptionsLines()));
    ASSERT_TRUE(r.ok) << r.error;
    const Options& o = r.options;
    EXPECT_EQ(o.lines.size(), 29u);
    EXPECT_EQ(o.title, "Final Fight");
    EXPECT_EQ(o.saveDir, "\\Saves");
    EXPECT_EQ(o.pcxDir, "\\Pcx");
    EXPECT_EQ(o.width, 384);
    EXPECT_EQ(o.height, 224);
    EXPECT_EQ(o.frameSkip, "AUTO");
    EXPECT_TRUE(o.vsync);
    EXPECT_FALSE(o.intensity);
    EXPECT_EQ(o.flags, std::vector<std::string>{"-fpucopy"});
    EXPECT_EQ(o.devices[2], "NONE");
    EXPECT_EQ(o.analogJoyRes, 1024);
    EXPECT_EQ(o.buttonMaps[6], "3 4 5 0 1 2 8 9");
    EXPECT_EQ(o.keyLayouts[1], "19 20 21 33 35 47 48 49 30 31 32 44 45 46 60 62");
}

TEST(RavlenOptions, AllFlagsBlankFoldersAndLongTitlesPass) {
    std::vector<std::string> lines = qv::test::FinalFightOptionsLines();
    lines[9] = "-mmxcopy";
    lines.insert(lines.begin() + 9,
                 {"-novesa", "-linear", "-banked", "-exclusive", "-altkey", "-fpucopy"});
    lines[3] = "-savedir C:\\My Saves\\";
    const std::string banner =
        "Quarvel v1.01 - Ravlen v0.23 Configuration for Street Fighter 2 CE (J)";
    lines[0] = lines[2] = ";" + std::string(banner.size() + 2, '-');
    lines[1] = "; " + banner;
    lines[5] = "-res 1024 768";
    ASSERT_EQ(lines.size(), 35u);
    const CheckResult r = CheckOptionsFile(FileOf(lines));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.options.flags.size(), 7u);
    EXPECT_EQ(r.options.saveDir, "C:\\My Saves\\");
    EXPECT_EQ(r.options.title, "Street Fighter 2 CE (J)");
    EXPECT_EQ(r.options.width, 1024);
}

TEST(RavlenOptions, EachKindOfWrongLineIsNamed) {
    struct Case {
        int line;  // 1-based line replaced
        const char* text;
        const char* named;
    };
    const Case cases[] = {
        {1, ";-----", "line 3: the dash lines must be one character longer than the banner"},
        {2, "Quarvel", "line 2: neither a comment nor a switch"},
        {2, ";Quarvel", "line 2: the banner: not the banner"},
        {4, "-savedir", "line 4: -savedir: no folder given"},
        {5, "-savedir \\Pcx", "line 5: expected -pcxdir"},
        {6, "-res 384 225", "line 6: -res: \"384 225\" is not one of the 13 resolutions"},
        {6, "-res 384x224", "line 6: -res: needs a width and a height"},
        {7, "-frameskip 9", "line 7: -frameskip: needs AUTO or 1 to 8"},
        {8, "-vsync YES", "line 8: -vsync: needs ON or OFF"},
        {9, "-intensity", "line 9: -intensity: needs ON or OFF"},
        {10, "-fpucopy ON", "line 10: -fpucopy: takes no value"},
        {10, "-turbo", "line 10: unknown switch \"-turbo\""},
        {12, "-setinput 1 MOUSE", "line 12: -setinput: \"MOUSE\" is not a device code"},
        {13, "-setinput 3 KEY2", "line 13: -setinput: needs player 2 and a device"},
        {16, "-analogjoyres 65536", "line 16: -analogjoyres: needs a number from 0 to 65535"},
        {17, "-setjoythresh 1 0 0 0", "line 17: -setjoythresh: needs 4 numbers, has 3"},
        {18, "-setjoythresh 2 0 0 x 0",
         "line 18: -setjoythresh: \"x\" is not a number from 0 to 65535"},
        {20, "-remapbut JOY1 0 1 255 255 255 255 255 255",
         "line 20: -remapbut: does not start with \"-remapbut       JOY1 \""},
        {23, "-remapbut    6BUTTON 2 3 5 0 1 4 255 256",
         "line 23: -remapbut: \"256\" is not a number from 0 to 255"},
        {26, "-remapbut SIDEWINDER 3 4 5 0 1 2 8", "line 26: -remapbut: needs 8 numbers, has 7"},
        {27, "-setkey KEY1 1 2", "line 27: expected a comment"},
        {29, "-setkey KEY1 19 20 21 33 35 47 48 49 30 31 32 44 45 46 60 62",
         "line 29: -setkey: needs layout KEY2"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = qv::test::FinalFightOptionsLines();
        lines[c.line - 1] = c.text;
        const CheckResult r = CheckOptionsFile(FileOf(lines));
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_NE(r.error.find(c.named), std::string::npos) << c.text << "\n gave: " << r.error;
    }
}

TEST(RavlenOptions, FlagsOutOfOrderMissingOrExtraLinesAreNamed) {
    std::vector<std::string> lines = qv::test::FinalFightOptionsLines();
    lines.insert(lines.begin() + 10, "-mmxcopy");
    lines[9] = "-mmxcopy";
    lines[10] = "-fpucopy";
    EXPECT_NE(CheckOptionsFile(FileOf(lines))
                  .error.find("line 11: expected a comment, found \"-fpucopy\""),
              std::string::npos);

    lines = qv::test::FinalFightOptionsLines();
    lines.pop_back();
    EXPECT_EQ(CheckOptionsFile(FileOf(lines)).error,
              "line 29: the file ends where -setkey was expected");

    lines = qv::test::FinalFightOptionsLines();
    lines.push_back("; more");
    EXPECT_NE(CheckOptionsFile(FileOf(lines)).error.find("line 30: extra line"), std::string::npos);

    EXPECT_EQ(CheckOptionsFile("").error,
              "line 1: the file ends where a line of dashes was expected");
}

TEST(RavlenOptions, LineEndsMustBeCrLfWithNoBlankLine) {
    const std::string good = FileOf(qv::test::FinalFightOptionsLines());
    EXPECT_EQ(CheckOptionsFile(good.substr(0, good.size() - 2)).error,
              "line 29: does not end with CR LF");
    std::string lf = good;
    lf.erase(lf.find("\r\n-res"), 1);
    EXPECT_EQ(CheckOptionsFile(lf).error, "line 5: a line break other than CR LF");
    std::string blank = good;
    blank.insert(blank.find("-res"), "\r\n");
    EXPECT_EQ(CheckOptionsFile(blank).error, "line 6: blank line");
}

}  // namespace
}  // namespace ravlen
