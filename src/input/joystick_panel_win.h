// The joystick panel: each joystick kind's button map, the analog
// resolution and the calibration of analog joysticks 1 and 2.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "input/joystick.h"
#include "input/stick_use.h"
#include "input/stick_view_win.h"
#include "settings/settings.h"
#include "ui/container_win.h"

namespace qv {

class JoystickPanel : public Panel {
public:
    // Places the controls; the device selector starts at JOY1. They show the
    // model's values once showSettings fills them.
    void build(Settings& settings);
    // Shows the model's values (after a load).
    void showSettings();

    // Shows the selected device's map, joystick and calibration.
    void SetJotOps();
    // Fills the focused map field with the lowest joystick button held.
    void SetJBut();
    // A map field was left: a button the device lacks becomes 255, and the
    // device's map takes the field's button.
    void SetButtons(HWND field);
    // Starts a calibration of the active joystick (a click on B_CALIB).
    void CalibProc();
    // Marks the map fields whose button another input of the map holds and
    // names in L_JW the other input of the field changed last (null: of the
    // first marked field).
    void ShowClashes(HWND changedField = nullptr);
    bool clashMarked(int slot) const { return marked_[slot - 1]; }

    // Where the joystick and the Esc key are read; tests script a stick.
    std::unique_ptr<StickSource> stick;

    HWND CB_JOYS = nullptr;
    // The map fields in slot order: E_JA E_JB E_JC E_JD E_JE E_JF E_JS E_JM.
    std::array<HWND, kMapSlots> mapFields{};
    HWND SE_AJR = nullptr;
    HWND B_CALIB = nullptr;
    Label* L_JV = nullptr;
    Label* L_CA = nullptr;
    Label* L_JW = nullptr;  // the clash line
    Label* L_JS = nullptr;  // the live position, scaled by SE_AJR
    StickView* stickView = nullptr;

    int activeJoystick() const { return activeJoystick_; }
    bool calibrating() const { return calibration_.has_value(); }
    // A map field has the focus: the stick's buttons fill it.
    bool capturing() const { return isMapField(GetFocus()); }
    // The live view: while the main window is active and not busy, the panel
    // is in front, a device with an analog joystick is selected, and no
    // calibration or button capture reads the stick, its position and
    // buttons show ten times a second. The main window tells its part.
    void setWindowState(bool active, bool busy, bool inFront);
    bool showingStick() const { return live_; }
    // Who may read the stick, as far as this panel knows.
    StickUse stickUse() const;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void onCommand(HWND control, WORD code);
    void calibrationTick();
    void updateLiveView();
    void liveTick();
    bool isMapField(HWND window) const;
    int mapSlotOf(HWND window) const;  // 1 to 8; 0 for no map field
    // The device chosen in CB_JOYS.
    const JoystickDevice& selectedDevice() const;

    Settings* settings_ = nullptr;
    int shownDevice_ = 0;  // JOY1 until CB_JOYS is chosen
    int activeJoystick_ = 1;
    int buttonLimit_ = 2;
    std::optional<Calibration> calibration_;
    std::array<bool, kMapSlots> marked_{};
    bool windowActive_ = false;
    bool windowBusy_ = false;
    bool inFront_ = false;
    bool live_ = false;
    bool fillingMap_ = false;  // SetJotOps is filling the map fields
};

}  // namespace qv
