// Benchmark: our GIF encoding of a 384 x 224 snapshot of 256 colours against
// giflib's, in one run, the rounds of each taken in turn; prints the best
// time per picture of each and the ratios (giflib's time / ours).
//   ours           the picture's RGB pixels to a whole GIF file: the colour
//                  table built in first-met order, the indices, the LZW data
//   giflib         handed the colour indices and the table ready made: the
//                  LZW data and the file around it only
//   giflib + table the same RGB pixels first turned into a table and indices
//                  as a caller of giflib would, with a std::unordered_map
//                  from colour to index: the work ours does, like for like
//   build/bench/bench/gif_bench [rounds]
#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "best_time.h"
#include "gif/gif_encoder.h"
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

// RGB pixels to a table of up to 256 colours in first-met order and the
// pixels' indices, then giflib.
std::vector<std::uint8_t> GiflibEncodeWithTable(const qv::Pixmap& pixels) {
    bench::IndexedPicture picture;
    picture.width = pixels.width;
    picture.height = pixels.height;
    picture.palette.fill(0);
    picture.indices.resize(pixels.pixels.size());
    std::unordered_map<qv::Pixel, std::uint8_t> table;
    for (std::size_t i = 0; i < pixels.pixels.size(); ++i) {
        const qv::Pixel colour = pixels.pixels[i] & 0xFFFFFF;
        auto [entry, added] = table.try_emplace(colour, static_cast<std::uint8_t>(table.size()));
        if (added) {
            if (table.size() > 256) std::abort();
            picture.palette[3 * entry->second] = qv::RedOf(colour);
            picture.palette[3 * entry->second + 1] = qv::GreenOf(colour);
            picture.palette[3 * entry->second + 2] = qv::BlueOf(colour);
        }
        picture.indices[i] = entry->second;
    }
    return GiflibEncode(picture);
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

    std::size_t oursSize = 0, giflibSize = 0, giflibTableSize = 0;
    const auto [ours, giflib, giflibTable] = bench::BestMicrosecondsInTurn(
        rounds, 10, [&] { oursSize = qv::EncodeGifFile(pixels, {}).size(); },
        [&] { giflibSize = GiflibEncode(snapshot).size(); },
        [&] { giflibTableSize = GiflibEncodeWithTable(pixels).size(); });
    if (oursSize == 0) std::abort();
    std::printf("GIF encoding of a 384x224 snapshot of 256 colours, best of %d rounds:\n", rounds);
    std::printf("  ours            %8.1f us per picture (%zu bytes, from RGB pixels)\n", ours,
                oursSize);
    std::printf("  giflib          %8.1f us per picture (%zu bytes, from colour indices)\n", giflib,
                giflibSize);
    std::printf("  giflib + table  %8.1f us per picture (%zu bytes, from RGB pixels)\n",
                giflibTable, giflibTableSize);
    std::printf("  ratio (giflib time / ours), giflib handed the indices  %.2f\n", giflib / ours);
    std::printf("  ratio (giflib + table time / ours), like for like      %.2f\n",
                giflibTable / ours);
    return 0;
}
