// Where the controls of the panels sit.
#include "product/panel_layout.h"

namespace qv {
namespace {

constexpr ControlPlace kPlaces[] = {
#define QV_PLACE(panel, control, left, top, width, height, printed) \
    {#panel, #control, left, top, width, height},
#include "product/panel_layout.def"
#undef QV_PLACE
};

}  // namespace

ControlPlace PlaceOf(std::string_view control) {
    for (const ControlPlace& place : kPlaces) {
        if (place.control == control) return place;
    }
    return ControlPlace{"", control, 0, 0, 0, 0};
}

}  // namespace qv
