// Loading and saving the settings model through the registry accessors.
#include "settings/settings_store_win.h"

#include "settings/registry_win.h"
#include "util/system_win.h"

namespace qv {

namespace {

// Reads each value in table order straight into the model, so a failure
// leaves the values before it loaded and those after it untouched.
void Load(Settings& settings, const Settings& defaults, std::span<const StoredSetting> table,
          const std::string& key) {
    for (const StoredSetting& value : table) {
        switch (value.kind) {
        case StoredKind::Text:
            settings.*value.text =
                ReadRegStr(HKEY_CURRENT_USER, key, value.name, defaults.*value.text);
            break;
        case StoredKind::Flag:
            settings.*value.flag =
                ReadRegBool(HKEY_CURRENT_USER, key, value.name, defaults.*value.flag);
            break;
        case StoredKind::Index:
        case StoredKind::Number:
            settings.*value.number = AcceptStored(
                value, ReadRegInt(HKEY_CURRENT_USER, key, value.name, defaults.*value.number));
            break;
        }
    }
}

void Save(const Settings& settings, std::span<const StoredSetting> table, const std::string& key) {
    for (const StoredSetting& value : table) {
        switch (value.kind) {
        case StoredKind::Text:
            WriteRegStr(HKEY_CURRENT_USER, key, value.name, settings.*value.text);
            break;
        case StoredKind::Flag:
            WriteRegBool(HKEY_CURRENT_USER, key, value.name, settings.*value.flag);
            break;
        case StoredKind::Index:
        case StoredKind::Number:
            WriteRegInt(HKEY_CURRENT_USER, key, value.name, settings.*value.number);
            break;
        }
    }
}

std::string GameKey(const std::string& key, const std::string& gameId) {
    return key + "\\" + gameId;
}

}  // namespace

void LoadReg(Settings& settings, const std::string& key) {
    const Settings defaults = DefaultSettings(ProgramDir(), IsPentium());
    Load(settings, defaults, GlobalStoredSettings(), key);
    Load(settings, defaults, FrontEndStoredSettings(), key);
}

void SaveReg(const Settings& settings, const std::string& key) {
    Save(settings, GlobalStoredSettings(), key);
    Save(settings, FrontEndStoredSettings(), key);
}

bool LoadRegGame(Settings& settings, const std::string& gameId, const std::string& key) {
    if (gameId.empty()) return false;
    Load(settings, Settings{}, GameStoredSettings(), GameKey(key, gameId));
    return true;
}

void SaveRegGame(const Settings& settings, const std::string& gameId, const std::string& key) {
    if (!gameId.empty()) Save(settings, GameStoredSettings(), GameKey(key, gameId));
}

}  // namespace qv
