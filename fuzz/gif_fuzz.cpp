// Fuzz target of the GIF reader: the input read as a GIF file, every frame
// composed with its disposal, and the animation stepped through two passes.
#include <cstdint>
#include <cstdlib>

#include "gif/gif_animation.h"

namespace {

void CheckPicture(const qv::gif::Picture& picture) {
    if (picture.frames.size() > qv::gif::kMaxFrames) std::abort();
    for (const qv::gif::Frame& f : picture.frames) {
        if (f.pixels.size() != size_t(f.width) * f.height) std::abort();
        if (f.left + f.width > picture.width || f.top + f.height > picture.height) std::abort();
        if (f.disposal < 0 || f.disposal > 3 || f.delayMs < 1) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::gif::NoDisplayHost host;
    qv::gif::GifAnimation animation(host);
    animation.setLoop(size > 0 && (data[size - 1] & 1));
    animation.setAnimate(true);
    animation.load({data, size});
    CheckPicture(animation.picture());
    const auto& c = animation.composition();
    if (c.image().pixels.size() != size_t(c.width()) * c.height()) std::abort();
    for (int i = 0; i < 2 * animation.frameCount() + 2; ++i)
        animation.tick();
    if (animation.frameCount() > 1) animation.setCurrentFrame(animation.frameCount() / 2 + 1);
    animation.setAnimate(false);
    return 0;
}
