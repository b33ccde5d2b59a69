// A running main window whose list holds the games of the table's first eight
// rows' folders (at least eight buttons) beside the stand-in emulator, shown and
// active, for the tests of the keyboard and the stick in the list.
#pragma once

#include <string>

#include "../components/child_programs_win.h"
#include "shell_fixture_win.h"
#include "catalogue/game_table.h"
#include "util/files_win.h"
#include "util/system_win.h"
#include "util/text.h"

namespace qv {

class GamesTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        SetEnvironmentVariableA("RAVLEN_STANDIN_NO_WINDOW", "1");
        emu = test::NewScratchFolder("qv-games");
        CopyFileA(test::RavlenExe().c_str(), (emu + "\\ravlen.exe").c_str(), FALSE);
        for (const GameRecord& game : GameTable().first(8)) {
            const std::string folder = emu + "\\" + std::string(game.gameId);
            CreateDirectoryA(folder.c_str(), nullptr);
            for (int n = 1; n <= WordCount(game.romPatterns, ';'); ++n) {
                std::string file(WordAt(game.romPatterns, ';', n));
                for (char& c : file)
                    if (c == '*' || c == '?') c = '1';
                test::WriteText(folder + "\\" + file, "rom");
            }
        }
        createMain();
        main->settings.L_CAL = emu;
        main->settings.L_SF = emu + "\\Saves";
        main->settings.L_PF = emu + "\\Pcx";
        show();
        SetForegroundWindow(main->hwnd());
        settle();
        ASSERT_GE(ui().games.buttons().size(), 8u);
    }
    void TearDown() override {
        ShellTest::TearDown();
        DeleteTree(emu);
    }

    // Brings the main window to the front and waits until the focus is on
    // the control: the X server hands the focus over a while later, and
    // after a game it can take it away once more before it settles.
    bool focusComesBackTo(HWND control) {
        SetForegroundWindow(main->hwnd());
        return RunUntil([control] { return GetFocus() == control; });
    }

    std::string witnessPath() const { return emu + "\\Saves\\ravlen-witness.txt"; }
    std::string witness() const { return test::ReadText(witnessPath()); }

    std::string emu;
};

}  // namespace qv
