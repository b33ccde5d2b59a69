// GIF files for the decoder tests: the committed ones made by other tools,
// and small ones built here byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::gif::test {

using Bytes = std::vector<uint8_t>;

// A file of tests/native/gif/data.
Bytes DataFile(const std::string& name);

// LZW data of min code size m for the indices, built from literal codes
// only, with a clear code before the code width would grow.
Bytes LiteralLzw(const Bytes& indices, int m);

// Builds a GIF file block by block.
class GifBuilder {
public:
    // Header and a screen with a global table of 4 colours: black, red, green, blue.
    GifBuilder(int width, int height);
    GifBuilder& loop(int count);
    GifBuilder& control(int disposal, int delay, int transparentIndex = -1);
    GifBuilder& image(int left, int top, int width, int height, const Bytes& indices,
                      bool interlaced = false);
    GifBuilder& raw(const Bytes& bytes);
    Bytes done() const;  // with the trailer
    const Bytes& bytes() const { return bytes_; }

private:
    void word(int value);
    Bytes bytes_;
};

}  // namespace qv::gif::test
