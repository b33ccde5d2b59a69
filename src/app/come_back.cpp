// Coming back to the front after a game.
#include "app/come_back.h"

namespace qv {

void ComeBack::gameEnded(std::int64_t now) {
    pending_ = true;
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
        if (heldSince_ < 0) heldSince_ = now;
        if (now - heldSince_ >= kSettleMs) pending_ = false;
        return Step::kKeepFocus;
    case Front::kNone:
        heldSince_ = -1;
        return Step::kTakeFront;
    case Front::kOther:
        heldSince_ = -1;
        return Step::kNothing;
    }
    return Step::kNothing;
}

}  // namespace qv
