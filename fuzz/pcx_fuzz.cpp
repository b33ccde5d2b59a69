// Fuzz target of the PCX decoder: any bytes as a snapshot file. A decoded
// picture must have the header's size; nothing may be read or written
// outside the buffers.
#include <cstdint>
#include <cstdlib>

#include "viewer/pcx_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qv::PcxResult result = qv::DecodePcx(data, size);
    if (result.outcome == qv::PcxOutcome::kOk) {
        const int width = (data[8] | data[9] << 8) + 1;
        const int height = (data[10] | data[11] << 8) + 1;
        if (!result.picture.valid() || result.picture.width != width ||
            result.picture.height != height) {
            std::abort();
        }
    }
    return 0;
}
