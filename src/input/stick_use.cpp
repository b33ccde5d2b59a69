// Which part of the main window reads the stick.
#include "input/stick_use.h"

namespace qv {

StickReader StickReaderOf(const StickUse& use) {
    if (!use.windowActive || use.busy || use.calibrating || use.capturing)
        return StickReader::kNone;
    if (use.panelInFront && use.panelJoystick != 0) return StickReader::kLiveView;
    if (use.listWanted && use.listJoystick != 0) return StickReader::kList;
    return StickReader::kNone;
}

}  // namespace qv
