// Benchmark: our GIF encoding of a 384 x 224 snapshot of 256 colours against
// giflib's, in one run; prints both times per picture and their ratio.
// Ours starts from the picture's RGB pixels (building the colour table on
// the way); giflib is handed the colour indices and the table ready made.
//   build/bench/bench/gif_bench [rounds]
#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gif/gif_encoder.h"
#include "best_time.h"
#include "snapshot_picture.h"

namespace {

std::vector<std::uint8_t> GiflibEncode(const bench::IndexedPicture& picture) {
    std::vector<std::uint8_t> out;
    auto write = [](GifFileType* gif, const GifByteType* data, int size) -> int {
        auto* bytes = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
        bytes->insert(bytes->end(), data, data + size);
        return size;
    };
    int error = 0;
    GifFileType* gif = EGifOpen(&out, write, &error);
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i) {
        colours[i] = {picture.palette[3 * i], picture.palette[3 * i + 1],
                      picture.palette[3 * i + 2]};
    }
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, picture.width, picture.height, 8, 0, map) != GIF_OK ||
        EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, false, nullptr) != GIF_OK) {
        std::abort();
    }
    for (int y = 0; y < picture.height; ++y) {
        auto* row = const_cast<GifPixelType*>(
            &picture.indices[static_cast<std::size_t>(y) * picture.width]);
        if (EGifPutLine(gif, row, picture.width) != GIF_OK) std::abort();
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK) std::abort();
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const bench::IndexedPicture snapshot = bench::MakeSnapshot();
    qv::Pixmap pixels(snapshot.width, snapshot.height);
    for (std::size_t i = 0; i < snapshot.indices.size(); ++i) {
        const std::uint8_t* rgb = &snapshot.palette[snapshot.indices[i] * 3];
        pixels.pixels[i] = qv::RgbPixel(rgb[0], rgb[1], rgb[2]);
    }

    std::size_t oursSize = 0, giflibSize = 0;
    const double ours = bench::BestMicroseconds(
        rounds, 50, [&] { oursSize = qv::EncodeGifFile(pixels, {}).size(); });
    const double giflib =
        bench::BestMicroseconds(rounds, 50, [&] { giflibSize = GiflibEncode(snapshot).size(); });
    if (oursSize == 0) std::abort();
    std::printf("GIF encoding of a 384x224 snapshot of 256 colours, best of %d rounds:\n", rounds);
    std::printf("  ours   %8.1f us per picture (%zu bytes, from RGB pixels)\n", ours, oursSize);
    std::printf("  giflib %8.1f us per picture (%zu bytes, from colour indices)\n", giflib,
                giflibSize);
    std::printf("  ratio (giflib time / ours) %.2f\n", giflib / ours);
    return 0;
}
