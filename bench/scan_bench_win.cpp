// Times the ROM scan's file system work over an emulator folder that holds
// every game of the table (about half as game folders, half as archives) and
// 5,000 unrelated files: the two emulator-file tests and FindRomStorage for
// each row, through the same disk view as the program, without the wait
// window and its message pumping. Usage: scan_bench [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "catalogue/disk_folder_view_win.h"
#include "catalogue/game_table.h"
#include "catalogue/scan.h"
#include "launch/emulator.h"
#include "ui/handles_win.h"
#include "util/files_win.h"
#include "util/text.h"

namespace {

using namespace qv;

constexpr int kUnrelatedFiles = 5000;
constexpr int kDefaultRounds = 200;

void Touch(const std::string& path) {
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
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
// when it is empty.
void MakeEmulatorFolder(const std::string& emu, int unrelated, const std::string& unrelatedIn) {
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
                Touch(JoinPath(emu, WordAt(game.archiveNames, ';', i) + ".ZIP", false));
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
        if (!FindRomStorage(game, emu, disk).empty()) ++found;
    }
    return found;
}

double Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart);
}

// Builds a fresh folder, scans it rounds times, prints one line; false when a
// scan did not find every game.
bool Run(const char* label, int unrelated, const std::string& unrelatedIn, int rounds) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string emu =
        std::string(temp) + "qv-scan-bench-" + std::to_string(GetCurrentProcessId());
    DeleteTree(emu);
    MakeEmulatorFolder(emu, unrelated, unrelatedIn);

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
    DeleteTree(emu);

    const double total = std::accumulate(times.begin(), times.end(), 0.0);
    std::sort(times.begin(), times.end());
    const double median = times.empty() ? 0.0 : times[times.size() / 2];
    const double mean = times.empty() ? 0.0 : total / static_cast<double>(times.size());
    std::printf("%-34s %6zu %5d %10.1f %11.1f %11.1f\n", label, times.size(), found, total / 1000.0,
                median, mean);
    return found == static_cast<int>(kGameCount);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
    std::printf("ROM scan: %zu games, %d unrelated files, %d rounds\n", kGameCount, kUnrelatedFiles,
                rounds);
    std::printf("%-34s %6s %5s %10s %11s %11s\n", "unrelated files", "rounds", "found", "total ms",
                "median us", "mean us");
    bool ok = Run("none (for comparison)", 0, "", rounds);
    ok = Run("in the emulator folder", kUnrelatedFiles, "", rounds) && ok;
    // The worst cases for the mask listing: the folder asked for the most
    // masks (four rows share it) and the one whose mask lists every file.
    ok = Run("in game folder SF2t (7 masks)", kUnrelatedFiles, "SF2t", rounds) && ok;
    ok = Run("in game folder Knights (mask *.*)", kUnrelatedFiles, "Knights", rounds) && ok;
    return ok ? 0 : 1;
}
