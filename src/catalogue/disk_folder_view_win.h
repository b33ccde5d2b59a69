// The file system as the ROM scan sees it.
#pragma once

#include <string>

#include "catalogue/scan.h"

namespace qv {

class DiskFolderView : public FolderView {
public:
    bool folderExists(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool anyFileMatches(const std::string& folder, const std::string& mask) override;
};

}  // namespace qv
