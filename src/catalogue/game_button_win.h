// A game button: a push button showing the game's picture above its title,
// with the Japanese flag and the archive mark stamped into the picture.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "catalogue/game_table.h"
#include "catalogue/scan.h"
#include "ui/scroll_box_win.h"
#include "util/handles_win.h"

namespace qv {

class GameButton : public ReflectedControl {
public:
    static constexpr int kHeightWithPicture = 65;
    static constexpr int kHeightWithoutPicture = 40;

    // The button for a table row found with the given ROM storage, made
    // inside box at the given top.
    // top is the button's place in the list's content at 96 DPI, scrolled the
    // list's position in pixels; width is in pixels; dpi the list's.
    GameButton(HWND box, int top, int scrolled, int width, const GameRecord& game,
               RomStorage storage, int dpi);
    ~GameButton() override;
    GameButton(const GameButton&) = delete;
    GameButton& operator=(const GameButton&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The launch context of the game it was made for.
    CurrentGame current() const { return CurrentGameOf(game_, storage_); }
    const std::string& hint() const { return hint_; }
    const std::string& caption() const { return caption_; }
    HBITMAP glyph() const { return glyph_.get(); }
    int height() const { return height_; }  // at 96 DPI
    int pixelHeight() const;
    // Places the button again at the list's DPI (width in pixels).
    void place(int top, int scrolled, int width, int dpi);
    void setCursor(HCURSOR cursor) { cursor_ = cursor; }
    HCURSOR cursor() const { return cursor_; }

    // A click; a double click counts as a click too, since a quick second
    // click is how a game is launched.
    std::function<void(GameButton&)> onClick;

    void draw(const DRAWITEMSTRUCT& item) override;
    void command(WORD code) override;

private:
    bool takeMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void windowGone() override { hwnd_ = nullptr; }
    OwnedBitmap makeGlyph(bool twice) const;

    HWND hwnd_ = nullptr;
    const GameRecord& game_;
    RomStorage storage_;
    OwnedBitmap glyph_;
    std::string hint_;
    std::string caption_;
    HCURSOR cursor_ = nullptr;
    int height_ = kHeightWithoutPicture;
    int dpi_ = 96;
    mutable OwnedBitmap scaledGlyph_;  // the glyph at the DPI, made when first drawn
};

// The game picture with its marks: the flag in the bottom right corner for a
// Japanese version, the archive mark there (or just above the flag) for a
// zipped game; from the art drawn at twice the size when twice is set.
// Empty when there is no such picture.
OwnedBitmap MakeGameGlyph(const std::string& picture, bool japanese, bool zipped,
                          bool twice = false);

// Width of a game button in a scroll box of the given width: room is left for
// the vertical scroll bar and the box's borders.
int GameButtonWidth(int boxWidth, int dpi = 96);

}  // namespace qv
