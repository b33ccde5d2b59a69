// Each game's play history: how often and how long it ran, when last, and
// which snapshot files its runs left; the rules that add a run to it, and the
// texts it is kept as under the game's registry key.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Value names under the game's key; no other setting uses them. A run's
// count, its time and its start are one value, so that a write refused
// part-way never counts a run without its time; the snapshots are written
// before it, so that a run is never counted without them either.
inline constexpr char kPlayedValue[] = "Played";
inline constexpr char kPlayedSnapshotsValue[] = "Played_Snaps";
// Where the first builds with a history kept the count, the time and the
// start apart; read when kPlayedValue is absent.
inline constexpr char kOldPlayedRunsValue[] = "Played_Runs";
inline constexpr char kOldPlayedSecondsValue[] = "Played_Seconds";
inline constexpr char kOldPlayedLastValue[] = "Played_Last";

// The snapshots kept per game: the newest ones.
inline constexpr std::size_t kMaxGameSnapshots = 500;

// A date and time as a clock shows it, to the second.
struct CalendarTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool operator==(const CalendarTime&) const = default;
};

// True for a date that exists (years 1601 to 9999) and a time of day.
bool IsValidTime(const CalendarTime& time);

struct PlayHistory {
    std::int32_t runs = 0;
    std::int32_t seconds = 0;             // total time played
    std::optional<CalendarTime> lastRun;  // start of the last run, local time
    // Full paths of the snapshot files the game's runs left, oldest first.
    std::vector<std::string> snapshots;
};

// One run of the emulator, from the start of the interpreter to its end.
struct PlayedRun {
    CalendarTime startLocal;  // what the user's clock showed at the start
    // How long it ran, on a clock that no setting of the date moves.
    std::int64_t milliseconds = 0;
    std::vector<std::string> snapshotsBefore, snapshotsAfter;  // full paths
};

// Follows a launch: the host tells when the interpreter started and ended,
// and then whether the launch counts as a run of the emulator. Only a start
// followed by an end and then by ran() gives a run to count. The ticks are
// milliseconds of a monotonic clock; the local time names the start only.
class PlayTracker {
public:
    void started(const CalendarTime& local, std::int64_t tick,
                 std::vector<std::string> snapshots);
    void ended(std::int64_t tick, std::vector<std::string> snapshots);
    // The run just ended, once; nothing when no run was followed to its end.
    std::optional<PlayedRun> ran();

private:
    PlayedRun run_;
    std::int64_t startTick_ = 0;
    enum class Stage { kIdle, kRunning, kEnded } stage_ = Stage::kIdle;
};

// The files of after that were not in before (names compared regardless of
// case, as the file system does), in the order of after.
std::vector<std::string> NewSnapshots(const std::vector<std::string>& before,
                                      const std::vector<std::string>& after);

// Counts run: one run more, its time in whole seconds, its start as the last run, and the snapshots that appeared during it, keeping
// the newest kMaxGameSnapshots.
void AddRun(PlayHistory& history, const PlayedRun& run);

// Adds names as the newest snapshots, once each, keeping the newest kMaxGameSnapshots.
void AddSnapshots(std::vector<std::string>& kept, const std::vector<std::string>& names);

// Removes the given files from kept; true when any was there.
bool DropSnapshots(std::vector<std::string>& kept, const std::vector<std::string>& files);

// After folder (ending in a backslash) was listed: the kept files in that
// folder that the listing no longer holds are dropped; files elsewhere stay.
// True when any was dropped.
bool ForgetMissingSnapshots(std::vector<std::string>& kept, const std::string& folder,
                            const std::vector<std::string>& listed);

// "played 12 times, 3 h 05 min, last 8 Dec 2026 21:14", or "never played".
std::string HistoryText(const PlayHistory& history);

// The stored forms: "2026-12-08 21:14:05" and the paths joined by "|" (a
// character no path holds). A text that is not a valid time reads as none; a
// list keeps its non-empty paths, each once, the newest kMaxGameSnapshots.
std::string StoredTimeText(const CalendarTime& time);
std::optional<CalendarTime> ParseStoredTime(std::string_view text);
std::string StoredSnapshotsText(const std::vector<std::string>& snapshots);
std::vector<std::string> ParseStoredSnapshots(std::string_view text);

// A stored count or total: a number of 0 or more, anything else none (0).
std::int32_t ParseStoredCount(std::string_view text);

// The count, the time and the last run as kPlayedValue holds them:
// "12|11100|2026-12-08 21:14:05" (the time empty when unknown).
std::string StoredPlaysText(const PlayHistory& history);

// A value under the game's key, named and with its text.
struct StoredValue {
    const char* name;
    std::string text;
};

// The values that keep history, in the order they are written.
std::vector<StoredValue> StoredHistoryValues(const PlayHistory& history);

// The history that the game's stored values hold, read through peek (a
// value's text, or nothing when absent or not a text). A value that cannot
// be read counts as no history of its kind.
PlayHistory StoredHistory(const std::function<std::optional<std::string>(const char* name)>& peek);

}  // namespace qv
