// The ROM scan over real folders under Wine, as the user sees it: buttons,
// marks, counters, messages, clicks and re-scans.
#include <algorithm>
#include <fstream>
#include <string>

#include "../app/shell_fixture_win.h"

#include <shlwapi.h>
#include "catalogue/game_table.h"
#include "util/files_win.h"
#include "util/system_win.h"
#include "util/text.h"

namespace qv {
namespace {

class ScanTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        emu = std::string(temp) + "qv-scan-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(emu.c_str(), nullptr);
        touch("ravlen.exe");
        createMain();
    }
    void TearDown() override {
        ShellTest::TearDown();
        DeleteTree(emu);
    }

    void touch(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        const std::string path = emu + "\\" + name;
        std::ofstream(path) << "rom";
        SetFileAttributesA(path.c_str(), attributes);
    }
    void folder(const std::string& name) { CreateDirectoryA((emu + "\\" + name).c_str(), nullptr); }

    void scan(const std::string& emulatorFolder) {
        main->settings.L_CAL = emulatorFolder;
        main->GamesCheck();
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> result;
        for (const auto& button : ui().games.buttons())
            result.push_back(button->caption());
        return result;
    }
    const GameButton* button(const std::string& title) const {
        for (const auto& b : ui().games.buttons()) {
            if (b->caption() == title) return b.get();
        }
        return nullptr;
    }
    int childButtons() const {
        int n = 0;
        for (HWND w = GetWindow(ui().games.sb.hwnd(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            ++n;
        return n;
    }

    std::string emu;
};

// The pixel of a game glyph at (x, y) from its bottom right corner.
COLORREF GlyphPixelFromCorner(HBITMAP glyph, int x, int y) {
    BITMAP bm{};
    GetObjectA(glyph, sizeof bm, &bm);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, glyph);
    const COLORREF colour = GetPixel(dc, bm.bmWidth - 1 - x, bm.bmHeight - 1 - y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

COLORREF ResourcePixelFromCorner(const char* name, int x, int y) {
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, 0));
    const COLORREF colour = GlyphPixelFromCorner(bitmap, x, y);
    DeleteObject(bitmap);
    return colour;
}

TEST_F(ScanTest, HiddenAndReadOnlyRomsCountSystemFilesAndFoldersDoNot) {
    folder("kod");
    touch("kod\\kod01.rom", FILE_ATTRIBUTE_SYSTEM);
    folder("kod\\kod02.rom");
    scan(emu);
    EXPECT_EQ(titles(), std::vector<std::string>{});
    touch("kod\\kod03.rom", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    scan(emu);
    EXPECT_EQ(titles(), std::vector<std::string>{"The King of Dragons"});
    EXPECT_EQ(button("The King of Dragons")->hint(), "kod|NONE|DIR|kod*.rom");
    EXPECT_EQ(ui().L_G->caption(), "1/24");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ScanTest, AnEmptyGameFolderWinsOverItsArchive) {
    folder("FFIGHT");
    touch("FFIGHT.ZIP");
    scan(emu);
    EXPECT_EQ(button("Final Fight"), nullptr);
}

TEST_F(ScanTest, ZippedJapaneseGameCarriesTheFlagAndAboveItTheArchiveMark) {
    touch("ffightJ.ZIP");
    scan(emu + "\\");  // a trailing backslash changes nothing
    const GameButton* b = button("Final Fight (JAP)");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->hint(), "FFIGHTJ|NONE|ZIP|ff*.*");
    // Flag in the corner, archive mark just above it (the flag is 10 high).
    EXPECT_EQ(GlyphPixelFromCorner(b->glyph(), 7, 4), ResourcePixelFromCorner("_JAPAN", 7, 4));
    EXPECT_EQ(GlyphPixelFromCorner(b->glyph(), 8, 10 + 8), ResourcePixelFromCorner("_ZIP", 8, 8));
}

TEST_F(ScanTest, AJapaneseGameInAFolderCarriesTheFlagOnly) {
    folder("1941j");
    touch("1941j\\41e.bin");
    scan(emu);
    const GameButton* b = button("1941 (Jap)");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(GlyphPixelFromCorner(b->glyph(), 7, 4), ResourcePixelFromCorner("_JAPAN", 7, 4));
    // Above the flag the game's own picture stays.
    EXPECT_EQ(GlyphPixelFromCorner(b->glyph(), 8, 18), ResourcePixelFromCorner("_1941", 8, 18));
}

TEST_F(ScanTest, AMissingEmulatorFolderIsReportedAndFindsNothing) {
    scan(emu + "\\nowhere");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], " I CAN'T FIND ravlen.exe OR Rvl023.zip\r\n in " + emu + "\\nowhere");
    EXPECT_EQ(ui().L_G->caption(), "0/24");
    EXPECT_EQ(ui().games.emulator.storage, "ZIP");
    EXPECT_EQ(ui().PA.L_SFF->caption(), "0 File(s)");
    EXPECT_EQ(ui().PA.L_PFF->caption(), "0 File(s)");
}

