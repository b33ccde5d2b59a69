// Tests of the ZIP walk: archives made by Info-ZIP, Python and 7-Zip compared
// with what unzip extracts, hand-made archives for the cases tools do not make.
#include "archive/zip_walk.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace qv {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class MemorySource final : public ByteSource {
public:
    MemorySource(const Bytes& data, std::size_t piece) : data_(data), piece_(piece) {}
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, piece_, data_.size() - at_});
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(at_), n, buffer);
        at_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }

private:
    const Bytes& data_;
    std::size_t piece_;
    std::size_t at_ = 0;
};

// Records every entry; can refuse to create one, or take only so many bytes
// in all and then fail, as a full disk does.
class RecordingSink final : public EntrySink {
public:
    bool BeginEntry(const std::string& name) override {
        EXPECT_TRUE(current_.empty());
        if (name == refuse) return false;
        current_ = name;
        names.push_back(name);
        files[name].clear();
        return true;
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        EXPECT_LE(size, 32768u);
        EXPECT_FALSE(current_.empty());
        const std::size_t taken = std::min(size, room);
        room -= taken;
        files[current_].insert(files[current_].end(), data, data + taken);
        return taken == size;
    }
    void EndEntry() override { current_.clear(); }

    std::vector<std::string> names;
    std::map<std::string, Bytes> files;
    std::string refuse;  // the entry whose file cannot be created
    std::size_t room = SIZE_MAX;

private:
    std::string current_;
};

struct Walked {
    ArchiveResult result;
    RecordingSink sink;
};

Walked Walk(const Bytes& archive, std::size_t piece = 32768, RecordingSink sink = {}) {
    Walked w{{}, std::move(sink)};
    MemorySource source(archive, piece);
    w.result = WalkArchive(source, w.sink);
    return w;
}

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}
void WriteAll(const fs::path& path, const Bytes& data) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
}
bool Shell(const std::string& command) {
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}
bool Have(const char* tool) { return Shell(std::string("command -v ") + tool); }

Bytes Random(std::size_t size, unsigned seed, unsigned spread = 256) {
    std::mt19937 rng(seed);
    Bytes b(size);
    for (auto& x : b)
        x = static_cast<std::uint8_t>(rng() % spread);
    return b;
}

// A work folder with files to archive: one with repeats 32768 bytes back
// (matches across the whole window), text, an empty file, one in a folder.
class ToolArchives : public testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"zip", "unzip", "7z", "python3"})
            if (!Have(tool)) GTEST_SKIP() << tool << " is not installed";
        dir_ = fs::temp_directory_path() / ("qv-zip-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        Bytes window = Random(32768, 1, 16);
        for (int i = 0; i < 40000; ++i)
            window.push_back(window[window.size() - 32768]);
        WriteAll(dir_ / "src/window.bin", window);
        std::string text;
        for (int i = 0; i < 3000; ++i)
            text += "ROM " + std::to_string(i * 7919 % 1000) + " checksum ok\n";
        WriteAll(dir_ / "src/text.txt", Bytes(text.begin(), text.end()));
        WriteAll(dir_ / "src/empty.bin", {});
        WriteAll(dir_ / "src/sf2/sf2.11", Random(70000, 2));
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Quoted(const fs::path& p) const { return "'" + p.string() + "'"; }

    // Our entries must equal, name for name, what unzip extracts with folders dropped.
    void ExpectSameAsUnzip(const fs::path& archive) {
        SCOPED_TRACE(archive.filename().string());
        const fs::path out = dir_ / ("unzip-" + archive.filename().string());
        ASSERT_TRUE(Shell("unzip -qq -o -j " + Quoted(archive) + " -d " + Quoted(out)));
        const Bytes bytes = ReadAll(archive);
        for (std::size_t piece : {std::size_t{1}, std::size_t{4093}, std::size_t{32768}}) {
            const Walked w = Walk(bytes, piece);
            EXPECT_EQ(w.result.outcome, ArchiveOutcome::kOk) << w.result.entry;
            std::size_t count = 0;
            for (const auto& file : fs::directory_iterator(out)) {
                ++count;
                const std::string name = file.path().filename().string();
                ASSERT_TRUE(w.sink.files.count(name)) << name;
                EXPECT_TRUE(w.sink.files.at(name) == ReadAll(file.path())) << name;
            }
            EXPECT_EQ(w.sink.files.size(), count);
        }
    }

    fs::path dir_;
};

