// The information panel.
#include "app/info_panel_win.h"

#include "ui/graphics_win.h"

namespace qv {

void InfoPanel::build() {
    auto version = [this](int top, int width) {
        Label& label = addLabel(40, top, width, 16);
        label.setFont(UiFont(13, FontStyle::Bold));
        label.setColor(RGB(255, 255, 0));
        return &label;
    };
    L_VER = version(96, 48);
    L_CALVER = version(112, 76);
    auto link = [this](int left, int top, int width, int height) {
        Image& image = addImage(left, top, width, height);
        image.setVisible(false);
        return &image;
    };
    Img_Ostrel = link(85, 187, 147, 22);
    Img_Tev = link(85, 209, 132, 22);
    Img_Int = link(45, 233, 161, 23);
}

}  // namespace qv
