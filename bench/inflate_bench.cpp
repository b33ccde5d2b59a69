// Benchmark: our inflate against zlib's and libdeflate's on the same raw
// deflate streams, interleaved round by round in one run; prints each one's
// throughput (best, median, slowest round) and our ratios to both.
//
// Corpora: a 4 MiB ROM set of generated ROMs (program code, tile graphics,
// ADPCM sound, erased fill) and each of those kinds alone as one 1 MiB stream,
// all deflated by zlib at level 9; given a folder, also the deflated entries
// of its ZIP archives (for example a demo folder at real sizes, made with
// tools/demo/make_demo.py FOLDER --rom-like 2048).
//
// Every decoder's output is checked once before the timed rounds and once
// after. In the timed rounds, zlib and libdeflate decode into one output
// buffer and ours into its own window, whose blocks its sink then takes
// without copying them: where the bytes go next (a file, a CRC) is the same
// work for all three.
//
// The bench folder builds without sanitizers at -O2 in any native tree:
//   cmake -S . -B build/bench -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQV_SANITIZE=OFF
//   cmake --build build/bench --target inflate_bench
//   build/bench/bench/inflate_bench [--rounds N] [--only ours|zlib|libdeflate] [--corpus NAME] [FOLDER]
// --only runs one decoder and --corpus one corpus (by the first word of its
// name), for instruction counts under callgrind, for example
//   valgrind --tool=callgrind --toggle-collect='qv::Inflater::Inflate*' \
//     build/bench/bench/inflate_bench --only ours --corpus code --rounds 1
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "archive/inflate.h"
#include "rom_corpus.h"

namespace {

using bench::Bytes;

struct Stream {
    Bytes packed;
    std::size_t size;  // decoded
};

struct Corpus {
    std::string name;
    std::vector<Stream> streams;
    Bytes expected;  // every stream's decoded bytes, one after the other
};

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

Corpus MakeCorpus(std::string name, const std::vector<Bytes>& contents) {
    Corpus c{std::move(name), {}, {}};
    for (const Bytes& data : contents) {
        c.streams.push_back({DeflateRaw(data, 9), data.size()});
        c.expected.insert(c.expected.end(), data.begin(), data.end());
    }
    return c;
}

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) { return Le16(p) | std::uint32_t{Le16(p + 2)} << 16; }

// The deflated entries of every ZIP archive in folder, by their local headers.
Corpus ZipEntries(const std::string& folder) {
    std::vector<std::filesystem::path> archives;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        std::string ext = e.path().extension().string();
        for (char& ch : ext)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (ext == ".zip") archives.push_back(e.path());
    }
    std::sort(archives.begin(), archives.end());
    Corpus c{"zip entries", {}, {}};
    for (const auto& path : archives) {
        std::ifstream in(path, std::ios::binary);
        const Bytes zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::size_t at = 0; at + 30 <= zip.size() && Le32(&zip[at]) == 0x04034B50;) {
            const std::uint8_t* h = &zip[at];
            const std::size_t data = at + 30 + Le16(h + 26) + Le16(h + 28);
            const std::size_t packed = Le32(h + 18), size = Le32(h + 22);
            if (data + packed > zip.size()) break;
            if (Le16(h + 8) == 8) {
                c.streams.push_back({Bytes(zip.begin() + data, zip.begin() + data + packed), size});
                z_stream z{};
                inflateInit2(&z, -15);
                Bytes out(size);
                z.next_in = const_cast<Bytef*>(c.streams.back().packed.data());
                z.avail_in = static_cast<uInt>(packed);
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(size);
                if (inflate(&z, Z_FINISH) != Z_STREAM_END) {
                    std::fprintf(stderr, "%s: an entry zlib cannot inflate\n", path.c_str());
                    std::exit(2);
                }
                inflateEnd(&z);
                c.expected.insert(c.expected.end(), out.begin(), out.end());
            }
            at = data + packed;
        }
    }
    return c;
}

// Takes our decoder's blocks where they are: the timed rounds.
class NoCopySink final : public qv::InflateSink {
public:
    void Write(const std::uint8_t*, std::size_t size) override { bytes += size; }
    std::size_t bytes = 0;
};

// Copies them into one buffer: the checks.
class CopySink final : public qv::InflateSink {
public:
    explicit CopySink(std::uint8_t* to) : to_(to) {}
    void Write(const std::uint8_t* data, std::size_t size) override {
        std::memcpy(to_, data, size);
        to_ += size;
    }

private:
    std::uint8_t* to_;
};

