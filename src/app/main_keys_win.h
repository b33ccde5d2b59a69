// The main window's keyboard: Tab and Shift+Tab round its controls in their
// tab order, the list keys among the game buttons, Enter on buttons.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/container_win.h"

namespace qv {

class TF_Main;

class MainKeys {
public:
    explicit MainKeys(TF_Main& main) : main_(main) {}

    // Carries out a key message of the main window that moves the focus or
    // presses the focused button; false leaves it to the dialog keys and the
    // control. A key that the focused control asks for is always left to it.
    bool take(const MSG& msg);

    // One focus stop: a window, a picture of a container, or the game list.
    struct Stop {
        HWND window = nullptr;
        Container* surface = nullptr;
        GraphicControl* picture = nullptr;
        bool gameList = false;
    };
    // The stops in tab order: "..." (B_1), the exit and the five panel
    // pictures, the controls of the panel in front, Re-Scan (B_R), the list.
    std::vector<Stop> stops() const;
    bool holdsFocus(const Stop& stop) const;
    void enter(const Stop& stop);

private:
    void tab(bool backwards);
    bool canTakeFocus(const Stop& stop) const;

    TF_Main& main_;
};

}  // namespace qv
