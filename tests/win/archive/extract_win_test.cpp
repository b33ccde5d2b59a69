// Tests of ExtractArchive on real files and folders: contents, folders, the
// message boxes (recorded instead of shown) and the destination's bounds.
#include "archive/extract_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/crc32.h"
#include "util/files_win.h"

namespace qv {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string HostPath(std::string path) {
    // The build tree hands over host paths; under Wine the host's "/" is drive Z:.
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

Bytes ReadAll(const std::string& path) {
    Bytes data;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return data;
    data.resize(GetFileSize(h, nullptr));
    DWORD got = 0;
    ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    CloseHandle(h);
    return data;
}

void WriteAll(const std::string& path, const Bytes& data) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A local header and its data; crcDelta spoils the stored CRC-32.
struct StoredEntry {
    std::string name;
    Bytes data;
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    std::uint32_t crcDelta = 0;
};

Bytes ArchiveOf(const std::vector<StoredEntry>& entries) {
    Bytes b;
    auto put = [&b](std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i)
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    for (const StoredEntry& e : entries) {
        const auto size = static_cast<std::uint32_t>(e.data.size());
        put(0x04034B50, 4), put(10, 2), put(e.flags, 2), put(e.method, 2), put(0, 4);
        put(Crc32(e.data.data(), e.data.size()) + e.crcDelta, 4), put(size, 4), put(size, 4);
        put(static_cast<std::uint32_t>(e.name.size()), 2), put(0, 2);
        b.insert(b.end(), e.name.begin(), e.name.end());
        b.insert(b.end(), e.data.begin(), e.data.end());
    }
    return b;
}

class Extraction : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + "qv-zip-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount());
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
    }
    void TearDown() override { DeleteTree(root_); }

    // Extracts with the boxes recorded; messages_ holds "text|caption" of each.
    bool Extract(const std::string& archive, const std::string& folder) {
        return ExtractArchive(archive, folder,
                              [this](const std::string& text, const std::string& caption) {
                                  messages_.push_back(text + "|" + caption);
                              });
    }
    bool ExtractBytes(const Bytes& archive, const std::string& folder) {
        const std::string path = root_ + "\\test.zip";
        WriteAll(path, archive);
        return Extract(path, folder);
    }

    std::string root_;
    std::vector<std::string> messages_;
};

