// Unpacking a ZIP archive into a folder, with the reader's message boxes.
#pragma once

#include <functional>
#include <string>

#include "archive/zip_walk.h"

namespace qv {

// Shows one of the reader's messages (text, caption). The default is a plain
// message box with no owner and an OK button; tests put a recorder in its place.
using ArchiveReporter = std::function<void(const std::string& text, const std::string& caption)>;

// Writes every entry of the archive at archivePath, stored or deflated, into
// destinationFolder (created with its missing parents), each under the last
// component of its name, replacing files of that name. Nothing is written
// outside that folder. False after one message when anything fails; the
// entries before the failing one are written by then.
bool ExtractArchive(const std::string& archivePath, const std::string& destinationFolder);
bool ExtractArchive(const std::string& archivePath, const std::string& destinationFolder,
                    const ArchiveReporter& report);

// The same without a message: how the extraction ended, a write error naming
// the file that could not be written.
ArchiveResult UnpackArchive(const std::string& archivePath, const std::string& destinationFolder);

// Reads every entry of the archive at archivePath and checks its CRC-32,
// writing nothing anywhere; says how the walk ended, without a message.
ArchiveCheck CheckArchive(const std::string& archivePath);

}  // namespace qv
