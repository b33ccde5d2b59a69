// The options panel.
#include "launch/options_panel_win.h"

#include <shellapi.h>

#include "product/panel_layout.h"
#include "ui/graphics_win.h"
#include "ui/standard_controls_win.h"
#include "util/on_demand_win.h"

namespace qv {
namespace {

constexpr COLORREF kFolderColour = RGB(0, 255, 255);
constexpr COLORREF kFolderHoverColour = RGB(255, 255, 0);
constexpr COLORREF kCounterColour = RGB(255, 255, 255);

}  // namespace

void OptionsPanel::build(Settings& settings) {
    settings_ = &settings;
    auto counter = [this](const char* name) {
        const ControlPlace at = PlaceOf(name);
        Label& label = addLabel(at.left, at.top, at.width, at.height);
        label.setFont(UiFont(11, FontStyle::Bold));
        label.setColor(kCounterColour);
        return &label;
    };
    // The folder labels light up under the pointer; their clicks are their own.
    auto folder = [this](const char* name) {
        const ControlPlace at = PlaceOf(name);
        auto& label = add<TOstrelActiveLabel>(at.left, at.top, at.width, at.height);
        label.setFont(UiFont(11, FontStyle::Bold));
        label.setColor(kFolderColour);
        label.SetNotActiveColor(kFolderColour);
        label.SetActiveColor(kFolderHoverColour);
        label.setPathEllipsis(true);
        return &label;
    };
    L_SF = folder("L_SF");
    L_SF->onClick = [this](GraphicControl&) { ExecCaption(); };
    L_SFF = counter("L_SFF");
    L_PF = folder("L_PF");
    L_PF->onClick = [this](GraphicControl&) {
        if (onSnapshotFolderClick) onSnapshotFolderClick();
    };
    L_PFF = counter("L_PFF");

    auto button = [this](const char* name) {
        const ControlPlace at = PlaceOf(name);
        return CreatePushButton(hwnd(), "...", at.left, at.top, at.width, at.height, 0);
    };
    B_2 = button("B_2");
    B_3 = button("B_3");

    auto list = [this](const char* name, const auto& items) {
        const ControlPlace at = PlaceOf(name);
        return CreateDropDownList(hwnd(), at.left, at.top, at.width, at.height, items.data(),
                                  static_cast<int>(items.size()));
    };
    CB_RES = list("CB_RES", kResolutionItems);
    CB_FS = list("CB_FS", kFrameSkipItems);

    for (const auto& [control, name] : {std::pair{&CB_vsync, "CB_vsync"},
                                        {&CB_intensity, "CB_intensity"},
                                        {&CB_novesa, "CB_novesa"},
                                        {&CB_linear, "CB_linear"},
                                        {&CB_banked, "CB_banked"},
                                        {&CB_exclusive, "CB_exclusive"},
                                        {&CB_altkey, "CB_altkey"},
                                        {&CB_FPUcopy, "CB_FPUcopy"},
                                        {&CB_MMXcopy, "CB_MMXcopy"}}) {
        const ControlPlace at = PlaceOf(name);
        *control = CreateCheckBox(hwnd(), name, at.left, at.top, at.width, at.height);
    }
}

bool* OptionsPanel::flagOf(HWND control) {
    Settings& s = *settings_;
    const std::pair<HWND, bool*> flags[] = {
        {CB_vsync, &s.CB_vsync},   {CB_intensity, &s.CB_intensity}, {CB_novesa, &s.CB_novesa},
        {CB_linear, &s.CB_linear}, {CB_banked, &s.CB_banked},       {CB_exclusive, &s.CB_exclusive},
        {CB_altkey, &s.CB_altkey}, {CB_FPUcopy, &s.CB_FPUcopy},     {CB_MMXcopy, &s.CB_MMXcopy}};
    for (auto [box, flag] : flags) {
        if (box == control) return flag;
    }
    return nullptr;
}

void OptionsPanel::showSettings() {
    const Settings& s = *settings_;
    L_SF->setCaption(s.L_SF);
    L_PF->setCaption(s.L_PF);
    SetListIndex(CB_RES, s.CB_RES);
    SetListIndex(CB_FS, s.CB_FS);
    for (HWND box : {CB_vsync, CB_intensity, CB_novesa, CB_linear, CB_banked, CB_exclusive,
                     CB_altkey, CB_FPUcopy, CB_MMXcopy}) {
        SetChecked(box, *flagOf(box));
    }
}

void OptionsPanel::LinearOrBanked(HWND clicked) {
    // Linear and banked modes exclude each other; both may be off.
    if (!*flagOf(clicked)) return;
    HWND other = clicked == CB_linear ? CB_banked : CB_linear;
    SetChecked(other, false);
    *flagOf(other) = false;
}

void OptionsPanel::ExecCaption() {
    on_demand::ShellExecuteA(GetParent(hwnd()), nullptr, settings_->L_SF.c_str(), "", "",
                             SW_SHOWNORMAL);
}

void OptionsPanel::onCommand(HWND control, WORD code) {
    if (code == CBN_SELCHANGE && control == CB_RES) settings_->CB_RES = ListIndex(CB_RES);
    if (code == CBN_SELCHANGE && control == CB_FS) settings_->CB_FS = ListIndex(CB_FS);
    if (code == BN_CLICKED && control == B_2 && onBrowseSaveFolder) onBrowseSaveFolder();
    if (code == BN_CLICKED && control == B_3 && onBrowseSnapshotFolder) onBrowseSnapshotFolder();
    if (code == BN_CLICKED) {
        if (bool* flag = flagOf(control)) {
            *flag = IsChecked(control);
            if (control == CB_linear || control == CB_banked) LinearOrBanked(control);
        }
    }
}

LRESULT OptionsPanel::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        onCommand(reinterpret_cast<HWND>(lp), HIWORD(wp));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Check boxes sit on the panel's dark plate.
        SetBkColor(reinterpret_cast<HDC>(wp), color());
        return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
    }
    return Panel::handleMessage(msg, wp, lp);
}

}  // namespace qv
