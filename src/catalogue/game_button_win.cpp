// A game button.
#include "catalogue/game_button_win.h"

#include "catalogue/scan.h"
#include "ui/dpi_win.h"
#include "ui/graphics_win.h"
#include "util/picture_win.h"

namespace qv {
namespace {

constexpr COLORREF kCaptionColour = RGB(0, 0, 255);
constexpr int kGlyphSpacing = 4;

// Stamps a mark into the glyph (selected into glyphDc) with its bottom right
// corner at right, bottom; gives the mark's size.
SIZE StampMark(HDC glyphDc, OwnedBitmap mark, int right, int bottom) {
    const SIZE size = BitmapSize(mark.get());
    if (!mark) return size;
    OwnedDc markDc(CreateCompatibleDC(glyphDc));
    SelectScope select(markDc.get(), mark.get());
    BlitTransparent(markDc.get(), glyphDc, RECT{0, 0, size.cx - 1, size.cy - 1},
                    static_cast<COLORREF>(kMarkKeyColour), bottom - size.cy, right - size.cx);
    return size;
}

}  // namespace

OwnedBitmap MakeGameGlyph(const std::string& picture, bool japanese, bool zipped, bool twice) {
    // The marks are stamped on the drawing of the same size before any
    // scaling, so that their transparent key colour never blends into an edge.
    const auto load = twice ? LoadTwiceBitmapResource : LoadBitmapResource;
    OwnedBitmap glyph = load(picture);
    if (!glyph) return glyph;
    const SIZE size = BitmapSize(glyph.get());
    ScreenDc screen;
    OwnedDc glyphDc(CreateCompatibleDC(screen.get()));
    SelectScope select(glyphDc.get(), glyph.get());
    int flagHeight = 0;
    if (japanese) flagHeight = StampMark(glyphDc.get(), load(kJapanMark), size.cx, size.cy).cy;
    if (zipped) StampMark(glyphDc.get(), load(kZipMark), size.cx, size.cy - flagHeight);
    return glyph;
}

int GameButtonWidth(int boxWidth, int dpi) {
    return boxWidth - SystemMetricAt(SM_CXHSCROLL, dpi) - 2 * SystemMetricAt(SM_CXBORDER, dpi) -
           ScaleLength(2, dpi);
}

GameButton::GameButton(HWND box, int top, int scrolled, int width, const GameRecord& game,
                       RomStorage storage, int dpi)
    : game_(game),
      storage_(storage),
      hint_(GameButtonHint(game, storage)),
      caption_(game.title),
      dpi_(dpi) {
    if (!game.picture.empty()) {
        glyph_ = makeGlyph(false);
        height_ = kHeightWithPicture;
    }
    const RECT r = ScaledRect(0, top, 0, height_, dpi);
    hwnd_ = CreateWindowExA(0, "BUTTON", caption_.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0,
                            r.top - scrolled, width, r.bottom - r.top, box, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    attach(hwnd_);
}

OwnedBitmap GameButton::makeGlyph(bool twice) const {
    return MakeGameGlyph(std::string(game_.picture), IsJapanese(game_),
                         storage_ == RomStorage::kArchives, twice);
}

int GameButton::pixelHeight() const {
    RECT r{};
    if (hwnd_) GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}

void GameButton::place(int top, int scrolled, int width, int dpi) {
    if (dpi != dpi_) scaledGlyph_.reset();
    dpi_ = dpi;
    const RECT r = ScaledRect(0, top, 0, height_, dpi);
    SetWindowPos(hwnd_, nullptr, 0, r.top - scrolled, width, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

GameButton::~GameButton() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool GameButton::takeMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_SETCURSOR || !cursor_ || LOWORD(lp) != HTCLIENT) return false;
    SetCursor(cursor_);
    result = TRUE;
    return true;
}

void GameButton::command(WORD code) {
    if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && onClick) onClick(*this);
}

void GameButton::draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = item.itemState & ODS_SELECTED;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    // The picture above the caption, the pair centred in the button.
    HBITMAP shown = glyph_.get();
    if (glyph_ && dpi_ != kDesignDpi) {
        if (!scaledGlyph_) {
            const SIZE designSize = BitmapSize(glyph_.get());
            scaledGlyph_ = ScaledPicture(glyph_.get(), makeGlyph(true).get(),
                                         ScaleLength(designSize.cx, dpi_),
                                         ScaleLength(designSize.cy, dpi_));
        }
        shown = scaledGlyph_.get();
    }
    const SIZE glyph = BitmapSize(shown);
    SelectScope font(dc, UiFontAt(11, dpi_));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int spacing = glyph_ ? ScaleLength(kGlyphSpacing, dpi_) : 0;
    const int shift = pushed ? ScaleLength(1, dpi_) : 0;
    int top = (r.bottom - r.top - glyph.cy - spacing - metrics.tmHeight) / 2 + shift;
    if (glyph_) {
        OwnedDc source(CreateCompatibleDC(dc));
        SelectScope select(source.get(), shown);
        BitBlt(dc, (r.right - r.left - glyph.cx) / 2 + shift, top, glyph.cx, glyph.cy, source.get(),
               0, 0, SRCCOPY);
        top += glyph.cy + spacing;
    }
    RECT text{r.left + shift, top, r.right + shift, top + metrics.tmHeight};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kCaptionColour);
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text,
              DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    // Marked whenever it has the focus, keyboard or not: the list is played from the keys.
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -ScaleLength(2, dpi_), -ScaleLength(2, dpi_));
        DrawFocusFrame(dc, focus, dpi_);
    }
}

}  // namespace qv
