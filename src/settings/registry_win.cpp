// The registry accessors: one value per call, through a key opened for it.
#include "settings/registry_win.h"

#include <optional>
#include <string_view>
#include <vector>

#include "settings/stored_text.h"
#include "util/handles_win.h"
#include "util/text.h"

namespace qv {

namespace {

OwnedKey OpenKey(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    // Creates the key and any missing parents; opens it when it exists.
    const LONG result = RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    if (result != ERROR_SUCCESS) throw ERegistry("Failed to create key " + key);
    return OwnedKey(handle);
}

// The value's text up to its first NUL, or nothing when it is absent.
std::optional<std::string> ReadOpenedText(HKEY opened, const std::string& name) {
    std::vector<char> data;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExA(opened, name.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the size query and the read: ask again then.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw ERegistry("Invalid data type for '" + name + "'");
        data.resize(size + 1);  // room for a NUL the stored text may lack
        size = static_cast<DWORD>(data.size());
        result = RegQueryValueExA(opened, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
        if (result == ERROR_SUCCESS) {
            if (type != REG_SZ && type != REG_EXPAND_SZ)
                throw ERegistry("Invalid data type for '" + name + "'");
            const std::string_view text(data.data(), size);
            return std::string(text.substr(0, text.find('\0')));
        }
    }
    if (result == ERROR_FILE_NOT_FOUND) return std::nullopt;
    throw ERegistry("Failed to get data for '" + name + "'");
}

std::optional<std::string> ReadText(HKEY root, const std::string& key, const std::string& name) {
    const OwnedKey opened = OpenKey(root, key);
    return ReadOpenedText(opened.get(), name);
}

// Stores text as REG_SZ, with or without a terminating NUL. The system adds
// a NUL of its own when the byte after the given size is one, so a text
// stored without it is passed from a copy that ends in another byte.
void WriteText(HKEY root, const std::string& key, const std::string& name, std::string_view text,
               bool withNul) {
    const OwnedKey opened = OpenKey(root, key);
    std::string data(text);
    data += withNul ? '\0' : ' ';
    const DWORD size = static_cast<DWORD>(withNul ? data.size() : text.size());
    const LONG result = RegSetValueExA(opened.get(), name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(data.data()), size);
    if (result != ERROR_SUCCESS) throw ERegistry("Failed to set data for '" + name + "'");
}

}  // namespace

std::string ReadRegStr(HKEY root, const std::string& key, const std::string& name,
                       const std::string& def) {
    return ReadText(root, key, name).value_or(def);
}

void WriteRegStr(HKEY root, const std::string& key, const std::string& name,
                 const std::string& text) {
    WriteText(root, key, name, text, true);
}

std::int32_t ReadRegInt(HKEY root, const std::string& key, const std::string& name,
                        std::int32_t def) {
    const auto text = ReadText(root, key, name);
    return text ? StoredIntOr(*text, def) : def;
}

void WriteRegInt(HKEY root, const std::string& key, const std::string& name, std::int32_t value) {
    WriteText(root, key, name, IntText(value), false);
}

bool ReadRegBool(HKEY root, const std::string& key, const std::string& name, bool def) {
    return ReadRegInt(root, key, name, def ? 1 : 0) != 0;
}

void WriteRegBool(HKEY root, const std::string& key, const std::string& name, bool value) {
    WriteText(root, key, name, value ? "1" : "0", false);
}

std::optional<std::string> PeekRegStr(HKEY root, const std::string& key, const std::string& name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return std::nullopt;
    const OwnedKey opened(handle);
    try {
        return ReadOpenedText(opened.get(), name);
    } catch (const ERegistry&) {
        return std::nullopt;
    }
}

std::vector<std::string> RegSubKeys(HKEY root, const std::string& key) {
    std::vector<std::string> names;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return names;
    const OwnedKey opened(handle);
    char name[256];  // the longest key name the registry allows, and its NUL
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(opened.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, size);
    }
    return names;
}

}  // namespace qv
