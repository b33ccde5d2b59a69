// The players panel: each of three players picks an input device; a label
// under each selector describes the device. Below them, whether player 1's
// stick moves the game list.
#pragma once

#include <array>
#include <functional>

#include "settings/settings.h"
#include "ui/container_win.h"

namespace qv {

class PlayersPanel : public Panel {
public:
    // Places the selectors, filled with the input device list, and their
    // labels; showSettings makes them show the model's choices.
    void build(Settings& settings);
    // The start: all three players at KEY1 until a game's settings are loaded.
    static void PrepareDeviceLists(Settings& settings);
    // Shows the model's device choices (after a load).
    void showSettings();

    // Shows the description of the device a selector stands at in its label.
    void SetDesc(HWND selector);

    HWND CB_P1D = nullptr;
    HWND cb_p2d = nullptr;
    HWND cb_p3d = nullptr;
    Label* L_P1D = nullptr;
    Label* L_P2d = nullptr;
    Label* L_p3d = nullptr;
    // Player 1's stick moves the game list; its owner hears of each change.
    HWND CB_JoyList = nullptr;
    std::function<void()> onStickListChanged;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Player {
        HWND selector;
        Label* description;
        int Settings::*device;
    };
    std::array<Player, 3> players() const;

    Settings* settings_ = nullptr;
};

}  // namespace qv
