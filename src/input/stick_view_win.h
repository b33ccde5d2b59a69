// The joystick panel's live view of the stick: a small square in which a dot
// stands where the stick is, and under it one lamp per button of the device,
// lit while the button is held.
#pragma once

#include <optional>

#include "input/joystick.h"
#include "ui/controls_win.h"

namespace qv {

class StickView : public GraphicControl {
public:
    using GraphicControl::GraphicControl;

    // Shows a reading of a device with buttonCount buttons; nothing shows an
    // empty square (no reading, or a failed one).
    void show(const std::optional<StickReading>& reading, int buttonCount);
    const std::optional<StickReading>& reading() const { return reading_; }

    void paint(HDC dc) const override;

private:
    std::optional<StickReading> reading_;
    int buttonCount_ = 0;
};

}  // namespace qv
