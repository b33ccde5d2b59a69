// Where the keyboard focus goes next: round a ring of focus stops with Tab
// and Shift+Tab, and through a list with the arrow and paging keys.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace qv {

// The stop after (or, backwards, before) from in a ring of stops, passing
// over those that cannot take the focus now and wrapping at the ends. From
// nowhere (the focus on none of the stops) Tab enters at the first stop and
// Shift+Tab at the last. Nothing when no stop can take the focus.
std::optional<std::size_t> NextStop(std::span<const bool> canTakeFocus,
                                    std::optional<std::size_t> from, bool backwards);

enum class ListKey { Up, Down, PageUp, PageDown, Home, End };

// The entry of a list of count entries that a key moves the focus to from
// entry current, perPage entries being in view at once. The ends hold: Up
// on the first entry stays there, Down on the last likewise. count > 0.
std::size_t ListTarget(ListKey key, std::size_t current, std::size_t count, std::size_t perPage);

}  // namespace qv