TEST_F(ToolArchives, InfoZipAtEveryLevelAndThroughAPipe) {
    for (const char* level : {"-0", "-1", "-6", "-9"}) {
        const fs::path archive = dir_ / (std::string("zip") + level + ".zip");
        ASSERT_TRUE(Shell("cd " + Quoted(dir_ / "src") + " && zip -q -r " + level + " " +
                          Quoted(archive) + " ."));
        ExpectSameAsUnzip(archive);
    }
    // Written to a pipe, zip cannot go back: sizes and CRC follow the data.
    const fs::path piped = dir_ / "piped.zip";
    ASSERT_TRUE(Shell("cd " + Quoted(dir_ / "src") + " && zip -q - text.txt window.bin | cat > " +
                      Quoted(piped)));
    ExpectSameAsUnzip(piped);
}

TEST_F(ToolArchives, PythonZipfileStoredDeflatedAndStreamed) {
    const std::string script =
        "import io, os, sys, zipfile\n"
        "src, out = sys.argv[1], sys.argv[2]\n"
        "class Pipe(io.RawIOBase):\n"
        "    def __init__(s, f): s.f = f\n"
        "    def writable(s): return True\n"
        "    def write(s, b): s.f.write(b); return len(b)\n"
        "for name, method, pipe in (('stored', zipfile.ZIP_STORED, False), ('deflated', "
        "zipfile.ZIP_DEFLATED, False),\n"
        "                           ('streamed', zipfile.ZIP_DEFLATED, True)):\n"
        "    with open(os.path.join(out, name + '.zip'), 'wb') as f:\n"
        "        with zipfile.ZipFile(Pipe(f) if pipe else f, 'w', method) as z:\n"
        "            for root, dirs, files in os.walk(src):\n"
        "                for n in sorted(files): p = os.path.join(root, n); z.write(p, "
        "os.path.relpath(p, src))\n";
    WriteAll(dir_ / "make.py", Bytes(script.begin(), script.end()));
    ASSERT_TRUE(Shell("python3 " + Quoted(dir_ / "make.py") + " " + Quoted(dir_ / "src") + " " +
                      Quoted(dir_)));
    for (const char* name : {"stored.zip", "deflated.zip", "streamed.zip"})
        ExpectSameAsUnzip(dir_ / name);
}

TEST_F(ToolArchives, SevenZipDeflateAndTheMethodsWeRefuse) {
    const std::string src = Quoted(dir_ / "src");
    const fs::path deflated = dir_ / "7z-deflate.zip";
    ASSERT_TRUE(Shell("cd " + src + " && 7z a -tzip -mm=Deflate -mx=9 " + Quoted(deflated) + " ."));
    ExpectSameAsUnzip(deflated);

    // A deflated entry, then one in a method we do not read: the first is written.
    for (const char* method : {"BZip2", "LZMA"}) {
        const fs::path mixed = dir_ / (std::string("7z-") + method + ".zip");
        ASSERT_TRUE(Shell("cd " + src + " && 7z a -tzip -mm=Deflate " + Quoted(mixed) +
                          " text.txt && 7z a -tzip -mm=" + method + " " + Quoted(mixed) +
                          " window.bin"));
        const Walked w = Walk(ReadAll(mixed));
        EXPECT_EQ(w.result.outcome, ArchiveOutcome::kUnsupportedMethod) << method;
        EXPECT_EQ(w.result.entry, "window.bin");
        EXPECT_TRUE(w.sink.files.at("text.txt") == ReadAll(dir_ / "src/text.txt"));
    }

    const fs::path locked = dir_ / "7z-password.zip";
    ASSERT_TRUE(Shell("cd " + src + " && 7z a -tzip -psecret " + Quoted(locked) + " text.txt"));
    const Walked w = Walk(ReadAll(locked));
    EXPECT_EQ(w.result.outcome, ArchiveOutcome::kEncrypted);
    EXPECT_TRUE(w.sink.names.empty());
}

// Hand-made archives: only local headers, as the walk reads them.
Bytes RawDeflate(const Bytes& data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, data.size()) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

enum class Descriptor { kNone, kSigned, kBare };

