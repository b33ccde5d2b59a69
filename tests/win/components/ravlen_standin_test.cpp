// The stand-in emulator run as the launch runs it: through cmd.exe, with the
// options file after "@" in quotes and the game id, output sent to NUL.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_programs_win.h"
#include "../../shared/final_fight_options.h"
#include "components/app_exec_win.h"
#include "util/files_win.h"

namespace qv {
namespace {

using test::ReadText;
using test::WriteText;

std::string DefaultOptions(const std::string& saveDir, const std::string& pcxDir,
                           const std::string& res) {
    std::string text;
    for (const std::string& line : test::FinalFightOptionsLines(saveDir, pcxDir, res))
        text += line + "\r\n";
    return text;
}

int Le16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

// An emulator folder E (the current directory of the run) with the save and
// snapshot folders beside it and the options file in a folder with a blank.
class StandIn : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = test::NewScratchFolder("qv-ravlen");
        emu_ = root_ + "\\Emu";
        saves_ = root_ + "\\Saves";
        pcx_ = root_ + "\\Pcx";
        options_ = root_ + "\\opt dir\\Quarvel.InI";
        for (const std::string& f : {emu_, saves_, pcx_, root_ + "\\opt dir"})
            CreateDirectoryA(f.c_str(), nullptr);
        CreateDirectoryA((emu_ + "\\FFIGHT").c_str(), nullptr);
        WriteText(emu_ + "\\FFIGHT\\ff.01", "rom");
        SetEnvironmentVariableA("RAVLEN_STANDIN_NO_WINDOW", "1");
    }
    void TearDown() override { DeleteTree(root_); }

    // The save folder as "\folder" on the current drive, as the default "\Saves" is written.
    std::string RootRelative(const std::string& path) const { return path.substr(2); }

    int Run(const std::string& gameId) {
        TAppExec ae;
        ae.SetWait(true);
        ae.SetExePath(emu_);
        ae.SetExeName("cmd.exe /C " + test::RavlenExe() + " @\"" + options_ + "\" " + gameId +
                      " > NUL");
        ae.Execute();
        return ae.ErrNo();
    }

    std::string root_, emu_, saves_, pcx_, options_;
};

TEST_F(StandIn, RunsAGameAndLeavesSnapshotSaveStateAndWitness) {
    WriteText(options_, DefaultOptions(RootRelative(saves_), pcx_, "384 224"));
    ASSERT_EQ(Run("FFIGHT"), 0);

    const std::string pcx = ReadText(pcx_ + "\\Snap0000.Pcx");
    ASSERT_GT(pcx.size(), 128u + 769u);
    EXPECT_EQ(pcx[0], 10);
    EXPECT_EQ(pcx[1], 5);
    EXPECT_EQ(pcx[3], 8);
    EXPECT_EQ(pcx[65], 1);
    EXPECT_EQ(Le16(pcx, 8), 383);
    EXPECT_EQ(Le16(pcx, 10), 223);
    EXPECT_EQ(pcx[pcx.size() - 769], 0x0C);

    EXPECT_NE(ReadText(saves_ + "\\FFIGHT.Rs0").find("FFIGHT"), std::string::npos);
    const std::string witness = ReadText(saves_ + "\\ravlen-witness.txt");
    EXPECT_NE(witness.find("current directory: " + emu_ + "\r\n"), std::string::npos) << witness;
    EXPECT_NE(witness.find("options file: " + options_ + "\r\n"), std::string::npos) << witness;
    EXPECT_NE(witness.find("option: -res 384 224\r\n"), std::string::npos);
    EXPECT_NE(witness.find("game id: FFIGHT\r\n"), std::string::npos);
    EXPECT_EQ(witness.find("rom SF2"), std::string::npos);

    // The next snapshot takes the next free number; a large screen is kept within 640x480.
    WriteText(options_, DefaultOptions(RootRelative(saves_), pcx_, "1024 768"));
    ASSERT_EQ(Run("FFIGHT"), 0);
    const std::string second = ReadText(pcx_ + "\\Snap0001.Pcx");
    ASSERT_GT(second.size(), 128u);
    EXPECT_EQ(Le16(second, 8), 639);
    EXPECT_EQ(Le16(second, 10), 479);
}

TEST_F(StandIn, WitnessShowsTheStreetFighterFilesItWasGiven) {
    const std::string sf2 = emu_ + "\\SF2t";
    CreateDirectoryA(sf2.c_str(), nullptr);
    WriteText(sf2 + "\\SF2.21", "CE1");
    WriteText(sf2 + "\\SF2.22", std::string("\x00\xff", 2));
    WriteText(options_, DefaultOptions(saves_, pcx_, "384 224"));
    ASSERT_EQ(Run("SF2t"), 0);
    const std::string witness = ReadText(saves_ + "\\ravlen-witness.txt");
    EXPECT_NE(witness.find("rom SF2.21: 3 bytes, starts 43 45 31\r\n"), std::string::npos)
        << witness;
    EXPECT_NE(witness.find("rom SF2.22: 2 bytes, starts 00 FF\r\n"), std::string::npos) << witness;
    EXPECT_NE(witness.find("rom SF2.23: missing\r\n"), std::string::npos) << witness;
}

TEST_F(StandIn, RefusesWhatIsWrongWithItsOwnExitCode) {
    WriteText(options_, DefaultOptions(saves_, pcx_, "384 225"));
    EXPECT_EQ(Run("FFIGHT"), 2) << "bad options line";

    WriteText(options_, DefaultOptions(saves_, pcx_, "384 224"));
    EXPECT_EQ(Run("KOD"), 3) << "no ROM folder";
    CreateDirectoryA((emu_ + "\\KOD").c_str(), nullptr);
    EXPECT_EQ(Run("KOD"), 3) << "empty ROM folder";

    WriteText(options_, DefaultOptions(saves_ + "\\none", pcx_, "384 224"));
    EXPECT_EQ(Run("FFIGHT"), 4) << "no save folder";

    DeleteFileA(options_.c_str());
    EXPECT_EQ(Run("FFIGHT"), 2) << "no options file";

    EXPECT_TRUE(ListFiles(pcx_, "*.*", "").empty()) << "nothing written by a refused run";
    EXPECT_TRUE(ListFiles(saves_, "*.*", "").empty());
}

TEST_F(StandIn, ShowsAWindowThatAClickCloses) {
    SetEnvironmentVariableA("RAVLEN_STANDIN_NO_WINDOW", nullptr);
    WriteText(options_, DefaultOptions(saves_, pcx_, "384 224"));
    TAppExec ae;
    ae.SetExePath(emu_);
    ae.SetExeName("cmd.exe /C " + test::RavlenExe() + " @\"" + options_ + "\" FFIGHT > NUL");
    ae.Execute();
    HWND window = nullptr;
    for (int i = 0; i < 100 && !window; ++i, Sleep(50))
        window = FindWindowA("RavlenStandIn", nullptr);
    ASSERT_NE(window, nullptr);
    char caption[128] = "";
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Final Fight - Ravlen stand-in");
    // Its timer is set after the window exists, so only the click closes it within four seconds.
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    for (int i = 0; i < 70 && IsWindow(window); ++i)
        Sleep(50);
    EXPECT_FALSE(IsWindow(window)) << "closed before its four seconds were up";
}

}  // namespace
}  // namespace qv
