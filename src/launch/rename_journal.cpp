// The journal of the renames in a game folder, and what puts them back.
#include "launch/rename_journal.h"

#include "archive/zip_walk.h"
#include "util/name_set.h"
#include "util/text.h"

namespace qv {
namespace {

constexpr std::string_view kFirstLine = "Quarvel renames";
constexpr std::size_t kMaxJournal = 64 * 1024;  // a few lines; anything longer is none

bool IsPlainFileName(const std::string& name) {
    const EntryName safe = SafeEntryName(name);
    return safe.use == NameUse::kWrite && safe.component == name &&
           name.find('|') == std::string::npos;
}

// A launch writes the whole put-back of one variant. A write cut short at the
// end of a line still parses, but would put back part and then block on a
// name the missing lines give back.
bool IsWholeJournal(const RenameJournal& journal) {
    if (journal.putBack.empty()) return false;
    const std::string& first = journal.putBack.front().second;  // the variant's ".21" file
    if (!first.ends_with(".21")) return false;
    return journal.putBack == RestoreRenames(first.substr(0, first.size() - 3));
}

}  // namespace

std::string JournalText(const RenameJournal& journal) {
    std::string text = std::string(kFirstLine) + "\r\n" + journal.folder + "\r\n";
    for (const auto& [from, to] : journal.putBack)
        text += from + "|" + to + "\r\n";
    return text;
}

std::optional<RenameJournal> ParseJournal(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // cut short
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        text.remove_prefix(end + 1);
    }
    if (lines.size() < 3 || lines[0] != kFirstLine || lines[1].empty()) return std::nullopt;
    RenameJournal journal{lines[1], {}};
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::size_t bar = lines[i].find('|');
        if (bar == std::string::npos) return std::nullopt;
        Rename rename{lines[i].substr(0, bar), lines[i].substr(bar + 1)};
        if (!IsPlainFileName(rename.first) || !IsPlainFileName(rename.second)) return std::nullopt;
        journal.putBack.push_back(std::move(rename));
    }
    return journal;
}

bool WriteJournal(LaunchSystem& system, const std::string& path, const RenameJournal& journal) {
    return system.writeFile(path, JournalText(journal));
}

JournalRead ReadJournal(LaunchSystem& system, const std::string& path) {
    const std::optional<std::string> text = system.readFile(path, kMaxJournal + 1);
    if (!text) return {};
    if (text->size() > kMaxJournal) return {true, std::nullopt};
    std::optional<RenameJournal> journal = ParseJournal(*text);
    if (!journal || !IsWholeJournal(*journal)) return {true, std::nullopt};
    return {true, std::move(journal)};
}

UndoPlan PlanUndo(const std::vector<Rename>& putBack,
                  const std::function<Presence(const std::string&)>& presence) {
    NameSet present, given;  // names in the folder; names a rename gives back
    for (const auto& [from, to] : putBack) {
        given.insert(to);
        for (const std::string& name : {from, to}) {
            const Presence found = presence(name);
            // Taken for missing, a name still off would be left off for good.
            if (found == Presence::kCannotTell) return {{}, std::nullopt, true};
            if (found == Presence::kThere) present.insert(name);
        }
    }
    // A name that a later rename gives back holds a file of the launch only
    // while the file it gives back waits under its other name: SF2.21 is the
    // variant's file only while the Turbo file waits as _SF2.21. Otherwise it
    // is still the folder's own (the launch ended before its first rename, or
    // the variant's file was never there) and stays.
    auto ownerWaits = [&](std::size_t i, const std::string& name) {
        for (std::size_t j = i + 1; j < putBack.size(); ++j)
            if (UpperText(putBack[j].second) == UpperText(name))
                return present.contains(putBack[j].first);
        return true;
    };
    UndoPlan plan;
    for (std::size_t i = 0; i < putBack.size(); ++i) {
        const auto& [from, to] = putBack[i];
        if (!present.contains(from) || present.contains(to) || !ownerWaits(i, from)) continue;
        present.erase(from);
        present.insert(to);
        plan.renames.push_back(putBack[i]);
    }
    for (const Rename& rename : putBack) {
        const std::string& from = rename.first;
        if (present.contains(from) && !given.contains(from)) {
            plan.blocked = rename;
            break;
        }
    }
    return plan;
}

std::string CantPutBackMessage(const std::string& folder, const Rename& rename) {
    return "I CAN'T RENAME " + JoinPath(folder, rename.first, false) + " BACK TO " + rename.second +
           "\r\nPLEASE CHECK " + folder + " DIRECTORY";
}

}  // namespace qv
