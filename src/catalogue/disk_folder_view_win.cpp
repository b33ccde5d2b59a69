// The file system as the ROM scan sees it.
#include "catalogue/disk_folder_view_win.h"

#include "util/files_win.h"

namespace qv {

bool DiskFolderView::folderExists(const std::string& path) { return FolderExists(path); }

bool DiskFolderView::fileExists(const std::string& path) { return FileExists(path); }

bool DiskFolderView::anyFileMatches(const std::string& folder, const std::string& mask) {
    return !ListFiles(folder, mask, "AHR").empty();
}

}  // namespace qv
