// Where the keyboard focus goes next.
#include "ui/focus_walk.h"

#include <algorithm>

namespace qv {

std::optional<std::size_t> NextStop(std::span<const bool> canTakeFocus,
                                    std::optional<std::size_t> from, bool backwards) {
    const std::size_t count = canTakeFocus.size();
    if (count == 0) return std::nullopt;
    // From nowhere, start just outside the ring so that the first step lands on an end.
    std::size_t at = from ? *from % count : (backwards ? 0 : count - 1);
    for (std::size_t step = 0; step < count; ++step) {
        at = backwards ? (at + count - 1) % count : (at + 1) % count;
        if (canTakeFocus[at]) return at;
    }
    return std::nullopt;
}

std::size_t ListTarget(ListKey key, std::size_t current, std::size_t count, std::size_t perPage) {
    const std::size_t last = count - 1;
    const std::size_t page = std::max<std::size_t>(perPage, 1);
    current = std::min(current, last);
    switch (key) {
    case ListKey::Up:
        return current == 0 ? 0 : current - 1;
    case ListKey::Down:
        return std::min(current + 1, last);
    case ListKey::PageUp:
        return current < page ? 0 : current - page;
    case ListKey::PageDown:
        return std::min(current + page, last);
    case ListKey::Home:
        return 0;
    case ListKey::End:
        return last;
    }
    return current;
}

}  // namespace qv
