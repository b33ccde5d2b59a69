// Fuzz target of the converter's PPM reader: any bytes as a PPM file. A
// picture it accepts must hold exactly its width times height pixels.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "ppm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string why;
    const std::optional<qv::Pixmap> picture =
        qvimage::DecodePpm(std::vector<std::uint8_t>(data, data + size), why);
    if (picture && !picture->valid()) std::abort();
    if (!picture && why.empty()) std::abort();
    return 0;
}