struct Entry {
    Entry(std::string n, Bytes d, std::uint16_t m = 8, std::uint16_t f = 0,
          Descriptor after = Descriptor::kNone, Bytes x = {})
        : name(std::move(n)),
          data(std::move(d)),
          method(m),
          flags(f),
          descriptor(after),
          extra(std::move(x)) {}
    std::string name;
    Bytes data;
    std::uint16_t method;
    std::uint16_t flags;
    Descriptor descriptor;
    Bytes extra;
};

void Put(Bytes& b, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes Archive(const std::vector<Entry>& entries) {
    Bytes b;
    for (const Entry& e : entries) {
        const Bytes packed = e.method == 8 ? RawDeflate(e.data) : e.data;
        const auto crc =
            static_cast<std::uint32_t>(crc32(0, e.data.data(), static_cast<uInt>(e.data.size())));
        const bool after = e.descriptor != Descriptor::kNone;
        Put(b, 0x04034B50, 4);
        Put(b, 20, 2);
        Put(b, e.flags | (after ? 8 : 0), 2);
        Put(b, e.method, 2);
        Put(b, 0, 4);
        Put(b, after ? 0 : crc, 4);
        Put(b, after ? 0 : static_cast<std::uint32_t>(packed.size()), 4);
        Put(b, after ? 0 : static_cast<std::uint32_t>(e.data.size()), 4);
        Put(b, static_cast<std::uint32_t>(e.name.size()), 2);
        Put(b, static_cast<std::uint32_t>(e.extra.size()), 2);
        b.insert(b.end(), e.name.begin(), e.name.end());
        b.insert(b.end(), e.extra.begin(), e.extra.end());
        b.insert(b.end(), packed.begin(), packed.end());
        if (e.descriptor == Descriptor::kSigned) Put(b, 0x08074B50, 4);
        if (after) {
            Put(b, crc, 4);
            Put(b, static_cast<std::uint32_t>(packed.size()), 4);
            Put(b, static_cast<std::uint32_t>(e.data.size()), 4);
        }
    }
    return b;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(HandMadeArchives, SizesAfterTheDataWithAndWithoutSignature) {
    const Bytes big = Random(100000, 3, 8);
    const Bytes archive = Archive({{"a.bin", big, 8, 0, Descriptor::kSigned},
                                   {"b.txt", Text("second"), 8, 0, Descriptor::kBare},
                                   {"c.txt", Text("stored after them"), 0}});
    for (std::size_t piece : {std::size_t{1}, std::size_t{32768}}) {
        const Walked w = Walk(archive, piece);
        EXPECT_EQ(w.result.outcome, ArchiveOutcome::kOk);
        EXPECT_EQ(w.sink.names, (std::vector<std::string>{"a.bin", "b.txt", "c.txt"}));
        EXPECT_TRUE(w.sink.files.at("a.bin") == big);
        EXPECT_TRUE(w.sink.files.at("c.txt") == Text("stored after them"));
    }
    Bytes wrongCrc = Archive({{"a.bin", Text("data"), 8, 0, Descriptor::kBare}});
    wrongCrc[wrongCrc.size() - 12] ^= 1;
    EXPECT_EQ(Walk(wrongCrc).result.outcome, ArchiveOutcome::kCrcError);
    EXPECT_EQ(Walk(Archive({{"s.bin", Text("x"), 0, 0, Descriptor::kSigned}})).result.outcome,
              ArchiveOutcome::kUnsupportedMethod);
}

TEST(HandMadeArchives, NamesKeepTheirLastComponentOnly) {
    const Walked w = Walk(Archive({{"sf2/sf2.11", Text("1")},
                                   {"C:\\roms\\..\\up.bin", Text("2")},
                                   {"../../etc/passwd", Text("3")},
                                   {"folder/", {}},
                                   {"..", Text("4")},
                                   {"deep/..", Text("5")},
                                   {"d:stream", Text("6"), 0},
                                   {std::string("x\0hidden", 8), Text("7")},
                                   {std::string(258, 'n'), Text("8")}}));
    EXPECT_EQ(w.result.outcome, ArchiveOutcome::kOk);
    EXPECT_EQ(w.sink.names, (std::vector<std::string>{"sf2.11", "up.bin", "passwd", "stream", "x",
                                                      std::string(255, 'n')}));
    EXPECT_TRUE(w.sink.files.at("passwd") == Text("3"));
}

TEST(HandMadeArchives, BadNamesStopTheWalk) {
    for (const std::string& name :
         {std::string(259, 'n'), std::string(""), std::string("\0x", 2), std::string("roms/NUL"),
          std::string("com1.txt"), std::string("a?b"), std::string("tab\there")}) {
        const Walked w = Walk(
            Archive({{"first.bin", Text("ok")}, {name, Text("data")}, {"last.bin", Text("no")}}));
        EXPECT_EQ(w.result.outcome, ArchiveOutcome::kBadName) << name;
        EXPECT_EQ(w.sink.names, std::vector<std::string>{"first.bin"}) << name;
    }
}

TEST(HandMadeArchives, RefusedEntries) {
    EXPECT_EQ(Walk(Archive({{"i.bin", Text("imploded"), 6}})).result.outcome,
              ArchiveOutcome::kUnsupportedMethod);
    EXPECT_EQ(Walk(Archive({{"e.bin", Text("secret"), 8, 1}})).result.outcome,
              ArchiveOutcome::kEncrypted);
}

TEST(HandMadeArchives, DamageIsReportedWithTheEntryName) {
    const Bytes data = Random(50000, 4, 32);
    const Bytes good =
        Archive({{"one.bin", Text("fine")}, {"roms/two.bin", data}, {"three.bin", data, 0}});
    ASSERT_EQ(Walk(good).result.outcome, ArchiveOutcome::kOk);

    Bytes flipped = good;
    flipped[good.size() / 3] ^= 0x10;  // inside two.bin's deflate data
    const Walked w = Walk(flipped);
    EXPECT_EQ(w.result.outcome, ArchiveOutcome::kCrcError);
    EXPECT_EQ(w.result.entry, "roms/two.bin");

    Bytes storedFlip = good;
    storedFlip[good.size() - 5] ^= 1;
    EXPECT_EQ(Walk(storedFlip).result.entry, "three.bin");

    for (std::size_t cut : {good.size() / 3, good.size() - 1}) {
        const Walked t = Walk(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)));
        EXPECT_EQ(t.result.outcome, ArchiveOutcome::kCrcError) << cut;
    }
    // Cut inside the second header: its name cannot be read.
    EXPECT_EQ(Walk(Bytes(good.begin(), good.begin() + 30 + 7 + 20 + 20)).result.outcome,
              ArchiveOutcome::kBadName);
}

