// The snapshot viewer with snapshots written by the stand-in emulator's own
// test-card and PCX code: listing, showing, the clipboard, saving through
// the real save dialog, deleting, and what survives hiding and activation.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <tuple>
#include <iterator>
#include <string>
#include <vector>

#include "../app/shell_fixture_win.h"
#include "card_win.h"
#include "gif/gif_encoder.h"
#include "util/files_win.h"
#include "util/pixmap_win.h"
#include "util/system_win.h"
#include "ui/standard_controls_win.h"
#include "ui/window_win.h"
#include "viewer/snapshot_gif_win.h"
#include "../pump_win.h"

namespace qv {
namespace {

// A stand-in snapshot: its file bytes and the picture they hold.
struct Snapshot {
    std::vector<std::uint8_t> file;
    Pixmap picture;
};

Snapshot MakeSnapshot(int width, int height, const std::string& title) {
    const ravlen::Card card = ravlen::DrawTestCard(width, height, title, "FFIGHT");
    Snapshot shot{ravlen::EncodePcx(width, height, card.pixels, card.palette),
                  Pixmap(width, height)};
    for (std::size_t i = 0; i < card.pixels.size(); ++i) {
        const std::uint8_t* rgb = &card.palette[card.pixels[i] * 3];
        shot.picture.pixels[i] = RgbPixel(rgb[0], rgb[1], rgb[2]);
    }
    return shot;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string TextOf(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

int SelectedCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETSELCOUNT, 0, 0)); }

Pixmap Shown(const TF_PcxView& viewer) {
    return PixmapFromBitmap(viewer.SB.picture()).value_or(Pixmap());
}

BOOL CALLBACK FindSaveDialog(HWND window, LPARAM found) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The real save dialog, answered from a timer of the thread that runs it:
// the answer typed in, and Save pressed.
std::string g_dialogAnswer;

void CALLBACK AnswerSaveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSaveDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    KillTimer(nullptr, timer);
    // The file name box: a combo box in the explorer-style dialog, an edit box in the old one.
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name) name = GetDlgItem(dialog, 0x480);
    SetWindowTextA(name, g_dialogAnswer.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

class PcxViewTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        folder_ = WindowsTempDir() + "qvshots" + std::to_string(GetCurrentProcessId());
        DeleteTree(folder_);
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        for (int i = 0; i < 4; ++i) {
            shots_.push_back(MakeSnapshot(320 + 64 * (i % 2), 224, "Shot " + std::to_string(i)));
            WriteFile(path(i), shots_.back().file);
        }
        createMain();
        // Given with a final backslash, as a drive root would be.
        main->settings.L_PF = folder_ + "\\";
        ui().PA.showSettings();
        main->FilesCounter();
        show();
        messages.clear();  // the scan's, about the emulator folder
        realSaveDialog = viewer().askSaveName;
        viewer().askSaveName = [this](const std::string& last) {
            asked.push_back(last);
            return saveAnswer;
        };
    }
    void TearDown() override {
        SetFileAttributesA(path(0).c_str(), FILE_ATTRIBUTE_NORMAL);
        ShellTest::TearDown();
        DeleteTree(folder_);
    }

    TF_PcxView& viewer() { return ui().F_PcxView; }
    // The viewer's own dialog, as made before a test replaced it.
    std::function<std::optional<std::string>(const std::string&)> realSaveDialog;
    std::string path(int i) const { return folder_ + "\\Snap000" + std::to_string(i) + ".Pcx"; }

    void open() {
        main->PcxView();
        settle();
        ASSERT_TRUE(IsWindowVisible(viewer().hwnd()));
    }
    // Selects the items (the last one gets the focus) and runs the list's click handler.
    void select(std::initializer_list<int> items) {
        SendMessageA(viewer().LB, LB_SETSEL, FALSE, -1);
        for (int i : items) {
            SendMessageA(viewer().LB, LB_SETSEL, TRUE, i);
            SendMessageA(viewer().LB, LB_SETCARETINDEX, i, FALSE);
        }
        viewer().ShowPcx();
    }

    std::string folder_;
    std::vector<Snapshot> shots_;
    std::optional<std::string> saveAnswer;
    std::vector<std::string> asked;
};

