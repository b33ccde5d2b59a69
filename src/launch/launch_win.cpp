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

// Each operation and its result go to the system's debug output (a debugger,
// DebugView, or Wine with WINEDEBUG=warn+debugstr): nothing is written
// anywhere, but a launch that went wrong can be followed step by step.
void Trace(const std::string& operation, const std::string& path, const std::string& result) {
    OutputDebugStringA(("Quarvel launch: " + operation + " " + path + " -> " + result).c_str());
}

bool Traced(const std::string& operation, const std::string& path, bool done) {
    Trace(operation, path, done ? "done" : "failed, error " + std::to_string(GetLastError()));
    return done;
}

const char* PresenceText(Presence presence) {
    switch (presence) {
    case Presence::kThere:
        return "there";
    case Presence::kNotThere:
        return "not there";
    case Presence::kCannotTell:
        return "cannot tell";
    }
    return "?";
}

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

Presence WinLaunchSystem::filePresence(const std::string& path) {
    const Presence presence = PresenceOf(path, false);
    Trace("file", path, PresenceText(presence));
    return presence;
}

Presence WinLaunchSystem::folderPresence(const std::string& path) {
    const Presence presence = PresenceOf(path, true);
    Trace("folder", path, PresenceText(presence));
    return presence;
}

bool WinLaunchSystem::renameFile(const std::string& from, const std::string& to) {
    return Traced("rename", from + " to " + to, MoveFileA(from.c_str(), to.c_str()));
}

bool WinLaunchSystem::copyFile(const std::string& from, const std::string& to) {
    return Traced("copy", from + " to " + to, CopyFileA(from.c_str(), to.c_str(), FALSE));
}

bool WinLaunchSystem::createFolder(const std::string& path) {
    return Traced("create folder", path, CreateDirectoryA(path.c_str(), nullptr));
}

void WinLaunchSystem::createFolderPath(const std::string& path) {
    CreateFolderPath(path);
    Trace("create folder path", path, "done");
}

bool WinLaunchSystem::deleteFile(const std::string& path) {
    return Traced("delete", path, DeleteFileA(path.c_str()));
}

void WinLaunchSystem::deleteTree(const std::string& path) {
    DeleteTree(path, progress);
    Trace("delete tree", path, "done");
}

bool WinLaunchSystem::writeFile(const std::string& path, std::string_view text) {
    return Traced("write", path, WriteWholeFile(path, text));
}

std::optional<std::string> WinLaunchSystem::readFile(const std::string& path, std::size_t limit) {
    std::optional<std::string> text = ReadFileStart(path, limit);
    Trace("read", path, text ? std::to_string(text->size()) + " bytes" : "failed");
    return text;
}

ArchiveResult WinLaunchSystem::extractArchive(const std::string& archive,
                                              const std::string& folder) {
    const ArchiveResult result = UnpackArchive(archive, folder);
    Trace("unpack", archive + " into " + folder,
          "outcome " + std::to_string(static_cast<int>(result.outcome)) + " " + result.entry);
    return result;
}

std::string WinLaunchSystem::currentDirectory() {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    return current;
}

bool WinLaunchSystem::setCurrentDirectory(const std::string& path) {
    return Traced("enter", path, SetCurrentDirectoryA(path.c_str()));
}

RunResult WinLaunchSystem::runAndWait(const std::string& folder, const std::string& commandLine) {
    runner_.SetExePath(folder);
    runner_.SetExeName(commandLine);
    Trace("run", commandLine, "started from " + folder);
    try {
        runner_.Execute();
        Trace("run", commandLine, "ended, exit code " + std::to_string(runner_.ErrNo()));
        return {true, runner_.ErrNo(), {}};
    } catch (const EAppExec& error) {
        Trace("run", commandLine, "failed: " + std::string(error.what()));
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
