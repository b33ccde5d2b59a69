// GIF files for the decoder tests.
#include "gif_test_files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qv::gif::test {

Bytes DataFile(const std::string& name) {
    std::ifstream in(std::string(QV_GIF_DATA) + "/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("missing test file " + name);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

namespace {

class BitWriter {
public:
    void put(int code, int width) {
        acc_ |= uint32_t(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            out_.push_back(uint8_t(acc_));
            acc_ >>= 8;
            count_ -= 8;
        }
    }
    Bytes finish() {
        if (count_ > 0) out_.push_back(uint8_t(acc_));
        return out_;
    }

private:
    Bytes out_;
    uint32_t acc_ = 0;
    int count_ = 0;
};

}  // namespace

Bytes LiteralLzw(const Bytes& indices, int m) {
    const int clear = 1 << m, width = m + 1;
    // After a clear, each code but the first adds an entry; the width grows
    // once 2^m - 1 codes were read, so clear before that.
    const size_t run = (size_t(1) << m) - 2;
    BitWriter bits;
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % run == 0) bits.put(clear, width);
        bits.put(indices[i], width);
    }
    bits.put(clear + 1, width);
    Bytes data = bits.finish();
    Bytes out{uint8_t(m)};
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + i, data.begin() + i + n);
    }
    out.push_back(0);
    return out;
}

GifBuilder::GifBuilder(int width, int height) {
    bytes_ = {'G', 'I', 'F', '8', '9', 'a'};
    word(width);
    word(height);
    raw({0x81, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
}

GifBuilder& GifBuilder::loop(int count) {
    raw({0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1});
    word(count);
    return raw({0});
}

GifBuilder& GifBuilder::control(int disposal, int delay, int transparentIndex) {
    raw({0x21, 0xF9, 4, uint8_t(disposal << 2 | (transparentIndex >= 0 ? 1 : 0))});
    word(delay);
    return raw({uint8_t(transparentIndex >= 0 ? transparentIndex : 0), 0});
}

GifBuilder& GifBuilder::image(int left, int top, int width, int height, const Bytes& indices,
                              bool interlaced) {
    raw({0x2C});
    word(left);
    word(top);
    word(width);
    word(height);
    raw({uint8_t(interlaced ? 0x40 : 0)});
    return raw(LiteralLzw(indices, 2));
}

GifBuilder& GifBuilder::raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

Bytes GifBuilder::done() const {
    Bytes out = bytes_;
    out.push_back(0x3B);
    return out;
}

void GifBuilder::word(int value) { raw({uint8_t(value), uint8_t(value >> 8)}); }

}  // namespace qv::gif::test
