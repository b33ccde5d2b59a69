// The viewer's window: the control, its keys, and the state in the title.
#include "gifview_window_win.h"

#include <algorithm>
#include <cstdio>

namespace qv {

bool GifViewWindow::create(const std::string& file) {
    if (!createWindow({.className = "QuarvelGifView",
                       .text = "GIF view",
                       .style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                       .left = 40,
                       .top = 40,
                       .width = 480,
                       .height = 360})) {
        return false;
    }
    setColor(RGB(96, 104, 112));
    RECT client{};
    GetClientRect(hwnd(), &client);
    image_ = &add<TGIFImage>(0, 0, 0, 0);
    image_->setPixelBounds(0, 0, client.right, client.bottom);
    image_->OnChange = [this](TGIFImage&) { showState(); };
    const size_t slash = file.find_last_of("\\/");
    name_ = slash == std::string::npos ? file : file.substr(slash + 1);
    image_->setAnimate(true);
    image_->setFileName(file);
    showState();
    return true;
}

void GifViewWindow::onKey(WPARAM key) {
    TGIFImage& g = *image_;
    switch (key) {
    case 'A':
        g.setAnimate(!g.animate());
        break;
    case 'S':
        g.setStretch(!g.stretch());
        break;
    case 'T':
        g.setTile(!g.tile());
        break;
    case 'C':
        g.setCenter(!g.center());
        break;
    case 'L':
        g.setLoop(!g.loop());
        break;
    case VK_ADD:
    case VK_OEM_PLUS:
        g.setSpeed(g.speed() * 2);
        break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        g.setSpeed(g.speed() / 2);
        break;
    case VK_RIGHT:
        g.setCurrentFrame(g.currentFrame() % std::max(1, g.frameCount()) + 1);
        break;
    case VK_LEFT:
        g.setCurrentFrame(g.currentFrame() > 1 ? g.currentFrame() - 1 : g.frameCount());
        break;
    case VK_ESCAPE:
        DestroyWindow(hwnd());
        return;
    default:
        return;
    }
    showState();
}

// The title tells the state, so that people and tests can read it.
void GifViewWindow::showState() {
    const TGIFImage& g = *image_;
    char title[512];
    std::snprintf(title, sizeof title, "GIF view - %s - frame %d/%d - speed %d%% -%s%s%s%s%s",
                  g.frameCount() ? name_.c_str() : "no picture", g.animation().shownFrame(),
                  g.frameCount(), g.speed(), g.animate() ? " animate" : "", g.loop() ? " loop" : "",
                  g.stretch() ? " stretch" : "", g.tile() ? " tile" : "",
                  g.center() ? " centre" : "");
    SetWindowTextA(hwnd(), title);
}

LRESULT GifViewWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_KEYDOWN:
        onKey(wp);
        return 0;
    case WM_SIZE:
        if (image_) image_->setPixelBounds(0, 0, LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return Container::handleMessage(msg, wp, lp);
    }
}

}  // namespace qv