TEST(HandMadeArchives, WhatIsNoArchiveEndsTheWalkQuietly) {
    EXPECT_EQ(Walk({}).result.outcome, ArchiveOutcome::kOk);
    EXPECT_EQ(Walk(Text("MZ not an archive")).result.outcome, ArchiveOutcome::kOk);
    Bytes odd = Archive({{"a.bin", Text("x")}});
    odd[1] = odd[2] = odd[3] = 0;  // reads as 0x50000000: not a header
    const Walked w = Walk(odd);
    EXPECT_EQ(w.result.outcome, ArchiveOutcome::kOk);
    EXPECT_TRUE(w.sink.names.empty());
    // An extra field is skipped.
    const Walked extra =
        Walk(Archive({{"x.bin", Text("payload"), 8, 0, Descriptor::kNone, Bytes(40, 0xEE)}}));
    EXPECT_TRUE(extra.sink.files.at("x.bin") == Text("payload"));
}

TEST(HandMadeArchives, AWriteThatFailsOrFallsShortStopsTheWalkNamingTheFile) {
    const Bytes big = Random(100000, 4, 16);
    const Bytes archive = Archive({{"a.bin", big},
                                   {"sf2/b.bin", Random(50000, 5), 0},
                                   {"c.bin", Text("never reached")},
                                   {"d.bin", big, 8, 0, Descriptor::kSigned}});
    struct Case {
        std::size_t room;
        const char* entry;
        std::size_t written;  // entries begun
    };
    for (std::size_t piece : {std::size_t{1}, std::size_t{32768}}) {
        for (const Case& c : {Case{0, "a.bin", 1}, Case{40000, "a.bin", 1}, Case{99999, "a.bin", 1},
                              Case{100000 + 32768, "b.bin", 2}, Case{100000 + 49999, "b.bin", 2}}) {
            RecordingSink sink;
            sink.room = c.room;
            const Walked w = Walk(archive, piece, std::move(sink));
            EXPECT_EQ(w.result.outcome, ArchiveOutcome::kWriteError) << c.room;
            EXPECT_EQ(w.result.entry, c.entry) << c.room;
            EXPECT_EQ(w.sink.names.size(), c.written) << c.room;
        }
        // All of it fits: no failure, even with not a byte to spare.
        RecordingSink exact;
        exact.room = 100000 + 50000 + 13 + 100000;
        EXPECT_EQ(Walk(archive, piece, std::move(exact)).result.outcome, ArchiveOutcome::kOk);
    }
    // A file that cannot be created or replaced stops the walk before its data.
    RecordingSink refusing;
    refusing.refuse = "c.bin";
    const Walked w = Walk(archive, 32768, std::move(refusing));
    EXPECT_EQ(w.result.outcome, ArchiveOutcome::kWriteError);
    EXPECT_EQ(w.result.entry, "c.bin");
    EXPECT_EQ(w.sink.names, (std::vector<std::string>{"a.bin", "b.bin"}));
}

