// Benchmark: our GIF reader and composition against giflib's DGifSlurp plus a
// plain composition, on the same animated GIF in one run; prints both times
// and their ratio. Make an input with ImageMagick, for example:
//   /usr/bin/convert -size 320x224 plasma:fractal -duplicate 39 -distort SRT '%[fx:t*9]'
//   -colors 200 -set dispose Background -loop 0 anim.gif
// then: build/bench/bench/gif_decode_bench anim.gif [rounds]
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "gif/gif_compositor.h"
#include "gif/gif_decoder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// Our side: read every frame, then draw each over the last with its disposal.
uint64_t Ours(const Bytes& file) {
    qv::gif::Picture picture;
    qv::gif::ReadGif(file, picture);
    qv::gif::Composition composition;
    composition.reset(picture);
    uint64_t sum = 0;
    for (int k = 1; k <= int(picture.frames.size()); ++k) {
        composition.applyDisposal(picture, k - 1);
        composition.draw(picture, k);
        sum += composition.image().pixels[size_t(k) * 7919 % composition.image().pixels.size()];
    }
    return sum;
}

struct Memory {
    const Bytes* file;
    size_t at;
};

int ReadMemory(GifFileType* gif, GifByteType* out, int n) {
    auto* m = static_cast<Memory*>(gif->UserData);
    const size_t take = std::min<size_t>(n, m->file->size() - m->at);
    std::memcpy(out, m->file->data() + m->at, take);
    m->at += take;
    return int(take);
}

// giflib's side: DGifSlurp, then the same composition written plainly.
uint64_t Giflib(const Bytes& file) {
    Memory memory{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&memory, ReadMemory, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        std::fprintf(stderr, "giflib cannot read the file\n");
        std::exit(1);
    }
    const int w = gif->SWidth, h = gif->SHeight;
    std::vector<uint32_t> canvas(size_t(w) * h, 0), saved;
    uint64_t sum = 0;
    GraphicsControlBlock last{};
    GifImageDesc lastDesc{};
    for (int k = 0; k < gif->ImageCount; ++k) {
        const SavedImage& image = gif->SavedImages[k];
        const GifImageDesc& d = image.ImageDesc;
        if (k > 0 && last.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = lastDesc.Top; y < lastDesc.Top + lastDesc.Height; ++y)
                std::fill_n(&canvas[size_t(y) * w + lastDesc.Left], lastDesc.Width, 0u);
        } else if (k > 0 && last.DisposalMode == DISPOSE_PREVIOUS) {
            canvas = saved;
        }
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, k, &gcb);
        if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        uint32_t colors[256] = {};
        for (int i = 0; map && i < map->ColorCount; ++i)
            colors[i] = uint32_t(map->Colors[i].Red) << 16 | map->Colors[i].Green << 8 |
                        map->Colors[i].Blue;
        for (int y = 0; y < d.Height; ++y) {
            const GifByteType* row = image.RasterBits + size_t(y) * d.Width;
            uint32_t* to = &canvas[size_t(d.Top + y) * w + d.Left];
            for (int x = 0; x < d.Width; ++x)
                if (row[x] != gcb.TransparentColor) to[x] = colors[row[x]];
        }
        sum += canvas[size_t(k + 1) * 7919 % canvas.size()];
        last = gcb;
        lastDesc = d;
    }
    DGifCloseFile(gif, &error);
    return sum;
}

template <typename F>
double MillisecondsPerRun(F run, const Bytes& file, int rounds, uint64_t& check) {
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        check += run(file);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / rounds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gif_decode_bench FILE.gif [rounds]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), {});
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;

    qv::gif::Picture picture;
    qv::gif::ReadGif(file, picture);
    std::printf("%s: %zu bytes, %d x %d, %zu frames, %d rounds\n", argv[1], file.size(),
                picture.width, picture.height, picture.frames.size(), rounds);

    // Both sides must see the same pictures.
    if (Ours(file) != Giflib(file)) {
        std::fprintf(stderr, "the two compositions differ\n");
        return 1;
    }
    uint64_t check = 0;
    Ours(file);  // warm up both
    Giflib(file);
    const double ours = MillisecondsPerRun(Ours, file, rounds, check);
    const double giflib = MillisecondsPerRun(Giflib, file, rounds, check);
    std::printf("ours    %8.3f ms per file\n", ours);
    std::printf("giflib  %8.3f ms per file\n", giflib);
    std::printf("ratio   %8.2f (giflib time / our time; above 1 is faster)\n", giflib / ours);
    return check == 42 ? 3 : 0;
}
