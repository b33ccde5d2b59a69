// Each game's play history and the rules that add a run to it.
#include "settings/play_history.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "settings/stored_text.h"
#include "util/name_set.h"
#include "util/text.h"

namespace qv {
namespace {

constexpr char kMonths[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysIn(int year, int month) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

std::int32_t SaturatedAdd(std::int32_t total, std::int64_t more) {
    const std::int64_t sum = static_cast<std::int64_t>(total) + more;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + IntText(n); }

std::string PlayedTime(std::int32_t seconds) {
    if (seconds < 60) return IntText(seconds) + " s";
    const std::int32_t minutes = seconds / 60;
    if (minutes < 60) return IntText(minutes) + " min";
    return IntText(minutes / 60) + " h " + TwoDigits(minutes % 60) + " min";
}

// Digits of exactly width characters at text[at...], or nothing.
std::optional<int> FixedNumber(std::string_view text, std::size_t at, std::size_t width) {
    if (at + width > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

bool IsValidTime(const CalendarTime& t) {
    return t.year >= 1601 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= DaysIn(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
           t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

void PlayTracker::started(const CalendarTime& local, std::int64_t tick,
                          std::vector<std::string> snapshots) {
    run_ = PlayedRun{local, 0, std::move(snapshots), {}};
    startTick_ = tick;
    stage_ = Stage::kRunning;
}

void PlayTracker::ended(std::int64_t tick, std::vector<std::string> snapshots) {
    if (stage_ != Stage::kRunning) return;
    run_.milliseconds = std::max<std::int64_t>(tick - startTick_, 0);
    run_.snapshotsAfter = std::move(snapshots);
    stage_ = Stage::kEnded;
}

std::optional<PlayedRun> PlayTracker::ran() {
    if (stage_ != Stage::kEnded) return std::nullopt;
    stage_ = Stage::kIdle;
    return std::move(run_);
}

std::vector<std::string> NewSnapshots(const std::vector<std::string>& before,
                                      const std::vector<std::string>& after) {
    const NameSet old(before);
    std::vector<std::string> added;
    for (const std::string& path : after)
        if (!old.contains(path)) added.push_back(path);
    return added;
}

void AddRun(PlayHistory& history, const PlayedRun& run) {
    history.runs = SaturatedAdd(history.runs, 1);
    history.seconds = SaturatedAdd(history.seconds, std::max<std::int64_t>(run.milliseconds, 0) / 1000);
    if (IsValidTime(run.startLocal)) history.lastRun = run.startLocal;
    AddSnapshots(history.snapshots, NewSnapshots(run.snapshotsBefore, run.snapshotsAfter));
}

void AddSnapshots(std::vector<std::string>& kept, const std::vector<std::string>& names) {
    // A name given again moves to the newest end.
    DropSnapshots(kept, names);
    NameSet seen;
    for (const std::string& name : names)
        if (!name.empty() && seen.insert(name)) kept.push_back(name);
    if (kept.size() > kMaxGameSnapshots)
        kept.erase(kept.begin(), kept.end() - static_cast<std::ptrdiff_t>(kMaxGameSnapshots));
}

bool DropSnapshots(std::vector<std::string>& kept, const std::vector<std::string>& files) {
    const NameSet gone(files);
    const std::size_t before = kept.size();
    std::erase_if(kept, [&](const std::string& path) { return gone.contains(path); });
    return kept.size() != before;
}

bool ForgetMissingSnapshots(std::vector<std::string>& kept, const std::string& folder,
                            const std::vector<std::string>& listed) {
    const std::string inFolder = UpperText(folder);
    const NameSet present(listed);
    const std::size_t before = kept.size();
    std::erase_if(kept, [&](const std::string& path) {
        const std::string upper = UpperText(path);
        // Only files right in the folder: the listing does not look deeper.
        const bool here = upper.size() > inFolder.size() && upper.starts_with(inFolder) &&
                          upper.find('\\', inFolder.size()) == std::string::npos;
        return here && !present.contains(path);
    });
    return kept.size() != before;
}

std::string HistoryText(const PlayHistory& history) {
    if (history.runs <= 0) return "never played";
    std::string text = history.runs == 1 ? std::string("played once")
                                         : "played " + IntText(history.runs) + " times";
    text += ", " + PlayedTime(history.seconds);
    if (const auto& last = history.lastRun) {
        text += ", last " + IntText(last->day) + " " + kMonths[last->month - 1] + " " +
                IntText(last->year) + " " + TwoDigits(last->hour) + ":" + TwoDigits(last->minute);
    }
    return text;
}

std::string StoredTimeText(const CalendarTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::optional<CalendarTime> ParseStoredTime(std::string_view text) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto year = FixedNumber(text, 0, 4), month = FixedNumber(text, 5, 2),
               day = FixedNumber(text, 8, 2), hour = FixedNumber(text, 11, 2),
               minute = FixedNumber(text, 14, 2), second = FixedNumber(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    const CalendarTime time{*year, *month, *day, *hour, *minute, *second};
    if (!IsValidTime(time)) return std::nullopt;
    return time;
}

std::string StoredSnapshotsText(const std::vector<std::string>& snapshots) {
    std::string text;
    for (const std::string& path : snapshots)
        text += (text.empty() ? "" : "|") + path;
    return text;
}

std::vector<std::string> ParseStoredSnapshots(std::string_view text) {
    std::vector<std::string> names;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t bar = std::min(text.find('|', from), text.size());
        names.emplace_back(text.substr(from, bar - from));
        from = bar + 1;
    }
    std::vector<std::string> kept;
    AddSnapshots(kept, names);
    return kept;
}

std::int32_t ParseStoredCount(std::string_view text) { return std::max(StoredIntOr(text, 0), 0); }

std::string StoredPlaysText(const PlayHistory& history) {
    return IntText(history.runs) + "|" + IntText(history.seconds) + "|" +
           (history.lastRun ? StoredTimeText(*history.lastRun) : "");
}

std::vector<StoredValue> StoredHistoryValues(const PlayHistory& history) {
    return {{kPlayedSnapshotsValue, StoredSnapshotsText(history.snapshots)},
            {kPlayedValue, StoredPlaysText(history)}};
}

PlayHistory StoredHistory(
    const std::function<std::optional<std::string>(const char* name)>& peek) {
    PlayHistory history;
    auto text = [&peek](const char* name) { return peek(name).value_or(""); };
    if (const std::optional<std::string> plays = peek(kPlayedValue)) {
        std::string_view rest = *plays;
        auto field = [&rest] {
            const std::size_t bar = rest.find('|');
            const std::string_view value = rest.substr(0, bar);
            rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
            return value;
        };
        history.runs = ParseStoredCount(field());
        history.seconds = ParseStoredCount(field());
        history.lastRun = ParseStoredTime(rest);
    } else {
        history.runs = ParseStoredCount(text(kOldPlayedRunsValue));
        history.seconds = ParseStoredCount(text(kOldPlayedSecondsValue));
        history.lastRun = ParseStoredTime(text(kOldPlayedLastValue));
    }
    history.snapshots = ParseStoredSnapshots(text(kPlayedSnapshotsValue));
    return history;
}

}  // namespace qv
