// Each game's play history in the registry.
#include "settings/play_history_store_win.h"

#include "settings/registry_win.h"
#include "util/text.h"

namespace qv {
namespace {

std::string GameKey(const std::string& key, const std::string& gameId) {
    return key + "\\" + gameId;
}

std::vector<std::string> ReadSnapshots(const std::string& gameKey) {
    return ParseStoredSnapshots(
        PeekRegStr(HKEY_CURRENT_USER, gameKey, kPlayedSnapshotsValue).value_or(""));
}

void WriteSnapshots(const std::string& gameKey, const std::vector<std::string>& snapshots) {
    WriteRegStr(HKEY_CURRENT_USER, gameKey, kPlayedSnapshotsValue, StoredSnapshotsText(snapshots));
}

CalendarTime FromSystemTime(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

CalendarTime LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return FromSystemTime(now);
}

CalendarTime UtcNow() {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    return FromSystemTime(now);
}

PlayHistory ReadPlayHistory(const std::string& gameId, const std::string& key) {
    PlayHistory history;
    if (gameId.empty()) return history;
    const std::string gameKey = GameKey(key, gameId);
    auto read = [&](const char* name) {
        return PeekRegStr(HKEY_CURRENT_USER, gameKey, name).value_or("");
    };
    history.runs = ParseStoredCount(read(kPlayedRunsValue));
    history.seconds = ParseStoredCount(read(kPlayedSecondsValue));
    history.lastRun = ParseStoredTime(read(kPlayedLastValue));
    history.snapshots = ReadSnapshots(gameKey);
    return history;
}

void RecordRun(const std::string& gameId, const PlayedRun& run, const std::string& key) {
    if (gameId.empty()) return;
    PlayHistory history = ReadPlayHistory(gameId, key);
    AddRun(history, run);
    const std::string gameKey = GameKey(key, gameId);
    WriteRegInt(HKEY_CURRENT_USER, gameKey, kPlayedRunsValue, history.runs);
    WriteRegInt(HKEY_CURRENT_USER, gameKey, kPlayedSecondsValue, history.seconds);
    if (history.lastRun)
        WriteRegStr(HKEY_CURRENT_USER, gameKey, kPlayedLastValue, StoredTimeText(*history.lastRun));
    WriteSnapshots(gameKey, history.snapshots);

    const std::vector<std::string> added = NewSnapshots(run.snapshotsBefore, run.snapshotsAfter);
    if (added.empty()) return;
    for (const std::string& other : RegSubKeys(HKEY_CURRENT_USER, key)) {
        if (UpperText(other) == UpperText(gameId)) continue;
        const std::string otherKey = GameKey(key, other);
        std::vector<std::string> kept = ReadSnapshots(otherKey);
        if (DropSnapshots(kept, added)) WriteSnapshots(otherKey, kept);
    }
}

std::vector<std::string> KeptSnapshots(const std::string& gameId, const std::string& folder,
                                       const std::vector<std::string>& listed,
                                       const std::string& key) {
    if (gameId.empty()) return {};
    const std::string gameKey = GameKey(key, gameId);
    std::vector<std::string> kept = ReadSnapshots(gameKey);
    if (ForgetMissingSnapshots(kept, folder, listed)) {
        try {
            WriteSnapshots(gameKey, kept);
        } catch (const ERegistry&) {
            // Dropped again at the next listing.
        }
    }
    return kept;
}

}  // namespace qv
