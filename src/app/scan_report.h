// The scan's verdicts as the user reads them: Ravlen and the 24 games, found
// ones first, each with how it was found or why not, and what a check of the
// zipped sets found. The same rows fill the window and the clipboard text.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "archive/zip_walk.h"
#include "catalogue/scan.h"
#include "settings/play_history.h"

namespace qv {

// Paths in the order of their capitals: the file system ignores case.
struct PathLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// What a check found, by archive path.
using ArchiveChecks = std::map<std::string, ArchiveCheck, PathLess>;

// The archives a check reads: Ravlen's when it is zipped and there, then
// every zipped game's, each once, in table order.
std::vector<std::string> ArchivesToCheck(const EmulatorVerdict& emulator,
                                         const std::vector<GameVerdict>& games);

// Reads each archive with check, after telling progress its file name.
ArchiveChecks CheckArchives(const std::vector<std::string>& archives,
                            const std::function<ArchiveCheck(const std::string& path)>& check,
                            const std::function<void(const std::string& name)>& progress);

// What is wrong with a checked archive, in words ("CRC error in entry
// sf2.11"); empty when it is good.
std::string ArchiveProblem(const ArchiveCheck& check);

struct ReportRow {
    std::string title;    // "Ravlen" or the game's title
    std::string verdict;  // the scan's reason
    std::string check;    // what the check found; empty when not checked or not zipped
    std::string history;  // how often and how long a found game was played
    bool found = false;
    bool faulty = false;  // an archive of it failed the check
    // One line of plain text: "title: verdict", " - check" once checked, and
    // " - history" for a found game.
    std::string text() const;
};

// A game's play history, by game id.
using HistoryReader = std::function<PlayHistory(const std::string& gameId)>;

// Ravlen's row, then the games found, then the others, each in table order;
// the found games with their history when there is a reader.
std::vector<ReportRow> ReportRows(const EmulatorVerdict& emulator,
                                  const std::vector<GameVerdict>& games,
                                  const ArchiveChecks& checks, const HistoryReader& history = {});

// "10/24 games found in C:\EMU\".
std::string ReportHeading(const std::string& emulatorFolder, const std::vector<GameVerdict>& games);

// The heading and every row, one line each, CR LF after every line.
std::string ReportText(const std::string& heading, const std::vector<ReportRow>& rows);

}  // namespace qv