TEST_F(PcxViewTest, OpensOnlyWhenThereAreSnapshotsAndListsThem) {
    EXPECT_EQ(ui().PA.L_PFF->caption(), "4 File(s)");
    const std::string away = folder_ + "-away";
    ASSERT_TRUE(MoveFileA(folder_.c_str(), away.c_str()));
    CreateDirectoryA(folder_.c_str(), nullptr);
    main->FilesCounter();
    EXPECT_EQ(ui().PA.L_PFF->caption(), "0 File(s)");
    main->PcxView();
    settle();
    EXPECT_FALSE(IsWindowVisible(viewer().hwnd()));

    RemoveDirectoryA(folder_.c_str());
    ASSERT_TRUE(MoveFileA(away.c_str(), folder_.c_str()));
    main->FilesCounter();
    open();
    EXPECT_EQ(viewer().viewerFolder(), folder_ + "\\");
    EXPECT_EQ(
        ListBoxItems(viewer().LB),
        (std::vector<std::string>{"Snap0000.Pcx", "Snap0001.Pcx", "Snap0002.Pcx", "Snap0003.Pcx"}));
    EXPECT_EQ(viewer().L_INFO->caption(), "READY");
    EXPECT_EQ(TextOf(viewer().hwnd()), "Pcx Viewer - Quarvel");
    RECT client{};
    GetClientRect(viewer().hwnd(), &client);
    EXPECT_EQ(client.right, 521);
    EXPECT_EQ(client.bottom, 285);
}

TEST_F(PcxViewTest, ShowsTheFocusedItemAndKeepsThePictureOnBadFiles) {
    open();
    select({1});
    EXPECT_EQ(Shown(viewer()).pixels, shots_[1].picture.pixels);
    EXPECT_EQ(viewer().SB.pictureSize().cx, 384);
    EXPECT_EQ(viewer().L_INFO->caption(), "READY");

    // Ctrl-click deselecting item 2 while 0 stays selected: item 2 has the focus.
    select({0, 2});
    SendMessageA(viewer().LB, LB_SETSEL, FALSE, 2);
    viewer().ShowPcx();
    EXPECT_EQ(Shown(viewer()).pixels, shots_[2].picture.pixels);

    // A file that is no snapshot leaves the picture and says READY.
    WriteFile(path(3), std::vector<std::uint8_t>(2000, 0x0A));
    select({3});
    EXPECT_EQ(Shown(viewer()).pixels, shots_[2].picture.pixels);
    EXPECT_EQ(viewer().L_INFO->caption(), "READY");

    // Read-only snapshots show as well.
    SetFileAttributesA(path(0).c_str(), FILE_ATTRIBUTE_READONLY);
    select({0});
    EXPECT_EQ(Shown(viewer()).pixels, shots_[0].picture.pixels);
}

TEST_F(PcxViewTest, ScrollRangesFollowThePicture) {
    WriteFile(path(3), MakeSnapshot(640, 480, "Large").file);
    open();
    auto range = [this](int bar) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE;
        GetScrollInfo(viewer().SB.hwnd(), bar, &info);
        return info.nMax + 1;
    };
    auto shown = [this](DWORD bar) {
        return (GetWindowLongA(viewer().SB.hwnd(), GWL_STYLE) & bar) != 0;
    };
    EXPECT_FALSE(shown(WS_HSCROLL));
    EXPECT_FALSE(shown(WS_VSCROLL));
    select({3});
    EXPECT_EQ(range(SB_HORZ), 640);
    EXPECT_EQ(range(SB_VERT), 480);
    EXPECT_TRUE(shown(WS_HSCROLL));
    EXPECT_TRUE(shown(WS_VSCROLL));
    select({0});
    EXPECT_FALSE(shown(WS_HSCROLL));
    EXPECT_FALSE(shown(WS_VSCROLL));
}

