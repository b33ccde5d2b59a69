// The launch's outside world on Windows: the Win32 file system, the process
// launcher that runs the emulator, the free space of the Windows drive.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "components/app_exec_win.h"
#include "launch/launch_sequence.h"

namespace qv {

class WinLaunchSystem final : public LaunchSystem {
public:
    // runner runs the command interpreter and waits for it; freeSpaceKb tells
    // the free space (tests set the figure).
    WinLaunchSystem(TAppExec& runner, std::function<std::optional<std::uint64_t>()> freeSpaceKb)
        : runner_(runner), freeSpaceKb_(std::move(freeSpaceKb)) {}

    // Told now and then during a long step (a folder tree deleted), so that
    // the caller's windows stay alive.
    std::function<void()> progress;

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
    std::optional<std::uint64_t> freeSpaceKb() override { return freeSpaceKb_(); }
    std::string currentDirectory() override;
    bool setCurrentDirectory(const std::string& path) override;
    RunResult runAndWait(const std::string& folder, const std::string& commandLine) override;
    void pause() override;

private:
    TAppExec& runner_;
    std::function<std::optional<std::uint64_t>()> freeSpaceKb_;
};

// Free space in KB of the drive of the Windows directory, if it can be told.
std::optional<std::uint64_t> WindowsDriveFreeKb();

// The command interpreter that runs the emulator: Command.com where the
// system has one, else the system's own cmd.exe.
std::string CommandInterpreter();

}  // namespace qv
