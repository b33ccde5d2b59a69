// The keyboard panel.
#include "input/keyboard_panel_win.h"

#include <commctrl.h>

#include "input/input_clash.h"
#include "input/panel_label_win.h"
#include "product/panel_layout.h"
#include "ui/dpi_win.h"
#include "ui/standard_controls_win.h"
#include "util/on_demand_win.h"
#include "util/text.h"

namespace qv {
namespace {

constexpr const char* kLayoutItems[] = {"KEY1", "KEY2"};
constexpr const char* kKeyFieldNames[kKeySlots] = {
    "S_KUL", "S_KU", "S_KUR", "S_KL", "S_KR", "S_KDL", "S_KD", "S_KDR",
    "E_KA",  "E_Kb", "E_Kc",  "E_Kd", "E_Ke", "E_Kf",  "E_Ks", "E_Km"};
constexpr int kDownSlot = 7;  // S_KD, the one field the Tab key passes over

bool IsKeyDown(UINT msg) { return msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN; }

}  // namespace

void KeyboardPanel::build(Settings& settings) {
    settings_ = &settings;
    // Created in tab order: the selector, then the fields by slot.
    const ControlPlace keys = PlaceOf("CB_KEYS");
    CB_KEYS =
        CreateDropDownList(hwnd(), keys.left, keys.top, keys.width, keys.height, kLayoutItems, 2);
    SetListIndex(CB_KEYS, 0);
    for (int slot = 1; slot <= kKeySlots; ++slot) {
        const ControlPlace at = PlaceOf(kKeyFieldNames[slot - 1]);
        const DWORD tabStop = slot == kDownSlot ? 0 : WS_TABSTOP;
        const RECT place = ScaledRect(at.left, at.top, at.width, at.height, dpi());
        HWND field = CreateWindowExA(
            0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY | ES_CENTER | tabStop,
            place.left, place.top, place.right - place.left, place.bottom - place.top, hwnd(),
            reinterpret_cast<HMENU>(INT_PTR(slot)), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(field, WM_SETFONT, SendMessageA(CB_KEYS, WM_GETFONT, 0, 0), FALSE);
        PlaceChild(field, RECT{at.left, at.top, at.left + at.width, at.top + at.height}, 11);
        // The field is the system's: subclassed, its own user data untouched.
        on_demand::SetWindowSubclass(field, &keyFieldProc, 0, reinterpret_cast<DWORD_PTR>(this));
        keyFields[slot - 1] = field;
    }
    L_KW = &AddClashLine(*this, "L_KW");
}

std::string& KeyboardPanel::layout() {
    return shownLayout_ == 1 ? settings_->Ks_Key2 : settings_->Ks_Key1;
}

void KeyboardPanel::SetKeyOps() {
    const KeyFields fields = LayoutFields(layout());
    for (int slot = 1; slot <= kKeySlots; ++slot)
        SetWindowTextA(keyFields[slot - 1], fields[slot - 1].c_str());
    ShowClashes();
}

void KeyboardPanel::SetKey(int slot, int scanCode) {
    KeyFields fields = LayoutFields(layout());
    fields[slot - 1] = IntText(scanCode);
    layout() = LayoutText(fields);
    SetWindowTextA(keyFields[slot - 1], fields[slot - 1].c_str());
    ShowClashes(slot);
    // On to the next slot, S_KD included; the last slot keeps the focus.
    if (slot < kKeySlots) SetFocus(keyFields[slot]);
}

void KeyboardPanel::ShowClashes(int recordedSlot) {
    const std::vector<MappedInput> inputs =
        LayoutInputs(LayoutFields(settings_->Ks_Key1), LayoutFields(settings_->Ks_Key2));
    const int devices[] = {settings_->CB_P1D, settings_->cb_p2d, settings_->cb_p3d};
    const auto clashes = FindClashes(inputs, BothLayoutsInUse(devices));
    std::string line;
    for (int slot = 1; slot <= kKeySlots; ++slot) {
        const std::size_t at = static_cast<std::size_t>(shownLayout_ * kKeySlots + slot - 1);
        const bool marked = clashes[at].has_value();
        if (marked != marked_[slot - 1]) InvalidateRect(keyFields[slot - 1], nullptr, TRUE);
        marked_[slot - 1] = marked;
        if (marked && (line.empty() || slot == recordedSlot))
            line = KeyClashLine(*inputs[at].code, inputs[*clashes[at]]);
    }
    L_KW->setCaption(line);
}

LRESULT CALLBACK KeyboardPanel::keyFieldProc(HWND field, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR panel) {
    auto* self = reinterpret_cast<KeyboardPanel*>(panel);
    switch (msg) {
    case WM_GETDLGCODE:
        // Every key but Tab reaches the field, Esc and Enter included, instead
        // of being taken by the dialog keys of the window.
        if (lp != 0) {
            const MSG& key = *reinterpret_cast<const MSG*>(lp);
            if (IsKeyDown(key.message) && key.wParam != VK_TAB) return DLGC_WANTALLKEYS;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        self->SetKey(GetDlgCtrlID(field), ScanCodeOf(static_cast<std::uint32_t>(lp)));
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_SYSKEYUP:
        return 0;  // the key was recorded: no beep, and Alt opens no menu
    case WM_NCDESTROY:
        on_demand::RemoveWindowSubclass(field, &keyFieldProc, 0);
        break;
    }
    return on_demand::DefSubclassProc(field, msg, wp, lp);
}

LRESULT KeyboardPanel::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == CBN_SELCHANGE && reinterpret_cast<HWND>(lp) == CB_KEYS) {
            shownLayout_ = ListIndex(CB_KEYS) == 1 ? 1 : 0;
            SetKeyOps();
        }
        return 0;
    case WM_CTLCOLORSTATIC: {
        // Read-only fields still read as fields: black on white, or on amber
        // while another field holds the same key.
        const int slot = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
        const bool marked = slot >= 1 && slot <= kKeySlots && marked_[slot - 1];
        SetBkColor(reinterpret_cast<HDC>(wp), marked ? kClashColour : GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(marked ? ClashBrush() : GetSysColorBrush(COLOR_WINDOW));
    }
    }
    return Panel::handleMessage(msg, wp, lp);
}

}  // namespace qv
