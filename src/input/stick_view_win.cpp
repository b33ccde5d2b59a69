// The joystick panel's live view of the stick.
#include "input/stick_view_win.h"

#include <algorithm>

#include "ui/dpi_scale.h"
#include "util/handles_win.h"

namespace qv {
namespace {

constexpr COLORREF kWell = RGB(12, 13, 16);
constexpr COLORREF kEdge = RGB(90, 96, 108);
constexpr COLORREF kCross = RGB(48, 52, 62);
constexpr COLORREF kLit = RGB(255, 186, 72);
constexpr COLORREF kUnlit = RGB(56, 58, 64);
constexpr int kLampHeight = 6;
constexpr int kLampGap = 1;

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    OwnedBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

}  // namespace

void StickView::show(const std::optional<StickReading>& reading, int buttonCount) {
    const bool same = reading_.has_value() == reading.has_value() && buttonCount == buttonCount_ &&
                      (!reading || (reading->x == reading_->x && reading->y == reading_->y &&
                                    reading->buttons == reading_->buttons));
    reading_ = reading;
    buttonCount_ = buttonCount;
    if (!same) invalidate();
}

void StickView::paint(HDC dc) const {
    const RECT& b = bounds();
    // Lines, dot and lamps in pixels of the 96-DPI design, scaled.
    const int at = dpi();
    const int line = ScaleLength(1, at), dot = ScaleLength(4, at);
    const int lampHeight = ScaleLength(kLampHeight, at), lampGap = ScaleLength(kLampGap, at);
    const int side = std::min(width(), height() - lampHeight - ScaleLength(2, at));
    const RECT square{b.left, b.top, b.left + side, b.top + side};
    Fill(dc, square, kEdge);
    const RECT well{square.left + line, square.top + line, square.right - line,
                    square.bottom - line};
    Fill(dc, well, kWell);
    const int midX = (well.left + well.right) / 2, midY = (well.top + well.bottom) / 2;
    Fill(dc, RECT{well.left, midY, well.right, midY + line}, kCross);
    Fill(dc, RECT{midX, well.top, midX + line, well.bottom}, kCross);
    if (reading_) {
        // The raw position over the square; the panel shows it in numbers, scaled.
        const int room = well.right - well.left - dot;
        const int x =
            well.left + static_cast<int>(reading_->x * static_cast<long long>(room) / 65535);
        const int y =
            well.top + static_cast<int>(reading_->y * static_cast<long long>(room) / 65535);
        Fill(dc, RECT{x, y, x + dot, y + dot}, kLit);
    }
    // The lamps share the square's width.
    if (buttonCount_ <= 0) return;
    const int lampWidth = std::max(1, (side + lampGap) / buttonCount_ - lampGap);
    const int top = b.bottom - lampHeight;
    for (int button = 0; button < buttonCount_; ++button) {
        const int left = b.left + button * (lampWidth + lampGap);
        const bool held = reading_ && (reading_->buttons & (1u << button));
        Fill(dc, RECT{left, top, left + lampWidth, b.bottom}, held ? kLit : kUnlit);
    }
}

}  // namespace qv
