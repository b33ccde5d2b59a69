// The launch of the current game.
#include "launch/launch_win.h"

#include <windows.h>

#include "app/main_window_win.h"
#include "app/wait_window_win.h"
#include "archive/extract_win.h"
#include "launch/emulator.h"
#include "launch/launch_plan.h"
#include "launch/options_file.h"
#include "util/files_win.h"
#include "util/system_win.h"
#include "util/text.h"

namespace qv {
namespace {

// Renames in a folder, in order, up to the first that fails; true when all
// were made. With undoOnFailure, the renames made are undone in reverse.
bool RenameAll(const std::string& folder, const std::vector<Rename>& renames, bool undoOnFailure) {
    for (std::size_t i = 0; i < renames.size(); ++i) {
        const std::string from = folder + "\\" + renames[i].first;
        const std::string to = folder + "\\" + renames[i].second;
        if (MoveFileA(from.c_str(), to.c_str())) continue;
        if (undoOnFailure) {
            while (i-- > 0) {
                MoveFileA((folder + "\\" + renames[i].second).c_str(),
                          (folder + "\\" + renames[i].first).c_str());
            }
        }
        return false;
    }
    return true;
}

class Launch {
public:
    explicit Launch(TF_Main& main) : main_(main) {}
    void run();

private:
    void step(const char* text) {
        main_.wait().setState(text);
        ProcessMessages();
    }
    void stop(const std::string& message) {
        main_.showMessage(message);
        main_.wait().hide();
    }
    bool placeRoms();
    bool placeEmulator();
    void play();
    void restoreGameFolder();
    void deleteTempFiles();

    TF_Main& main_;
    const CurrentGame& game_ = main_.run.game;
    const std::string emulatorFolder_ = main_.settings.L_CAL;
    const std::string& temp_ = main_.tempNames().tempFolder;
    const LaunchPaths paths_ =
        MakeLaunchPaths(game_, main_.games.emulatorStorage, emulatorFolder_, temp_);
    const std::string variant_ = RenameVariant(game_);
};

void Launch::run() {
    const std::uint64_t freeKb = main_.freeSpaceKb().value_or(0);
    if (auto refusal = FreeSpaceRefusal(game_, main_.games.emulatorStorage, freeKb)) {
        main_.showMessage(*refusal);
        return;
    }
    main_.wait().setInfo(game_.title);
    main_.wait().setState("Loading...");
    main_.wait().showNow();
    ProcessMessages();

    CreateDirectoryA(main_.settings.L_SF.c_str(), nullptr);
    CreateDirectoryA(main_.settings.L_PF.c_str(), nullptr);
    main_.DelTempFiles();
    CreateFolderPath(paths_.gameTemp);
    DeleteFileA(paths_.emulatorSettings.c_str());
    WriteOptionsFile(main_.tempNames().optionsFile, main_.settings, game_.title);

    if (!placeRoms() || !placeEmulator()) return;
    play();
}

bool Launch::placeRoms() {
    const bool zipped = game_.romStorage == "ZIP";
    if (zipped) {
        step("Unzipping...");
        if (!ExtractArchive(paths_.gameArchive, paths_.gameTemp, main_.reportArchiveError)) {
            stop(" " + paths_.gameArchive + " DAMAGED! ");
            return false;
        }
    }
    if (variant_.empty()) return true;
    if (zipped) {
        step("Unzipping....");
        if (!ExtractArchive(VariantArchive(game_, emulatorFolder_), paths_.gameTemp,
                            main_.reportArchiveError)) {
            stop(" " + game_.gameId + ".ZIP DAMAGED! ");
            return false;
        }
    }
    // A rename that fails puts back the ones made, so no file stays renamed.
    if (!RenameAll(zipped ? paths_.gameTemp : paths_.gameFolder, VariantRenames(variant_), true)) {
        stop("I CAN'T RUN " + game_.title);
        return false;
    }
    return true;
}

bool Launch::placeEmulator() {
    step("Set Ravlen...");
    if (main_.games.emulatorStorage == "ZIP") {
        if (!ExtractArchive(paths_.emulatorArchive, temp_, main_.reportArchiveError)) {
            stop(" FILE " + paths_.emulatorArchive + " DAMAGED!");
            restoreGameFolder();
            return false;
        }
    } else if (game_.romStorage == "ZIP") {
        CopyFileA(JoinPath(emulatorFolder_, kRavlenProgram, false).c_str(),
                  JoinPath(temp_, kRavlenProgram, false).c_str(), FALSE);
    }
    return true;
}

void Launch::play() {
    step("Playing...");
    EnableWindow(main_.hwnd(), FALSE);
    main_.run.running = true;
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(paths_.workFolder.c_str());
    TAppExec& exec = main_.AE;
    exec.SetExePath(paths_.workFolder);
    exec.SetExeName(LaunchCommand(main_.commandInterpreter, paths_.exeFolder,
                                  main_.tempNames().optionsFile, game_.gameId));
    std::string failure;
    try {
        exec.Execute();
    } catch (const EAppExec& error) {
        failure = error.what();
    }
    // Leave the work folder, or the temp folder could not be removed.
    SetCurrentDirectoryA(previous);
    main_.run.running = false;
    EnableWindow(main_.hwnd(), TRUE);
    if (!failure.empty()) {
        main_.showMessage(failure);
        restoreGameFolder();
        deleteTempFiles();
        main_.wait().hide();
        return;
    }
    step("Cleaning...");
    restoreGameFolder();
    deleteTempFiles();
    main_.wait().hide();
    main_.ShowPanel(*main_.Img_PA);
    main_.FilesCounter();
}

void Launch::restoreGameFolder() {
    if (variant_.empty() || game_.romStorage == "ZIP") return;
    if (!RenameAll(paths_.gameFolder, RestoreRenames(variant_), false)) {
        main_.showMessage("I CAN'T RESTORE Street Fighter 2 Turbo FILES\r\nPLEASE CHECK " +
                          emulatorFolder_ + "\\SF2T DIRECTORY");
    }
}

// The emulator's console may outlive the interpreter for a moment, keeping
// the temp folder as its current directory; give it up to a few seconds.
void Launch::deleteTempFiles() {
    constexpr int kTries = 30;
    for (int i = 0; i < kTries; ++i) {
        main_.DelTempFiles();
        if (!FolderExists(temp_)) return;
        Sleep(100);
        ProcessMessages();
    }
}

}  // namespace

void RunRavlen(TF_Main& main) { Launch(main).run(); }

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
