// Times the ROM scan's file system work over an emulator folder that holds
// every game of the table (about half as game folders, half as archives) and
// 5,000 unrelated files: the two emulator-file tests and JudgeGame for
// each row, through the same disk view as the program, without the wait
// window and its message pumping.
//
// Then times the scan report's "Check archives" over the same folder, whose
// archives are real ones of ROM-set size (8 entries of 512 KB each), beside
// the least any check must do: reading the same files. Their deflate data
// codes every byte as a literal, the slowest kind for the decoder to read.
// Given a folder (for example the demo's), times the check over that instead.
// Usage: scan_bench [rounds] [folder]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "app/scan_report.h"
#include "archive/crc32.h"
#include "archive/extract_win.h"
#include "catalogue/disk_folder_view_win.h"
#include "catalogue/game_table.h"
#include "catalogue/scan.h"
#include "util/files_win.h"
#include "util/handles_win.h"
#include "product/ravlen_files.h"
#include "util/text.h"

namespace {

using namespace qv;

constexpr int kUnrelatedFiles = 5000;
constexpr int kDefaultRounds = 200;
constexpr int kCheckRounds = 5;
constexpr int kEntriesPerArchive = 8;
constexpr std::size_t kRomSize = 512 * 1024;

using Bytes = std::vector<std::uint8_t>;

void Touch(const std::string& path) {
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        std::exit(2);
    }
}

// Deflate data in one block of fixed codes, every byte a literal.
Bytes DeflateAsLiterals(const Bytes& data) {
    Bytes out;
    std::uint32_t bits = 0;
    int count = 0;
    auto put = [&](std::uint32_t code, int length) {  // Huffman codes go highest bit first
        for (int i = length - 1; i >= 0; --i) {
            bits |= ((code >> i) & 1u) << count;
            if (++count == 8) out.push_back(static_cast<std::uint8_t>(bits)), bits = 0, count = 0;
        }
    };
    put(1, 1);  // the last block
    put(1, 1);  // type 1, fixed codes (two bits, lowest first: 1, 0)
    put(0, 1);
    for (std::uint8_t b : data)
        b < 144 ? put(0x30u + b, 8) : put(0x190u + (b - 144u), 9);
    put(0, 7);  // end of block
    if (count) out.push_back(static_cast<std::uint8_t>(bits));
    return out;
}

void PutLe(Bytes& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// An archive of ROM-like entries (local headers only: all the reader looks at).
void WriteArchive(const std::string& path, std::uint32_t seed) {
    Bytes zip;
    Bytes rom(kRomSize);
    for (int e = 0; e < kEntriesPerArchive; ++e) {
        for (std::uint8_t& b : rom)
            b = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
        const Bytes packed = DeflateAsLiterals(rom);
        const std::string name = "rom" + std::to_string(e) + ".bin";
        PutLe(zip, 0x04034B50, 4);
        PutLe(zip, 20, 2);
        PutLe(zip, 0, 2);
        PutLe(zip, 8, 2);
        PutLe(zip, 0, 4);
        PutLe(zip, Crc32(rom.data(), rom.size()), 4);
        PutLe(zip, static_cast<std::uint32_t>(packed.size()), 4);
        PutLe(zip, static_cast<std::uint32_t>(rom.size()), 4);
        PutLe(zip, static_cast<std::uint32_t>(name.size()), 2);
        PutLe(zip, 0, 2);
        zip.insert(zip.end(), name.begin(), name.end());
        zip.insert(zip.end(), packed.begin(), packed.end());
    }
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), zip.data(), static_cast<DWORD>(zip.size()), &written, nullptr)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(2);
    }
}

// A file name that the mask matches: "*" becomes "01", "?" becomes "x".
std::string NameFor(std::string_view mask) {
    return ReplaceText("?", "x", ReplaceText("*", "01", mask, true), true);
}

// Game ids alternate, in table order, between a folder with a file for every
// pattern of every row that uses the id, and the archives of those rows.
// The unrelated files go into the folder of unrelatedIn, or beside the games
// when it is empty. The archives are empty files unless realArchives.
void MakeEmulatorFolder(const std::string& emu, int unrelated, const std::string& unrelatedIn,
                        bool realArchives) {
    CreateDirectoryA(emu.c_str(), nullptr);
    Touch(JoinPath(emu, kRavlenProgram, true));
    std::map<std::string, bool, std::less<>> asFolder;
    for (const GameRecord& game : GameTable()) {
        if (!asFolder.contains(game.gameId)) {
            const bool folder = asFolder.size() % 2 == 0;
            asFolder.emplace(std::string(game.gameId), folder);
        }
        if (asFolder.find(game.gameId)->second) {
            const std::string dir = JoinPath(emu, game.gameId, false);
            CreateDirectoryA(dir.c_str(), nullptr);
            for (int i = 1; i <= WordCount(game.romPatterns, ';'); ++i) {
                Touch(JoinPath(dir, NameFor(WordAt(game.romPatterns, ';', i)), false));
            }
        } else {
            for (int i = 1; i <= WordCount(game.archiveNames, ';'); ++i) {
                const std::string archive =
                    JoinPath(emu, WordAt(game.archiveNames, ';', i) + ".ZIP", false);
                if (!realArchives)
                    Touch(archive);
                else if (!FileExists(archive))
                    WriteArchive(archive,
                                 static_cast<std::uint32_t>(std::hash<std::string>{}(archive)));
            }
        }
    }
    const std::string junk = unrelatedIn.empty() ? emu : JoinPath(emu, unrelatedIn, false);
    for (int i = 0; i < unrelated; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "unrelated_%04d.dat", i);
        Touch(JoinPath(junk, name, false));
    }
}

