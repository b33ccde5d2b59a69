// The main window's keyboard.
#include "app/main_keys_win.h"

#include <memory>

#include "app/main_window_win.h"
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
    if (!IsKeyFor(msg, main_.hwnd())) return false;
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
    GameButton* game = main_.games.focusedButton();
    if (game) {
        if (const std::optional<ListKey> key = ListKeyOf(msg.wParam)) return main_.games.moveFocus(*key);
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

std::vector<MainKeys::Stop> MainKeys::stops() const {
    TF_Main& m = main_;
    std::vector<Stop> result{{.window = m.B_1}};
    for (Image* picture : {m.Img_Exit, m.Img_PA, m.Img_PP, m.Img_PK, m.Img_PJ, m.Img_PI})
        result.push_back({.surface = &m, .picture = picture});
    Panel& front = m.frontPanel();
    for (HWND child = GetWindow(front.hwnd(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) result.push_back({.window = child});
    }
    if (&front == &m.PI) {
        for (Image* link : {m.PI.Img_Ostrel, m.PI.Img_Tev, m.PI.Img_Int})
            result.push_back({.surface = &m.PI, .picture = link});
    }
    result.push_back({.window = m.B_R});
    result.push_back({.gameList = true});
    return result;
}

bool MainKeys::holdsFocus(const Stop& stop) const {
    HWND focus = GetFocus();
    if (stop.gameList) return main_.games.focusedButton() != nullptr;
    if (stop.picture) return focus == stop.surface->hwnd() && stop.surface->focusedPicture() == stop.picture;
    return focus == stop.window;
}

bool MainKeys::canTakeFocus(const Stop& stop) const {
    if (stop.gameList) return !main_.games.buttons().empty();
    HWND window = stop.picture ? stop.surface->hwnd() : stop.window;
    return IsWindowVisible(window) && IsWindowEnabled(window);
}

void MainKeys::enter(const Stop& stop) {
    if (stop.gameList) {
        main_.games.focusList();
    } else if (stop.picture) {
        stop.surface->focusPicture(stop.picture);
    } else {
        SetFocus(stop.window);
    }
}

void MainKeys::tab(bool backwards) {
    const std::vector<Stop> ring = stops();
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