TEST_F(Extraction, UnpacksStoredAndDeflatedEntriesIntoANewFolder) {
    Bytes rom(70000);
    for (std::size_t i = 0; i < rom.size(); ++i)
        rom[i] = static_cast<std::uint8_t>((i * 7 + i / 300) & 0xFF);
    const std::string archive = HostPath(QV_ARCHIVE_DATA "/roms.zip");
    for (const std::string& folder : {root_ + "\\new\\deeper", root_ + "\\other\\"}) {
        ASSERT_TRUE(Extract(archive, folder)) << folder;
        const std::string base = folder.back() == '\\' ? folder : folder + "\\";
        EXPECT_TRUE(ReadAll(base + "sf2.11") == rom);
        EXPECT_TRUE(ReadAll(base + "readme.txt") ==
                    Text("Test ROM set for the extraction tests.\r\n"));
        EXPECT_FALSE(FolderExists(base + "sf2"));  // folders in the archive are not made
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Extraction, ReplacesFilesOfTheSameNameEvenReadOnlyOnes) {
    const std::string target = root_ + "\\a.bin";
    WriteAll(target, Text("old and longer than the new one"));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(ExtractBytes(ArchiveOf({{"roms/a.bin", Text("new")}}), root_));
    EXPECT_TRUE(ReadAll(target) == Text("new"));
}

TEST_F(Extraction, AFileThatCannotBeReplacedStopsWithOneBoxNamingIt) {
    const Bytes archive =
        ArchiveOf({{"a.bin", Text("first")}, {"b.bin", Text("second")}, {"c.bin", Text("third")}});
    const std::string out = root_ + "\\out";
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));
    // Held open by another program, without sharing.
    WriteAll(out + "\\b.bin", Text("locked"));
    HANDLE locked =
        CreateFileA((out + "\\b.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ExtractBytes(archive, out));
    CloseHandle(locked);
    EXPECT_EQ(messages_,
              std::vector<std::string>{"Couldn't write " + out + "\\b.bin|Unable to extract..."});
    EXPECT_TRUE(ReadAll(out + "\\a.bin") == Text("first"));
    EXPECT_TRUE(ReadAll(out + "\\b.bin") == Text("locked"));
    EXPECT_FALSE(FileExists(out + "\\c.bin"));

    // A folder of the entry's name.
    messages_.clear();
    DeleteFileA((out + "\\b.bin").c_str());
    ASSERT_TRUE(CreateDirectoryA((out + "\\b.bin").c_str(), nullptr));
    EXPECT_FALSE(ExtractBytes(archive, out));
    EXPECT_EQ(messages_,
              std::vector<std::string>{"Couldn't write " + out + "\\b.bin|Unable to extract..."});
}

TEST_F(Extraction, ShowsTheFourBoxesAndStops) {
    const std::string missing = root_ + "\\missing.zip";
    EXPECT_FALSE(Extract(missing, root_ + "\\out"));
    EXPECT_FALSE(ExtractBytes(ArchiveOf({{"", Text("x")}}), root_ + "\\out"));
    EXPECT_FALSE(ExtractBytes(ArchiveOf({{"first.bin", Text("1")}, {"imploded.bin", Text("2"), 6}}),
                              root_ + "\\out"));
    EXPECT_FALSE(ExtractBytes(ArchiveOf({{"locked.bin", Text("3"), 0, 1}}), root_ + "\\out"));
    EXPECT_FALSE(ExtractBytes(ArchiveOf({{"roms/bad.bin", Text("4"), 0, 0, 1}}), root_ + "\\out"));
    EXPECT_EQ(messages_,
              (std::vector<std::string>{missing + "|Couldn't open...",
                                        "Error retreiving filename.|Archive error..",
                                        "Unsupported compression method|Unable to extract...",
                                        "Encrypted entries are not supported|Unable to extract...",
                                        "CRC error in roms/bad.bin|Archive error.."}));
    EXPECT_TRUE(ReadAll(root_ + "\\out\\first.bin") == Text("1"));  // written before the refusal
}

TEST_F(Extraction, NeverWritesOutsideTheDestination) {
    const std::string dest = root_ + "\\dest";
    ASSERT_TRUE(ExtractBytes(ArchiveOf({{"..\\..\\up1.txt", Text("1")},
                                        {"../up2.txt", Text("2")},
                                        {"C:\\up3.txt", Text("3")},
                                        {"C:up4.txt", Text("4")},
                                        {"..", Text("5")},
                                        {"sub/", {}}}),
                             dest));
    for (const char* name : {"up1.txt", "up2.txt", "up3.txt", "up4.txt"}) {
        EXPECT_TRUE(FileExists(dest + "\\" + name)) << name;
        EXPECT_FALSE(FileExists(root_ + "\\" + name)) << name;
    }
    EXPECT_FALSE(FileExists("C:\\up3.txt"));
    EXPECT_FALSE(FolderExists(dest + "\\sub"));
    // A device name would write to the device: refused.
    EXPECT_FALSE(ExtractBytes(ArchiveOf({{"roms/NUL", Text("x")}}), dest));
    EXPECT_EQ(messages_, std::vector<std::string>{"Error retreiving filename.|Archive error.."});
}

TEST_F(Extraction, AFileWithoutHeadersGivesTrueAndNothing) {
    EXPECT_TRUE(ExtractBytes({}, root_ + "\\none"));
    EXPECT_TRUE(ExtractBytes(Text("not an archive at all"), root_ + "\\none"));
    EXPECT_FALSE(FolderExists(root_ + "\\none"));
    EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace qv
