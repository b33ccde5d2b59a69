// Tests of ListFiles and DeleteTree on real files.
#include "util/files_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "util/system_win.h"

namespace qv {
namespace {

std::string UniqueTempFolder() {
    static int serial = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "qv-util-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + "-" + std::to_string(++serial);
}

// A one-byte file, then given the attributes asked for (none: left as created).
void MakeFile(const std::string& path, DWORD attributes = 0) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, "x", 1, &written, nullptr);
    CloseHandle(h);
    if (attributes == 0) return;
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
    ASSERT_EQ(GetFileAttributesA(path.c_str()) & attributes, attributes)
        << path << ": attribute not kept";
}

// A folder with one entry of each kind that the attribute letters select.
class ListedFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = UniqueTempFolder();
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        MakeFile(folder_ + "\\plain.txt");
        MakeFile(folder_ + "\\ro.txt", FILE_ATTRIBUTE_READONLY);
        MakeFile(folder_ + "\\hid.txt", FILE_ATTRIBUTE_HIDDEN);
        MakeFile(folder_ + "\\sys.txt", FILE_ATTRIBUTE_SYSTEM);
        MakeFile(folder_ + "\\hidsys.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        ASSERT_TRUE(CreateDirectoryA((folder_ + "\\sub").c_str(), nullptr));
        MakeFile(folder_ + "\\sub\\inner.txt");
    }
    void TearDown() override {
        DeleteTree(folder_);
        EXPECT_FALSE(FolderExists(folder_));
    }

    // Names of the listed entries, sorted; every entry must be folder + "\" + name.
    std::vector<std::string> Names(std::string_view mask, std::string_view letters,
                                   std::string folder = {}) {
        if (folder.empty()) folder = folder_;
        std::vector<std::string> names;
        for (const std::string& path : ListFiles(folder, mask, letters)) {
            EXPECT_EQ(path.rfind(folder_ + "\\", 0), 0u) << path;
            EXPECT_EQ(path.find("\\\\"), std::string::npos) << path;
            names.push_back(path.substr(folder_.size() + 1));
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder_;
};

using List = std::vector<std::string>;

TEST_F(ListedFolder, LetterSetsOfTheProgram) {
    EXPECT_EQ(Names("*.*", "AHR"), (List{"hid.txt", "plain.txt", "ro.txt"}));
    EXPECT_EQ(Names("*.*", "N"),
              (List{".", "..", "hid.txt", "hidsys.txt", "plain.txt", "ro.txt", "sub", "sys.txt"}));
    EXPECT_EQ(Names("*.*", "HSRAD"), Names("*.*", "N"));
    EXPECT_EQ(Names("*.*", "AHRS"),
              (List{"hid.txt", "hidsys.txt", "plain.txt", "ro.txt", "sys.txt"}));
}

TEST_F(ListedFolder, DirectoriesWithDotEntriesOnlyWithD) {
    EXPECT_EQ(Names("*.*", "D"), (List{".", "..", "plain.txt", "ro.txt", "sub"}));
    EXPECT_EQ(Names("*.*", ""), (List{"plain.txt", "ro.txt"}));
    EXPECT_EQ(Names("*.*", "xyz"), (List{"plain.txt", "ro.txt"}));
}

TEST_F(ListedFolder, LettersIgnoreCaseAndMaskFilters) {
    EXPECT_EQ(Names("*.*", "ahr"), Names("*.*", "AHR"));
    EXPECT_EQ(Names("h*.txt", "N"), (List{"hid.txt", "hidsys.txt"}));
    EXPECT_EQ(Names("*.bin", "N"), List{});
}

TEST_F(ListedFolder, FolderWithFinalBackslashListsTheSame) {
    EXPECT_EQ(Names("*.*", "N", folder_ + "\\"), Names("*.*", "N"));
}

TEST(ListFilesTest, MissingFolderGivesEmptyList) {
    EXPECT_TRUE(ListFiles(UniqueTempFolder(), "*.*", "N").empty());
}

TEST(DeleteTreeTest, RemovesReadOnlyHiddenAndSubFolders) {
    const std::string folder = UniqueTempFolder();
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    MakeFile(folder + "\\ro.txt", FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CreateDirectoryA((folder + "\\sub").c_str(), nullptr));
    MakeFile(folder + "\\sub\\hid.txt", FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(CreateDirectoryA((folder + "\\sub\\deeper").c_str(), nullptr));
    MakeFile(folder + "\\sub\\deeper\\sys.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(SetFileAttributesA((folder + "\\sub").c_str(),
                                   FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));

    int told = 0;  // once after each of the three folders
    DeleteTree(folder, [&told] { ++told; });
    EXPECT_FALSE(FolderExists(folder));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_EQ(told, 3);
}

TEST(DeleteTreeTest, MissingFolderIsNoFailure) {
    const std::string folder = UniqueTempFolder();
    DeleteTree(folder);
    EXPECT_FALSE(FolderExists(folder));
}

TEST(DeleteTreeTest, LeavesWhatCannotBeDeletedAndCarriesOn) {
    const std::string folder = UniqueTempFolder();
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    MakeFile(folder + "\\open.txt");
    MakeFile(folder + "\\other.txt");
    HANDLE held = CreateFileA((folder + "\\open.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DeleteTree(folder);
    EXPECT_TRUE(FileExists(folder + "\\open.txt"));
    EXPECT_FALSE(FileExists(folder + "\\other.txt"));
    CloseHandle(held);
    DeleteTree(folder);
    EXPECT_FALSE(FolderExists(folder));
}

TEST(Exists, TellsFilesFromFolders) {
    const std::string folder = UniqueTempFolder();
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    MakeFile(folder + "\\f.txt");
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_TRUE(FileExists(folder + "\\f.txt"));
    EXPECT_FALSE(FolderExists(folder + "\\f.txt"));
    EXPECT_FALSE(FileExists(folder + "\\none.txt"));
    DeleteTree(folder);
}

// DeleteTree lets the interface breathe once at its end.
}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Looked up at run time: the program's headers target systems older than links.
bool LinkFolder(const std::string& link, const std::string& target) {
    using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    const auto create = reinterpret_cast<CreateLink>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    return create && create(link.c_str(), target.c_str(), 1 /* a folder */);
}

// A linked folder inside the tree is unlinked; what it points to stays.
TEST(DeleteTreeTest, DoesNotEmptyTheTargetOfALinkedFolder) {
    const std::string outside = UniqueTempFolder(), folder = UniqueTempFolder();
    ASSERT_TRUE(CreateDirectoryA(outside.c_str(), nullptr));
    MakeFile(outside + "\\keep.txt");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    if (!LinkFolder(folder + "\\link", outside) || !FileExists(folder + "\\link\\keep.txt")) {
        DeleteTree(folder);
        DeleteTree(outside);
        GTEST_SKIP() << "no folder links here (error " << GetLastError() << ")";
    }
    DeleteTree(folder);
    EXPECT_FALSE(FolderExists(folder));
    EXPECT_TRUE(FileExists(outside + "\\keep.txt"));
    DeleteTree(outside);
}

}  // namespace
}  // namespace qv
