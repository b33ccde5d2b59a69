// The picture as it currently stands: frames drawn one over another, with
// each frame's disposal applied before the next is drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/gif_decoder.h"
#include "util/pixmap.h"

namespace qv::gif {

class Composition {
public:
    // An all-black image of the picture's size and, when some frame is
    // transparent, an all-transparent mask.
    void reset(const Picture& picture);

    // Frame numbers are 1-based.
    void draw(const Picture& picture, int frame);
    void applyDisposal(const Picture& picture, int frame);

    int width() const { return image_.width; }
    int height() const { return image_.height; }
    // The picture as it stands.
    const Pixmap& image() const { return image_; }
    bool hasMask() const { return !mask_.empty(); }
    // One byte per pixel, 1 where the picture is transparent (black there).
    const std::vector<uint8_t>& mask() const { return mask_; }

private:
    // What lay under a frame with disposal 3, restored when it is disposed.
    struct SavedArea {
        std::vector<uint32_t> pixels;
        std::vector<uint8_t> mask;
    };
    struct Clip {
        int left, top, right, bottom;  // frame rectangle cut to the picture
    };
    Clip clip(const Frame& frame) const;
    void save(const Clip& c, SavedArea& area) const;
    void restore(const Clip& c, const SavedArea& area);

    Pixmap image_;
    std::vector<uint8_t> mask_;
    std::vector<SavedArea> saved_;  // one per frame
};

// A colour as a composition pixel.
inline uint32_t ToPixel(Rgb c) { return uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b; }

}  // namespace qv::gif
