// TBrowseFolder: its properties, and the shell's real dialog driven by a timer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/browse_folder_win.h"
#include "dialog_script_win.h"
#include "util/files_win.h"
#include "util/text.h"
#include "util/system_win.h"

namespace qv {
namespace {

TEST(TBrowseFolder, DefaultsFlagsAndButtonWidth) {
    TBrowseFolder bf;
    EXPECT_EQ(bf.Directory(), "");
    EXPECT_EQ(bf.Flags().flagWord(), 0u);
    EXPECT_EQ(bf.RootFolder(), TSHFolders::foDesktopExpanded);
    EXPECT_TRUE(bf.CustomButtonEnabled());
    EXPECT_FALSE(bf.CustomButtonVisible());
    EXPECT_EQ(bf.CustomButtonWidth(), 75);

    bf.SetCustomButtonWidth(120);
    EXPECT_EQ(bf.CustomButtonWidth(), 120);
    bf.SetCustomButtonWidth(0);
    EXPECT_EQ(bf.CustomButtonWidth(), 75);
    bf.SetCustomButtonWidth(120);
    bf.SetCustomButtonWidth(-5);
    EXPECT_EQ(bf.CustomButtonWidth(), 75);

    const TBrowseInfoFlagSet all{
        TBrowseInfoFlags::bfFileSysDirsOnly,   TBrowseInfoFlags::bfDontGoBelowDomain,
        TBrowseInfoFlags::bfStatusText,        TBrowseInfoFlags::bfFileSysAncestors,
        TBrowseInfoFlags::bfBrowseForComputer, TBrowseInfoFlags::bfBrowseForPrinter};
    EXPECT_EQ(all.flagWord(), 0x300Fu);
    EXPECT_EQ(
        (TBrowseInfoFlagSet{TBrowseInfoFlags::bfStatusText, TBrowseInfoFlags::bfBrowseForPrinter})
            .flagWord(),
        0x2004u);
}

class RealDialogTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = WindowsTempDir() + "qvbrowse" + std::to_string(GetCurrentProcessId());
        DeleteTree(folder_);
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        bf.OnInitialized = [this](TBrowseFolder& sender, HWND dialog) {
            EXPECT_EQ(&sender, &bf);
            script.dialog = dialog;
        };
        bf.OnSelectionChanged = [this](TBrowseFolder&, HWND, LPCITEMIDLIST,
                                       const std::string& path) { selections.push_back(path); };
    }
    void TearDown() override { DeleteTree(folder_); }
    bool run(std::vector<test::DialogScript::Step> steps) {
        script.start(std::move(steps));
        return bf.Execute();
    }
    static test::DialogScript::Step press(WPARAM command) {
        return test::DialogScript::command(command);
    }

    TBrowseFolder bf;
    std::string folder_;
    std::vector<std::string> selections;
    test::DialogScript script;
};

TEST_F(RealDialogTest, OkChoosesThePreselectedFolder) {
    bf.SetDirectory(folder_);
    ASSERT_TRUE(run({press(IDOK)}));
    EXPECT_TRUE(FolderExists(bf.Directory())) << bf.Directory();
    EXPECT_EQ(bf.SelectionPath(), bf.Directory());
    EXPECT_EQ(bf.DialogHandle(), nullptr);  // gone with the dialog
    ASSERT_FALSE(selections.empty());
    EXPECT_EQ(UpperText(selections.back()), UpperText(folder_));
    EXPECT_EQ(UpperText(bf.Directory()), UpperText(folder_));
}

