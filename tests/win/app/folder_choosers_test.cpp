// The "..." buttons that choose the emulator, save and snapshot folders.
#include <optional>
#include <string>
#include <vector>

#include "../components/dialog_script_win.h"
#include "shell_fixture_win.h"
#include "util/files_win.h"
#include "util/system_win.h"
#include "util/text.h"

namespace qv {
namespace {

void MakeFile(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    CloseHandle(f);
}

// A running shell and an empty scratch folder of this test's own.
class ChooserShellTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // At the drive's root, not in the temporary folder: under Wine the
        // shell's folder browser finds a folder again by item lists that
        // carry its parents' times, which any file written meanwhile in the
        // temporary folder changes.
        folder_ =
            WindowsTempDir().substr(0, 3) + "qvchoose" + std::to_string(GetCurrentProcessId());
        DeleteTree(folder_);
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        createMain();
    }
    void TearDown() override {
        ShellTest::TearDown();
        DeleteTree(folder_);
    }

    std::string folder_;
};

class FolderChooserTest : public ChooserShellTest {
protected:
    void SetUp() override {
        ChooserShellTest::SetUp();
        // The dialog's answer, and the folders it was opened at.
        main->seams.pickFolder = [this](const std::string& start) {
            starts.push_back(start);
            return answer;
        };
    }

    std::optional<std::string> answer;
    std::vector<std::string> starts;
};

TEST_F(FolderChooserTest, EmulatorFolderWithOnlyTheArchiveIsTakenAndScanned) {
    MakeFile(folder_ + "\\Rvl023.zip");
    main->settings.L_PF = "D:\\Shots";
    ui().PA.showSettings();
    const std::string before = main->settings.L_CAL;
    ASSERT_EQ(ui().L_G->caption(), "0/0");
    answer = folder_;

    SendMessageA(ui().B_1, BM_CLICK, 0, 0);

    EXPECT_EQ(starts, std::vector<std::string>{before});
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(main->settings.L_CAL, folder_);
    EXPECT_EQ(ui().L_CAL->caption(), folder_);
    // Only the folder still at its default follows the emulator.
    EXPECT_EQ(main->settings.L_SF, folder_ + "\\Saves");
    EXPECT_EQ(ui().PA.L_SF->caption(), folder_ + "\\Saves");
    EXPECT_EQ(main->settings.L_PF, "D:\\Shots");
    EXPECT_EQ(ui().PA.L_PF->caption(), "D:\\Shots");
    EXPECT_EQ(ui().L_G->caption(), "0/24");  // the new folder was scanned
}

TEST_F(FolderChooserTest, EmulatorFolderWithoutRavlenIsRefusedAndNothingChanges) {
    const Settings before = main->settings;
    const std::string shownFolder = ui().L_CAL->caption();
    answer = folder_;

    main->BrowseCF();

    EXPECT_EQ(messages,
              std::vector<std::string>{" I CAN'T FIND ravlen.exe OR Rvl023.zip\r\n in " + folder_});
    EXPECT_EQ(main->settings.L_CAL, before.L_CAL);
    EXPECT_EQ(main->settings.L_SF, "\\Saves");
    EXPECT_EQ(main->settings.L_PF, "\\Pcx");
    EXPECT_EQ(ui().L_CAL->caption(), shownFolder);
    EXPECT_EQ(ui().L_G->caption(), "0/0");  // no scan
}

TEST_F(FolderChooserTest, CancellingTheEmulatorFolderChangesNothing) {
    MakeFile(folder_ + "\\ravlen.exe");
    const std::string before = main->settings.L_CAL;
    answer = std::nullopt;

    main->BrowseCF();

    EXPECT_EQ(starts.size(), 1u);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(main->settings.L_CAL, before);
    EXPECT_EQ(main->settings.L_SF, "\\Saves");
    EXPECT_EQ(ui().L_G->caption(), "0/0");
}

TEST_F(FolderChooserTest, DriveRootIsJoinedWithoutADoubledSeparator) {
    const std::string drive = folder_.substr(0, 3);  // "C:\"
    const std::string program = drive + "ravlen.exe";
    if (FileExists(program)) GTEST_SKIP() << program << " belongs to someone else";
    HANDLE f = CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) GTEST_SKIP() << "the drive root is not writable here";
    CloseHandle(f);
    answer = drive;

    main->BrowseCF();
    DeleteFileA(program.c_str());

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(main->settings.L_CAL, drive);
    EXPECT_EQ(main->settings.L_SF, drive + "Saves");
    EXPECT_EQ(main->settings.L_PF, drive + "Pcx");
}

