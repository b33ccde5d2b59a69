// The options panel: the emulator's display and speed switches, and the save
// and snapshot folders with their file counters. Its controls mirror the
// settings model, which stays the one source of truth.
#pragma once

#include <functional>
#include <string>

#include "components/active_label_win.h"
#include "settings/settings.h"
#include "ui/container_win.h"

namespace qv {

class OptionsPanel : public Panel {
public:
    // Places the panel's controls; they show and edit settings, once
    // showSettings has filled them.
    void build(Settings& settings);
    // Shows the model's values in the controls (after a load).
    void showSettings();

    void LinearOrBanked(HWND clicked);
    void ExecCaption();

    // The click on the snapshot folder label (it opens the snapshot viewer).
    std::function<void()> onSnapshotFolderClick;
    // The clicks on the "..." buttons beside the save and snapshot folders.
    std::function<void()> onBrowseSaveFolder;
    std::function<void()> onBrowseSnapshotFolder;

    TOstrelActiveLabel* L_SF = nullptr;
    Label* L_SFF = nullptr;
    TOstrelActiveLabel* L_PF = nullptr;
    Label* L_PFF = nullptr;
    HWND B_2 = nullptr;
    HWND B_3 = nullptr;
    HWND CB_RES = nullptr;
    HWND CB_FS = nullptr;
    HWND CB_vsync = nullptr;
    HWND CB_intensity = nullptr;
    HWND CB_novesa = nullptr;
    HWND CB_linear = nullptr;
    HWND CB_banked = nullptr;
    HWND CB_exclusive = nullptr;
    HWND CB_altkey = nullptr;
    HWND CB_FPUcopy = nullptr;
    HWND CB_MMXcopy = nullptr;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void onCommand(HWND control, WORD code);
    bool* flagOf(HWND control);

    Settings* settings_ = nullptr;
};

}  // namespace qv
