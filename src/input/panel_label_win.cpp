// The labels the input panels draw over their pictures.
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

}  // namespace qv
