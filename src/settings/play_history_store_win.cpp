// Each game's play history in the registry.
#include "settings/play_history_store_win.h"

#include <chrono>

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

std::int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

PlayHistory ReadPlayHistory(const std::string& gameId, const std::string& key) {
    if (gameId.empty()) return {};
    const std::string gameKey = GameKey(key, gameId);
    return StoredHistory(
        [&gameKey](const char* name) { return PeekRegStr(HKEY_CURRENT_USER, gameKey, name); });
}

void RecordRun(const std::string& gameId, const PlayedRun& run, const std::string& key) {
    if (gameId.empty()) return;
    PlayHistory history = ReadPlayHistory(gameId, key);
    AddRun(history, run);
    const std::string gameKey = GameKey(key, gameId);
    for (const StoredValue& value : StoredHistoryValues(history))
        WriteRegStr(HKEY_CURRENT_USER, gameKey, value.name, value.text);

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
                                       const std::optional<std::vector<std::string>>& listed,
                                       const std::string& key) {
    if (gameId.empty()) return {};
    const std::string gameKey = GameKey(key, gameId);
    std::vector<std::string> kept = ReadSnapshots(gameKey);
    if (listed && ForgetMissingSnapshots(kept, folder, *listed)) {
        try {
            WriteSnapshots(gameKey, kept);
        } catch (const ERegistry&) {
            // Dropped again at the next listing.
        }
    }
    return kept;
}

}  // namespace qv
