// What a launch does, apart from doing it.
#include "launch/launch_plan.h"

#include <cstdio>

#include "product/ravlen_files.h"
#include "util/text.h"

namespace qv {
namespace {

std::string SpaceMessage(std::uint64_t kb, const char* what) {
    return "You Need At Least " + std::to_string(kb) + "Kb of free space on " +
           "Windows Drive to Use Zipped " + what + " with Quarvel";
}

// cmd.exe's exit code for a command it cannot find.
constexpr std::int32_t kCmdNotRecognised = 9009;

bool IsCommandCom(const std::string& interpreter) {
    const std::string name = interpreter.substr(interpreter.find_last_of("\\/:") + 1);
    return UpperText(name) == "COMMAND.COM";
}

}  // namespace

std::optional<std::string> FreeSpaceRefusal(const CurrentGame& game,
                                            const std::string& emulatorStorage,
                                            std::uint64_t freeKb) {
    if (game.romStorage == "ZIP" && freeKb < kZippedRomsKb)
        return SpaceMessage(kZippedRomsKb, "ROMS");
    if (emulatorStorage == "ZIP" && freeKb < kZippedEmulatorKb) {
        return SpaceMessage(kZippedEmulatorKb, "Ravlen");
    }
    return std::nullopt;
}

LaunchPaths MakeLaunchPaths(const CurrentGame& game, const std::string& emulatorStorage,
                            const std::string& emulatorFolder, const std::string& tempFolder) {
    LaunchPaths p;
    p.gameTemp = JoinPath(tempFolder, game.gameId, false);
    p.gameFolder = JoinPath(emulatorFolder, game.gameId, false);
    p.gameArchive = p.gameFolder + ".ZIP";
    p.emulatorArchive = JoinPath(emulatorFolder, kRavlenArchive, true);
    p.emulatorSettings = JoinPath(emulatorFolder, kRavlenSettings, false);
    const bool zippedRoms = game.romStorage == "ZIP";
    if (emulatorStorage == "ZIP") {
        p.exeFolder = tempFolder;
        p.workFolder = zippedRoms ? tempFolder : emulatorFolder;
    } else {
        p.exeFolder = p.workFolder = zippedRoms ? tempFolder : emulatorFolder;
    }
    return p;
}

std::string RenameVariant(const CurrentGame& game) {
    if (WordAt(game.renameMarker, ' ', 1) != "RSF2") return "";
    return WordAt(game.renameMarker, ' ', 2);
}

std::string VariantArchive(const CurrentGame& game, const std::string& emulatorFolder) {
    const std::string stem = WordAt(WordAt(game.romPatterns, ';', 2), '.', 1);
    return JoinPath(emulatorFolder, stem + ".ZIP", false);
}

std::vector<Rename> VariantRenames(const std::string& variant) {
    return {{"SF2.21", "_SF2.21"},       {"SF2.22", "_SF2.22"},       {"SF2.23", "_SF2.23"},
            {variant + ".21", "SF2.21"}, {variant + ".22", "SF2.22"}, {variant + ".23", "SF2.23"}};
}

std::vector<Rename> RestoreRenames(const std::string& variant) {
    return {{"SF2.21", variant + ".21"}, {"SF2.22", variant + ".22"}, {"SF2.23", variant + ".23"},
            {"_SF2.21", "SF2.21"},       {"_SF2.22", "SF2.22"},       {"_SF2.23", "SF2.23"}};
}

std::string LaunchCommand(const std::string& interpreter, const std::string& exeFolder,
                          const std::string& optionsFile, const std::string& gameId) {
    const std::string program = JoinPath(exeFolder, kRavlenProgram, true);
    // A blank (or a character cmd.exe treats specially) splits an unquoted
    // program path, and the interpreter then finds nothing to run.
    if (program.find_first_of(" &()[]{}^=;!'+,`~") == std::string::npos)
        return interpreter + " /C " + program + " @\"" + optionsFile + "\" " + gameId + " > NUL";
    const std::string command = "\"" + program + "\" @\"" + optionsFile + "\" " + gameId + " > NUL";
    // cmd.exe takes a line after /C that starts with a quote and holds more
    // quotes as one quoted whole: it drops the first and the last quote. One
    // more pair around the command leaves the command itself intact.
    // Command.com knows no such rule.
    if (IsCommandCom(interpreter)) return interpreter + " /C " + command;
    return interpreter + " /C \"" + command + "\"";
}

bool InterpreterCouldNotStart(const std::string& interpreter, std::int32_t exitCode) {
    return !IsCommandCom(interpreter) && exitCode == kCmdNotRecognised;
}

std::string CouldNotStartMessage(const std::string& command) {
    return "I CAN'T START RAVLEN WITH\r\n" + command;
}

bool EndedBySystem(std::int32_t exitCode) {
    const auto status = static_cast<std::uint32_t>(exitCode);
    // Severity "error" without the customer bit: 0xC0000000 to 0xCFFFFFFF,
    // which no program's own small codes (-1 is 0xFFFFFFFF) reach.
    constexpr std::uint32_t kControlCExit = 0xC000013A;
    return (status >> 28) == 0xC && status != kControlCExit;
}

std::string EndedBySystemMessage(const std::string& command, std::int32_t exitCode) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(exitCode));
    return "I CAN'T RUN RAVLEN WITH\r\n" + command + "\r\nTHE SYSTEM ENDED IT WITH CODE " + code;
}

std::string CantWriteMessage(const std::string& path) { return "I CAN'T WRITE " + path; }

}  // namespace qv
