// The scan report under Wine, over a real emulator folder: the games counter
// opens it, its list and the clipboard text are the scan's own verdicts, and
// a check of the archives names the damaged ones without writing a byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../host_path_win.h"
#include "app/wait_window_win.h"
#include "shell_fixture_win.h"
#include "ui/busy_win.h"
#include "util/files_win.h"
#include "util/system_win.h"

namespace qv {
namespace {

using Bytes = std::vector<char>;

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// Where the data of an archive's n-th entry (from 0) begins, and its size.
std::pair<std::size_t, std::size_t> EntryData(const Bytes& zip, int n) {
    auto le = [&zip](std::size_t at, int size) {
        std::size_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(zip[at + i]);
        return value;
    };
    std::size_t at = 0;
    for (;; --n) {
        const std::size_t data = at + 30 + le(at + 26, 2) + le(at + 28, 2);
        if (n == 0) return {data, le(at + 18, 4)};
        at = data + le(at + 18, 4);
    }
}

// Every file and folder under a folder with its size and last write time.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> lines;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return lines;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        lines.push_back(folder + "\\" + name + " " + std::to_string(found.nFileSizeLow) + " " +
                        std::to_string(found.ftLastWriteTime.dwLowDateTime));
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const std::vector<std::string> inner = Listing(folder + "\\" + name);
            lines.insert(lines.end(), inner.begin(), inner.end());
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
    std::sort(lines.begin(), lines.end());
    return lines;
}

class ScanReportTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        emu = std::string(temp) + "qv-report-" + std::to_string(GetCurrentProcessId());
        DeleteTree(emu);
        CreateDirectoryA(emu.c_str(), nullptr);
        makeFolder();
        createMain();
        main->settings.L_CAL = emu;
        main->GamesCheck();
        MadeWhole made(*main);  // before any busy scope, which holds the making back
    }
    void TearDown() override {
        ShellTest::TearDown();
        DeleteTree(emu);
    }

    // One of each: games found in folders and archives, damaged archives, and
    // every way a row can fail that a real folder can show.
    void makeFolder() {
        const Bytes good = ReadBytes(HostPath(QV_ARCHIVE_DATA "/roms.zip"));
        ASSERT_GT(good.size(), 100u);
        touch("ravlen.exe");
        folder("FFIGHT");
        touch("FFIGHT\\ff01.bin");
        folder("3wonders");
        touch("3wonders\\3wonders.01", FILE_ATTRIBUTE_HIDDEN);
        for (const char* name : {"ffightJ.ZIP", "sf2ce.ZIP", "sf2t.ZIP", "RockManJ.ZIP", "sf2.ZIP"})
            WriteBytes(emu + "\\" + name, good);
        Bytes deflatedFlip = good;  // inside sf2/sf2.11, deflated
        const auto [deflated, deflatedSize] = EntryData(good, 0);
        deflatedFlip[deflated + deflatedSize / 2] ^= 0x20;
        WriteBytes(emu + "\\kodj.ZIP", deflatedFlip);
        Bytes storedFlip = good;  // inside readme.txt, stored
        storedFlip[EntryData(good, 1).first + 5] ^= 0x01;
        WriteBytes(emu + "\\mtwins.ZIP", storedFlip);
        touch("Area88.ZIP", FILE_ATTRIBUTE_NORMAL, "");
        folder("SF2");
        touch("SF2\\sf2_30.rom");
        touch("kod");
        folder("Strider.ZIP");
        folder("captcomm");
        touch("captcomm\\cc_01.rom", FILE_ATTRIBUTE_SYSTEM);
        touch("captcomm\\gfx_01.rom");
    }
    void touch(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL,
               const char* content = "rom") {
        const std::string path = emu + "\\" + name;
        std::ofstream(path) << content;
        SetFileAttributesA(path.c_str(), attributes);
    }
    void folder(const std::string& name) { CreateDirectoryA((emu + "\\" + name).c_str(), nullptr); }

    const ReportRow& row(const std::string& title) const {
        for (const ReportRow& r : ui().F_Report.rows())
            if (r.title == title) return r;
        throw std::runtime_error("no row " + title);
    }
    std::vector<std::string> listItems() const {
        std::vector<std::string> items;
        HWND list = ui().F_Report.LB;
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::string item(SendMessageA(list, LB_GETTEXTLEN, i, 0), '\0');
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            items.push_back(item);
        }
        return items;
    }
    void click(HWND window, POINT at) {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }

    std::string emu;
};

