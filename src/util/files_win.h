// File and folder routines over the Win32 file system calls.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Full paths of the entries of folder that match mask, in the order the system
// reports them. letters choose which entries beyond plain files are listed:
// A archive, D directories (with "." and ".."), H hidden, L volume label,
// N all of them, R read-only, S system; case does not matter, others are
// ignored. A missing folder gives an empty list.
std::vector<std::string> ListFiles(std::string_view folder, std::string_view mask,
                                   std::string_view letters);

// ListFiles for a caller that must tell a folder without matching entries
// from one it could not list: nothing unless the search ran to its end. A
// missing folder cannot be listed either (an unplugged drive looks the same).
std::optional<std::vector<std::string>> ListFilesIfReadable(std::string_view folder,
                                                            std::string_view mask,
                                                            std::string_view letters);

// A folder listed a few entries at a time, as ListFiles lists it, so that a
// window can answer its messages between the steps.
class FolderLister {
public:
    FolderLister(std::string_view folder, std::string_view mask, std::string_view letters);
    ~FolderLister();
    FolderLister(const FolderLister&) = delete;
    FolderLister& operator=(const FolderLister&) = delete;

    // Lists on while more() holds (asked every few entries) and the listing
    // has not ended; the entries found go to found. True once it has ended.
    bool step(std::vector<std::string>& found, const std::function<bool()>& more);
    bool ended() const { return ended_; }
    // The listing ran to its end (a folder with nothing matching included).
    bool complete() const { return ended_ && complete_; }

private:
    std::string base_;
    unsigned long excluded_ = 0;
    void* find_ = nullptr;  // the search handle between steps
    bool started_ = false, ended_ = false, complete_ = false;
    std::string pattern_;
};

// Deletes folder with every file (read-only, hidden and system ones too) and
// every sub-folder, telling progress (when given) after each folder, so that
// the caller can keep its windows alive. Failures are not reported: what
// cannot be deleted stays. An empty folder text is refused, since it would
// mean the root of the current drive.
void DeleteTree(const std::string& folder, const std::function<void()>& progress = {});

bool FileExists(const std::string& path);    // an existing entry that is not a folder
bool FolderExists(const std::string& path);  // an existing folder

// Creates a folder and every missing parent of it; failures are ignored.
void CreateFolderPath(const std::string& folder);

}  // namespace qv
