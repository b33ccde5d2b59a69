// The launch of the current game, step by step, over a LaunchSystem.
#include "launch/launch_sequence.h"

#include <optional>
#include <vector>

#include "launch/launch_plan.h"
#include "launch/options_file.h"
#include "launch/rename_journal.h"
#include "product/ravlen_files.h"
#include "util/text.h"

namespace qv {
namespace {

// Renames in a folder, in order, up to the first that fails, which it gives.
std::optional<Rename> RenameAll(LaunchSystem& system, const std::string& folder,
                                const std::vector<Rename>& renames) {
    for (const auto& [from, to] : renames) {
        if (!system.renameFile(folder + "\\" + from, folder + "\\" + to)) return Rename{from, to};
    }
    return std::nullopt;
}

// How putting a folder back ended.
struct PutBackEnd {
    std::optional<Rename> failed;  // the rename that failed or is blocked
    bool cannotTell = false;       // nothing was renamed: a name's presence could not be told
    bool done() const { return !failed && !cannotTell; }
};

// Puts back whatever of putBack the folder still needs, from any point the
// renames had reached.
PutBackEnd PutBack(LaunchSystem& system, const std::string& folder,
                   const std::vector<Rename>& putBack) {
    const UndoPlan plan = PlanUndo(putBack, [&](const std::string& name) {
        return system.filePresence(folder + "\\" + name);
    });
    if (plan.cannotTell) return {std::nullopt, true};
    if (std::optional<Rename> failed = RenameAll(system, folder, plan.renames)) return {failed};
    return {plan.blocked};
}

class Launch {
public:
    Launch(LaunchHost& host, LaunchSystem& system) : host_(host), system_(system) {}
    LaunchOutcome run();

private:
    void step(const char* text) {
        host_.wait().setState(text);
        host_.processMessages();
    }
    LaunchOutcome stop(const std::string& message) {
        host_.showMessage(message);
        host_.wait().hide();
        return LaunchOutcome::kStopped;
    }
    // Each gives the outcome of a stop, or nothing to go on.
    std::optional<LaunchOutcome> placeRoms();
    std::optional<LaunchOutcome> placeEmulator();
    LaunchOutcome play();
    void restoreGameFolder();
    void putBackAfterFailure(const std::string& folder);
    void deleteTempFiles();
    bool extract(const std::string& archive, const std::string& destination);