TEST_F(RealDialogTest, TheShellKeepsItsWindowDataAndThePreselectionOutlivesDirectory) {
    bf.SetDirectory(folder_);
    LONG_PTR windowData = 0;
    bf.OnInitialized = [&](TBrowseFolder& sender, HWND dialog) {
        script.dialog = dialog;
        windowData = GetWindowLongPtrA(dialog, GWLP_USERDATA);
        // The text the dialog opened with is freed before the dialog takes up
        // the repeated request for it.
        sender.SetDirectory(std::string(400, 'x'));
    };
    ASSERT_TRUE(run({press(IDOK)}));
    EXPECT_NE(windowData, reinterpret_cast<LONG_PTR>(&bf));
    EXPECT_EQ(UpperText(bf.Directory()), UpperText(folder_));
}

TEST_F(RealDialogTest, CancelReturnsFalseAndKeepsTheDirectory) {
    bf.SetDirectory(folder_);
    EXPECT_FALSE(run({press(IDCANCEL)}));
    EXPECT_EQ(bf.Directory(), folder_);
}

TEST_F(RealDialogTest, ExtraButtonIsPlacedAndRaisesItsEvent) {
    bf.SetCustomButtonVisible(true);
    bf.SetCustomButtonCaption("Extra");
    bf.SetCustomButtonWidth(90);
    bf.SetCustomButtonEnabled(false);
    HWND button = nullptr;
    int id = 0;
    RECT place{};
    char caption[32] = "";
    bool enabledAtStart = true;
    bf.OnInitialized = [&](TBrowseFolder& sender, HWND dialog) {
        script.dialog = dialog;
        button = sender.CustomButton();
        id = GetDlgCtrlID(button);
        enabledAtStart = IsWindowEnabled(button);
        sender.SetCustomButtonCaption("Other");
        sender.SetCustomButtonEnabled(true);
        GetWindowTextA(button, caption, sizeof caption);
        GetWindowRect(button, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    };
    int clicks = 0;
    bf.OnCustomButtonClick = [&](TBrowseFolder& sender, HWND dialog) {
        EXPECT_EQ(&sender, &bf);
        EXPECT_EQ(dialog, script.dialog);
        ++clicks;
    };

    EXPECT_FALSE(run({press(MAKEWPARAM(255, BN_CLICKED)), press(IDCANCEL)}));

    ASSERT_NE(button, nullptr);
    EXPECT_EQ(id, 255);
    EXPECT_FALSE(enabledAtStart);
    EXPECT_STREQ(caption, "Other");
    EXPECT_EQ(place.left, 12);
    EXPECT_EQ(place.top, 280);
    EXPECT_EQ(place.right - place.left, 90);
    EXPECT_EQ(place.bottom - place.top, 23);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(bf.CustomButton(), nullptr);
}

TEST_F(RealDialogTest, OnlyItemsWithAFileSystemPathCanBeChosen) {
    // "My Computer": an item of the tree without a file-system path.
    LPITEMIDLIST computer = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)));
    bf.SetDirectory(folder_);
    bf.SetSyncCustomButton(true);
    bf.SetCustomButtonVisible(true);
    std::vector<bool> okEnabled, extraEnabled;
    auto look = [&](HWND dialog) {
        okEnabled.push_back(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
        extraEnabled.push_back(bf.CustomButtonEnabled());
    };
    auto selectItem = [&](HWND dialog) {
        SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer));
    };

    // Back to a file-system item: the drive's root, the shortest way down the
    // tree. Under Wine a deeper folder is found again by comparing item lists
    // that carry the folders' times, which any file written in between
    // changes, so the shell may never find it again.
    const std::string drive = folder_.substr(0, 3);
    auto selectFolder = test::DialogScript::until(
        [&] { return UpperText(bf.SelectionPath()) == UpperText(drive); },
        test::DialogScript::select(drive));
    EXPECT_FALSE(run({look, selectItem, look, selectFolder, look, press(IDCANCEL)}));
    CoTaskMemFree(computer);

    EXPECT_EQ(okEnabled, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(extraEnabled, okEnabled);  // the extra button follows OK
    ASSERT_FALSE(selections.empty());
    EXPECT_EQ(UpperText(selections.back()), UpperText(drive));
}

}  // namespace
}  // namespace qv
