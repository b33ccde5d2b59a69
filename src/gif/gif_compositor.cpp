// Draws frames into the composition image and applies their disposal.
#include "gif/gif_compositor.h"

#include <algorithm>

namespace qv::gif {

void Composition::reset(const Picture& picture) {
    image_ = Pixmap(picture.width, picture.height);
    const size_t size = image_.pixels.size();
    mask_.assign(picture.anyTransparent ? size : 0, 1);
    saved_.assign(picture.frames.size(), SavedArea{});
}

// Frames lie inside the picture by construction; the clip keeps every
// access inside the buffers all the same.
Composition::Clip Composition::clip(const Frame& frame) const {
    return Clip{std::min(frame.left, image_.width), std::min(frame.top, image_.height),
                std::min(frame.left + frame.width, image_.width),
                std::min(frame.top + frame.height, image_.height)};
}

void Composition::draw(const Picture& picture, int number) {
    if (number < 1 || number > int(picture.frames.size())) return;
    const Frame& frame = picture.frames[number - 1];
    const Clip c = clip(frame);
    if (frame.disposal == 3 && size_t(number) <= saved_.size()) save(c, saved_[number - 1]);

    uint32_t colors[256];
    for (int i = 0; i < 256; ++i)
        colors[i] = ToPixel(frame.colors[i]);
    for (int y = c.top; y < c.bottom; ++y) {
        const uint8_t* from = frame.pixels.data() + size_t(y - frame.top) * frame.width;
        uint32_t* to = image_.pixels.data() + size_t(y) * image_.width;
        uint8_t* maskRow = mask_.empty() ? nullptr : mask_.data() + size_t(y) * image_.width;
        for (int x = c.left; x < c.right; ++x) {
            const uint8_t index = from[x - frame.left];
            if (frame.transparent && index == frame.transparentIndex) continue;
            to[x] = colors[index];
            if (maskRow) maskRow[x] = 0;
        }
    }
}

void Composition::applyDisposal(const Picture& picture, int number) {
    if (number < 1 || number > int(picture.frames.size())) return;
    const Frame& frame = picture.frames[number - 1];
    const Clip c = clip(frame);
    if (frame.disposal == 3) {
        restore(c, saved_[number - 1]);
    } else if (frame.disposal == 2) {
        for (int y = c.top; y < c.bottom; ++y) {
            std::fill_n(image_.pixels.data() + size_t(y) * image_.width + c.left, c.right - c.left,
                        0u);
            if (!mask_.empty())
                std::fill_n(mask_.data() + size_t(y) * image_.width + c.left, c.right - c.left, 1);
        }
    }
}

void Composition::save(const Clip& c, SavedArea& area) const {
    area.pixels.clear();
    area.mask.clear();
    for (int y = c.top; y < c.bottom; ++y) {
        const size_t row = size_t(y) * image_.width;
        area.pixels.insert(area.pixels.end(), image_.pixels.begin() + row + c.left,
                           image_.pixels.begin() + row + c.right);
        if (!mask_.empty())
            area.mask.insert(area.mask.end(), mask_.begin() + row + c.left,
                             mask_.begin() + row + c.right);
    }
}

void Composition::restore(const Clip& c, const SavedArea& area) {
    const size_t w = size_t(c.right - c.left);
    // Nothing saved yet (the frame was never drawn): nothing to restore.
    if (area.pixels.size() != w * size_t(std::max(0, c.bottom - c.top))) return;
    for (int y = c.top; y < c.bottom; ++y) {
        const size_t from = size_t(y - c.top) * w;
        const size_t row = size_t(y) * image_.width;
        std::copy_n(area.pixels.begin() + from, w, image_.pixels.begin() + row + c.left);
        if (!mask_.empty() && area.mask.size() == area.pixels.size())
            std::copy_n(area.mask.begin() + from, w, mask_.begin() + row + c.left);
    }
}

}  // namespace qv::gif
