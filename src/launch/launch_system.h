// Everything a launch does to the world outside the program: the files and
// folders it looks at, renames, copies, unpacks, writes and deletes, the free
// space, the current directory and the run of the emulator. The Win32 file
// system is one; tests use one held in memory that fails and stops on command.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/zip_walk.h"

namespace qv {

// How the run of a command line ended.
struct RunResult {
    bool ran = false;       // started and waited for to its end
    std::int32_t code = 0;  // its exit code; else the system's error code
    std::string failure;    // else what the process launcher said (may be empty)
};

// What a look for a name found. kCannotTell: the look itself failed (access
// refused, a device that does not answer), so the name may well be there.
enum class Presence { kThere, kNotThere, kCannotTell };

class LaunchSystem {
public:
    virtual Presence filePresence(const std::string& path) = 0;    // an entry that is no folder
    virtual Presence folderPresence(const std::string& path) = 0;  // a folder
    // Fails when from is missing or a file named to is there already.
    virtual bool renameFile(const std::string& from, const std::string& to) = 0;
    // Replaces a file named to.
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;
    // One level: its parent must be there. An existing folder gives false.
    virtual bool createFolder(const std::string& path) = 0;
    // With every missing parent; failures are not told.
    virtual void createFolderPath(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // The folder with everything in it; what cannot be deleted stays.
    virtual void deleteTree(const std::string& path) = 0;
    // Creates or replaces the file; false when it cannot be made or not all of
    // text was written (what was written may stay).
    virtual bool writeFile(const std::string& path, std::string_view text) = 0;
    // At most limit bytes of the file; nothing when it cannot be read.
    virtual std::optional<std::string> readFile(const std::string& path, std::size_t limit) = 0;
    // Every entry of the archive into folder (made with its parents), each
    // under the last component of its name; a write error names the file.
    virtual ArchiveResult extractArchive(const std::string& archive, const std::string& folder) = 0;
    // Free space on the Windows drive, in KB, if it can be told.
    virtual std::optional<std::uint64_t> freeSpaceKb() = 0;
    virtual std::string currentDirectory() = 0;  // empty when it cannot be told
    virtual bool setCurrentDirectory(const std::string& path) = 0;
    // Runs the command line, folder its current directory, and waits until it ends.
    virtual RunResult runAndWait(const std::string& folder, const std::string& commandLine) = 0;
    // Lets a moment pass: another program may still hold a folder.
    virtual void pause() = 0;

protected:
    ~LaunchSystem() = default;
};

}  // namespace qv
