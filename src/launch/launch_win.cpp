// The launch of the current game.
#include "launch/launch_win.h"

#include <windows.h>

#include "archive/extract_win.h"
#include "launch/launch_plan.h"
#include "launch/options_file.h"
#include "launch/rename_journal.h"
#include "util/files_win.h"
#include "util/ravlen_files.h"
#include "util/system_win.h"
#include "util/text.h"

namespace qv {
namespace {

// Renames in a folder, in order, up to the first that fails, which it gives.
std::optional<Rename> RenameAll(const std::string& folder, const std::vector<Rename>& renames) {
    for (const auto& [from, to] : renames) {
        if (!MoveFileA((folder + "\\" + from).c_str(), (folder + "\\" + to).c_str()))
            return Rename{from, to};
    }
    return std::nullopt;
}

// Puts back whatever of putBack the folder still needs, from any point the
// renames had reached; the rename that failed, if one did.
std::optional<Rename> PutBack(const std::string& folder, const std::vector<Rename>& putBack) {
    const UndoPlan plan = PlanUndo(
        putBack, [&folder](const std::string& name) { return FileExists(folder + "\\" + name); });
    if (std::optional<Rename> failed = RenameAll(folder, plan.renames)) return failed;
    return plan.blocked;
}

// Clicks made while the launch kept the thread busy are stale by now: a burst
// on a game button must not start a second run once the first has ended.
void DropQueuedMouseInput() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
           PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    }
    // A press dropped halfway leaves no control holding the pointer.
    ReleaseCapture();
}

class Launch {
public:
    explicit Launch(LaunchHost& host) : host_(host) {}
    bool run();  // true when the emulator ran

private:
    void step(const char* text) {
        host_.wait().setState(text);
        ProcessMessages();
    }
    bool stop(const std::string& message) {
        host_.showMessage(message);
        host_.wait().hide();
        return false;
    }
    bool placeRoms();
    bool placeEmulator();
    bool play();
    void restoreGameFolder();
    void putBackAfterFailure(const std::string& folder);
    void deleteTempFiles();

    bool extract(const std::string& archive, const std::string& destination) {
        return ExtractArchive(archive, destination,
                              [this](const std::string& text, const std::string& caption) {
                                  host_.showArchiveMessage(text, caption);
                              });
    }

    LaunchHost& host_;
    const CurrentGame& game_ = host_.game();
    const std::string emulatorFolder_ = host_.settings().L_CAL;
    const std::string& temp_ = host_.tempNames().tempFolder;
    const LaunchPaths paths_ =
        MakeLaunchPaths(game_, host_.emulatorStorage(), emulatorFolder_, temp_);
    const std::string variant_ = RenameVariant(game_);
};

bool Launch::run() {
    const std::uint64_t freeKb = host_.freeSpaceKb().value_or(0);
    if (auto refusal = FreeSpaceRefusal(game_, host_.emulatorStorage(), freeKb)) {
        host_.showMessage(*refusal);
        return false;
    }
    host_.wait().setInfo(game_.title);
    host_.wait().setState("Loading...");
    host_.wait().showNow();
    ProcessMessages();

    const Settings& settings = host_.settings();
    CreateDirectoryA(settings.L_SF.c_str(), nullptr);
    CreateDirectoryA(settings.L_PF.c_str(), nullptr);
    DeleteTempFiles(host_.tempNames());
    CreateFolderPath(paths_.gameTemp);
    DeleteFileA(paths_.emulatorSettings.c_str());
    // The run starts from these two: without them it would play on nothing.
    if (!FolderExists(paths_.gameTemp)) return stop(CantWriteMessage(paths_.gameTemp));
    const std::string& optionsFile = host_.tempNames().optionsFile;
    if (!WriteOptionsFile(optionsFile, settings, game_.title))
        return stop(CantWriteMessage(optionsFile));

    if (!placeRoms() || !placeEmulator()) return false;
    return play();
}

bool Launch::placeRoms() {
    const bool zipped = game_.romStorage == "ZIP";
    if (zipped) {
        step("Unzipping...");
        if (!extract(paths_.gameArchive, paths_.gameTemp)) {
            stop(" " + paths_.gameArchive + " DAMAGED! ");
            return false;
        }
    }
    if (variant_.empty()) return true;
    if (zipped) {
        step("Unzipping....");
        if (!extract(VariantArchive(game_, emulatorFolder_), paths_.gameTemp)) {
            stop(" " + game_.gameId + ".ZIP DAMAGED! ");
            return false;
        }
    }
    // In a game folder the renames are written down before the first one:
    // ended at any point from here on, the next start puts every name back.
    const std::string& journal = host_.tempNames().renameJournal;
    if (!zipped && !WriteJournal(journal, {paths_.gameFolder, RestoreRenames(variant_)})) {
        stop(CantWriteMessage(journal));
        return false;
    }
    // A rename that fails puts back the ones made, so no file stays renamed.
    const std::string folder = zipped ? paths_.gameTemp : paths_.gameFolder;
    if (RenameAll(folder, VariantRenames(variant_))) {
        putBackAfterFailure(folder);
        stop("I CAN'T RUN " + game_.title);
        return false;
    }
    return true;
}

