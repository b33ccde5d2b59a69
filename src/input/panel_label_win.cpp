// The labels the input panels draw over their pictures, and the clash marks.
#include "input/panel_label_win.h"

#include "product/panel_layout.h"
#include "ui/graphics_win.h"

namespace qv {

Label& AddPanelLabel(Container& panel, const char* name, COLORREF colour) {
    const ControlPlace at = PlaceOf(name);
    Label& label = panel.addLabel(at.left, at.top, at.width, at.height);
    label.setFont(UiFont(11, FontStyle::Bold));
    label.setColor(colour);
    return label;
}

Label& AddClashLine(Container& panel, const char* name) {
    const ControlPlace at = PlaceOf(name);
    Label& label = panel.addLabel(at.left, at.top, at.width, at.height);
    label.setFont(UiFont(11));
    label.setColor(kClashColour);
    label.setFill(RGB(12, 13, 16));
    label.setCentred(true);
    return label;
}

HBRUSH ClashBrush() {
    static const OwnedBrush brush(CreateSolidBrush(kClashColour));
    return brush.get();
}

}  // namespace qv
