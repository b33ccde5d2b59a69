// A game-like 384 x 224 snapshot of 256 colours for the picture benchmarks:
// a background of repeated 16 x 16 tiles, each of 16 colours, with sprites of
// noisier pixels over it.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace bench {

struct IndexedPicture {
    int width = 384;
    int height = 224;
    std::vector<std::uint8_t> indices;      // rows top first
    std::array<std::uint8_t, 768> palette;  // red, green, blue
};

inline IndexedPicture MakeSnapshot() {
    IndexedPicture picture;
    std::mt19937 random(1);
    for (int i = 0; i < 256; ++i) {
        picture.palette[3 * i] = static_cast<std::uint8_t>(i);
        picture.palette[3 * i + 1] = static_cast<std::uint8_t>(i * 37);
        picture.palette[3 * i + 2] = static_cast<std::uint8_t>(255 - i * 11);
    }
    std::vector<std::array<std::uint8_t, 256>> tiles(16);
    for (std::size_t t = 0; t < tiles.size(); ++t) {
        for (int p = 0; p < 256; ++p) {
            // Runs of one colour along the rows, 16 colours a tile.
            tiles[t][p] = static_cast<std::uint8_t>(t * 16 + ((p / 5 + p / 48) % 16));
        }
    }
    picture.indices.resize(static_cast<std::size_t>(picture.width) * picture.height);
    std::vector<int> map((picture.width / 16) * (picture.height / 16));
    for (int& tile : map)
        tile = static_cast<int>(random() % tiles.size());
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int tile = map[(y / 16) * (picture.width / 16) + x / 16];
            picture.indices[y * picture.width + x] = tiles[tile][(y % 16) * 16 + x % 16];
        }
    }
    for (int sprite = 0; sprite < 12; ++sprite) {
        const int left = static_cast<int>(random() % (picture.width - 32));
        const int top = static_cast<int>(random() % (picture.height - 48));
        for (int y = top; y < top + 48; ++y) {
            for (int x = left; x < left + 32; ++x) {
                if (random() % 3)
                    picture.indices[y * picture.width + x] = static_cast<std::uint8_t>(random());
            }
        }
    }
    return picture;
}

}  // namespace bench
