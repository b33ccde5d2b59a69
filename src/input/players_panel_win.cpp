// The players panel.
#include "input/players_panel_win.h"

#include <string>
#include <vector>

#include "input/panel_label_win.h"
#include "product/panel_layout.h"
#include "settings/device_list.h"
#include "ui/standard_controls_win.h"

namespace qv {
namespace {

constexpr COLORREF kDescriptionColour = RGB(0, 255, 255);
constexpr int kStartDevice = 1;  // KEY1

}  // namespace

void PlayersPanel::build(Settings& settings) {
    settings_ = &settings;
    std::vector<std::string> items;
    for (int index = 0; index < kInputDeviceCount; ++index)
        items.push_back(SelectorItem(index));
    auto selector = [&](const char* name) {
        const ControlPlace at = PlaceOf(name);
        HWND list = CreateOwnerDrawList(hwnd(), at.left, at.top, at.width, at.height);
        SetListItems(list, items);
        return list;
    };
    auto description = [this](const char* name) {
        Label& label = AddPanelLabel(*this, name, kDescriptionColour);
        label.setWordWrap(true);
        return &label;
    };
    CB_P1D = selector("CB_P1D");
    L_P1D = description("L_P1D");
    cb_p2d = selector("cb_p2d");
    L_P2d = description("L_P2d");
    cb_p3d = selector("cb_p3d");
    L_p3d = description("L_p3d");
    const ControlPlace joyList = PlaceOf("CB_JoyList");
    CB_JoyList = CreateCheckBox(hwnd(), "CB_JoyList", joyList.left, joyList.top, joyList.width,
                                joyList.height);
}

void PlayersPanel::PrepareDeviceLists(Settings& settings) {
    for (int Settings::*device : {&Settings::CB_P1D, &Settings::cb_p2d, &Settings::cb_p3d})
        settings.*device = kStartDevice;
}

std::array<PlayersPanel::Player, 3> PlayersPanel::players() const {
    return {{{CB_P1D, L_P1D, &Settings::CB_P1D},
             {cb_p2d, L_P2d, &Settings::cb_p2d},
             {cb_p3d, L_p3d, &Settings::cb_p3d}}};
}

void PlayersPanel::showSettings() {
    for (const Player& player : players()) {
        SetListIndex(player.selector, settings_->*player.device);
        SetDesc(player.selector);
    }
    SetChecked(CB_JoyList, settings_->CB_JoyList);
}

void PlayersPanel::SetDesc(HWND selector) {
    for (const Player& player : players()) {
        if (player.selector != selector) continue;
        const int index = settings_->*player.device;
        const bool listed = index >= 0 && index < kInputDeviceCount;
        player.description->setCaption(listed ? DeviceDescription(SelectorItem(index)) : "");
    }
}

LRESULT PlayersPanel::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && reinterpret_cast<HWND>(lp) == CB_JoyList) {
            settings_->CB_JoyList = IsChecked(CB_JoyList);
            if (onStickListChanged) onStickListChanged();
        }
        if (HIWORD(wp) == CBN_SELCHANGE) {
            HWND selector = reinterpret_cast<HWND>(lp);
            for (const Player& player : players()) {
                if (player.selector == selector) settings_->*player.device = ListIndex(selector);
            }
            SetDesc(selector);
        }
        return 0;
    case WM_DRAWITEM:
        DrawListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    }
    return Panel::handleMessage(msg, wp, lp);
}

}  // namespace qv
