// The viewer's picture area.
#include "viewer/picture_box_win.h"

#include <algorithm>

#include "ui/dpi_scale.h"
#include "ui/graphics_win.h"

namespace qv {
namespace {
constexpr int kLineStep = 16;
}  // namespace

bool PictureBox::create(HWND parent, int left, int top, int width, int height) {
    return createWindow({.className = "QuarvelPictureBox",
                         .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                         .left = left,
                         .top = top,
                         .width = width,
                         .height = height,
                         .parent = parent});
}

SIZE PictureBox::pictureSize() const { return picture_ ? BitmapSize(picture_.get()) : SIZE{}; }

int PictureBox::zoom() const {
    RECT box{};
    GetWindowRect(hwnd(), &box);
    return PictureZoom(dpi(), ranges_.cx, ranges_.cy, box.right - box.left, box.bottom - box.top);
}

void PictureBox::dpiChanged(int dpi) {
    Window::dpiChanged(dpi);
    setRanges(ranges_.cx, ranges_.cy);
}

void PictureBox::setRanges(int horizontal, int vertical) {
    ranges_ = SIZE{horizontal, vertical};
    const int by = zoom();
    // Each bar takes room from the other's page; settle both twice.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client{};
        GetClientRect(hwnd(), &client);
        setRange(SB_HORZ, horizontal * by, client.right);
        setRange(SB_VERT, vertical * by, client.bottom);
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void PictureBox::setRange(int bar, int range, int page) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, range - 1);
    info.nPage = static_cast<UINT>(std::max(0, page));
    LONG& position = bar == SB_HORZ ? position_.x : position_.y;
    position = std::clamp<LONG>(position, 0, std::max(0, range - page));
    info.nPos = position;
    SetScrollInfo(hwnd(), bar, &info, TRUE);
    ShowScrollBar(hwnd(), bar, range > page);
}

void PictureBox::onScroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd(), bar, &info);
    int target = info.nPos;
    switch (request) {
    case SB_LINEUP:
        target -= kLineStep;
        break;
    case SB_LINEDOWN:
        target += kLineStep;
        break;
    case SB_PAGEUP:
        target -= static_cast<int>(info.nPage);
        break;
    case SB_PAGEDOWN:
        target += static_cast<int>(info.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        target = info.nTrackPos;
        break;
    default:
        return;
    }
    target = std::clamp(target, 0, std::max(0, info.nMax + 1 - static_cast<int>(info.nPage)));
    (bar == SB_HORZ ? position_.x : position_.y) = target;
    SetScrollPos(hwnd(), bar, target, TRUE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void PictureBox::onPaint() {
    PaintScope paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    OwnedDc buffer(CreateCompatibleDC(paint.dc()));
    OwnedBitmap surface(CreateCompatibleBitmap(paint.dc(), client.right, client.bottom));
    SelectScope selectSurface(buffer.get(), surface.get());
    FillRect(buffer.get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (picture_) {
        OwnedDc source(CreateCompatibleDC(paint.dc()));
        SelectScope selectPicture(source.get(), picture_.get());
        const SIZE size = pictureSize();
        if (const int by = zoom(); by > 1) {
            SetStretchBltMode(buffer.get(), COLORONCOLOR);
            StretchBlt(buffer.get(), -position_.x, -position_.y, size.cx * by, size.cy * by,
                       source.get(), 0, 0, size.cx, size.cy, SRCCOPY);
        } else {
            BitBlt(buffer.get(), -position_.x, -position_.y, size.cx, size.cy, source.get(), 0, 0,
                   SRCCOPY);
        }
    }
    BitBlt(paint.dc(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

LRESULT PictureBox::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_HSCROLL:
        onScroll(SB_HORZ, LOWORD(wp));
        return 0;
    case WM_VSCROLL:
        onScroll(SB_VERT, LOWORD(wp));
        return 0;
    }
    return Window::handleMessage(msg, wp, lp);
}

}  // namespace qv
