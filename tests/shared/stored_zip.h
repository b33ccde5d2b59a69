// ZIP archives of stored entries, made in memory for tests: local headers
// only, which is all the reader walks.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "archive/crc32.h"

namespace qv::test {

using Files = std::map<std::string, std::string>;  // name -> contents

inline void Put16(std::string& out, unsigned v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
inline void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

inline std::string StoredZip(const Files& files) {
    std::string zip;
    for (const auto& [name, data] : files) {
        Put32(zip, 0x04034B50);
        Put16(zip, 10);
        Put16(zip, 0);
        Put16(zip, 0);  // stored
        Put32(zip, 0);  // time, date
        Put32(zip, Crc32(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
        Put32(zip, static_cast<std::uint32_t>(data.size()));
        Put32(zip, static_cast<std::uint32_t>(data.size()));
        Put16(zip, static_cast<unsigned>(name.size()));
        Put16(zip, 0);
        zip += name;
        zip += data;
    }
    return zip;
}

}  // namespace qv::test
