// Benchmark: our PCX decoding against SDL2_image's PCX reader on the same
// 384 x 224 snapshot in memory, in one run; prints both times per picture
// and their ratio. Ours yields 32-bit RGB pixels, SDL_image an 8-bit
// surface with a palette.
//   build/bench/bench/pcx_bench [rounds]
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "pcx_writer.h"
#include "best_time.h"
#include "snapshot_picture.h"
#include "viewer/pcx_decoder.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const bench::IndexedPicture snapshot = bench::MakeSnapshot();
    const std::vector<std::uint8_t> file =
        ravlen::EncodePcx(snapshot.width, snapshot.height, snapshot.indices, snapshot.palette);

    const double ours = bench::BestMicroseconds(rounds, 200, [&] {
        const qv::PcxResult result = qv::DecodePcx(file.data(), file.size());
        if (result.outcome != qv::PcxOutcome::kOk) std::abort();
    });
    const double sdl = bench::BestMicroseconds(rounds, 200, [&] {
        SDL_RWops* memory = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
        SDL_Surface* surface = IMG_LoadPCX_RW(memory);
        if (!surface) std::abort();
        SDL_FreeSurface(surface);
        SDL_RWclose(memory);
    });
    std::printf(
        "PCX decoding of a 384x224 snapshot of 256 colours (%zu bytes), best of %d rounds:\n",
        file.size(), rounds);
    std::printf("  ours      %8.1f us per picture (32-bit RGB pixels)\n", ours);
    std::printf("  SDL_image %8.1f us per picture (8-bit surface and palette)\n", sdl);
    std::printf("  ratio (SDL_image time / ours) %.2f\n", sdl / ours);
    return 0;
}
