// Fuzz target of the ZIP reader: the local-header walk over the input as an
// archive (delivered in pieces, so the input buffer refills everywhere), and
// the input as one raw deflate stream, checked against zlib's inflate.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "archive/inflate.h"
#include "archive/zip_walk.h"

namespace {

constexpr std::size_t kOutputCap = 1u << 20;

class PieceSource final : public qv::ByteSource {
public:
    PieceSource(const std::uint8_t* data, std::size_t size, std::size_t piece)
        : data_(data), size_(size), piece_(piece) {}
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, piece_, size_ - at_});
        std::memcpy(buffer, data_ + at_, n);
        at_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_, piece_, at_ = 0;
};

class CountingSink final : public qv::EntrySink {
public:
    bool BeginEntry(const std::string& name) override {
        if (open_ || name.empty() || name.find_first_of("/\\:") != std::string::npos) std::abort();
        open_ = true;
        return true;
    }
    // The failAt-th write fails, as on a full disk (0: none does).
    explicit CountingSink(unsigned failAt) : failAt_(failAt) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (!open_ || size > 32768) std::abort();
        volatile std::uint8_t touch = size ? data[size - 1] : 0;  // the block must be readable
        (void)touch;
        return ++writes_ != failAt_;
    }
    void EndEntry() override {
        if (!open_) std::abort();
        open_ = false;
    }
    bool open_ = false;
    unsigned failAt_;
    unsigned writes_ = 0;
};

class CappedSink final : public qv::InflateSink {
public:
    void Write(const std::uint8_t* data, std::size_t size) override {
        if (size > 32768) std::abort();
        if (bytes.size() + size > kOutputCap) {
            full = true;
            return;
        }
        bytes.insert(bytes.end(), data, data + size);
    }
    std::vector<std::uint8_t> bytes;
    bool full = false;
};

void CheckAgainstZlib(const std::uint8_t* data, std::size_t size) {
    static qv::Inflater inflater;
    qv::MemoryInput input(data, size);
    CappedSink ours;
    const qv::InflateStatus status = inflater.Inflate(input, ours);
    if (ours.full) return;

    static std::vector<std::uint8_t> theirs(kOutputCap + 1);
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) std::abort();
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    z.next_out = theirs.data();
    z.avail_out = static_cast<uInt>(theirs.size());
    const int zs = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    if (z.total_out > kOutputCap) return;

    const bool ourOk = status == qv::InflateStatus::kOk;
    if (ourOk != (zs == Z_STREAM_END)) {
        std::fprintf(stderr, "ours %d, zlib %d (%s)\n", static_cast<int>(status), zs,
                     z.msg ? z.msg : "");
        std::abort();
    }
    if (ourOk &&
        (ours.bytes.size() != z.total_out ||
         (z.total_out > 0 && std::memcmp(ours.bytes.data(), theirs.data(), z.total_out) != 0) ||
         static_cast<std::size_t>(input.next - data) != z.total_in))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::size_t kPieces[] = {1, 3, 8, 61, 4096, 32768};
    PieceSource source(data, size, kPieces[size % 6]);
    CountingSink sink(static_cast<unsigned>(size % 13));
    qv::WalkArchive(source, sink);
    if (sink.open_) std::abort();
    CheckAgainstZlib(data, size);
    return 0;
}
