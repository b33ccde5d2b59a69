// Fuzz target: a game's play history read back from its stored texts. The
// input is split at its first two NULs into the last-run time, the snapshot
// list and a count. Whatever they hold, reading ends; an accepted time is a
// real one and writes back as the same text; the list holds at most the
// newest 500 non-empty paths, each once, and reads back as itself; and the
// history's words can be made of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "settings/play_history.h"
#include "util/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    auto field = [&rest] {
        const std::size_t nul = rest.find('\0');
        const std::string_view text = rest.substr(0, nul);
        rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
        return text;
    };
    const std::string_view timeText = field();
    const std::string_view listText = field();
    const std::string_view countText = rest;

    qv::PlayHistory history;
    history.lastRun = qv::ParseStoredTime(timeText);
    if (history.lastRun) {
        if (!qv::IsValidTime(*history.lastRun)) std::abort();
        if (qv::StoredTimeText(*history.lastRun) != timeText) std::abort();
    }
    history.snapshots = qv::ParseStoredSnapshots(listText);
    if (history.snapshots.size() > qv::kMaxGameSnapshots) std::abort();
    std::set<std::string> seen;
    for (const std::string& path : history.snapshots) {
        if (path.empty() || path.find('|') != std::string::npos) std::abort();
        if (!seen.insert(qv::UpperText(path)).second) std::abort();
    }
    if (qv::ParseStoredSnapshots(qv::StoredSnapshotsText(history.snapshots)) != history.snapshots)
        std::abort();
    history.runs = qv::ParseStoredCount(countText);
    history.seconds = history.runs;
    if (history.runs < 0) std::abort();
    if (qv::HistoryText(history).empty()) std::abort();
    return 0;
}