TEST_F(PcxViewTest, CopiesThePictureOnShowToTheClipboard) {
    open();
    // Nothing shown yet: the clipboard keeps its text.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 5);
    lstrcpyA(static_cast<char*>(GlobalLock(text)), "keep");
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    viewer().C2CProc();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));

    select({3});
    SendMessageA(viewer().LB, LB_SETSEL, FALSE, -1);  // the command ignores the list
    viewer().C2CProc();
    EXPECT_EQ(viewer().L_INFO->caption(), "READY");
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto copied = PixmapFromBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
    CloseClipboard();
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->pixels, shots_[3].picture.pixels);
}

TEST_F(PcxViewTest, SavesThePictureOnShowThroughTheRealDialog) {
    open();
    viewer().askSaveName = [](const std::string&) -> std::optional<std::string> {
        ADD_FAILURE() << "asked with nothing selected";
        return std::nullopt;
    };
    viewer().SaveGif();

    // The real dialog; a name without extension gets ".Gif", and the next
    // save starts from it.
    viewer().askSaveName = [this](const std::string& last) {
        asked.push_back(last);
        return realSaveDialog(last);
    };
    const std::string saved = folder_ + "\\saved.Gif";
    for (const char* answer : {"saved", "saved.Gif"}) {
        // Closing the dialog activates the viewer again, which clears the selection.
        select({0, 1});
        g_dialogAnswer = folder_ + "\\" + answer;
        SetTimer(nullptr, 0, 50, AnswerSaveDialog);
        viewer().SaveGif();
        ASSERT_TRUE(FileExists(saved));
        EXPECT_EQ(viewer().lastSaveName(), saved);
        EXPECT_EQ(viewer().L_INFO->caption(), "READY");
    }
    EXPECT_EQ(asked, (std::vector<std::string>{"", saved}));
    // Byte for byte what the encoder makes of the shown snapshot's pixels.
    EXPECT_EQ(ReadFile(saved), EncodeGifFile(shots_[1].picture,
                                             {.interlaced = true, .comment = kSnapshotGifComment}));
}

TEST_F(PcxViewTest, AFileThatCannotBeCreatedIsReportedAndTheStatusStays) {
    open();
    select({0});
    saveAnswer = folder_ + "\\no such folder\\x.gif";
    viewer().SaveGif();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("no such folder\\x.gif"), std::string::npos) << messages[0];
    EXPECT_EQ(viewer().L_INFO->caption(), "Saving...");
    EXPECT_EQ(asked, (std::vector<std::string>{""}));
}

TEST_F(PcxViewTest, DeletesTheSelectedFilesAndTheCountFollows) {
    open();
    select({0, 2, 3});
    viewer().DelPic();
    EXPECT_FALSE(FileExists(path(0)));
    EXPECT_TRUE(FileExists(path(1)));
    EXPECT_FALSE(FileExists(path(2)));
    EXPECT_FALSE(FileExists(path(3)));
    EXPECT_EQ(ListBoxItems(viewer().LB), (std::vector<std::string>{"Snap0001.Pcx"}));
    EXPECT_EQ(SelectedCount(viewer().LB), 0);
    EXPECT_EQ(ui().PA.L_PFF->caption(), "1 File(s)");
    EXPECT_EQ(Shown(viewer()).pixels, shots_[3].picture.pixels);
}

TEST_F(PcxViewTest, ActivationClearsTheSelectionAndHidingKeepsThePicture) {
    open();
    select({1, 2});
    ASSERT_EQ(SelectedCount(viewer().LB), 2);
    SetForegroundWindow(main->hwnd());
    settle();
    SetForegroundWindow(viewer().hwnd());
    settle();
    EXPECT_EQ(SelectedCount(viewer().LB), 0);
    EXPECT_EQ(Shown(viewer()).pixels, shots_[2].picture.pixels);

    viewer().HideProc();
    EXPECT_FALSE(IsWindowVisible(viewer().hwnd()));
    open();
    EXPECT_EQ(Shown(viewer()).pixels, shots_[2].picture.pixels);
    EXPECT_EQ(ListBoxItems(viewer().LB).size(), 4u);
}

