// What a launch does, apart from doing it: the paths, the free-space rules,
// the Street Fighter 2 renames, the command line and the messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/scan.h"

namespace qv {

// Free space (in KB, on the Windows directory's drive) that zipped ROMs and a
// zipped emulator need for unpacking.
inline constexpr std::uint64_t kZippedRomsKb = 11264;
inline constexpr std::uint64_t kZippedEmulatorKb = 260;

// The refusal for too little free space, if any.
std::optional<std::string> FreeSpaceRefusal(const CurrentGame& game,
                                            const std::string& emulatorStorage,
                                            std::uint64_t freeKb);

struct LaunchPaths {
    std::string gameTemp;          // G: the temp folder's game folder
    std::string gameFolder;        // D: the game folder in the emulator folder
    std::string gameArchive;       // A
    std::string emulatorArchive;   // the zipped emulator
    std::string emulatorSettings;  // the emulator's own settings file
    std::string exeFolder;         // X: where the emulator runs from
    std::string workFolder;        // Y: its current directory
};

LaunchPaths MakeLaunchPaths(const CurrentGame& game, const std::string& emulatorStorage,
                            const std::string& emulatorFolder, const std::string& tempFolder);

// The variant whose files stand in for SF2.21 to SF2.23 during the run, or
// empty when the game needs no renames.
std::string RenameVariant(const CurrentGame& game);
// The archive of the variant's own files: the stem of the second ROM pattern.
std::string VariantArchive(const CurrentGame& game, const std::string& emulatorFolder);

using Rename = std::pair<std::string, std::string>;  // old name, new name
// Before the run: the Turbo files step aside, the variant's take their names.
std::vector<Rename> VariantRenames(const std::string& variant);
// After the run, in a game folder: every name as before.
std::vector<Rename> RestoreRenames(const std::string& variant);

// The command run for the launch, by the interpreter named (Command.com or cmd.exe).
// A program path with a blank is quoted as that interpreter needs.
std::string LaunchCommand(const std::string& interpreter, const std::string& exeFolder,
                          const std::string& optionsFile, const std::string& gameId);

// True when the interpreter's exit code says that it ran but found no program
// to start (cmd.exe's "not recognised"); the emulator's own exit codes pass.
bool InterpreterCouldNotStart(const std::string& interpreter, std::int32_t exitCode);
// Said then, naming the command line.
std::string CouldNotStartMessage(const std::string& command);
// True when the interpreter's exit code is a status of the system, not a code
// of a program: the system ended the interpreter or the emulator it ran (a
// library that failed to initialise, as under low resources, an access
// violation), and the interpreter hands that status on as its own exit code.
// No game was played to its end. The console closed by the user
// (STATUS_CONTROL_C_EXIT) is an end like any other.
bool EndedBySystem(std::int32_t exitCode);
// Said then, naming the command line and the status.
std::string EndedBySystemMessage(const std::string& command, std::int32_t exitCode);
// Said when a folder or file the run needs cannot be made.
std::string CantWriteMessage(const std::string& path);

}  // namespace qv