    LaunchHost& host_;
    LaunchSystem& system_;
    const CurrentGame& game_ = host_.game();
    const std::string emulatorFolder_ = host_.settings().L_CAL;
    const TempNames& names_ = host_.tempNames();
    const std::string& temp_ = names_.tempFolder;
    const LaunchPaths paths_ =
        MakeLaunchPaths(game_, host_.emulatorStorage(), emulatorFolder_, temp_);
    const std::string variant_ = RenameVariant(game_);
    const bool zippedRoms_ = game_.romStorage == "ZIP";
};

LaunchOutcome Launch::run() {
    const std::uint64_t freeKb = system_.freeSpaceKb().value_or(0);
    if (auto refusal = FreeSpaceRefusal(game_, host_.emulatorStorage(), freeKb)) {
        host_.showMessage(*refusal);
        return LaunchOutcome::kRefused;
    }
    host_.wait().setInfo(game_.title);
    host_.wait().setState("Loading...");
    host_.wait().showNow();
    host_.processMessages();

    const Settings& settings = host_.settings();
    system_.createFolder(settings.L_SF);
    system_.createFolder(settings.L_PF);
    DeleteTempFiles(names_, system_);
    system_.createFolderPath(paths_.gameTemp);
    system_.deleteFile(paths_.emulatorSettings);
    // The run starts from these two: without them it would play on nothing.
    if (system_.folderPresence(paths_.gameTemp) != Presence::kThere)
        return stop(CantWriteMessage(paths_.gameTemp));
    if (!system_.writeFile(names_.optionsFile, OptionsFileText(settings, game_.title)))
        return stop(CantWriteMessage(names_.optionsFile));

    if (std::optional<LaunchOutcome> stopped = placeRoms()) return *stopped;
    if (std::optional<LaunchOutcome> stopped = placeEmulator()) return *stopped;
    return play();
}

bool Launch::extract(const std::string& archive, const std::string& destination) {
    const ArchiveResult result = system_.extractArchive(archive, destination);
    if (result.outcome == ArchiveOutcome::kOk) return true;
    const ArchiveMessage message = MessageFor(result, archive);
    host_.showArchiveMessage(message.text, message.caption);
    return false;
}

std::optional<LaunchOutcome> Launch::placeRoms() {
    if (zippedRoms_) {
        step("Unzipping...");
        if (!extract(paths_.gameArchive, paths_.gameTemp))
            return stop(" " + paths_.gameArchive + " DAMAGED! ");
    }
    if (variant_.empty()) return std::nullopt;
    if (zippedRoms_) {
        step("Unzipping....");
        if (!extract(VariantArchive(game_, emulatorFolder_), paths_.gameTemp))
            return stop(" " + game_.gameId + ".ZIP DAMAGED! ");
    }
    // In a game folder the renames are written down before the first one:
    // ended at any point from here on, the next start puts every name back.
    // A journal kept from before (a restore that failed) is carried out first;
    // written over, the names it knows of would be lost.
    const std::string& journal = names_.renameJournal;
    if (!zippedRoms_) {
        if (!PutBackLeftRenames(names_, system_,
                                [this](const std::string& text) { host_.showMessage(text); }))
            return stop("I CAN'T RUN " + game_.title);
        if (!WriteJournal(system_, journal, {paths_.gameFolder, RestoreRenames(variant_)}))
            return stop(CantWriteMessage(journal));
    }
    // A rename that fails puts back the ones made, so no file stays renamed.
    const std::string folder = zippedRoms_ ? paths_.gameTemp : paths_.gameFolder;
    if (RenameAll(system_, folder, VariantRenames(variant_))) {
        putBackAfterFailure(folder);
        return stop("I CAN'T RUN " + game_.title);
    }
    return std::nullopt;
}

std::optional<LaunchOutcome> Launch::placeEmulator() {
    step("Set Ravlen...");
    if (host_.emulatorStorage() == "ZIP") {
        if (!extract(paths_.emulatorArchive, temp_)) {
            const LaunchOutcome stopped = stop(" FILE " + paths_.emulatorArchive + " DAMAGED!");
            restoreGameFolder();
            return stopped;
        }
    } else if (zippedRoms_) {
        const std::string program = JoinPath(emulatorFolder_, kRavlenProgram, false);
        const std::string copy = JoinPath(temp_, kRavlenProgram, false);
        // A program gone since the scan is told by the interpreter's failure.
        if (!system_.copyFile(program, copy) &&
            system_.filePresence(program) != Presence::kNotThere)
            return stop(CantWriteMessage(copy));
    }
    return std::nullopt;
}

LaunchOutcome Launch::play() {
    step("Playing...");
    host_.setRunning(true);
    const std::string previous = system_.currentDirectory();
    system_.setCurrentDirectory(paths_.workFolder);
    const std::string& interpreter = host_.commandInterpreter();
    const std::string command =
        LaunchCommand(interpreter, paths_.exeFolder, names_.optionsFile, game_.gameId);
    const RunResult result = system_.runAndWait(paths_.workFolder, command);
    // Leave the work folder, or the temp folder could not be removed.
    system_.setCurrentDirectory(previous);
    host_.setRunning(false);
    if (!result.ran) {
        host_.showMessage(result.failure.empty() ? SystemErrorMessage(result.code)
                                                 : result.failure);
        restoreGameFolder();
        deleteTempFiles();
        host_.wait().hide();
        return LaunchOutcome::kNotStarted;
    }
    // The interpreter ran but found nothing to start, or the system ended it
    // or the emulator: told, then cleaned up as after any run.
    bool played = false;
    if (InterpreterCouldNotStart(interpreter, result.code))
        host_.showMessage(CouldNotStartMessage(command));
    else if (EndedBySystem(result.code))
        host_.showMessage(EndedBySystemMessage(command, result.code));
    else
        played = true;
    step("Cleaning...");
    restoreGameFolder();
    deleteTempFiles();
    host_.wait().hide();
    host_.runEnded();
    return played ? LaunchOutcome::kPlayed : LaunchOutcome::kNotStarted;
}

void Launch::restoreGameFolder() {
    if (variant_.empty() || zippedRoms_) return;
    if (RenameAll(system_, paths_.gameFolder, RestoreRenames(variant_))) {
        host_.showMessage("I CAN'T RESTORE Street Fighter 2 Turbo FILES\r\nPLEASE CHECK " +
                          emulatorFolder_ + "\\SF2T DIRECTORY");
        return;  // the journal stays: the next start tries again
    }
    system_.deleteFile(names_.renameJournal);
}

// After a rename before the run failed; in a game folder the journal goes
// once every name is back, and stays when one cannot be (with a message) or
// when the folder cannot be looked at now (the next start tries again).
void Launch::putBackAfterFailure(const std::string& folder) {
    const PutBackEnd end = PutBack(system_, folder, RestoreRenames(variant_));
    if (end.failed) host_.showMessage(CantPutBackMessage(folder, *end.failed));
    if (end.done() && folder == paths_.gameFolder) system_.deleteFile(names_.renameJournal);
}

// The emulator's console may outlive the interpreter for a moment, keeping
// the temp folder as its current directory; give it up to a few seconds.
void Launch::deleteTempFiles() {
    constexpr int kTries = 30;
    for (int i = 0; i < kTries; ++i) {
        DeleteTempFiles(names_, system_);
        if (system_.folderPresence(temp_) == Presence::kNotThere) return;
        system_.pause();
        host_.processMessages();
    }
}

}  // namespace

LaunchOutcome Launcher::RunRavlen(LaunchHost& host, LaunchSystem& system) {
    if (underWay_) return LaunchOutcome::kIgnored;
    underWay_ = true;
    if (underWayChanged) underWayChanged();
    // Whatever ends the launch, later clicks work again.
    struct Ended {
        Launcher& launcher;
        ~Ended() {
            launcher.underWay_ = false;
            if (launcher.underWayChanged) launcher.underWayChanged();
        }
    } ended{*this};
    return Launch(host, system).run();
}

bool PutBackLeftRenames(const TempNames& names, LaunchSystem& system,
                        const std::function<void(const std::string&)>& showMessage) {
    const Presence journalFile = system.filePresence(names.renameJournal);
    if (journalFile == Presence::kNotThere) return true;
    // A journal that cannot be looked at or read now is kept for the next try.
    if (journalFile == Presence::kCannotTell) return false;
    const JournalRead read = ReadJournal(system, names.renameJournal);
    if (!read.read) return false;
    if (read.journal) {
        const PutBackEnd end = PutBack(system, read.journal->folder, read.journal->putBack);
        if (end.failed) showMessage(CantPutBackMessage(read.journal->folder, *end.failed));
        if (!end.done()) return false;  // kept, so that nothing is lost
    }
    // Done, or no journal that could be acted on.
    system.deleteFile(names.renameJournal);
    return true;
}

void DeleteTempFiles(const TempNames& names, LaunchSystem& system) {
    system.deleteFile(names.optionsFile);
    system.deleteTree(names.tempFolder);
}

std::string SystemErrorMessage(std::int32_t code) { return "system error " + std::to_string(code); }

}  // namespace qv
