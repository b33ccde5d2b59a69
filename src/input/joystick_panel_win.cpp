// The joystick panel.
#include "input/joystick_panel_win.h"

#include <algorithm>
#include <string>

#include "input/input_clash.h"
#include "input/panel_label_win.h"
#include "input/stick_source_win.h"
#include "product/panel_layout.h"
#include "ui/graphics_win.h"
#include "ui/standard_controls_win.h"
#include "util/text.h"

namespace qv {
namespace {

constexpr const char* kMapFieldNames[kMapSlots] = {"E_JA", "E_JB", "E_JC", "E_JD",
                                                   "E_JE", "E_JF", "E_JS", "E_JM"};
constexpr COLORREF kValuesColour = RGB(0, 255, 255);
constexpr COLORREF kPromptColour = RGB(255, 255, 0);

// Readings come about every 10 ms while a map field has the focus and while
// a calibration runs; between them the window handles its messages.
constexpr UINT_PTR kCaptureTimer = 1;
constexpr UINT_PTR kCalibrationTimer = 2;
constexpr UINT kPollMs = 10;
constexpr UINT_PTR kLiveTimer = 3;
constexpr UINT kLiveMs = 100;

constexpr char kTopLeftPrompt[] = "Top-Left Joystick\r\nPress Button 1 when done";
constexpr char kBottomRightPrompt[] = "Right-Bottom Joystick\r\nPress Button 2 when done";

}  // namespace

void JoystickPanel::build(Settings& settings) {
    settings_ = &settings;
    if (!stick) stick = std::make_unique<SystemStickSource>();
    const ControlPlace joys = PlaceOf("CB_JOYS");
    CB_JOYS = CreateOwnerDrawList(hwnd(), joys.left, joys.top, joys.width, joys.height);
    std::vector<std::string> items;
    for (const JoystickDevice& device : JoystickDevices)
        items.emplace_back(device.item);
    SetListItems(CB_JOYS, items);
    SetListIndex(CB_JOYS, 0);
    for (int slot = 1; slot <= kMapSlots; ++slot) {
        const ControlPlace at = PlaceOf(kMapFieldNames[slot - 1]);
        mapFields[slot - 1] =
            CreateSpinField(hwnd(), at.left, at.top, at.width, at.height, kNoButton, 3);
    }
    const ControlPlace ajr = PlaceOf("SE_AJR");
    SE_AJR = CreateSpinField(hwnd(), ajr.left, ajr.top, ajr.width, ajr.height,
                             kMaxJoystickResolution, 5);
    const ControlPlace calib = PlaceOf("B_CALIB");
    B_CALIB =
        CreatePushButton(hwnd(), "&CALIBRATE", calib.left, calib.top, calib.width, calib.height, 0);
    L_JV = &AddPanelLabel(*this, "L_JV", kValuesColour);
    L_JV->setCentred(true);
    L_CA = &AddPanelLabel(*this, "L_CA", kPromptColour);
    L_CA->setFont(UiFont(11));  // the prompts' longer lines fit in regular weight
    L_CA->setCentred(true);
    L_CA->setWordWrap(true);
    L_JW = &AddClashLine(*this, "L_JW");
    L_JS = &AddPanelLabel(*this, "L_JS", kValuesColour);
    const ControlPlace view = PlaceOf("Img_Stick");
    stickView = &add<StickView>(view.left, view.top, view.width, view.height);
    stickView->setVisible(false);
}

void JoystickPanel::showSettings() {
    SetWindowTextA(SE_AJR, IntText(settings_->SE_AJR).c_str());
    SetJotOps();
}

void JoystickPanel::SetJotOps() {
    const JoystickDevice& device = selectedDevice();
    activeJoystick_ = device.joystick;
    L_JV->setCaption(device.calibration ? settings_->*device.calibration : "");
    buttonLimit_ = device.buttonLimit;
    const MapValues values = MapFields(settings_->*device.buttonMap);
    // The marks once, when all eight fields hold the map: each field's own
    // change would read all eight again, each read a round trip under Wine
    // (the arrows' subclass of the field keeps its data in a window property).
    fillingMap_ = true;
    for (int slot = 1; slot <= kMapSlots; ++slot)
        SetWindowTextA(mapFields[slot - 1], IntText(values[slot - 1]).c_str());
    fillingMap_ = false;
    ShowClashes();
    updateLiveView();
}

void JoystickPanel::setWindowState(bool active, bool busy, bool inFront) {
    windowActive_ = active;
    windowBusy_ = busy;
    inFront_ = inFront;
    updateLiveView();
}

StickUse JoystickPanel::stickUse() const {
    StickUse use;
    use.windowActive = windowActive_;
    use.busy = windowBusy_;
    use.calibrating = calibrating();
    use.capturing = capturing();
    use.panelInFront = inFront_;
    use.panelJoystick = activeJoystick_;
    return use;
}

void JoystickPanel::updateLiveView() {
    const bool wanted = StickReaderOf(stickUse()) == StickReader::kLiveView;
    if (wanted == live_) return;
    live_ = wanted;
    if (wanted) {
        SetTimer(hwnd(), kLiveTimer, kLiveMs, nullptr);
        liveTick();
    } else {
        KillTimer(hwnd(), kLiveTimer);
        L_JS->setCaption("");
    }
    stickView->setVisible(wanted);
}

void JoystickPanel::liveTick() {
    const std::optional<StickReading> reading = stick->query(activeJoystick_);
    stickView->show(reading, buttonLimit_);
    L_JS->setCaption(reading ? IntText(ScaleAxis(reading->x, settings_->SE_AJR)) + "," +
                                   IntText(ScaleAxis(reading->y, settings_->SE_AJR))
                             : "");
}

void JoystickPanel::ShowClashes(HWND changedField) {
    // The map as stored, but for the field being changed, which the map takes
    // only when the field is left.
    MapValues values = MapFields(settings_->*selectedDevice().buttonMap);
    if (const int slot = mapSlotOf(changedField))
        values[slot - 1] = TextInt(WindowText(changedField));
    const std::vector<MappedInput> inputs = MapInputs(values, buttonLimit_);
    const auto clashes = FindClashes(inputs, false);
    std::string line;
    for (int slot = 1; slot <= kMapSlots; ++slot) {
        const bool marked = clashes[slot - 1].has_value();
        if (marked != marked_[slot - 1]) InvalidateRect(mapFields[slot - 1], nullptr, TRUE);
        marked_[slot - 1] = marked;
        if (marked && (line.empty() || mapFields[slot - 1] == changedField))
            line = ButtonClashLine(values[slot - 1], inputs[*clashes[slot - 1]]);
    }
    L_JW->setCaption(line);
}

void JoystickPanel::SetJBut() {
    HWND field = GetFocus();
    if (!isMapField(field)) {
        KillTimer(hwnd(), kCaptureTimer);  // the focus left the map: capture ends
        return;
    }
    if (const std::optional<int> button = CapturedButton(stick->read(activeJoystick_).buttons))
        SetWindowTextA(field, IntText(*button).c_str());
}

void JoystickPanel::SetButtons(HWND field) {
    const int slot = mapSlotOf(field);
    if (!slot) return;
    std::string& map = settings_->*selectedDevice().buttonMap;
    MapValues values = MapFields(map);
    values[slot - 1] = AcceptButton(TextInt(WindowText(field)), buttonLimit_);
    map = MapText(values);
    SetWindowTextA(field, IntText(values[slot - 1]).c_str());
}

void JoystickPanel::CalibProc() {
    if (calibration_) return;  // one calibration at a time
    calibration_.emplace(settings_->SE_AJR);
    updateLiveView();  // the calibration shows the stick itself
    L_CA->setCaption(kTopLeftPrompt);
    SetTimer(hwnd(), kCalibrationTimer, kPollMs, nullptr);
}

void JoystickPanel::calibrationTick() {
    if (!calibration_) return;
    Calibration& calibration = *calibration_;
    calibration.take(stick->read(activeJoystick_), stick->escapeHeld());
    if (!calibration.position().empty()) L_JV->setCaption(calibration.position());
    switch (calibration.phase()) {
    case Calibration::Phase::TopLeft:
        return;
    case Calibration::Phase::BottomRight:
        if (L_CA->caption() != kBottomRightPrompt) L_CA->setCaption(kBottomRightPrompt);
        return;
    case Calibration::Phase::Calibrated:
        // Only a device with an analog joystick gives the readings that end here.
        if (const JoystickDevice& device = selectedDevice(); device.calibration)
            settings_->*device.calibration = calibration.thresholds();
        L_CA->setCaption("JoyStick Calibred");
        break;
    case Calibration::Phase::NotCalibrated:
        L_CA->setCaption("JoyStick NOT Calibred");
        break;
    }
    KillTimer(hwnd(), kCalibrationTimer);
    calibration_.reset();
    updateLiveView();
}

const JoystickDevice& JoystickPanel::selectedDevice() const {
    return JoystickDevices[static_cast<std::size_t>(shownDevice_)];
}

int JoystickPanel::mapSlotOf(HWND window) const {
    const auto field = std::find(mapFields.begin(), mapFields.end(), window);
    return window && field != mapFields.end() ? static_cast<int>(field - mapFields.begin()) + 1 : 0;
}

bool JoystickPanel::isMapField(HWND window) const { return mapSlotOf(window) != 0; }

void JoystickPanel::onCommand(HWND control, WORD code) {
    if (control == CB_JOYS && code == CBN_SELCHANGE) {
        const int index = ListIndex(CB_JOYS);
        if (index >= 0 && index < kJoystickDeviceCount) shownDevice_ = index;
        SetJotOps();
    }
    if (control == B_CALIB && code == BN_CLICKED) CalibProc();
    if (isMapField(control) && code == EN_SETFOCUS) {
        SetTimer(hwnd(), kCaptureTimer, kPollMs, nullptr);
        updateLiveView();
    }
    if (isMapField(control) && code == EN_KILLFOCUS) {
        SetButtons(control);
        updateLiveView();
    }
    if (isMapField(control) && code == EN_CHANGE && !fillingMap_) ShowClashes(control);
    if (control == SE_AJR && code == EN_CHANGE)
        settings_->SE_AJR = std::clamp(TextInt(WindowText(SE_AJR)), 0, kMaxJoystickResolution);
    if (control == SE_AJR && code == EN_KILLFOCUS)
        SetWindowTextA(SE_AJR, IntText(settings_->SE_AJR).c_str());
}

LRESULT JoystickPanel::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        onCommand(reinterpret_cast<HWND>(lp), HIWORD(wp));
        return 0;
    case WM_DRAWITEM:
        DrawListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_CTLCOLOREDIT: {
        // A map field on amber while another input holds the same button.
        const int slot = mapSlotOf(reinterpret_cast<HWND>(lp));
        if (!slot || !marked_[static_cast<std::size_t>(slot - 1)]) break;
        SetBkColor(reinterpret_cast<HDC>(wp), kClashColour);
        return reinterpret_cast<LRESULT>(ClashBrush());
    }
    case WM_TIMER:
        if (wp == kCaptureTimer) SetJBut();
        if (wp == kCalibrationTimer) calibrationTick();
        if (wp == kLiveTimer) liveTick();
        return 0;
    case WM_DESTROY:
        // A calibration under way ends with its window, storing nothing.
        KillTimer(hwnd(), kCaptureTimer);
        KillTimer(hwnd(), kCalibrationTimer);
        calibration_.reset();
        break;
    }
    return Panel::handleMessage(msg, wp, lp);
}

}  // namespace qv
