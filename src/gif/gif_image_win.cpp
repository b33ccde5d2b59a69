// TGIFImage: reading through the model, the timer, and painting.
#include "gif/gif_image_win.h"

#include <fstream>
#include <iterator>

#include "ui/container_win.h"
#include "util/handles_win.h"

namespace qv {
namespace {

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

// A 32-bit top-down DIB of the picture's size over pixels of ours.
struct DibInfo {
    BITMAPINFOHEADER header{};
    DibInfo(int width, int height) {
        header.biSize = sizeof header;
        header.biWidth = width;
        header.biHeight = -height;
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
    }
    const BITMAPINFO* get() const { return reinterpret_cast<const BITMAPINFO*>(&header); }
};

void Blit(HDC dc, const RECT& to, const DibInfo& info, int width, int height, const void* bits,
          DWORD rop) {
    StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, width, height,
                  bits, info.get(), DIB_RGB_COLORS, rop);
}

}  // namespace

TGIFImage::TGIFImage(Container& owner) : GraphicControl(owner) {
    setBounds(0, 0, kNewSize, kNewSize);
}

bool TGIFImage::setFileName(const std::string& name) {
    if (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) {
        status_ = gif::kStatusNoSuchFile;
        return false;
    }
    fileName_ = name;
    status_ = gif::kStatusReading;
    if (!ReadWholeFile(name, stream_)) stream_.clear();
    const gif::Status read = animation_.load(stream_);
    stream_.clear();
    status_ = read;
    invalidate();
    if (read != gif::kStatusDone) return false;
    if (autoSize_) fitToPicture();
    return true;
}

bool TGIFImage::EncodeGif(const GifFrameList& frames) {
    GifEncoder encoder;
    const bool done = encoder.EncodeGif(frames);
    stream_ = encoder.stream();
    status_ = int(encoder.status());
    return done;
}

bool TGIFImage::SaveToStream(const GifFrameList& frames, std::vector<uint8_t>& destination) {
    const bool done = EncodeGif(frames);
    if (done) {
        destination.insert(destination.end(), stream_.begin(), stream_.end());
        status_ = gif::kStatusDone;
    }
    stream_.clear();
    return done;
}

void TGIFImage::setCurrentFrame(int number) {
    if (!animation_.setCurrentFrame(number)) status_ = gif::kStatusFrameOutOfRange;
}

void TGIFImage::setAutoSize(bool on) {
    autoSize_ = on;
    if (on) fitToPicture();
}

void TGIFImage::fitToPicture() {
    if (!animation_.loaded()) return;
    const gif::Picture& picture = animation_.picture();
    setBounds(bounds().left, bounds().top, picture.width, picture.height);
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
    const int w = c.width(), h = c.height();
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
    const DibInfo info(c.width(), c.height());

    // A picture whose first frame is transparent lets what lies beneath show:
    // the mask (white where transparent) is ANDed in, then the picture,
    // black wherever it is transparent, is ORed over it.
    std::vector<uint32_t> mask;
    if (c.hasMask() && animation_.picture().frames[0].transparent) {
        mask.reserve(c.mask().size());
        for (uint8_t clear : c.mask())
            mask.push_back(clear ? 0xFFFFFFu : 0u);
    }

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, bounds().left, bounds().top, bounds().right, bounds().bottom);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (const RECT& to : placements()) {
        if (mask.empty()) {
            Blit(dc, to, info, c.width(), c.height(), c.pixels().data(), SRCCOPY);
        } else {
            Blit(dc, to, info, c.width(), c.height(), mask.data(), SRCAND);
            Blit(dc, to, info, c.width(), c.height(), c.pixels().data(), SRCPAINT);
        }
    }
    RestoreDC(dc, saved);
}

}  // namespace qv