TEST_F(ScanTest, AZippedEmulatorIsFoundWithoutAMessage) {
    DeleteFileA((emu + "\\ravlen.exe").c_str());
    touch("Rvl023.zip");
    scan(emu);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ui().games.emulator.storage, "ZIP");
}

TEST_F(ScanTest, AllGamesPresentFillAScrollingListInTableOrder) {
    for (const GameRecord& game : GameTable()) {
        for (int i = 1; i <= WordCount(game.archiveNames, ';'); ++i) {
            touch(WordAt(game.archiveNames, ';', i) + ".ZIP");
        }
    }
    scan(emu);
    EXPECT_EQ(ui().L_G->caption(), "24/24");
    ASSERT_EQ(ui().games.buttons().size(), 24u);
    EXPECT_TRUE(ui().games.sb.scrollBarShown());
    EXPECT_EQ(ChildRect(ui().games.buttons()[23]->hwnd()).top, 1495);
    const RECT first = ChildRect(ui().games.buttons()[0]->hwnd());
    EXPECT_EQ(first.bottom - first.top, 65);
    // 117 with the common metrics (a 16-pixel arrow, 1-pixel borders).
    EXPECT_EQ(first.right - first.left,
              137 - GetSystemMetrics(SM_CXHSCROLL) - 2 * GetSystemMetrics(SM_CXBORDER) - 2);
    for (std::size_t i = 0; i < 24; ++i) {
        EXPECT_EQ(ui().games.buttons()[i]->caption(), GameTable()[i].title);
    }
}

TEST_F(ScanTest, TheStreetFighterFolderYieldsTurboAloneThenCeToo) {
    folder("SF2t");
    touch("SF2t\\sf2.21");
    scan(emu);
    EXPECT_EQ(titles(), std::vector<std::string>{"Street Fighter 2 Turbo"});
    touch("SF2t\\sf2ce.21");
    scan(emu);
    EXPECT_EQ(titles(),
              (std::vector<std::string>{"Street Fighter 2 CE", "Street Fighter 2 Turbo"}));
    EXPECT_FALSE(ui().games.sb.scrollBarShown());
}

