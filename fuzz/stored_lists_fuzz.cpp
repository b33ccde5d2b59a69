// Fuzz target: the stored keyboard layouts and button maps, whatever text the
// registry holds, split into their fields and joined again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "input/joystick.h"
#include "input/key_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // A layout shown in the fields and rebuilt from them splits the same again.
    const qv::KeyFields fields = qv::LayoutFields(text);
    if (qv::LayoutFields(qv::LayoutText(fields)) != fields) std::abort();

    // A map's eight numbers, written out and read back, stay what they were.
    const qv::MapValues values = qv::MapFields(text);
    if (qv::MapFields(qv::MapText(values)) != values) std::abort();
    for (int value : values) {
        const int accepted = qv::AcceptButton(value, 10);
        if (accepted != value && accepted != qv::kNoButton) std::abort();
    }
    return 0;
}
