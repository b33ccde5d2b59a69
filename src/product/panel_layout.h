// Where the controls of the panels sit, read from panel_layout.def, the one
// place that the panel pictures are drawn from too.
#pragma once

#include <string_view>

namespace qv {

struct ControlPlace {
    std::string_view panel;
    std::string_view control;
    int left, top, width, height;
};

// The place of a panel control by its name; a name the layout does not know
// is a programming error and gives an empty place at 0, 0.
ControlPlace PlaceOf(std::string_view control);

}  // namespace qv
