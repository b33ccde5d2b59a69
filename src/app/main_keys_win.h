// The main window's keyboard: Tab and Shift+Tab round its controls in their
// tab order, the list keys among the game buttons, Enter on buttons.
#pragma once

#include <windows.h>

#include <vector>

#include "catalogue/game_list_win.h"
#include "ui/container_win.h"

namespace qv {

// One focus stop: a window, a picture of a container, or the game list.
struct FocusStop {
    HWND window = nullptr;
    Container* surface = nullptr;
    GraphicControl* picture = nullptr;
    bool gameList = false;
};

// What the keys need of the window they serve.
class KeysHost {
public:
    virtual HWND keysWindow() const = 0;
    virtual GameList& gameList() = 0;
    // The window's focus stops in tab order, before the game list, which
    // comes last.
    virtual std::vector<FocusStop> focusStops() = 0;

protected:
    ~KeysHost() = default;
};

class MainKeys {
public:
    explicit MainKeys(KeysHost& host) : host_(host) {}

    // Carries out a key message of the main window that moves the focus or
    // presses the focused button; false leaves it to the dialog keys and the
    // control. A key that the focused control asks for is always left to it.
    bool take(const MSG& msg);

private:
    void tab(bool backwards);
    bool holdsFocus(const FocusStop& stop) const;
    bool canTakeFocus(const FocusStop& stop) const;
    void enter(const FocusStop& stop);

    KeysHost& host_;
};

}  // namespace qv
