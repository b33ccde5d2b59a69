// The kinds of launch in emulator folders held in memory, and what must hold
// after any of them.
#include "launch_cases.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "catalogue/game_table.h"
#include "launch/emulator.h"
#include "launch/options_file.h"
#include "stored_zip.h"
#include "util/text.h"

namespace qv::test {
namespace {

constexpr char kProgramBytes[] = "MZ the emulator";
constexpr char kSettingsFile[] = "RaVlEn.InI";

CurrentGame GameTitled(const std::string& title, const std::string& storage) {
    for (const GameRecord& row : GameTable()) {
        if (row.title != title) continue;
        return {std::string(row.gameId),
                row.renameMarker.empty() ? kNoRenameMarker : std::string(row.renameMarker), storage,
                std::string(row.romPatterns), title};
    }
    return {};
}

std::string Temp() { return std::string(kWindowsTemp) + "QV95-TMP"; }
std::string In(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

// The Street Fighter 2 Turbo files and each variant's, by their stems.
const Files kTurboFiles = {
    {"SF2.21", "T21"}, {"SF2.22", "T22"}, {"SF2.23", "T23"}, {"sf2.11", "other"}};
const std::map<std::string, std::string> kVariantMarks = {
    {"Sf2Ce", "CE"}, {"Sf2Cej", "CJ"}, {"Sf2tj", "TJ"}};

Files VariantFiles(const std::string& stem) {
    const std::string mark = kVariantMarks.at(stem);
    return {{stem + ".21", mark + "1"}, {stem + ".22", mark + "2"}, {stem + ".23", mark + "3"}};
}

std::string Describe(const std::map<std::string, std::string>& was,
                     const std::map<std::string, std::string>& is) {
    std::string text;
    for (const auto& [name, data] : was) {
        const auto it = is.find(name);
        if (it == is.end())
            text += " " + name + " is gone;";
        else if (it->second != data)
            text += " " + name + " holds \"" + it->second + "\";";
    }
    for (const auto& [name, data] : is)
        if (!was.contains(name)) text += " " + name + " (\"" + data + "\") is new;";
    return text;
}

// The files by their names in capitals (Windows sees no difference), Ravlen's
// own settings file left out: a launch deletes it on purpose.
std::map<std::string, std::string> WithoutSettingsFile(
    const std::map<std::string, std::string>& files) {
    std::map<std::string, std::string> kept;
    for (const auto& [name, data] : files)
        if (UpperText(name) != UpperText(kSettingsFile)) kept[UpperText(name)] = data;
    return kept;
}

}  // namespace

std::vector<LaunchKind> LaunchKinds() {
    std::vector<LaunchKind> kinds;
    const std::vector<std::pair<std::string, std::string>> games = {
        {"Knights of the Round", "DIR"},    {"Magic Sword", "ZIP"},
        {"Street Fighter 2 CE", "DIR"},     {"Street Fighter 2 CE", "ZIP"},
        {"Street Fighter 2 CE (J)", "DIR"}, {"Street Fighter 2 CE (J)", "ZIP"},
        {"Street Fighter 2 T (J)", "DIR"},  {"Street Fighter 2 T (J)", "ZIP"}};
    for (const auto& [title, storage] : games) {
        for (const char* emulator : {"DIR", "ZIP"}) {
            const std::string name =
                title + (storage == "DIR" ? " kept as a folder" : " zipped") +
                (std::string(emulator) == "DIR" ? ", Ravlen as a program" : ", Ravlen zipped");
            kinds.push_back({name, GameTitled(title, storage), emulator});
        }
    }
    return kinds;
}

MemoryHost::MemoryHost(const LaunchKind& kind)
    : kind_(kind),
      settings_(DefaultSettings(std::string(kEmu) + "\\", true)),
      names_(MakeTempNames(kWindowsTemp)) {
    settings_.L_CAL = kEmu;
    settings_.L_SF = kSaves;
    settings_.L_PF = kSnapshots;
}

void MemoryHost::showMessage(const std::string& text) {
    events.push_back("message: " + text);
    boxes.emplace_back(kAppTitleVersion, text);
}

void MemoryHost::showArchiveMessage(const std::string& text, const std::string& caption) {
    events.push_back("archive: " + caption + " " + text);
    boxes.emplace_back(caption, text);
}

LaunchWorld::LaunchWorld(const LaunchKind& launchKind) : kind(launchKind), host(launchKind) {
    setUp();
    system.onRun = [this](const std::string& folder, const std::string&) { return run(folder); };
}

void LaunchWorld::setUp() {
    const CurrentGame& game = kind.game;
    const std::string emu = kEmu;
    system.addFolder(kWindowsTemp);
    system.addFile(In(emu, kSettingsFile), "the emulator's own settings");
    system.addFile(In(emu, "readme.txt"), "notes");
    if (kind.emulatorStorage == "DIR")
        system.addFile(In(emu, "ravlen.exe"), kProgramBytes);
    else
        system.addFile(In(emu, "Rvl023.zip"), StoredZip({{"ravlen.exe", kProgramBytes}}));

    const std::string variant = WordAt(game.renameMarker, ' ', 2);
    const bool zipped = game.romStorage == "ZIP";
    if (game.gameId == "Knights") {
        romsForRun_ = {{"kr_22.rom", "K22"}, {"kr_23e.rom", "K23"}};
        for (const auto& [name, data] : romsForRun_)
            system.addFile(In(emu, "Knights\\" + name), data);
    } else if (game.gameId == "MSword") {
        romsForRun_ = {{"ms_30.rom", "M30"}, {"ms_35.rom", "M35"}};
        system.addFile(In(emu, "MSword.ZIP"), StoredZip(romsForRun_));
    } else {
        // Every variant's files sit beside the Turbo files, as a user keeps them.
        Files folder = kTurboFiles;
        for (const auto& [stem, mark] : kVariantMarks) {
            const Files files = VariantFiles(stem);
            folder.insert(files.begin(), files.end());
            std::string archive = stem;  // as the game table's patterns name it: sf2ce
            std::transform(archive.begin(), archive.end(), archive.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (zipped) system.addFile(In(emu, archive + ".ZIP"), StoredZip(files));
        }
        if (zipped)
            system.addFile(In(emu, "SF2t.ZIP"), StoredZip(kTurboFiles));
        else
            for (const auto& [name, data] : folder)
                system.addFile(In(emu, "SF2t\\" + name), data);
        // During the run the variant's files stand in for the Turbo ones.
        romsForRun_ = {{"sf2.11", "other"}};
        for (const char* n : {"21", "22", "23"}) {
            romsForRun_["SF2." + std::string(n)] = VariantFiles(variant).at(variant + "." + n);
            romsForRun_["_SF2." + std::string(n)] = kTurboFiles.at("SF2." + std::string(n));
        }
    }
    before = system.filesUnder(kEmu);
}

std::int32_t LaunchWorld::run(const std::string& folder) {
    const bool zippedRoms = kind.game.romStorage == "ZIP";
    const std::string work = zippedRoms ? Temp() : kEmu;
    const std::string exe = kind.emulatorStorage == "ZIP" || zippedRoms ? Temp() : kEmu;
    const std::map<std::string, std::string> program = system.filesUnder(exe);
    if (!program.contains("ravlen.exe")) return 9009;  // cmd.exe finds no program to start
    ++runs;
    std::string wrong;
    if (program.at("ravlen.exe") != kProgramBytes) wrong += " a wrong ravlen.exe in " + exe + ";";
    if (TidyPath(folder) != work) wrong += " run in " + folder + ";";
    const std::map<std::string, std::string> found = system.filesUnder(In(work, kind.game.gameId));
    for (const auto& rom : romsForRun_) {
        const auto it = std::find_if(found.begin(), found.end(), [&rom](const auto& file) {
            return UpperText(file.first) == UpperText(rom.first);
        });
        if (it == found.end() || it->second != rom.second)
            wrong += " " + rom.first + " missing or wrong;";
    }
    const std::map<std::string, std::string> temp = system.filesUnder(TidyPath(kWindowsTemp));
    const std::string options = OptionsFileText(host.settings(), kind.game.title);
    if (!temp.contains("Quarvel.InI") || temp.at("Quarvel.InI") != options)
        wrong += " the options file missing or cut short;";
    if (!wrong.empty()) badRuns.push_back(wrong);
    // What the emulator leaves: a snapshot, where its folder is.
    if (system.exists(kSnapshots))
        system.addFile(In(kSnapshots, "Snap" + std::to_string(runs) + ".Pcx"), "picture");
    return 0;
}

std::optional<LaunchOutcome> LaunchWorld::launch(std::map<long, std::uint32_t> failing,
                                                 long crashAfter) {
    system.startProcess(std::move(failing), crashAfter);
    host.events.clear();
    host.boxes.clear();
    launcher = Launcher{};  // a new process knows of no launch under way
    try {
        return launcher.RunRavlen(host, system);
    } catch (const PowerCut&) {
        return std::nullopt;
    }
}

bool LaunchWorld::nextStart(std::map<long, std::uint32_t> failing, long crashAfter) {
    system.startProcess(std::move(failing), crashAfter);
    host.events.clear();
    host.boxes.clear();
    try {
        PutBackLeftRenames(host.tempNames(), system,
                           [this](const std::string& text) { host.showMessage(text); });
        DeleteTempFiles(host.tempNames(), system);
        return true;
    } catch (const PowerCut&) {
        return false;
    }
}

std::optional<std::string> LaunchWorld::brokenAfterStart() const {
    std::string broken =
        Describe(WithoutSettingsFile(before), WithoutSettingsFile(system.filesUnder(kEmu)));
    const TempNames& names = host.tempNames();
    if (system.exists(names.tempFolder)) broken += " the temp folder is left;";
    if (system.exists(names.optionsFile)) broken += " the options file is left;";
    if (system.exists(names.renameJournal)) broken += " the journal is left;";
    if (broken.empty()) return std::nullopt;
    return broken;
}

std::optional<std::string> LaunchWorld::contentsLost() const {
    std::multiset<std::string> was, is;
    for (const auto& [name, data] : WithoutSettingsFile(before))
        was.insert(data);
    for (const auto& [name, data] : WithoutSettingsFile(system.filesUnder(kEmu)))
        is.insert(data);
    if (was == is) return std::nullopt;
    return Describe(WithoutSettingsFile(before), WithoutSettingsFile(system.filesUnder(kEmu)));
}

bool LaunchWorld::journalKept() const { return system.exists(host.tempNames().renameJournal); }

FailureExpectation ExpectedForFailure(const LaunchKind& kind, const std::vector<std::string>& log,
                                      long k) {
    const CurrentGame& game = kind.game;
    const std::string& op = log.at(static_cast<std::size_t>(k - 1));
    const std::string emu = kEmu;
    const std::string gameTemp = In(Temp(), game.gameId);
    const std::string variantStem = WordAt(WordAt(game.romPatterns, ';', 2), '.', 1);
    const auto runAt = std::find_if(log.begin(), log.end(),
                                    [](const std::string& o) { return o.starts_with("run "); });
    const bool beforeRun = log.begin() + (k - 1) < runAt;
    // The reader's box when an archive fills the disk in its first entry.
    auto unpacking = [&](const std::string& firstEntry) {
        return Box{"Unable to extract...", "Couldn't write " + In(gameTemp, firstEntry)};
    };
    auto said = [](const std::string& text) { return Box{kAppTitleVersion, text}; };
    const bool zippedRoms = game.romStorage == "ZIP";
    const std::string variant = WordAt(game.renameMarker, ' ', 2);

    if (op == "free space") {
        if (zippedRoms)
            return {
                {said("You Need At Least 11264Kb of free space on Windows Drive to Use "
                      "Zipped ROMS with Quarvel")}};
        if (kind.emulatorStorage == "ZIP")
            return {
                {said("You Need At Least 260Kb of free space on Windows Drive to Use "
                      "Zipped Ravlen with Quarvel")}};
        return {{}, true};
    }
    if (op == "create folder path " + gameTemp || op == "folder exists " + gameTemp)
        return {{said("I CAN'T WRITE " + gameTemp)}};
    if (op == "write " + std::string(kWindowsTemp) + "Quarvel.InI")
        return {{said("I CAN'T WRITE " + std::string(kWindowsTemp) + "Quarvel.InI")}};
    if (op == "write " + std::string(kWindowsTemp) + "Quarvel.jnl")
        return {{said("I CAN'T WRITE " + std::string(kWindowsTemp) + "Quarvel.jnl")}};
    // Whether a journal is kept from before cannot be told: it is not written over.
    if (op == "file exists " + std::string(kWindowsTemp) + "Quarvel.jnl")
        return {{said("I CAN'T RUN " + game.title)}};
    const std::string gameArchive = In(emu, game.gameId) + ".ZIP";
    if (op.starts_with("extract " + gameArchive + " "))
        return {{unpacking(game.gameId == "MSword" ? "ms_30.rom" : "SF2.21"),
                 said(" " + gameArchive + " DAMAGED! ")}};
    if (op.starts_with("extract " + In(emu, variantStem + ".ZIP") + " "))
        return {{unpacking(variant + ".21"), said(" " + game.gameId + ".ZIP DAMAGED! ")}};
    if (op.starts_with("extract " + In(emu, "Rvl023.zip")))
        return {{Box{"Unable to extract...", "Couldn't write " + In(Temp(), "ravlen.exe")},
                 said(" FILE " + In(emu, "Rvl023.zip") + " DAMAGED!")}};
    if (op.starts_with("copy ")) return {{said("I CAN'T WRITE " + In(Temp(), "ravlen.exe"))}};
    if (op.starts_with("rename ") && beforeRun) return {{said("I CAN'T RUN " + game.title)}};
    if (op.starts_with("rename "))
        return {{said("I CAN'T RESTORE Street Fighter 2 Turbo FILES\r\nPLEASE CHECK " + emu +
                      "\\SF2T DIRECTORY")},
                true};
    if (op.starts_with("run ")) return {{said("File was not found")}};
    return {{}, true};  // what the launch does not need to go on
}

}  // namespace qv::test