TEST_F(FolderChooserTest, SaveAndSnapshotFoldersAreSetAndRecounted) {
    const std::string saves = folder_ + "\\saves";
    const std::string shots = folder_ + "\\shots";
    ASSERT_TRUE(CreateDirectoryA(saves.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(shots.c_str(), nullptr));
    MakeFile(saves + "\\sf2.Rs0");
    MakeFile(saves + "\\sf2.Rs1");
    MakeFile(shots + "\\Snap0000.Pcx");

    answer = saves;
    SendMessageA(ui().PA.B_2, BM_CLICK, 0, 0);
    answer = shots;
    SendMessageA(ui().PA.B_3, BM_CLICK, 0, 0);

    EXPECT_EQ(starts, (std::vector<std::string>{"\\Saves", "\\Pcx"}));
    EXPECT_EQ(main->settings.L_SF, saves);
    EXPECT_EQ(ui().PA.L_SF->caption(), saves);
    EXPECT_EQ(main->settings.L_PF, shots);
    EXPECT_EQ(ui().PA.L_PF->caption(), shots);
    EXPECT_EQ(ui().PA.L_SFF->caption(), "2 File(s)");
    EXPECT_EQ(ui().PA.L_PFF->caption(), "1 File(s)");
}

TEST_F(FolderChooserTest, CancellingKeepsTheFolderButStillRecounts) {
    main->settings.L_SF = folder_;
    main->settings.L_PF = folder_;
    main->FilesCounter();
    ASSERT_EQ(ui().PA.L_SFF->caption(), "0 File(s)");
    MakeFile(folder_ + "\\a.Rs0");
    MakeFile(folder_ + "\\Snap0001.Pcx");
    answer = std::nullopt;

    main->BrowseSF();
    EXPECT_EQ(ui().PA.L_SFF->caption(), "1 File(s)");
    MakeFile(folder_ + "\\Snap0002.Pcx");
    main->BrowsePF();

    EXPECT_EQ(starts, (std::vector<std::string>{folder_, folder_}));
    EXPECT_EQ(main->settings.L_SF, folder_);
    EXPECT_EQ(main->settings.L_PF, folder_);
    EXPECT_EQ(ui().PA.L_PFF->caption(), "2 File(s)");
}

// The same buttons with the shell's real folder browser, driven from the test.
class RealFolderChooserTest : public ChooserShellTest {
protected:
    void SetUp() override {
        ChooserShellTest::SetUp();
        show();
        messages.clear();  // what the first scan said of the start folder
        main->BF.OnInitialized = [this](TBrowseFolder&, HWND dialog) { script.dialog = dialog; };
    }
    // Clicks a "..." button; the dialog then selects `choice` and presses `button`.
    void choose(HWND chooser, const std::string& choice, WPARAM button) {
        auto select = test::DialogScript::until(
            [this, choice] { return UpperText(main->BF.SelectionPath()) == UpperText(choice); },
            test::DialogScript::select(choice));
        script.start({select, test::DialogScript::command(button)});
        SendMessageA(chooser, BM_CLICK, 0, 0);
    }

    test::DialogScript script;
};

TEST_F(RealFolderChooserTest, EmulatorFolderChosenWithOkIsShownAndScanned) {
    MakeFile(folder_ + "\\ravlen.exe");
    choose(ui().B_1, folder_, IDOK);

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(UpperText(ui().L_CAL->caption()), UpperText(folder_));
    EXPECT_EQ(ui().L_CAL->caption(), main->settings.L_CAL);
    EXPECT_EQ(UpperText(ui().PA.L_SF->caption()), UpperText(folder_ + "\\Saves"));
    EXPECT_EQ(UpperText(ui().PA.L_PF->caption()), UpperText(folder_ + "\\Pcx"));
    EXPECT_EQ(ui().L_G->caption(), "0/24");
}

TEST_F(RealFolderChooserTest, CancelledEmulatorFolderChangesNothing) {
    MakeFile(folder_ + "\\ravlen.exe");
    const std::string before = ui().L_CAL->caption();
    const std::string counter = ui().L_G->caption();
    choose(ui().B_1, folder_, IDCANCEL);

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ui().L_CAL->caption(), before);
    EXPECT_EQ(ui().PA.L_SF->caption(), "\\Saves");
    EXPECT_EQ(ui().L_G->caption(), counter);
}

TEST_F(RealFolderChooserTest, SaveAndSnapshotFoldersWithOkAndCancel) {
    MakeFile(folder_ + "\\a.Rs0");
    MakeFile(folder_ + "\\Snap0001.Pcx");
    choose(ui().PA.B_2, folder_, IDOK);
    EXPECT_EQ(UpperText(ui().PA.L_SF->caption()), UpperText(folder_));
    EXPECT_EQ(ui().PA.L_SFF->caption(), "1 File(s)");

    // Cancel keeps the folder; the files are counted again all the same.
    main->settings.L_PF = folder_;
    ui().PA.showSettings();
    MakeFile(folder_ + "\\Snap0002.Pcx");
    choose(ui().PA.B_3, WindowsTempDir(), IDCANCEL);
    EXPECT_EQ(ui().PA.L_PF->caption(), folder_);
    EXPECT_EQ(ui().PA.L_PFF->caption(), "2 File(s)");
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace qv
