// Benchmark: our inflate against zlib's on the same raw deflate streams of a
// ROM-like corpus, in one run; prints both throughputs and their ratio.
// The bench folder builds without sanitizers at -O2 in any native tree:
//   cmake -S . -B build/bench -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
//   -DQV_SANITIZE=OFF cmake --build build/bench --target inflate_bench &&
//   build/bench/bench/inflate_bench [rounds]
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "archive/inflate.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// One generated ROM: random stretches (compressed graphics, code), repeated
// tiles, sparse tables, text, and copies of earlier parts near and far.
Bytes MakeRom(std::size_t size, std::mt19937& rng) {
    Bytes rom;
    rom.reserve(size);
    Bytes tile(64);
    while (rom.size() < size) {
        const std::size_t n = 256 + rng() % 4096;
        switch (rng() % 6) {
        case 0:
            for (std::size_t i = 0; i < n; ++i)
                rom.push_back(static_cast<std::uint8_t>(rng()));
            break;
        case 1:
            for (auto& b : tile)
                b = static_cast<std::uint8_t>(rng() % 4 * 0x11);
            for (std::size_t i = 0; i < n; ++i)
                rom.push_back(tile[i % tile.size()]);
            break;
        case 2:
            for (std::size_t i = 0; i < n; ++i)
                rom.push_back(rng() % 8 == 0 ? static_cast<std::uint8_t>(rng()) : 0);
            break;
        case 3: {
            static const char* const kWords[] = {"INSERT ", "COIN ", "PLAYER ",   "START ",
                                                 "GAME ",   "OVER ", "HI-SCORE ", "STAGE "};
            for (const std::size_t start = rom.size(); rom.size() - start < n;)
                for (const char* c = kWords[rng() % 8]; *c; ++c)
                    rom.push_back(static_cast<std::uint8_t>(*c));
            break;
        }
        case 4:
            for (std::size_t i = 0; i < n; ++i)
                rom.push_back(static_cast<std::uint8_t>((i * 3 + (i >> 5)) & 0xFF));
            break;
        default:
            if (rom.size() > n) {
                const std::size_t back = 1 + rng() % std::min<std::size_t>(rom.size() - n, 32768);
                const std::size_t from = rom.size() - back;
                for (std::size_t i = 0; i < n; ++i)
                    rom.push_back(rom[from + i]);
            }
        }
    }
    rom.resize(size);
    return rom;
}

Bytes DeflateRaw(const Bytes& data, int level) {
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, data.size()) + 64);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Both decoders write into one contiguous output buffer.
class BufferSink final : public qv::InflateSink {
public:
    explicit BufferSink(std::uint8_t* to) : to_(to) {}
    void Write(const std::uint8_t* data, std::size_t size) override {
        std::memcpy(to_, data, size);
        to_ += size;
    }

private:
    std::uint8_t* to_;
};

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    std::mt19937 rng(20240611);
    std::vector<Bytes> roms;
    std::vector<Bytes> streams;
    std::size_t total = 0, packed = 0;
    while (total < 6u << 20) {  // 6 MB of ROMs, 64 KB to 1 MB each
        roms.push_back(MakeRom((64u << 10) << (rng() % 5), rng));
        streams.push_back(DeflateRaw(roms.back(), 6));
        total += roms.back().size();
        packed += streams.back().size();
    }
    Bytes out(total);

    qv::Inflater ours;
    z_stream z{};
    inflateInit2(&z, -15);

    auto runOurs = [&] {
        std::uint8_t* at = out.data();
        for (std::size_t i = 0; i < streams.size(); ++i) {
            BufferSink sink(at);
            qv::MemoryInput input(streams[i].data(), streams[i].size());
            if (ours.Inflate(input, sink) != qv::InflateStatus::kOk) std::abort();
            at += roms[i].size();
        }
    };
    auto runZlib = [&] {
        std::uint8_t* at = out.data();
        for (std::size_t i = 0; i < streams.size(); ++i) {
            inflateReset(&z);
            z.next_in = const_cast<Bytef*>(streams[i].data());
            z.avail_in = static_cast<uInt>(streams[i].size());
            z.next_out = at;
            z.avail_out = static_cast<uInt>(roms[i].size());
            if (inflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
            at += roms[i].size();
        }
    };
    auto verify = [&](const char* who) {
        std::size_t at = 0;
        for (const Bytes& rom : roms) {
            if (std::memcmp(out.data() + at, rom.data(), rom.size()) != 0) {
                std::fprintf(stderr, "%s decoded a stream wrongly\n", who);
                std::exit(1);
            }
            at += rom.size();
        }
        std::fill(out.begin(), out.end(), 0);
    };
    runOurs();
    verify("ours");
    runZlib();
    verify("zlib");

    // Interleaved rounds, best of each, so that both meet the same machine load.
    double bestOurs = 1e9, bestZlib = 1e9;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = std::chrono::steady_clock::now();
        runOurs();
        auto t1 = std::chrono::steady_clock::now();
        runZlib();
        auto t2 = std::chrono::steady_clock::now();
        bestOurs = std::min(bestOurs, Seconds(t1 - t0));
        bestZlib = std::min(bestZlib, Seconds(t2 - t1));
    }
    inflateEnd(&z);

    const double mb = static_cast<double>(total) / 1e6;
    std::printf("corpus: %zu ROMs, %.2f MB, deflated at level 6 to %.2f MB (zlib %s)\n",
                roms.size(), mb, static_cast<double>(packed) / 1e6, zlibVersion());
    std::printf("ours: %8.1f MB/s\nzlib: %8.1f MB/s\nratio ours/zlib: %.2f\n", mb / bestOurs,
                mb / bestZlib, bestZlib / bestOurs);
    return 0;
}
