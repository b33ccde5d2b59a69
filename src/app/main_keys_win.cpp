// The main window's keyboard.
#include "app/main_keys_win.h"

#include <memory>

#include "ui/focus_walk.h"

namespace qv {
namespace {

bool IsKeyFor(const MSG& msg, HWND root) {
    return msg.message == WM_KEYDOWN && msg.hwnd && (msg.hwnd == root || IsChild(root, msg.hwnd));
}

std::optional<ListKey> ListKeyOf(WPARAM key) {
    switch (key) {
    case VK_UP: return ListKey::Up;
    case VK_DOWN: return ListKey::Down;
    case VK_PRIOR: return ListKey::PageUp;
    case VK_NEXT: return ListKey::PageDown;
    case VK_HOME: return ListKey::Home;
    case VK_END: return ListKey::End;
    default: return std::nullopt;
    }
}

bool IsRepeat(const MSG& msg) { return (msg.lParam & (1 << 30)) != 0; }

}  // namespace

bool MainKeys::take(const MSG& msg) {
    if (!IsKeyFor(msg, host_.keysWindow())) return false;
    HWND focus = GetFocus();
    const LRESULT wants = focus ? SendMessageA(focus, WM_GETDLGCODE, msg.wParam,
                                               reinterpret_cast<LPARAM>(&msg))
                                : 0;
    if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    if (msg.wParam == VK_TAB) {
        if (wants & DLGC_WANTTAB) return false;
        if (SendMessageA(focus, CB_GETDROPPEDSTATE, 0, 0) && (wants & DLGC_WANTARROWS)) return false;
        tab((GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return true;
    }
    GameButton* game = host_.gameList().focusedButton();
    if (game) {
        if (const std::optional<ListKey> key = ListKeyOf(msg.wParam)) return host_.gameList().moveFocus(*key);
    }
    if (msg.wParam == VK_RETURN) {
        // As a click: on a game button the first selects, a second launches.
        if (IsRepeat(msg)) return true;
        if (game) {
            game->command(BN_CLICKED);
            return true;
        }
        if (wants & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            SendMessageA(focus, BM_CLICK, 0, 0);
            return true;
        }
    }
    return false;
}

bool MainKeys::holdsFocus(const FocusStop& stop) const {
    HWND focus = GetFocus();
    if (stop.gameList) return host_.gameList().focusedButton() != nullptr;
    if (stop.picture) return focus == stop.surface->hwnd() && stop.surface->focusedPicture() == stop.picture;
    return focus == stop.window;
}

bool MainKeys::canTakeFocus(const FocusStop& stop) const {
    if (stop.gameList) return !host_.gameList().buttons().empty();
    HWND window = stop.picture ? stop.surface->hwnd() : stop.window;
    return IsWindowVisible(window) && IsWindowEnabled(window);
}

void MainKeys::enter(const FocusStop& stop) {
    if (stop.gameList) {
        host_.gameList().focusList();
    } else if (stop.picture) {
        stop.surface->focusPicture(stop.picture);
    } else {
        SetFocus(stop.window);
    }
}

void MainKeys::tab(bool backwards) {
    std::vector<FocusStop> ring = host_.focusStops();
    ring.push_back({.gameList = true});
    const auto usable = std::make_unique<bool[]>(ring.size());
    std::optional<std::size_t> current;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        usable[i] = canTakeFocus(ring[i]);
        if (!current && holdsFocus(ring[i])) current = i;
    }
    const std::optional<std::size_t> next =
        NextStop(std::span<const bool>(usable.get(), ring.size()), current, backwards);
    if (next) enter(ring[*next]);
}

}  // namespace qv
