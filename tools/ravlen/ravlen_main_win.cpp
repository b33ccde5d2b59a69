// The stand-in emulator: takes the emulator's command line and options file,
// checks them and the game's ROM folder, and leaves a snapshot, a save state
// and a witness file behind as a game that ran would.
//
//   ravlen.exe @"<options file>" <game id>
//
// Exit codes: 0 ran; 1 bad command line; 2 options file unreadable or wrong;
// 3 ROM folder missing or empty; 4 save or snapshot folder missing; 5 an
// output file could not be written. RAVLEN_STANDIN_NO_WINDOW=1 skips the window;
// RAVLEN_STANDIN_SECONDS=N keeps a run going for N seconds after its files are
// written (with or without the window), as a game being played would;
// RAVLEN_STANDIN_SNAPSHOTS=N writes N snapshots (1 to 9) instead of one;
// RAVLEN_STANDIN_LOG=FILE appends a line to FILE when a run starts and one
// when it ends, so that a long series of launches can count its runs;
// RAVLEN_STANDIN_STATUS=N (0xC0000142, say) ends the run at once with exit
// code N, as the system ends a program whose library cannot initialise.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "card_win.h"
#include "options_check.h"
#include "util/handles_win.h"

namespace ravlen {
namespace {

constexpr unsigned kWindowMilliseconds = 4000;
constexpr DWORD kMaxOptionsFile = 1 << 20;
const char* const kSf2Files[] = {"SF2.21", "SF2.22", "SF2.23"};

bool WindowWanted() {
    const char* skip = std::getenv("RAVLEN_STANDIN_NO_WINDOW");
    return !(skip && std::strcmp(skip, "1") == 0);
}

// How long a run lasts after its files are written: the knob, or the window's
// usual time (none without the window).
unsigned RunMilliseconds() {
    const char* seconds = std::getenv("RAVLEN_STANDIN_SECONDS");
    if (seconds && *seconds)
        return static_cast<unsigned>(std::strtoul(seconds, nullptr, 10)) * 1000;
    return WindowWanted() ? kWindowMilliseconds : 0;
}

// How many snapshots a run takes: the knob within 1..9, else one.
int SnapshotCount() {
    const char* count = std::getenv("RAVLEN_STANDIN_SNAPSHOTS");
    const unsigned long n = count && *count ? std::strtoul(count, nullptr, 10) : 1;
    return n >= 1 && n <= 9 ? static_cast<int>(n) : 1;
}

bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A folder as Windows resolves it from here: "\Saves" is on the current drive's root.
std::string FullPath(const std::string& path) {
    char buf[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, buf, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(buf, n) : path;
}

std::string Join(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string CurrentDir() {
    char buf[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, buf);
    return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
}

bool ReadWhole(const std::string& path, std::string& data, DWORD limit) {
    qv::OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > limit) return false;
    data.resize(size);
    DWORD got = 0;
    return size == 0 || (ReadFile(file.get(), data.data(), size, &got, nullptr) && got == size);
}

bool WriteWhole(const std::string& path, const void* data, std::size_t size) {
    qv::OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD put = 0;
    return file && WriteFile(file.get(), data, static_cast<DWORD>(size), &put, nullptr) &&
           put == size;
}

int CountFiles(const std::string& folder) {
    WIN32_FIND_DATAA found;
    qv::OwnedFind find(FindFirstFileA(Join(folder, "*").c_str(), &found));
    int files = 0;
    if (!find) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileA(find.get(), &found));
    return files;
}

// "SF2.21: 524288 bytes, starts 0A 1B ..." for the witness.
std::string RomFileNote(const std::string& folder, const char* name) {
    std::string data;
    if (!ReadWhole(Join(folder, name), data, 64u << 20)) return std::string(name) + ": missing";
    std::string note = std::string(name) + ": " + std::to_string(data.size()) + " bytes, starts";
    char hex[4];
    for (std::size_t i = 0; i < data.size() && i < 16; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned char>(data[i]));
        note += hex;
    }
    return note;
}

std::string FirstFreeSnapshot(const std::string& folder) {
    char name[16];
    for (int n = 0; n <= 9999; ++n) {
        std::snprintf(name, sizeof name, "Snap%04d.Pcx", n);
        if (!Exists(Join(folder, name))) return Join(folder, name);
    }
    return "";
}

class Run {
public:
    int Main(int argc, char** argv);

private:
    int Fail(int code, const std::string& message);
    void Say(const std::string& line) {
        std::printf("%s\n", line.c_str());
        shown_.push_back(line);
    }

