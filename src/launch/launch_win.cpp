// The launch's outside world on Windows, each operation one Win32 call or
// routine.
#include "launch/launch_win.h"

#include <windows.h>

#include "archive/extract_win.h"
#include "util/files_win.h"
#include "util/system_win.h"
#include "util/whole_file.h"

namespace qv {

namespace {

// Only a name or a folder on its way that is missing means "not there"; any
// other failure (access refused, a drive that does not answer) cannot tell.
Presence PresenceOf(const std::string& path, bool folder) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? Presence::kNotThere
                   : Presence::kCannotTell;
    }
    return ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder ? Presence::kThere
                                                                    : Presence::kNotThere;
}

}  // namespace

Presence WinLaunchSystem::filePresence(const std::string& path) { return PresenceOf(path, false); }

Presence WinLaunchSystem::folderPresence(const std::string& path) { return PresenceOf(path, true); }

bool WinLaunchSystem::renameFile(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str());
}

bool WinLaunchSystem::copyFile(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE);
}

bool WinLaunchSystem::createFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr);
}

void WinLaunchSystem::createFolderPath(const std::string& path) { CreateFolderPath(path); }

bool WinLaunchSystem::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()); }

void WinLaunchSystem::deleteTree(const std::string& path) { DeleteTree(path, progress); }

bool WinLaunchSystem::writeFile(const std::string& path, std::string_view text) {
    return WriteWholeFile(path, text);
}

std::optional<std::string> WinLaunchSystem::readFile(const std::string& path, std::size_t limit) {
    return ReadFileStart(path, limit);
}

ArchiveResult WinLaunchSystem::extractArchive(const std::string& archive,
                                              const std::string& folder) {
    return UnpackArchive(archive, folder);
}

std::string WinLaunchSystem::currentDirectory() {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    return current;
}

bool WinLaunchSystem::setCurrentDirectory(const std::string& path) {
    return SetCurrentDirectoryA(path.c_str());
}

RunResult WinLaunchSystem::runAndWait(const std::string& folder, const std::string& commandLine) {
    runner_.SetExePath(folder);
    runner_.SetExeName(commandLine);
    try {
        runner_.Execute();
        return {true, runner_.ErrNo(), {}};
    } catch (const EAppExec& error) {
        return {false, runner_.ErrNo(), error.what()};
    }
}

void WinLaunchSystem::pause() { Sleep(100); }

std::optional<std::uint64_t> WindowsDriveFreeKb() {
    const std::string root = WindowsDir().substr(0, 1) + ":\\";
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free)) return std::nullopt;
    return available.QuadPart / 1024;
}

std::string CommandInterpreter() {
    char found[MAX_PATH];
    if (SearchPathA(nullptr, "Command.com", nullptr, MAX_PATH, found, nullptr))
        return "Command.com";
    // Without the system folder, cmd.exe is looked for along the path.
    char system[MAX_PATH] = "";
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "cmd.exe";
    return std::string(system) + "\\cmd.exe";
}

}  // namespace qv
