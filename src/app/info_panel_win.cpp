// The information panel.
#include "app/info_panel_win.h"

#include "product/panel_layout.h"
#include "ui/graphics_win.h"

namespace qv {

void InfoPanel::build() {
    auto version = [this](const char* name) {
        const ControlPlace at = PlaceOf(name);
        Label& label = addLabel(at.left, at.top, at.width, at.height);
        label.setFont(UiFont(13, FontStyle::Bold));
        label.setColor(RGB(255, 255, 0));
        return &label;
    };
    L_VER = version("L_VER");
    L_CALVER = version("L_CALVER");
    auto link = [this](const char* name) {
        const ControlPlace at = PlaceOf(name);
        Image& image = addImage(at.left, at.top, at.width, at.height);
        image.setVisible(false);
        return &image;
    };
    Img_Ostrel = link("Img_Ostrel");
    Img_Tev = link("Img_Tev");
    Img_Int = link("Img_Int");
}

}  // namespace qv