    std::vector<std::string> shown_;
    std::string title_ = "Ravlen";
};

int Run::Fail(int code, const std::string& message) {
    std::fprintf(stderr, "ravlen: %s\n", message.c_str());
    std::fflush(stdout);
    if (WindowWanted()) {
        if (!shown_.empty()) shown_.push_back("");
        shown_.push_back("RAVLEN STAND-IN CANNOT RUN");
        shown_.push_back(message);
        ShowRunWindow(title_ + " - Ravlen stand-in", nullptr, shown_, kWindowMilliseconds);
    }
    return code;
}

int Run::Main(int argc, char** argv) {
    if (argc != 3 || argv[1][0] != '@' || argv[1][1] == '\0')
        return Fail(1, "usage: ravlen @\"<options file>\" <game id>");
    const std::string optionsPath = argv[1] + 1;
    const std::string gameId = argv[2];
    if (gameId.find_first_of("\\/:*?\"<>|") != std::string::npos)
        return Fail(1, "bad game id \"" + gameId + "\"");

    std::string text;
    if (!ReadWhole(optionsPath, text, kMaxOptionsFile))
        return Fail(2, "cannot read the options file " + optionsPath);
    const CheckResult checked = CheckOptionsFile(text);
    if (!checked.ok) return Fail(2, "options file " + optionsPath + ", " + checked.error);
    const Options& o = checked.options;
    title_ = o.title;

    const std::string current = CurrentDir();
    const std::string romFolder = Join(current, gameId);
    if (!IsFolder(romFolder)) return Fail(3, "no ROM folder " + romFolder);
    const int romFiles = CountFiles(romFolder);
    if (romFiles == 0) return Fail(3, "no ROM files in " + romFolder);
    const std::string saveDir = FullPath(o.saveDir);
    const std::string pcxDir = FullPath(o.pcxDir);
    if (!IsFolder(saveDir))
        return Fail(4, "no save folder " + saveDir + " (-savedir " + o.saveDir + ")");
    if (!IsFolder(pcxDir))
        return Fail(4, "no snapshot folder " + pcxDir + " (-pcxdir " + o.pcxDir + ")");

    Say("Ravlen stand-in running " + o.title + " (" + gameId + ")");
    Say("options " + optionsPath + ": " + std::to_string(o.lines.size()) + " lines, all correct");
    Say("ROMs " + romFolder + ": " + std::to_string(romFiles) + " file(s)");
    Say("saves " + saveDir + ", snapshots " + pcxDir);
    std::string flags;
    for (const std::string& f : o.flags)
        flags += " " + f;
    Say("-res " + std::to_string(o.width) + "x" + std::to_string(o.height) + " -frameskip " +
        o.frameSkip + " -vsync " + (o.vsync ? "ON" : "OFF") + " -intensity " +
        (o.intensity ? "ON" : "OFF") + flags);
    Say("players " + o.devices[0] + " " + o.devices[1] + " " + o.devices[2] +
        ", analog resolution " + std::to_string(o.analogJoyRes) + ", thresholds " +
        o.thresholds[0] + " / " + o.thresholds[1]);
    Say("KEY1 " + o.keyLayouts[0]);
    Say("KEY2 " + o.keyLayouts[1]);

    // The snapshot is the chosen screen size, kept within 640x480.
    const Card card =
        DrawTestCard(std::min(o.width, 640), std::min(o.height, 480), o.title, gameId);
    const std::vector<std::uint8_t> pcx =
        EncodePcx(card.width, card.height, card.pixels, card.palette);
    std::string snapshot;
    for (int i = 0; i < SnapshotCount(); ++i) {
        snapshot = FirstFreeSnapshot(pcxDir);
        if (snapshot.empty() || !WriteWhole(snapshot, pcx.data(), pcx.size()))
            return Fail(5, "cannot write a snapshot into " + pcxDir);
    }
    const std::string saveState = Join(saveDir, gameId + ".Rs0");
    const std::string state = "RAVLEN STAND-IN SAVE STATE\r\n" + gameId + "\r\n" + o.title + "\r\n";
    if (!WriteWhole(saveState, state.data(), state.size()))
        return Fail(5, "cannot write " + saveState);
    Say("snapshot " + snapshot);
    Say("save state " + saveState);

    std::string witness = "command line: " + std::string(GetCommandLineA()) + "\r\n";
    witness += "current directory: " + current + "\r\n";
    witness += "options file: " + optionsPath + "\r\n";
    witness += "game id: " + gameId + "\r\n";
    for (const std::string& line : o.lines)
        witness += "option: " + line + "\r\n";
    if (_stricmp(gameId.c_str(), "SF2t") == 0)
        for (const char* name : kSf2Files)
            witness += "rom " + RomFileNote(romFolder, name) + "\r\n";
    witness += "snapshot: " + snapshot + "\r\nsave state: " + saveState + "\r\n";
    const std::string witnessPath = Join(saveDir, "ravlen-witness.txt");
    if (!WriteWhole(witnessPath, witness.data(), witness.size()))
        return Fail(5, "cannot write " + witnessPath);
    std::fflush(stdout);

    if (WindowWanted())
        ShowRunWindow(o.title + " - Ravlen stand-in", &card, shown_, RunMilliseconds());
    else
        Sleep(RunMilliseconds());
    return 0;
}

// Appends a line to the file named by RAVLEN_STANDIN_LOG, if any; several
// runs may write to it one after the other.
void Record(const std::string& line) {
    const char* log = std::getenv("RAVLEN_STANDIN_LOG");
    if (!log || !*log) return;
    qv::OwnedHandle file(CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string text = line + "\r\n";
    DWORD put = 0;
    if (file) WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
}

}  // namespace
}  // namespace ravlen

int main(int argc, char** argv) {
    // Ended by the system as it starts (a library that cannot initialise):
    // the status is the exit code, and the run records nothing.
    if (const char* status = std::getenv("RAVLEN_STANDIN_STATUS"); status && *status)
        ExitProcess(static_cast<UINT>(std::strtoul(status, nullptr, 0)));
    const std::string process = std::to_string(GetCurrentProcessId());
    ravlen::Record("start " + process + " " + (argc > 2 ? argv[2] : "") + " in " +
                   ravlen::CurrentDir());
    ravlen::Run run;
    const int code = run.Main(argc, argv);
    ravlen::Record("end " + process + " code " + std::to_string(code));
    return code;
}