TEST_F(ScanTest, AClickSelectsTheGameAndGivesItTheRunCursor) {
    folder("SF2t");
    touch("SF2t\\sf2.21");
    touch("SF2t\\sf2ce.21");
    folder("Knights");
    touch("Knights\\anything.txt");
    scan(emu);
    GameButton* ce = const_cast<GameButton*>(button("Street Fighter 2 CE"));
    GameButton* knights = const_cast<GameButton*>(button("Knights of the Round"));
    SendMessageA(ce->hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(main->session.run.selectedGameId, "SF2t");
    EXPECT_EQ(main->session.run.game.title, "Street Fighter 2 CE");
    EXPECT_EQ(main->session.run.game.renameMarker, "RSF2 Sf2Ce");
    EXPECT_EQ(ce->cursor(), ui().games.runCursor());
    EXPECT_FALSE(IsWindowEnabled(ui().PA.hwnd()));
    EXPECT_TRUE(IsWindowEnabled(ui().PP.hwnd()));
    SendMessageA(knights->hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(ce->cursor(), ui().games.selectCursor());
    EXPECT_EQ(knights->cursor(), ui().games.runCursor());
    EXPECT_EQ(main->session.run.selectedGameId, "Knights");
}

TEST_F(ScanTest, ARescanForgetsTheDestroyedButtonsAndKeepsTheSelection) {
    folder("Knights");
    touch("Knights\\anything.txt");
    scan(emu);
    SendMessageA(ui().games.buttons()[0]->hwnd(), BM_CLICK, 0, 0);
    scan(emu);
    EXPECT_EQ(ui().games.lastClicked, nullptr);
    EXPECT_EQ(main->session.run.selectedGameId, "Knights");
    GameButton& fresh = *ui().games.buttons()[0];
    EXPECT_EQ(fresh.cursor(), ui().games.selectCursor());
    SendMessageA(fresh.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(ui().games.lastClicked, &fresh);
}

TEST_F(ScanTest, ARescanRequestedDuringAScanRunsOnceAfterItWithoutDuplicates) {
    folder("Knights");
    touch("Knights\\anything.txt");
    touch("MSword.ZIP");
    // Two re-scan clicks wait in the queue; the scan lets them through.
    PostMessageA(main->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    const int rescanId = GetDlgCtrlID(ui().B_R);
    PostMessageA(main->hwnd(), WM_COMMAND, MAKEWPARAM(rescanId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(ui().B_R));
    PostMessageA(main->hwnd(), WM_COMMAND, MAKEWPARAM(rescanId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(ui().B_R));
    scan(emu);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Knights of the Round", "Magic Sword"}));
    EXPECT_EQ(childButtons(), 2);
    EXPECT_EQ(ui().L_G->caption(), "2/24");
}

TEST_F(ScanTest, FileCountersCountSaveStatesAndSnapshots) {
    folder("Saves");
    touch("Saves\\FFIGHT.Rs0");
    touch("Saves\\kod.Rs1", FILE_ATTRIBUTE_HIDDEN);
    touch("Saves\\notes.txt");
    folder("Pcx");
    touch("Pcx\\Snap0001.Pcx");
    main->settings.L_SF = emu + "\\Saves";
    main->settings.L_PF = emu + "\\Pcx\\";
    main->FilesCounter();
    EXPECT_EQ(ui().PA.L_SFF->caption(), "2 File(s)");
    EXPECT_EQ(ui().PA.L_PFF->caption(), "1 File(s)");
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

std::string Stored(const std::string& key, const char* name) {
    char data[256] = {};
    DWORD size = sizeof data - 1;
    if (SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, nullptr, data, &size) != ERROR_SUCCESS) {
        return "<none>";
    }
    return data;
}

TEST_F(ScanTest, EachGameKeepsItsOwnDevicesAndTheExitSavesEverything) {
    folder("Knights");
    touch("Knights\\anything.txt");
    touch("MSword.ZIP");
    scan(emu);
    GameButton& knights = *ui().games.buttons()[0];
    GameButton& msword = *ui().games.buttons()[1];

    SendMessageA(knights.hwnd(), BM_CLICK, 0, 0);  // nothing current yet: nothing saved
    EXPECT_EQ(Stored(settingsKey() + "\\Knights", "CB_P1D"), "<none>");
    main->settings.CB_P1D = 4;
    main->settings.Ks_Key1 = "1 2 3";
    SendMessageA(msword.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(Stored(settingsKey() + "\\Knights", "CB_P1D"), "4");
    EXPECT_EQ(main->settings.CB_P1D, 1);  // Magic Sword has its own, the default
    EXPECT_EQ(main->settings.Ks_Key1, "71 72 73 75 77 79 80 81 25 26 27 39 40 43 59 61");
    SendMessageA(knights.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(main->settings.CB_P1D, 4);
    EXPECT_EQ(main->settings.Ks_Key1, "1 2 3");

    main->settings.CB_RES = 12;
    main->settings.cb_p3d = 7;
    main->ExitProc();
    EXPECT_EQ(Stored(settingsKey(), "CB_RES"), "12");
    EXPECT_EQ(Stored(settingsKey(), "L_CAL"), emu);
    EXPECT_EQ(Stored(settingsKey() + "\\Knights", "cb_p3d"), "7");
}

TEST_F(ScanTest, ABadlyTypedValueIsReportedAndTheRestOfTheLoadKeepsItsValues) {
    folder("Knights");
    touch("Knights\\anything.txt");
    scan(emu);
    const std::string key = settingsKey() + "\\Knights";
    const DWORD number = 3;
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), "RB_JOY2", REG_DWORD, &number, sizeof number);
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), "cb_p2d", REG_SZ, "5", 2);
    main->settings.RB_6But = "old";
    SendMessageA(ui().games.buttons()[0]->hwnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("RB_JOY2"), std::string::npos) << messages[0];
    EXPECT_EQ(main->settings.cb_p2d, 5);       // read before the bad value
    EXPECT_EQ(main->settings.RB_6But, "old");  // after it: untouched
}

}  // namespace
}  // namespace qv