TEST_F(ScanReportTest, TheGamesCounterShowsAHandAndItsClickOpensTheReport) {
    show();
    const Label& counter = *ui().L_G;
    const POINT inside{counter.bounds().left + 10, counter.bounds().top + 5};
    POINT screen = inside;
    ClientToScreen(main->hwnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(main->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(main->hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));

    EXPECT_FALSE(IsWindowVisible(ui().F_Report.hwnd()));
    click(main->hwnd(), inside);
    EXPECT_TRUE(IsWindowVisible(ui().F_Report.hwnd()));
    // Borderless, like the program's other small windows.
    EXPECT_EQ(GetWindowLongA(ui().F_Report.hwnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);

    // The exit picture shows under the pointer, and its click hides the report.
    const Image& exit = *ui().F_Report.Img_Exit;
    const POINT onExit{exit.bounds().left + 5, exit.bounds().top + 5};
    screen = onExit;
    ClientToScreen(ui().F_Report.hwnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    ui().F_Report.TimeProc();
    ASSERT_TRUE(exit.visible());
    click(ui().F_Report.hwnd(), onExit);
    EXPECT_FALSE(IsWindowVisible(ui().F_Report.hwnd()));
}

TEST_F(ScanReportTest, TheListAndTheClipboardTextAreTheScansVerdicts) {
    const std::string in = " in " + emu + "\\";
    const std::string hidden = " (so the archives beside it are not looked at)";
    EXPECT_EQ(row("Ravlen").verdict, "ravlen.exe" + in);
    EXPECT_EQ(row("Final Fight").verdict, "found in the folder " + emu + "\\FFIGHT");
    EXPECT_EQ(row("Street Fighter 2 CE").verdict, "found as sf2ce.ZIP and sf2t.ZIP" + in);
    EXPECT_EQ(row("Street Fighter 2 CE (J)").verdict, "no folder SF2t and no sf2cej.ZIP" + in);
    EXPECT_EQ(row("Street Fighter 2").verdict,
              "the folder " + emu + "\\SF2 has no file matching sf2gfx*.rom" + hidden);
    EXPECT_EQ(row("Captain Commando").verdict,
              "the folder " + emu + "\\captcomm has no file matching cc_*.rom" + hidden);
    EXPECT_EQ(row("The King of Dragons").verdict,
              "no folder kod and no kod.ZIP" + in + " (kod there is a file, not a folder)");
    EXPECT_EQ(row("Strider").verdict, "no folder STRIDER and no Strider.ZIP" + in +
                                          " (Strider.ZIP there is a folder, not a file)");

    // The found rows are the buttons, in their order; then every other game.
    const std::vector<ReportRow>& rows = ui().F_Report.rows();
    ASSERT_EQ(rows.size(), 25u);
    const auto& buttons = ui().games.buttons();
    ASSERT_EQ(buttons.size(), 9u);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(rows[i + 1].title, buttons[i]->caption());
        EXPECT_TRUE(rows[i + 1].found);
    }
    for (std::size_t i = buttons.size() + 1; i < rows.size(); ++i)
        EXPECT_FALSE(rows[i].found) << rows[i].title;

    // What the window lists is what the clipboard receives, after the heading.
    const std::vector<std::string> items = listItems();
    ASSERT_EQ(items.size(), rows.size());
    std::string expected = ui().L_G->caption() + " games found in " + emu + "\\\r\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(items[i], rows[i].text());
        expected += items[i] + "\r\n";
    }
    EXPECT_EQ(ui().F_Report.L_HEAD->caption(), "9/24 games found in " + emu + "\\");
    ui().F_Report.CopyProc();
    EXPECT_EQ(ClipboardText(), expected);
    EXPECT_EQ(ui().F_Report.L_INFO->caption(), "List copied to the clipboard");
}

TEST_F(ScanReportTest, ACheckNamesEachArchiveAtFaultAndWritesNothing) {
    const std::vector<std::string> before = Listing(emu);
    const std::string tempFolder = main->tempNames().tempFolder;
    // An archive that another program holds open cannot be read.
    HANDLE locked = CreateFileA((emu + "\\RockManJ.ZIP").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    {
        BusyScope scanning(Work::kScan);  // no check while the main window scans or launches
        ui().F_Report.CheckProc();
        EXPECT_EQ(row("Megatwins").check, "");
    }
    ui().F_Report.CheckProc();
    CloseHandle(locked);

    EXPECT_EQ(row("Final Fight (JAP)").check, "archive good");
    EXPECT_EQ(row("Street Fighter 2 CE").check, "archives good");
    EXPECT_EQ(row("Street Fighter 2 Turbo").check, "archive good");
    const std::string deflated = row("King of Dragons (J)").check;
    EXPECT_TRUE(deflated == "kodj.ZIP: damaged data in entry sf2/sf2.11" ||
                deflated == "kodj.ZIP: CRC error in entry sf2/sf2.11")
        << deflated;
    EXPECT_EQ(row("Megatwins").check, "mtwins.ZIP: CRC error in entry readme.txt");
    EXPECT_EQ(row("Area88 (JAP)").check, "Area88.ZIP: holds no ZIP entry");
    EXPECT_EQ(row("Rockman TPB (Jap)").check, "RockManJ.ZIP: unreadable file");
    for (const char* title :
         {"King of Dragons (J)", "Megatwins", "Area88 (JAP)", "Rockman TPB (Jap)"})
        EXPECT_TRUE(row(title).faulty) << title;
    EXPECT_FALSE(row("Final Fight (JAP)").faulty);
    EXPECT_EQ(row("Final Fight").check, "");  // folders are not read
    EXPECT_EQ(row("Ravlen").check, "");       // a program, not an archive

    // The wait window named the archives as it went, and is gone again.
    EXPECT_EQ(wait.L_I->caption(), "Reading RockManJ.ZIP");
    EXPECT_FALSE(IsWindowVisible(wait.hwnd()));
    const std::string status = ui().F_Report.L_INFO->caption();
    EXPECT_EQ(status.rfind("7 archive(s), ", 0), 0u) << status;
    EXPECT_NE(status.find(" ms: 4 at fault"), std::string::npos) << status;
    EXPECT_EQ(listItems()[1], ui().F_Report.rows()[1].text());  // the list shows the marks

    // Not a byte written: the emulator folder is as it was, and nothing was unpacked.
    EXPECT_EQ(Listing(emu), before);
    EXPECT_FALSE(FolderExists(tempFolder));
    EXPECT_FALSE(FileExists(main->tempNames().optionsFile));

    // A re-scan brings new verdicts and forgets the check.
    DeleteTree(emu + "\\FFIGHT");
    main->GamesCheck();
    EXPECT_EQ(row("Final Fight").verdict, "no folder FFIGHT and no ffight.ZIP in " + emu + "\\");
    EXPECT_EQ(row("Megatwins").check, "");
    EXPECT_EQ(ui().F_Report.L_INFO->caption(), "READY");
    EXPECT_EQ(listItems().size(), 25u);
}

TEST_F(ScanReportTest, AZippedRavlenIsCheckedWithTheGames) {
    DeleteFileA((emu + "\\ravlen.exe").c_str());
    Bytes flipped = ReadBytes(emu + "\\sf2t.ZIP");
    flipped[EntryData(flipped, 1).first] ^= 0x40;
    WriteBytes(emu + "\\Rvl023.zip", flipped);
    main->GamesCheck();
    EXPECT_EQ(row("Ravlen").verdict, "zipped as Rvl023.zip in " + emu + "\\");
    ui().F_Report.CheckProc();
    EXPECT_EQ(row("Ravlen").check, "Rvl023.zip: CRC error in entry readme.txt");
    EXPECT_TRUE(row("Ravlen").faulty);
}

}  // namespace
}  // namespace qv
