// TGIFImage: reading through the model, the timer, and painting.
#include "gif/gif_image_win.h"

#include "ui/container_win.h"
#include "ui/dpi_scale.h"
#include "util/files_win.h"
#include "util/handles_win.h"
#include "util/pixmap_win.h"
#include "util/whole_file.h"

namespace qv {
TGIFImage::TGIFImage(Container& owner) : GraphicControl(owner) {
    setBounds(0, 0, kNewSize, kNewSize);
}

bool TGIFImage::setFileName(const std::string& name) {
    if (!FileExists(name)) {  // a folder is no file either
        status_ = GifStatus::kNoSuchFile;
        return false;
    }
    fileName_ = name;
    status_ = GifStatus::kReading;
    if (ReadWholeFile(name, kMaxPictureFileSize, stream_) != ReadOutcome::kRead) stream_.clear();
    const GifStatus read = animation_.load(stream_);
    stream_.clear();
    status_ = read;
    invalidate();
    if (read != GifStatus::kDone) return false;
    if (autoSize_) fitToPicture();
    return true;
}

bool TGIFImage::EncodeGif(const GifFrameList& frames) {
    GifEncoder encoder;
    const bool done = encoder.EncodeGif(frames);
    stream_ = encoder.stream();
    status_ = encoder.status();
    return done;
}

bool TGIFImage::SaveToStream(const GifFrameList& frames, std::vector<uint8_t>& destination) {
    const bool done = EncodeGif(frames);
    if (done) {
        destination.insert(destination.end(), stream_.begin(), stream_.end());
        status_ = GifStatus::kDone;
    }
    stream_.clear();
    return done;
}

void TGIFImage::setCurrentFrame(int number) {
    if (!animation_.setCurrentFrame(number)) status_ = GifStatus::kFrameOutOfRange;
}

void TGIFImage::setAutoSize(bool on) {
    autoSize_ = on;
    if (on) fitToPicture();
}

void TGIFImage::fitToPicture() {
    if (!animation_.loaded()) return;
    const gif::Picture& picture = animation_.picture();
    setBounds(design().left, design().top, picture.width, picture.height);
}

void TGIFImage::setLook(bool& flag, bool on) {
    flag = on;
    invalidate();
}

bool TGIFImage::repaintPending() const {
    const HWND window = owner().hwnd();
    RECT pending{}, overlap{};
    return window && IsWindowVisible(window) && GetUpdateRect(window, &pending, FALSE) &&
           IntersectRect(&overlap, &pending, &bounds());
}

std::vector<RECT> TGIFImage::placements() const {
    const gif::Composition& c = animation_.composition();
    const RECT& box = bounds();
    const int zoom = PictureZoom(dpi(), c.width(), c.height(), width(), height());
    const int w = c.width() * zoom, h = c.height() * zoom;
    if (stretch_ && (width() != w || height() != h)) return {box};
    if (tile_) {
        std::vector<RECT> tiles;
        for (int y = box.top; y < box.bottom; y += h)
            for (int x = box.left; x < box.right; x += w)
                tiles.push_back(RECT{x, y, x + w, y + h});
        return tiles;
    }
    const int left = box.left + (center_ ? (width() - w) / 2 : 0);
    const int top = box.top + (center_ ? (height() - h) / 2 : 0);
    return {RECT{left, top, left + w, top + h}};
}

void TGIFImage::paint(HDC dc) const {
    const gif::Composition& c = animation_.composition();
    if (!visible() || !animation_.loaded() || c.width() <= 0 || c.height() <= 0) return;

    // A picture whose first frame is transparent lets what lies beneath show:
    // the mask (white where transparent) is ANDed in, then the picture,
    // black wherever it is transparent, is ORed over it.
    Pixmap mask;
    if (c.hasMask() && animation_.picture().frames[0].transparent) {
        mask = Pixmap(c.width(), c.height());
        for (std::size_t i = 0; i < c.mask().size(); ++i)
            mask.pixels[i] = c.mask()[i] ? 0xFFFFFFu : 0u;
    }

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, bounds().left, bounds().top, bounds().right, bounds().bottom);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (const RECT& to : placements()) {
        if (mask.pixels.empty()) {
            DrawPixmap(dc, to, c.image(), SRCCOPY);
        } else {
            DrawPixmap(dc, to, mask, SRCAND);
            DrawPixmap(dc, to, c.image(), SRCPAINT);
        }
    }
    RestoreDC(dc, saved);
}

}  // namespace qv
