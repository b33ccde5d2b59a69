// A launch's outside world held in memory, for tests: folders and files with
// their contents, names compared without regard to case as Windows does, a
// free-space figure and a run of the emulator. Any operation can be made to
// fail as the real call fails, and the program can be stopped dead after any
// operation, as a power cut or a killed process stops it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "launch/launch_system.h"

namespace qv::test {

// Thrown out of the operation after which the program dies.
struct PowerCut {};

class MemoryLaunchSystem final : public LaunchSystem {
public:
    MemoryLaunchSystem();

    // The world as a test sets it up and reads it.
    void addFolder(const std::string& path);  // with every missing parent
    void addFile(const std::string& path, const std::string& data);
    // Every file under folder (sub-folders included), by its path relative to
    // folder as the names are spelt now.
    std::map<std::string, std::string> filesUnder(const std::string& folder) const;
    bool exists(const std::string& path) const;
    std::optional<std::uint64_t> freeKb = 1u << 30;

    // A new process of the program: operations are counted from 1 again; the
    // ones in failing (with a number that picks how each fails) fail, and the
    // process dies after operation crashAfter (0: never). The current
    // directory is the program's own folder again.
    void startProcess(std::map<long, std::uint32_t> failing = {}, long crashAfter = 0);
    long operations() const { return count_; }
    // Each operation of the process, in order, as "kind path".
    const std::vector<std::string>& log() const { return log_; }

    // What a run made to fail gives (the other flavours: a code the launcher
    // has no words for, and an interpreter that finds nothing to start).
    RunResult failedRun{false, 2, "File was not found"};
    // The emulator's part of a run that starts: what it does and its exit code.
    std::function<std::int32_t(const std::string& folder, const std::string& commandLine)> onRun;

    // LaunchSystem
    Presence filePresence(const std::string& path) override;
    Presence folderPresence(const std::string& path) override;
    bool renameFile(const std::string& from, const std::string& to) override;
    bool copyFile(const std::string& from, const std::string& to) override;
    bool createFolder(const std::string& path) override;
    void createFolderPath(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    void deleteTree(const std::string& path) override;
    bool writeFile(const std::string& path, std::string_view text) override;
    std::optional<std::string> readFile(const std::string& path, std::size_t limit) override;
    ArchiveResult extractArchive(const std::string& archive, const std::string& folder) override;
    std::optional<std::uint64_t> freeSpaceKb() override;
    std::string currentDirectory() override;
    bool setCurrentDirectory(const std::string& path) override;
    RunResult runAndWait(const std::string& folder, const std::string& commandLine) override;
    void pause() override {}

private:
    class FolderSink;
    struct Entry {
        std::string path;  // as spelt when made or renamed, backslashes single
        bool folder = false;
        std::string data;
    };
    using Entries = std::map<std::string, Entry>;  // by the path in capitals

    // Counts an operation; true when it is to fail, flavour then picking how.
    bool begin(const std::string& what);
    // After the operation: the power goes if this was the last one.
    void end() const;

    const Entry* find(const std::string& path) const;
    bool isFolder(const std::string& path) const;
    bool isFile(const std::string& path) const;
    bool parentIsFolder(const std::string& path) const;
    void put(const std::string& path, std::string data);
    void makeFolders(const std::string& path);  // each missing level, up to a file in the way
    bool holdsCurrentDirectory(const std::string& folder) const;

    Entries entries_;
    std::string current_;
    std::map<long, std::uint32_t> failing_;
    long crashAfter_ = 0;
    long count_ = 0;
    std::uint32_t flavour_ = 0;
    std::vector<std::string> log_;
};

// A path with its backslashes single and none at the end.
std::string TidyPath(const std::string& path);

}  // namespace qv::test
