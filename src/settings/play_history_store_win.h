// Each game's play history in the registry, beside the game's settings under
// its key: read without creating anything, written after a run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/play_history.h"
#include "settings/settings.h"

namespace qv {

// The clock now, as the user's clock shows it.
CalendarTime LocalNow();
// Milliseconds of a clock that only runs forward, for how long a game ran.
std::int64_t SteadyMilliseconds();

// The game's history; a missing key or a value that cannot be read counts as
// no history of that kind. Never throws.
PlayHistory ReadPlayHistory(const std::string& gameId, const std::string& key = kSettingsKey);

// Adds a run of the game to its history. The snapshots that appeared during
// the run are the game's alone: any other game's record of those files (left
// from files of the same name deleted meanwhile) drops them. Throws ERegistry
// when a write is refused.
void RecordRun(const std::string& gameId, const PlayedRun& run,
               const std::string& key = kSettingsKey);

// The game's snapshot files after folder (with its final backslash) was
// listed: those of the folder that are gone drop out of the record for good.
// A folder that could not be listed (no listing) drops nothing. A record that
// cannot be written back is still answered.
std::vector<std::string> KeptSnapshots(const std::string& gameId, const std::string& folder,
                                       const std::optional<std::vector<std::string>>& listed,
                                       const std::string& key = kSettingsKey);

}  // namespace qv
