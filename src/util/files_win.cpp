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

// Adds the entries to list; false when the search stopped before its end,
// other than for a folder that is there with nothing matching.
bool ListInto(std::vector<std::string>& list, std::string_view folder, std::string_view mask,
              std::string_view letters) {
    // Only these attributes hide an entry unless asked for; plain files always show.
    constexpr DWORD kSelective =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x08 | FILE_ATTRIBUTE_DIRECTORY;
    const DWORD excluded = ~AttributeMask(letters) & kSelective;

    const std::string base = EndWithBackslash(folder);
    WIN32_FIND_DATAA data;
    OwnedFind find(FindFirstFileA((base + std::string(mask)).c_str(), &data));
    if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if ((data.dwFileAttributes & excluded) == 0) list.push_back(base + data.cFileName);
    } while (FindNextFileA(find.get(), &data));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

}  // namespace

std::vector<std::string> ListFiles(std::string_view folder, std::string_view mask,
                                   std::string_view letters) {
    std::vector<std::string> list;
    ListInto(list, folder, mask, letters);
    return list;
}

std::optional<std::vector<std::string>> ListFilesIfReadable(std::string_view folder,
                                                            std::string_view mask,
                                                            std::string_view letters) {
    std::vector<std::string> list;
    if (!ListInto(list, folder, mask, letters)) return std::nullopt;
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