TEST_F(PcxViewTest, TheExitImageShowsOnlyWhileThePointerIsStrictlyInside) {
    open();
    Image& exit = *viewer().Img_Exit;
    EXPECT_EQ(exit.width(), 21);
    EXPECT_EQ(exit.height(), 18);
    for (auto [x, y, visible] :
         {std::tuple{1, 1, true}, {0, 0, false}, {20, 17, true}, {21, 5, false}, {5, 18, false}}) {
        const POINT p = ScreenPointOf(exit, x, y);
        SetCursorPos(p.x, p.y);
        viewer().TimeProc();
        EXPECT_EQ(exit.visible(), visible) << x << "," << y;
    }
}

// A key pressed while the list has the focus, with Ctrl held or not.
void PressInList(HWND list, UINT key, bool control) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SetFocus(list);
    SendMessageA(list, WM_KEYDOWN, key, 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

std::string MenuText(HMENU menu, int position) {
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(PcxViewTest, TheListsShortcutsRunTheMenusCommandsAndDeleteAsksFirst) {
    open();
    // The menu shows each shortcut after its unchanged text, in the same order.
    EXPECT_EQ(MenuText(viewer().PopM1, 0), "&Copy to Clipboard\tCtrl+C");
    EXPECT_EQ(MenuText(viewer().PopM1, 1), "&Save to Gif\tCtrl+S");
    EXPECT_EQ(MenuText(viewer().PopM1, 2), "&Delete Image\tDel");

    select({1});
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    PressInList(viewer().LB, 'C', true);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto copied = PixmapFromBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
    CloseClipboard();
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->pixels, shots_[1].picture.pixels);

    PressInList(viewer().LB, 'S', true);
    EXPECT_EQ(asked.size(), 1u);           // the save dialog was asked for a name
    PressInList(viewer().LB, 'S', false);  // a plain S is the list's own
    EXPECT_EQ(asked.size(), 1u);

    std::vector<int> questions;
    bool answer = false;
    // As the real box does, the question takes the activation and gives it
    // back, and the viewer lists its folder afresh.
    viewer().confirmDelete = [&](int files) {
        questions.push_back(files);
        SendMessageA(viewer().hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
        return answer;
    };
    select({0, 2, 3});
    PressInList(viewer().LB, VK_DELETE, false);  // answered No: nothing goes
    EXPECT_EQ(questions, std::vector<int>{3});
    EXPECT_EQ(ListBoxItems(viewer().LB).size(), 4u);
    answer = true;
    select({0, 2, 3});  // the list came back afresh with the activation
    PressInList(viewer().LB, VK_DELETE, false);
    EXPECT_EQ(ListBoxItems(viewer().LB), std::vector<std::string>{"Snap0001.Pcx"});
    EXPECT_EQ(ui().PA.L_PFF->caption(), "1 File(s)");
    PressInList(viewer().LB, VK_DELETE, false);  // nothing selected: no question
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_FALSE(FileExists(path(0)));
    EXPECT_TRUE(FileExists(path(1)));
}

TEST_F(PcxViewTest, DeleteTakesTheFilesShownWhateverFolderIsChosenWhileItAsks) {
    // Another folder with snapshots of the same names, as every folder has.
    const std::string other = folder_ + "-other";
    CreateDirectoryA(other.c_str(), nullptr);
    for (int i = 0; i < 4; ++i) WriteFile(other + "\\Snap000" + std::to_string(i) + ".Pcx", shots_[i].file);
    open();
    // The main window stays usable while the question is up: the user picks
    // the other folder, and the box gives the activation back.
    viewer().confirmDelete = [&](int) {
        main->settings.L_PF = other;
        ui().PA.showSettings();
        SendMessageA(viewer().hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
        return true;
    };
    select({0, 2});
    PressInList(viewer().LB, VK_DELETE, false);
    EXPECT_FALSE(FileExists(path(0)));
    EXPECT_TRUE(FileExists(path(1)));
    EXPECT_FALSE(FileExists(path(2)));
    EXPECT_EQ(ListFiles(other, "Snap*.Pcx", "N").size(), 4u);
    DeleteTree(other);
}

TEST_F(PcxViewTest, WithoutACurrentGameTheChoiceOffersAllSnapshotsOnly) {
    open();
    ASSERT_NE(viewer().CB_SHOW, nullptr);
    EXPECT_EQ(SendMessageA(viewer().CB_SHOW, CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(WindowText(viewer().CB_SHOW), "All snapshots");
    // On the title strip, clear of the list, the picture and the exit image.
    const RECT box = ChildRect(viewer().CB_SHOW);
    EXPECT_GE(box.left, 300);
    EXPECT_LE(box.right, 500);
    EXPECT_LE(box.bottom, 32);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Handles messages until the viewer's list is filled; false after a generous limit.
bool WaitForFill(const TF_PcxView& viewer) {
    for (int i = 0; i < 6000 && viewer.filling(); ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        ProcessMessages();
    }
    return !viewer.filling();
}

std::vector<std::string> Names(const std::string& prefix, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(prefix + std::to_string(i));
    return names;
}

// Many snapshots: the list holds them all, in the order the
// directory search gives, whatever happens while it fills.
TEST_F(PcxViewTest, ALongListFillsCompletelyInTheSearchOrder) {
    constexpr int kShots = 1500;
    for (int i = 4; i < kShots; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\Snap%04d.Pcx", i);
        ASSERT_TRUE(CopyFileA(path(0).c_str(), (folder_ + name).c_str(), FALSE));
    }
    main->FilesCounter();
    open();
    ASSERT_TRUE(WaitForFill(viewer()));
    std::vector<std::string> expected;
    for (const std::string& file : ListFiles(folder_, "Snap*.Pcx", "N"))
        expected.push_back(file.substr(folder_.size() + 1));
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kShots));
    EXPECT_EQ(ListBoxItems(viewer().LB), expected);

    // A click on the last item shows that file; deleting it refills without it.
    select({kShots - 1});
    const std::string last = expected.back();
    const int shot = last < "Snap0004.Pcx" ? last[7] - '0' : 0;  // the rest are copies of 0
    EXPECT_EQ(Shown(viewer()).pixels, shots_[shot].picture.pixels) << last;
    viewer().DelPic();
    ASSERT_TRUE(WaitForFill(viewer()));
    expected.pop_back();
    EXPECT_EQ(ListBoxItems(viewer().LB), expected);
    EXPECT_EQ(ui().PA.L_PFF->caption(), std::to_string(kShots - 1) + " File(s)");
}

// The list shows exactly what it was given last, in that order, also when a
// new list comes while an earlier one is still being added (an activation,
// a deletion): nothing of the earlier one stays or comes twice.
TEST_F(PcxViewTest, AListGivenWhileAnotherFillsReplacesIt) {
    open();
    viewer().FillList({"b.Pcx", "a.Pcx", "c.Pcx"});
    EXPECT_FALSE(viewer().filling());
    EXPECT_EQ(ListBoxItems(viewer().LB), (std::vector<std::string>{"b.Pcx", "a.Pcx", "c.Pcx"}));

    viewer().FillList(Names("early", 40000));
    viewer().FillList(Names("late", 30000));
    ASSERT_TRUE(WaitForFill(viewer()));
    EXPECT_EQ(ListBoxItems(viewer().LB), Names("late", 30000));

    viewer().FillList(Names("early", 40000));
    SetForegroundWindow(main->hwnd());
    settle();
    SetForegroundWindow(viewer().hwnd());  // refills from the folder
    ASSERT_TRUE(WaitForFill(viewer()));
    EXPECT_EQ(ListBoxItems(viewer().LB).size(), 4u);

    viewer().FillList({});
    EXPECT_TRUE(ListBoxItems(viewer().LB).empty());
}

// An activation that arrives while "Loading..." repaints refills the list and
// so clears the selection; the picture is still that of the item clicked.
TEST_F(PcxViewTest, AnActivationWhileLoadingShowsTheClickedItemAllTheSame) {
    open();
    PostMessageA(viewer().hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    select({2});
    EXPECT_EQ(SelectedCount(viewer().LB), 0);
    EXPECT_EQ(Shown(viewer()).pixels, shots_[2].picture.pixels);
    EXPECT_EQ(ListBoxItems(viewer().LB).size(), 4u);
}

}  // namespace
}  // namespace qv
