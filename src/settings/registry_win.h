// The six registry accessors of the settings store. Every value is a text
// (REG_SZ); each call opens its key (creating it and any missing parents, with
// full access), does one read or write and closes the key again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

// A registry failure; the text names the key or value concerned.
class ERegistry : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The stored text up to its first NUL, or def when the value is absent.
// Throws ERegistry when the value is not a text.
std::string ReadRegStr(HKEY root, const std::string& key, const std::string& name,
                       const std::string& def);

// Stores text with its terminating NUL.
void WriteRegStr(HKEY root, const std::string& key, const std::string& name,
                 const std::string& text);

// The stored number (see StoredInt), or def when the value is absent or holds
// no number.
std::int32_t ReadRegInt(HKEY root, const std::string& key, const std::string& name,
                        std::int32_t def);

// Stores the number as decimal text, without a terminating NUL.
void WriteRegInt(HKEY root, const std::string& key, const std::string& name, std::int32_t value);

// True when the stored number is not 0; def when there is no number.
bool ReadRegBool(HKEY root, const std::string& key, const std::string& name, bool def);

// Stores "1" or "0", without a terminating NUL.
void WriteRegBool(HKEY root, const std::string& key, const std::string& name, bool value);

// The stored text up to its first NUL, read without creating the key; nothing
// when the key or value is absent, not a text, or cannot be read.
std::optional<std::string> PeekRegStr(HKEY root, const std::string& key, const std::string& name);

// The names of key's sub-keys; none when the key cannot be opened.
std::vector<std::string> RegSubKeys(HKEY root, const std::string& key);

}  // namespace qv
