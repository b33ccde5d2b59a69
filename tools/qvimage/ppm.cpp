// Binary PPM writing and reading.
#include "ppm.h"

#include <cctype>
#include <string>

namespace qvimage {

using qv::Pixel;
using qv::Pixmap;

std::vector<std::uint8_t> EncodePpm(const Pixmap& picture) {
    const std::string header =
        "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
    std::vector<std::uint8_t> file(header.begin(), header.end());
    file.reserve(file.size() + picture.pixels.size() * 3);
    for (Pixel p : picture.pixels)
        file.insert(file.end(), {qv::RedOf(p), qv::GreenOf(p), qv::BlueOf(p)});
    return file;
}

namespace {

// The header's numbers, each after blanks and "#" comments.
class HeaderReader {
public:
    explicit HeaderReader(const std::vector<std::uint8_t>& file) : file_(file) {}

    std::optional<long> number() {
        skipBlanks();
        long value = 0;
        std::size_t digits = 0;
        while (at_ < file_.size() && std::isdigit(file_[at_]) && digits < 9) {
            value = value * 10 + (file_[at_++] - '0');
            ++digits;
        }
        if (digits == 0 || (at_ < file_.size() && std::isdigit(file_[at_]))) return std::nullopt;
        return value;
    }
    // After maxval: exactly one blank, then the pixels.
    bool endOfHeader() {
        if (at_ >= file_.size() || !std::isspace(file_[at_])) return false;
        ++at_;
        return true;
    }
    std::size_t position() const { return at_; }

private:
    void skipBlanks() {
        while (at_ < file_.size()) {
            if (file_[at_] == '#') {
                while (at_ < file_.size() && file_[at_] != '\n')
                    ++at_;
            } else if (std::isspace(file_[at_])) {
                ++at_;
            } else {
                return;
            }
        }
    }

    const std::vector<std::uint8_t>& file_;
    std::size_t at_ = 2;
};

}  // namespace

std::optional<Pixmap> DecodePpm(const std::vector<std::uint8_t>& file, std::string& why) {
    if (file.size() < 2 || file[0] != 'P' || file[1] != '6') {
        why = "not a binary PPM file (P6)";
        return std::nullopt;
    }
    HeaderReader header(file);
    const std::optional<long> width = header.number();
    const std::optional<long> height = header.number();
    const std::optional<long> maxval = header.number();
    if (!width || !height || !maxval || !header.endOfHeader()) {
        why = "a damaged PPM header";
        return std::nullopt;
    }
    if (*maxval != 255) {
        why = "a PPM maxval other than 255";
        return std::nullopt;
    }
    if (*width < 1 || *height < 1 || *width > 65535 || *height > 65535 ||
        static_cast<long long>(*width) * *height > (1LL << 24)) {
        why = "a PPM picture of no pixels or too many";
        return std::nullopt;
    }
    const std::size_t count = static_cast<std::size_t>(*width) * static_cast<std::size_t>(*height);
    if (file.size() - header.position() < count * 3) {
        why = "a PPM file that ends before its last pixel";
        return std::nullopt;
    }
    Pixmap picture(static_cast<int>(*width), static_cast<int>(*height));
    const std::uint8_t* rgb = file.data() + header.position();
    for (Pixel& p : picture.pixels) {
        p = qv::RgbPixel(rgb[0], rgb[1], rgb[2]);
        rgb += 3;
    }
    return picture;
}

}  // namespace qvimage