// A ZIP64 extra field as a local header carries it: both sizes, original first.
Bytes Zip64Extra(std::uint64_t original, std::uint64_t compressed) {
    Bytes x;
    Put(x, 0x0001, 2);
    Put(x, 16, 2);
    Put(x, static_cast<std::uint32_t>(original), 4);
    Put(x, static_cast<std::uint32_t>(original >> 32), 4);
    Put(x, static_cast<std::uint32_t>(compressed), 4);
    Put(x, static_cast<std::uint32_t>(compressed >> 32), 4);
    return x;
}

TEST(HandMadeArchives, Zip64SizesAreReadWhicheverHeaderFieldIsSaturated) {
    const Bytes data = Random(70000, 6, 4);
    const std::size_t packed = RawDeflate(data).size();
    ASSERT_NE(packed, data.size());
    const Bytes extra = Zip64Extra(data.size(), packed);
    // Which header fields say "see the extra field": compressed, original, both.
    for (int saturated : {1, 2, 3}) {
        Bytes archive = Archive(
            {{"big.bin", data, 8, 0, Descriptor::kNone, extra}, {"next.txt", Text("after it")}});
        for (int i = 0; i < 4; ++i) {
            if (saturated & 1) archive[18 + i] = 0xFF;
            if (saturated & 2) archive[22 + i] = 0xFF;
        }
        const Walked w = Walk(archive);
        EXPECT_EQ(w.result.outcome, ArchiveOutcome::kOk) << saturated;
        EXPECT_EQ(w.sink.names, (std::vector<std::string>{"big.bin", "next.txt"})) << saturated;
        EXPECT_TRUE(w.sink.files.count("big.bin") && w.sink.files.at("big.bin") == data) << saturated;
    }
}

class FailingSource final : public ByteSource {
public:
    std::ptrdiff_t Read(std::uint8_t*, std::size_t) override { return -1; }
};

TEST(ArchiveMessages, TextsAndCaptions) {
    struct Case {
        ArchiveOutcome outcome;
        const char* text;
        const char* caption;
    };
    for (const Case& c :
         {Case{ArchiveOutcome::kCannotOpen, "C:\\EMU\\sf2.zip", "Couldn't open..."},
          Case{ArchiveOutcome::kCannotPosition, "Error finding attached archive.",
               "Archive error.."},
          Case{ArchiveOutcome::kReadError, "Error finding attached archive.", "Archive error.."},
          Case{ArchiveOutcome::kBadName, "Error retreiving filename.", "Archive error.."},
          Case{ArchiveOutcome::kUnsupportedMethod, "Unsupported compression method",
               "Unable to extract..."},
          Case{ArchiveOutcome::kEncrypted, "Encrypted entries are not supported",
               "Unable to extract..."},
          Case{ArchiveOutcome::kCrcError, "CRC error in sf2/sf2.11", "Archive error.."},
          Case{ArchiveOutcome::kWriteError, "Couldn't write sf2/sf2.11", "Unable to extract..."}}) {
        const ArchiveMessage m = MessageFor({c.outcome, "sf2/sf2.11"}, "C:\\EMU\\sf2.zip");
        EXPECT_EQ(m.text, c.text);
        EXPECT_EQ(m.caption, c.caption);
    }
    FailingSource failing;
    RecordingSink sink;
    EXPECT_EQ(WalkArchive(failing, sink).outcome, ArchiveOutcome::kReadError);
}

}  // namespace
}  // namespace qv
