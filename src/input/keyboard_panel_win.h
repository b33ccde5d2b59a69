// The keyboard panel: the sixteen keys of layout KEY1 or KEY2, each recorded
// by pressing the key in its field.
#pragma once

#include <array>

#include "input/key_layout.h"
#include "settings/settings.h"
#include "ui/container_win.h"

namespace qv {

class KeyboardPanel : public Panel {
public:
    // Places the layout selector (at KEY1) and the sixteen key fields, empty
    // until showSettings fills them.
    void build(Settings& settings);
    // Shows the chosen layout from the model (after a load).
    void showSettings() { SetKeyOps(); }

    // Puts the chosen layout's sixteen codes into the fields.
    void SetKeyOps();
    // Records the key of a key message that reached the field of slot
    // (1 to 16), then moves the focus on to the next slot.
    void SetKey(int slot, int scanCode);
    // Marks the fields whose key another field holds, in this layout or, while
    // players use both layouts, in the other, and names in L_KW the other
    // field of the slot recorded last (0: of the first marked field).
    void ShowClashes(int recordedSlot = 0);
    bool clashMarked(int slot) const { return marked_[slot - 1]; }

    HWND CB_KEYS = nullptr;
    Label* L_KW = nullptr;  // the clash line
    // The key fields in slot order: S_KUL S_KU S_KUR S_KL S_KR S_KDL S_KD
    // S_KDR, E_KA E_Kb E_Kc, E_Kd E_Ke E_Kf, E_Ks E_Km.
    std::array<HWND, kKeySlots> keyFields{};

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::string& layout();  // the text of the layout shown
    static LRESULT CALLBACK keyFieldProc(HWND field, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                         DWORD_PTR panel);

    Settings* settings_ = nullptr;
    int shownLayout_ = 0;  // 0: KEY1, 1: KEY2, as CB_KEYS was last chosen
    std::array<bool, kKeySlots> marked_{};
};

}  // namespace qv
