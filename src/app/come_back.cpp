// Coming back to the front after a game.
#include "app/come_back.h"

namespace qv {

void ComeBack::gameEnded(std::int64_t now) {
    pending_ = true;
    cameBack_ = false;
    endedAt_ = now;
    heldSince_ = -1;
}

ComeBack::Step ComeBack::tick(std::int64_t now, Front front) {
    if (!pending_) return Step::kNothing;
    if (now - endedAt_ >= kLimitMs) {
        pending_ = false;
        return Step::kNothing;
    }
    switch (front) {
    case Front::kThisWindow:
        cameBack_ = true;
        if (heldSince_ < 0) heldSince_ = now;
        if (now - heldSince_ >= kSettleMs) pending_ = false;
        return Step::kKeepFocus;
    case Front::kNone:
        heldSince_ = -1;
        return Step::kTakeFront;
    case Front::kOther:
        heldSince_ = -1;
        // Before the window came back this may be the game's console still;
        // after, the user chose that window.
        if (cameBack_) pending_ = false;
        return Step::kNothing;
    }
    return Step::kNothing;
}

}  // namespace qv
