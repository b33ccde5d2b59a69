// File and folder routines over the Win32 file system calls.
#include "util/files_win.h"

#include <windows.h>

#include "util/handles_win.h"
#include "util/system_win.h"
#include "util/text.h"

namespace qv {

namespace {

DWORD AttributeMask(std::string_view letters) {
    DWORD mask = 0;
    for (char c : UpperText(letters)) {
        switch (c) {
        case 'A':
            mask += FILE_ATTRIBUTE_ARCHIVE;
            break;
        case 'D':
            mask += FILE_ATTRIBUTE_DIRECTORY;
            break;
        case 'H':
            mask += FILE_ATTRIBUTE_HIDDEN;
            break;
        case 'L':
            mask += 0x08;
            break;  // volume label: no FILE_ATTRIBUTE_ name for it
        case 'N':
            mask += 0x3F;
            break;
        case 'R':
            mask += FILE_ATTRIBUTE_READONLY;
            break;
        case 'S':
            mask += FILE_ATTRIBUTE_SYSTEM;
            break;
        default:
            break;
        }
    }
    return mask;
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

}  // namespace

FolderLister::FolderLister(std::string_view folder, std::string_view mask,
                           std::string_view letters)
    : base_(EndWithBackslash(folder)), pattern_(base_ + std::string(mask)) {
    // Only these attributes hide an entry unless asked for; plain files always show.
    constexpr DWORD kSelective =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x08 | FILE_ATTRIBUTE_DIRECTORY;
    excluded_ = ~AttributeMask(letters) & kSelective;
}

FolderLister::~FolderLister() {
    if (find_) FindClose(find_);
}

bool FolderLister::step(std::vector<std::string>& found, const std::function<bool()>& more) {
    WIN32_FIND_DATAA data;
    auto end = [this](bool complete) {
        if (find_) FindClose(find_);
        find_ = nullptr;
        ended_ = true;
        complete_ = complete;
        return true;
    };
    if (ended_) return true;
    if (!started_) {
        started_ = true;
        find_ = FindFirstFileA(pattern_.c_str(), &data);
        // Nothing matching in a folder that is there is a complete listing.
        if (find_ == INVALID_HANDLE_VALUE) {
            find_ = nullptr;
            return end(GetLastError() == ERROR_FILE_NOT_FOUND);
        }
    } else if (!FindNextFileA(find_, &data)) {
        return end(GetLastError() == ERROR_NO_MORE_FILES);
    }
    for (int entries = 1;; ++entries) {
        if ((data.dwFileAttributes & excluded_) == 0) found.push_back(base_ + data.cFileName);
        if (entries % 64 == 0 && !more()) return false;
        if (!FindNextFileA(find_, &data)) return end(GetLastError() == ERROR_NO_MORE_FILES);
    }
}

std::vector<std::string> ListFiles(std::string_view folder, std::string_view mask,
                                   std::string_view letters) {
    std::vector<std::string> list;
    FolderLister(folder, mask, letters).step(list, [] { return true; });
    return list;
}

std::optional<std::vector<std::string>> ListFilesIfReadable(std::string_view folder,
                                                            std::string_view mask,
                                                            std::string_view letters) {
    std::vector<std::string> list;
    FolderLister lister(folder, mask, letters);
    lister.step(list, [] { return true; });
    if (!lister.complete()) return std::nullopt;
    return list;
}

void DeleteTree(const std::string& folder, const std::function<void()>& progress) {
    if (folder.empty()) return;
    for (const std::string& entry : ListFiles(folder, "*.*", "HSRAD")) {
        if (RightChars(entry, 1) == "." || !FolderExists(entry)) continue;
        // A junction or link is removed as such; its target is not ours to empty.
        if (Attributes(entry) & FILE_ATTRIBUTE_REPARSE_POINT)
            RemoveDirectoryA(entry.c_str());
        else
            DeleteTree(entry, progress);
    }
    for (const std::string& entry : ListFiles(folder, "*.*", "AHRS")) {
        SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(entry.c_str());
    }
    RemoveDirectoryA(folder.c_str());
    if (progress) progress();
}

bool FileExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CreateFolderPath(const std::string& folder) {
    for (std::size_t at = folder.find_first_of("\\/"); at != std::string::npos;
         at = folder.find_first_of("\\/", at + 1)) {
        if (at > 0) CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
}

}  // namespace qv
