// The scan's verdicts as the user reads them.
#include "app/scan_report.h"

#include <set>

#include "util/text.h"

namespace qv {

namespace {

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// An entry name as stored may hold control characters; they are not shown.
std::string Printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return text;
}

// The check of a set of archives: the first one at fault, or good when all
// were read; nothing when any was not checked.
void JudgeArchives(const std::vector<std::string>& archives, const ArchiveChecks& checks,
                   ReportRow& row) {
    for (const std::string& path : archives) {
        const auto checked = checks.find(path);
        if (checked == checks.end()) return;
        const std::string problem = ArchiveProblem(checked->second);
        if (!problem.empty()) {
            row.check = FileName(path) + ": " + problem;
            row.faulty = true;
            return;
        }
    }
    if (!archives.empty()) row.check = archives.size() == 1 ? "archive good" : "archives good";
}

}  // namespace

bool PathLess::operator()(const std::string& a, const std::string& b) const {
    return UpperText(a) < UpperText(b);
}

std::vector<std::string> ArchivesToCheck(const EmulatorVerdict& emulator,
                                         const std::vector<GameVerdict>& games) {
    std::vector<std::string> archives;
    std::set<std::string, PathLess> seen;  // sf2t.ZIP of four rows is one archive
    auto add = [&](const std::string& path) {
        if (seen.insert(path).second) archives.push_back(path);
    };
    if (emulator.present && !emulator.archive.empty()) add(emulator.archive);
    for (const GameVerdict& game : games)
        for (const std::string& path : game.archives)
            add(path);
    return archives;
}

ArchiveChecks CheckArchives(const std::vector<std::string>& archives,
                            const std::function<ArchiveCheck(const std::string& path)>& check,
                            const std::function<void(const std::string& name)>& progress) {
    ArchiveChecks checks;
    for (const std::string& path : archives) {
        progress(FileName(path));
        checks[path] = check(path);
    }
    return checks;
}

std::string ArchiveProblem(const ArchiveCheck& check) {
    const std::string entry = Printable(check.result.entry);
    switch (check.result.outcome) {
    case ArchiveOutcome::kOk:
        return check.entries == 0 ? "holds no ZIP entry" : "";
    case ArchiveOutcome::kDamagedData:
        return "damaged data in entry " + entry;
    case ArchiveOutcome::kCrcError:
        return "CRC error in entry " + entry;
    case ArchiveOutcome::kEncrypted:
        return "encrypted entry " + entry;
    case ArchiveOutcome::kUnsupportedMethod:
        return "unsupported compression method in entry " + entry;
    case ArchiveOutcome::kBadName:
        return entry.empty() ? "an entry without a name" : "unusable entry name " + entry;
    case ArchiveOutcome::kReadError:
    case ArchiveOutcome::kWriteError:  // a check writes nothing: never seen
    case ArchiveOutcome::kCannotOpen:
    case ArchiveOutcome::kCannotPosition:
        break;
    }
    return "unreadable file";
}

std::string ReportRow::text() const {
    return title + ": " + verdict + (check.empty() ? "" : " - " + check) +
           (history.empty() ? "" : " - " + history);
}

std::vector<ReportRow> ReportRows(const EmulatorVerdict& emulator,
                                  const std::vector<GameVerdict>& games,
                                  const ArchiveChecks& checks, const HistoryReader& history) {
    std::vector<ReportRow> rows;
    ReportRow ravlen{"Ravlen", emulator.reason, "", "", emulator.present, false};
    if (emulator.present && !emulator.archive.empty())
        JudgeArchives({emulator.archive}, checks, ravlen);
    rows.push_back(ravlen);
    for (bool found : {true, false}) {
        for (const GameVerdict& game : games) {
            if (game.found() != found) continue;
            ReportRow row{std::string(game.game->title), game.reason, "", "", found, false};
            JudgeArchives(game.archives, checks, row);
            if (found && history)
                row.history = HistoryText(history(std::string(game.game->gameId)));
            rows.push_back(row);
        }
    }
    return rows;
}

std::string ReportHeading(const std::string& emulatorFolder,
                          const std::vector<GameVerdict>& games) {
    int found = 0;
    for (const GameVerdict& game : games)
        found += game.found() ? 1 : 0;
    return IntText(found) + "/" + IntText(static_cast<std::int32_t>(games.size())) +
           " games found in " + FolderText(emulatorFolder);
}

std::string ReportText(const std::string& heading, const std::vector<ReportRow>& rows) {
    std::string text = heading + "\r\n";
    for (const ReportRow& row : rows)
        text += row.text() + "\r\n";
    return text;
}

}  // namespace qv
