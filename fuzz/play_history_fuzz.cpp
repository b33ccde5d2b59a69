// Fuzz target: a game's play history read back from its stored texts. The
// input is split at its first two NULs into the last-run time, the snapshot
// list and the value that holds the count, the time and the last run (or,
// as earlier builds kept it, the count alone). Whatever they hold, reading
// ends; an accepted time is a real one and writes back as the same text; the
// list holds at most the newest 500 non-empty paths, each once, and reads
// back as itself; the history reads back as itself from the values it is
// written as; and the history's words can be made of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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
    const std::string_view playsText = rest;

    std::optional<qv::CalendarTime> lastRun = qv::ParseStoredTime(timeText);
    if (lastRun) {
        if (!qv::IsValidTime(*lastRun)) std::abort();
        if (qv::StoredTimeText(*lastRun) != timeText) std::abort();
    }
    const std::vector<std::string> snapshots = qv::ParseStoredSnapshots(listText);
    if (snapshots.size() > qv::kMaxGameSnapshots) std::abort();
    std::set<std::string> seen;
    for (const std::string& path : snapshots) {
        if (path.empty() || path.find('|') != std::string::npos) std::abort();
        if (!seen.insert(qv::UpperText(path)).second) std::abort();
    }
    if (qv::ParseStoredSnapshots(qv::StoredSnapshotsText(snapshots)) != snapshots) std::abort();

    auto read = [](std::map<std::string, std::string> values) {
        return qv::StoredHistory([&values](const char* name) -> std::optional<std::string> {
            const auto found = values.find(name);
            if (found == values.end()) return std::nullopt;
            return found->second;
        });
    };
    for (const qv::PlayHistory& history :
         {read({{qv::kPlayedValue, std::string(playsText)},
                {qv::kPlayedSnapshotsValue, std::string(listText)}}),
          read({{qv::kOldPlayedRunsValue, std::string(playsText)},
                {qv::kOldPlayedSecondsValue, std::string(playsText)},
                {qv::kOldPlayedLastValue, std::string(timeText)}})}) {
        if (history.runs < 0 || history.seconds < 0) std::abort();
        std::map<std::string, std::string> written;
        for (const qv::StoredValue& value : qv::StoredHistoryValues(history))
            written[value.name] = value.text;
        const qv::PlayHistory again = read(written);
        if (again.runs != history.runs || again.seconds != history.seconds ||
            again.lastRun != history.lastRun || again.snapshots != history.snapshots) {
            std::abort();
        }
        if (qv::HistoryText(history).empty()) std::abort();
    }
    return 0;
}