// One scan: what GamesCheck asks of the disk. Returns the games found.
int Scan(const std::string& emu) {
    DiskFolderView disk;
    const bool program = FileExists(JoinPath(emu, kRavlenProgram, true));
    const bool archive = FileExists(JoinPath(emu, kRavlenArchive, true));
    if (!program && !archive) return -1;
    int found = 0;
    for (const GameRecord& game : GameTable()) {
        if (JudgeGame(game, emu, disk).found()) ++found;
    }
    return found;
}

std::uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

// The least a check does: every byte of every archive read, in the reader's blocks.
void ReadOnly(const std::vector<std::string>& archives) {
    static std::uint8_t block[32768];
    for (const std::string& path : archives) {
        OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        DWORD got = 0;
        while (file && ReadFile(file.get(), block, sizeof block, &got, nullptr) && got > 0) {
        }
    }
}

double Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart);
}

double MedianMs(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? 0.0 : times[times.size() / 2];
}

// Times "Check archives" over the archives the scan finds in emu, beside
// reading them only; prints one line. False when an archive failed the check.
bool TimeCheck(const std::string& emu, int rounds) {
    DiskFolderView disk;
    const EmulatorVerdict emulator = JudgeEmulator(emu, kRavlenProgram, kRavlenArchive, disk);
    std::vector<GameVerdict> games;
    for (const GameRecord& game : GameTable())
        games.push_back(JudgeGame(game, emu, disk));
    const std::vector<std::string> archives = ArchivesToCheck(emulator, games);
    std::uint64_t bytes = 0;
    for (const std::string& path : archives)
        bytes += FileSize(path);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double msPerTick = 1e3 / static_cast<double>(frequency.QuadPart);
    ReadOnly(archives);  // warm-up, untimed: both then read from the system's cache
    std::vector<double> readTimes, checkTimes;
    int faulty = 0;
    for (int r = 0; r < rounds; ++r) {
        double start = Ticks();
        ReadOnly(archives);
        readTimes.push_back((Ticks() - start) * msPerTick);
        start = Ticks();
        const ArchiveChecks checks =
            CheckArchives(archives, CheckArchive, [](const std::string&) {});
        checkTimes.push_back((Ticks() - start) * msPerTick);
        faulty = 0;
        for (const auto& [path, check] : checks)
            faulty += ArchiveProblem(check).empty() ? 0 : 1;
    }
    const double read = MedianMs(readTimes), check = MedianMs(checkTimes);
    std::printf(
        "check archives: %zu archives, %.1f MB, %d at fault, %d rounds: median %.1f ms "
        "(reading them only: %.1f ms, ratio %.1f)\n",
        archives.size(), static_cast<double>(bytes) / 1048576.0, faulty, rounds, check, read,
        read > 0 ? check / read : 0.0);
    return faulty == 0;
}

// Builds a fresh folder, scans it rounds times, prints one line; false when a
// scan did not find every game.
bool Run(const char* label, int unrelated, const std::string& unrelatedIn, int rounds,
         bool check = false) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string emu =
        std::string(temp) + "qv-scan-bench-" + std::to_string(GetCurrentProcessId());
    DeleteTree(emu);
    MakeEmulatorFolder(emu, unrelated, unrelatedIn, check);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double usPerTick = 1e6 / static_cast<double>(frequency.QuadPart);

    int found = Scan(emu);  // warm-up, untimed
    std::vector<double> times;
    for (int r = 0; r < rounds && found == static_cast<int>(kGameCount); ++r) {
        const double start = Ticks();
        found = Scan(emu);
        times.push_back((Ticks() - start) * usPerTick);
    }

    const double total = std::accumulate(times.begin(), times.end(), 0.0);
    std::sort(times.begin(), times.end());
    const double median = times.empty() ? 0.0 : times[times.size() / 2];
    const double mean = times.empty() ? 0.0 : total / static_cast<double>(times.size());
    std::printf("%-34s %6zu %5d %10.1f %11.1f %11.1f\n", label, times.size(), found, total / 1000.0,
                median, mean);
    const bool checked = !check || TimeCheck(emu, kCheckRounds);
    DeleteTree(emu);
    return found == static_cast<int>(kGameCount) && checked;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
    if (argc > 2) return TimeCheck(argv[2], rounds) ? 0 : 1;
    std::printf("ROM scan: %zu games, %d unrelated files, %d rounds\n", kGameCount, kUnrelatedFiles,
                rounds);
    std::printf("%-34s %6s %5s %10s %11s %11s\n", "unrelated files", "rounds", "found", "total ms",
                "median us", "mean us");
    bool ok = Run("none (for comparison)", 0, "", rounds);
    ok = Run("in the emulator folder", kUnrelatedFiles, "", rounds, true) && ok;
    // The worst cases for the mask listing: the folder asked for the most
    // masks (four rows share it) and the one whose mask lists every file.
    ok = Run("in game folder SF2t (7 masks)", kUnrelatedFiles, "SF2t", rounds) && ok;
    ok = Run("in game folder Knights (mask *.*)", kUnrelatedFiles, "Knights", rounds) && ok;
    return ok ? 0 : 1;
}
