// The information panel: version texts and the three link pictures.
#pragma once

#include "ui/container_win.h"

namespace qv {

class InfoPanel : public Panel {
public:
    // Places the panel's controls as designed (the creation handler of the
    // main window fills them in).
    void build();

    Label* L_VER = nullptr;
    Label* L_CALVER = nullptr;
    Image* Img_Ostrel = nullptr;
    Image* Img_Tev = nullptr;
    Image* Img_Int = nullptr;
};

}  // namespace qv
