// Test card drawing and the stand-in's window.
#include "card_win.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "util/handles_win.h"

namespace ravlen {
namespace {

// Palette: black, the seven bar colours, then sixteen greys.
constexpr COLORREF kBars[] = {RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255),
                              RGB(0, 255, 0),     RGB(255, 0, 255), RGB(255, 0, 0),
                              RGB(0, 0, 255)};
constexpr int kFirstGrey = 8;
constexpr int kGreys = 16;

struct Dib256 {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

Palette CardPalette() {
    Palette p{};
    for (int i = 0; i < 7; ++i) {
        p[3 * (i + 1)] = GetRValue(kBars[i]);
        p[3 * (i + 1) + 1] = GetGValue(kBars[i]);
        p[3 * (i + 1) + 2] = GetBValue(kBars[i]);
    }
    for (int g = 0; g < kGreys; ++g)
        for (int c = 0; c < 3; ++c)
            p[3 * (kFirstGrey + g) + c] = static_cast<std::uint8_t>(g * 17);
    return p;
}

Dib256 DibHeader(int width, int height, const Palette& palette) {
    Dib256 info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;  // rows top first
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i)
        info.colours[i] = RGBQUAD{palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0};
    return info;
}

qv::OwnedFont CardFont(int height, int weight) {
    return qv::OwnedFont(CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
}

void CentredText(HDC dc, const std::string& text, RECT area) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// State of the one window the stand-in shows.
struct RunWindow {
    const Card* card;
    const std::vector<std::string>* lines;
    Dib256 dib;
};
RunWindow* g_window = nullptr;

constexpr int kLineHeight = 16;
constexpr int kMargin = 8;

void PaintRunWindow(HWND hwnd) {
    qv::PaintScope paint(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(paint.dc(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    int top = kMargin;
    if (const Card* card = g_window->card) {
        SetDIBitsToDevice(paint.dc(), (client.right - card->width) / 2, top, card->width,
                          card->height, 0, 0, 0, card->height, card->pixels.data(),
                          reinterpret_cast<const BITMAPINFO*>(&g_window->dib), DIB_RGB_COLORS);
        top += card->height + kMargin;
    }
    qv::SelectScope font(paint.dc(), GetStockObject(ANSI_FIXED_FONT));
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), g_window->card ? RGB(128, 255, 128) : RGB(255, 96, 96));
    for (const std::string& line : *g_window->lines) {
        TextOutA(paint.dc(), kMargin, top, line.c_str(), static_cast<int>(line.size()));
        top += kLineHeight;
    }
}

LRESULT CALLBACK RunWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintRunWindow(hwnd);
        return 0;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

Card DrawTestCard(int width, int height, const std::string& title, const std::string& gameId) {
    Card card;
    card.width = width;
    card.height = height;
    card.palette = CardPalette();
    Dib256 info = DibHeader(width, height, card.palette);

    void* bits = nullptr;
    qv::OwnedBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                            DIB_RGB_COLORS, &bits, nullptr, 0));
    qv::OwnedDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) return card;
    {
        qv::SelectScope selected(dc.get(), bitmap.get());
        const int barsBottom = height * 3 / 5;
        for (int i = 0; i < 7; ++i) {
            RECT bar{width * i / 7, 0, width * (i + 1) / 7, barsBottom};
            qv::OwnedBrush brush(CreateSolidBrush(kBars[i]));
            FillRect(dc.get(), &bar, brush.get());
        }
        const int rampTop = height * 9 / 10;
        for (int g = 0; g < kGreys; ++g) {
            RECT step{width * g / kGreys, rampTop, width * (g + 1) / kGreys, height};
            qv::OwnedBrush brush(CreateSolidBrush(RGB(g * 17, g * 17, g * 17)));
            FillRect(dc.get(), &step, brush.get());
        }
        SetBkMode(dc.get(), TRANSPARENT);
        SetTextColor(dc.get(), RGB(255, 255, 255));
        const int band = rampTop - barsBottom;
        qv::OwnedFont big = CardFont(band * 2 / 5, FW_BOLD);
        qv::OwnedFont small = CardFont(band / 4, FW_NORMAL);
        {
            qv::SelectScope font(dc.get(), big.get());
            CentredText(dc.get(), title, RECT{0, barsBottom, width, barsBottom + band * 3 / 5});
        }
        qv::SelectScope font(dc.get(), small.get());
        CentredText(dc.get(), "RAVLEN STAND-IN  -  " + gameId,
                    RECT{0, barsBottom + band / 2, width, rampTop});
        GdiFlush();
    }
    const int stride = (width + 3) & ~3;
    card.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(card.pixels.data() + static_cast<std::size_t>(y) * width,
                    static_cast<const std::uint8_t*>(bits) + static_cast<std::size_t>(y) * stride,
                    width);
    return card;
}

void ShowRunWindow(const std::string& caption, const Card* card,
                   const std::vector<std::string>& lines, unsigned milliseconds) {
    RunWindow state{card, &lines,
                    card ? DibHeader(card->width, card->height, card->palette) : Dib256{}};
    g_window = &state;

    WNDCLASSA wc{};
    wc.lpfnWndProc = RunWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "RavlenStandIn";
    RegisterClassA(&wc);

    int width = 480;
    for (const std::string& line : lines)
        width = std::max(width, static_cast<int>(line.size()) * 8 + 2 * kMargin);
    if (card) width = std::max(width, card->width + 2 * kMargin);
    const int height = (card ? card->height + kMargin : 0) +
                       static_cast<int>(lines.size()) * kLineHeight + 2 * kMargin;
    RECT frame{0, 0, std::min(width, 1000), height};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRect(&frame, style, FALSE);
    HWND hwnd = CreateWindowA("RavlenStandIn", caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              wc.hInstance, nullptr);
    if (hwnd) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd);
        SetTimer(hwnd, 1, milliseconds, nullptr);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    g_window = nullptr;
}

}  // namespace ravlen