bool Launch::placeEmulator() {
    step("Set Ravlen...");
    if (host_.emulatorStorage() == "ZIP") {
        if (!extract(paths_.emulatorArchive, temp_)) {
            stop(" FILE " + paths_.emulatorArchive + " DAMAGED!");
            restoreGameFolder();
            return false;
        }
    } else if (game_.romStorage == "ZIP") {
        const std::string program = JoinPath(emulatorFolder_, kRavlenProgram, false);
        const std::string copy = JoinPath(temp_, kRavlenProgram, false);
        // A program gone since the scan is told by the interpreter's failure.
        if (!CopyFileA(program.c_str(), copy.c_str(), FALSE) && FileExists(program)) {
            stop(CantWriteMessage(copy));
            return false;
        }
    }
    return true;
}

bool Launch::play() {
    step("Playing...");
    host_.setRunning(true);
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(paths_.workFolder.c_str());
    TAppExec& exec = host_.processRunner();
    exec.SetExePath(paths_.workFolder);
    exec.SetExeName(LaunchCommand(host_.commandInterpreter(), paths_.exeFolder,
                                  host_.tempNames().optionsFile, game_.gameId));
    std::string failure;
    try {
        exec.Execute();
        if (InterpreterCouldNotStart(host_.commandInterpreter(), exec.ErrNo()))
            failure = CouldNotStartMessage(exec.ExeName());
    } catch (const EAppExec& error) {
        failure = error.what();
    }
    // Leave the work folder, or the temp folder could not be removed.
    SetCurrentDirectoryA(previous);
    host_.setRunning(false);
    if (!failure.empty()) {
        host_.showMessage(failure);
        restoreGameFolder();
        deleteTempFiles();
        host_.wait().hide();
        return false;
    }
    step("Cleaning...");
    restoreGameFolder();
    deleteTempFiles();
    host_.wait().hide();
    host_.runEnded();
    return true;
}

void Launch::restoreGameFolder() {
    if (variant_.empty() || game_.romStorage == "ZIP") return;
    if (RenameAll(paths_.gameFolder, RestoreRenames(variant_))) {
        host_.showMessage("I CAN'T RESTORE Street Fighter 2 Turbo FILES\r\nPLEASE CHECK " +
                          emulatorFolder_ + "\\SF2T DIRECTORY");
        return;  // the journal stays: the next start tries again
    }
    DeleteFileA(host_.tempNames().renameJournal.c_str());
}

// After a rename before the run failed; in a game folder the journal goes
// once every name is back, and stays (with a message) when one cannot be.
void Launch::putBackAfterFailure(const std::string& folder) {
    if (const std::optional<Rename> failed = PutBack(folder, RestoreRenames(variant_))) {
        host_.showMessage(CantPutBackMessage(folder, *failed));
        return;
    }
    if (folder == paths_.gameFolder) DeleteFileA(host_.tempNames().renameJournal.c_str());
}

// The emulator's console may outlive the interpreter for a moment, keeping
// the temp folder as its current directory; give it up to a few seconds.
void Launch::deleteTempFiles() {
    constexpr int kTries = 30;
    for (int i = 0; i < kTries; ++i) {
        DeleteTempFiles(host_.tempNames());
        if (!FolderExists(temp_)) return;
        Sleep(100);
        ProcessMessages();
    }
}

}  // namespace

bool Launcher::RunRavlen(LaunchHost& host) {
    if (underWay_) return false;
    underWay_ = true;
    // Whatever ends the launch, later clicks work again.
    struct Ended {
        bool& underWay;
        ~Ended() {
            DropQueuedMouseInput();
            underWay = false;
        }
    } ended{underWay_};
    return Launch(host).run();
}

void PutBackLeftRenames(const TempNames& names,
                        const std::function<void(const std::string&)>& showMessage) {
    if (!FileExists(names.renameJournal)) return;
    const std::optional<RenameJournal> journal = ReadJournal(names.renameJournal);
    if (journal) {
        if (const std::optional<Rename> failed = PutBack(journal->folder, journal->putBack)) {
            showMessage(CantPutBackMessage(journal->folder, *failed));
            return;  // kept, so that nothing is lost
        }
    }
    // Done, or no journal that could be acted on.
    DeleteFileA(names.renameJournal.c_str());
}

void DeleteTempFiles(const TempNames& names) {
    DeleteFileA(names.optionsFile.c_str());
    DeleteTree(names.tempFolder);
}

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
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\cmd.exe";
}

}  // namespace qv
