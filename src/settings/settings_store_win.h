// The settings store: the global values and each game's values in the
// registry of the current user, read into and written from the settings model.
#pragma once

#include <string>

#include "settings/settings.h"

namespace qv {

// Reads the sixteen global values under key, then the front end's own
// (FrontEndStoredSettings). Absent values take their
// defaults (the emulator folder: the program's own folder; CB_FPUcopy: the
// processor check). CB_intensity is not stored and not touched. A value that is not a text
// stops the load with ERegistry: the values before it are loaded, the values
// after it keep what they held.
void LoadReg(Settings& settings, const std::string& key = kSettingsKey);

// Writes the sixteen global values under key, then the front end's own.
void SaveReg(const Settings& settings, const std::string& key = kSettingsKey);

// Reads the twelve values of the game gameId (under key + "\" + gameId), with
// the same defaults and the same stop on a bad value as LoadReg. Returns
// whether it loaded: with no game id it touches nothing and returns false.
// After a true return the caller refreshes the panels that show these values:
// SetJotOps, SetKeyOps, then SetDesc for CB_P1D, cb_p2d and cb_p3d.
bool LoadRegGame(Settings& settings, const std::string& gameId,
                 const std::string& key = kSettingsKey);

// Writes the twelve values of the game gameId; nothing with no game id.
void SaveRegGame(const Settings& settings, const std::string& gameId,
                 const std::string& key = kSettingsKey);

}  // namespace qv