// One inflater: decodes every stream of a corpus into out (ours only when checking).
struct Decoder {
    const char* name;
    std::function<void(const Corpus&, std::uint8_t* out, bool check)> run;
};

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 31;
    std::string only, corpusName, folder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--only" && i + 1 < argc)
            only = argv[++i];
        else if (arg == "--corpus" && i + 1 < argc)
            corpusName = argv[++i];
        else
            folder = arg;
    }

    // Each corpus from a generator of its own, so that --corpus leaves the others' bytes alone.
    const std::vector<std::pair<std::string, std::function<std::vector<Bytes>(std::mt19937&)>>>
        makers = {
            {"ROM set", [](std::mt19937& rng) { return bench::MakeRomSet(rng); }},
            {"code", [](std::mt19937& rng) { return std::vector<Bytes>{bench::MakeProgramCode(1u << 20, rng)}; }},
            {"tiles", [](std::mt19937& rng) { return std::vector<Bytes>{bench::MakeTiles(1u << 20, rng)}; }},
            {"sound", [](std::mt19937& rng) { return std::vector<Bytes>{bench::MakeSound(1u << 20, rng)}; }},
            {"fill", [](std::mt19937& rng) { return std::vector<Bytes>{bench::MakeFill(1u << 20, rng)}; }},
        };
    std::vector<Corpus> corpora;
    std::uint32_t seed = 20261209;
    for (const auto& [name, make] : makers) {
        std::mt19937 rng(seed++);
        if (name.starts_with(corpusName)) corpora.push_back(MakeCorpus(name, make(rng)));
    }
    if (!folder.empty() && std::string("zip entries").starts_with(corpusName))
        corpora.push_back(ZipEntries(folder));
    std::size_t largest = 0;
    for (const Corpus& c : corpora)
        largest = std::max(largest, c.expected.size());
    Bytes out(largest);

    qv::Inflater ours;
    z_stream z{};
    inflateInit2(&z, -15);
    libdeflate_decompressor* ld = libdeflate_alloc_decompressor();

    std::vector<Decoder> decoders = {
        {"ours",
         [&](const Corpus& c, std::uint8_t* to, bool check) {
             for (const Stream& s : c.streams) {
                 qv::MemoryInput input(s.packed.data(), s.packed.size());
                 CopySink copy(to);
                 NoCopySink keep;
                 qv::InflateSink& sink = check ? static_cast<qv::InflateSink&>(copy) : keep;
                 if (ours.Inflate(input, sink) != qv::InflateStatus::kOk) std::abort();
                 to += s.size;
             }
         }},
        {"zlib",
         [&](const Corpus& c, std::uint8_t* to, bool) {
             for (const Stream& s : c.streams) {
                 inflateReset(&z);
                 z.next_in = const_cast<Bytef*>(s.packed.data());
                 z.avail_in = static_cast<uInt>(s.packed.size());
                 z.next_out = to;
                 z.avail_out = static_cast<uInt>(s.size);
                 if (inflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
                 to += s.size;
             }
         }},
        {"libdeflate",
         [&](const Corpus& c, std::uint8_t* to, bool) {
             for (const Stream& s : c.streams) {
                 if (libdeflate_deflate_decompress(ld, s.packed.data(), s.packed.size(), to,
                                                   s.size, nullptr) != LIBDEFLATE_SUCCESS)
                     std::abort();
                 to += s.size;
             }
         }},
    };
    if (!only.empty())
        std::erase_if(decoders, [&](const Decoder& d) { return only != d.name; });
    if (decoders.empty()) {
        std::fprintf(stderr, "--only takes ours, zlib or libdeflate\n");
        return 2;
    }

    auto check = [&](const Decoder& d, const Corpus& c) {
        std::fill(out.begin(), out.end(), 0);
        d.run(c, out.data(), true);
        if (!std::equal(c.expected.begin(), c.expected.end(), out.begin())) {
            std::fprintf(stderr, "%s decoded %s wrongly\n", d.name, c.name.c_str());
            std::exit(1);
        }
    };
    for (const Corpus& c : corpora)
        for (const Decoder& d : decoders)
            check(d, c);

    // seconds[corpus][decoder][round]; within a round each corpus is decoded by
    // every decoder in turn, the order rotating, so that all meet the same load.
    // The time is the thread's processor time: on a machine shared with other
    // work, the time the thread waits for a processor would swamp the figures.
    std::vector<std::vector<std::vector<double>>> seconds(
        corpora.size(), std::vector<std::vector<double>>(decoders.size()));
    for (int r = 0; r < rounds; ++r)
        for (std::size_t c = 0; c < corpora.size(); ++c)
            for (std::size_t k = 0; k < decoders.size(); ++k) {
                const std::size_t d = (k + r) % decoders.size();
                const double t0 = ThreadSeconds();
                decoders[d].run(corpora[c], out.data(), false);
                seconds[c][d].push_back(ThreadSeconds() - t0);
            }
    for (const Corpus& c : corpora)
        for (const Decoder& d : decoders)
            check(d, c);
    inflateEnd(&z);
    libdeflate_free_decompressor(ld);

    std::printf("%d interleaved rounds; zlib %s, libdeflate %s; MB/s as best / median / slowest round\n",
                rounds, zlibVersion(), LIBDEFLATE_VERSION_STRING);
    for (std::size_t c = 0; c < corpora.size(); ++c) {
        const Corpus& corpus = corpora[c];
        std::size_t packed = 0;
        for (const Stream& s : corpus.streams)
            packed += s.packed.size();
        const double mb = static_cast<double>(corpus.expected.size()) / 1e6;
        std::printf("\n%s: %zu stream(s), %.2f MB, deflated to %.1f%%\n", corpus.name.c_str(),
                    corpus.streams.size(), mb, 100.0 * packed / corpus.expected.size());
        std::vector<double> best, median;
        for (std::size_t d = 0; d < decoders.size(); ++d) {
            const auto& t = seconds[c][d];
            best.push_back(*std::min_element(t.begin(), t.end()));
            median.push_back(Median(t));
            std::printf("  %-10s %8.1f / %8.1f / %8.1f MB/s   spread %4.1f%%\n", decoders[d].name,
                        mb / best.back(), mb / median.back(),
                        mb / *std::max_element(t.begin(), t.end()),
                        100.0 * (median.back() - best.back()) / best.back());
        }
        if (decoders.size() == 3 && decoders[0].name == std::string("ours"))
            std::printf("  ours/zlib %.2f (median %.2f)   ours/libdeflate %.2f (median %.2f)\n",
                        best[1] / best[0], median[1] / median[0], best[2] / best[0],
                        median[2] / median[0]);
    }
    return 0;
}
