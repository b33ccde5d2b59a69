// Times the real program over big collections, as a user with years of play
// has them: the start to the main window with its game buttons, the first and
// the second launch until Ravlen runs, each with a small emulator folder and
// with one that also holds many unrelated files; and the snapshot viewer
// opened on a folder of many snapshots: how long its list takes to fill and
// the longest stretch the program leaves a message unanswered meanwhile,
// then a second opening with a click on the third item.
//
// Usage: big_folders_bench QUARVEL_EXE RAVLEN_EXE ROOT, where ROOT holds the
// folders that make_big_folders.py makes (small, crowded, Pcx). Run it under
// Wine in a session of scripts/wine-session.sh: it starts Quarvel's settings
// afresh there, as the end-to-end tests do. The peer is the system's command
// interpreter, run from each emulator folder too: what any program started
// from there pays.
#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "poll_win.h"
#include "catalogue/game_table.h"
#include "util/handles_win.h"
#include "product/panel_layout.h"
#include "util/files_win.h"
#include "util/text.h"

namespace {

using namespace qv;
using Clock = std::chrono::steady_clock;

constexpr auto kLimit = std::chrono::minutes(10);  // generous: the machine may be loaded
constexpr char kSettingsKey[] = "Software\\Ostrel\\Quarvel";

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

[[noreturn]] void Fail(const std::string& what) { bench::Fail("big_folders_bench", what); }

void WaitFor(const char* what, const std::function<bool()>& ready) {
    bench::WaitFor("big_folders_bench", what, ready, kLimit, 2);
}

// The program's windows, found by class among those of its process.
struct Found {
    DWORD process;
    const char* className;
    HWND hwnd = nullptr;
};

BOOL CALLBACK FindTopWindow(HWND hwnd, LPARAM param) {
    auto& found = *reinterpret_cast<Found*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (process != found.process || lstrcmpA(name, found.className) != 0) return TRUE;
    found.hwnd = hwnd;
    return FALSE;
}

HWND TopWindow(DWORD process, const char* className) {
    Found found{process, className};
    EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&found));
    return found.hwnd;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::string ClassOf(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// A game button by its caption, the game's title.
HWND GameButton(HWND main, std::string_view title) {
    for (HWND child : Descendants(main)) {
        if (ClassOf(child) == "Button" && TextOf(child) == title) return child;
    }
    return nullptr;
}

int GameButtons(HWND main) {
    int count = 0;
    for (HWND child : Descendants(main)) {
        for (const GameRecord& game : GameTable())
            if (ClassOf(child) == "Button" && TextOf(child) == game.title) ++count;
    }
    return count;
}

// Answered within the limit: the round trip of one message.
bool Answers(HWND hwnd) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0;
}

bool ProcessRuns(const char* exeName) {
    OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName) == 0) return true;
    }
    return false;
}

// A click of the left button at a client point of a window.
void Click(HWND hwnd, int x, int y) {
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Quarvel's settings as on a first start, but for the snapshot folder.
void FreshSettings(const std::string& snapshotFolder) {
    SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        Fail("cannot write the settings");
    RegSetValueExA(key, "L_PF", 0, REG_SZ, reinterpret_cast<const BYTE*>(snapshotFolder.c_str()),
                   static_cast<DWORD>(snapshotFolder.size() + 1));
    RegCloseKey(key);
}

// One running copy of the program, started from its emulator folder.
class Quarvel {
public:
    Quarvel(const std::string& emu) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string command = "\"" + emu + "\\Quarvel.exe\"";
        const auto start = Clock::now();
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            emu.c_str(), &startup, &info_))
            Fail("cannot start " + command);
        WaitFor("the main window", [this] {
            main = TopWindow(info_.dwProcessId, "QuarvelMain");
            wait = TopWindow(info_.dwProcessId, "QuarvelWait");
            // The wait window shows from the start until the scan has made the buttons.
            return main && IsWindowVisible(main) && wait && !IsWindowVisible(wait) &&
                   GameButtons(main) > 0 && Answers(main);
        });
        startSeconds = Seconds(Clock::now() - start);
    }
    ~Quarvel() {
        PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info_.hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }

    // Clicks the game's button (it was selected before): seconds until
    // Ravlen runs; returns once the launch has ended.
    double launch(HWND button) {
        const auto start = Clock::now();
        PostMessageA(button, BM_CLICK, 0, 0);
        WaitFor("Ravlen to run", [] { return ProcessRuns("ravlen.exe"); });
        const double took = Seconds(Clock::now() - start);
        WaitFor("the launch to end", [this] {
            return !ProcessRuns("ravlen.exe") && IsWindowEnabled(main) && !IsWindowVisible(wait) &&
                   Answers(main);
        });
        return took;
    }

    DWORD process() const { return info_.dwProcessId; }
    HWND main = nullptr;
    HWND wait = nullptr;
    double startSeconds = 0;

private:
    PROCESS_INFORMATION info_{};
};

struct Viewing {
    double fillMs = 0;     // from the click on the snapshot folder to the full list
    double longestMs = 0;  // the longest round trip of a message meanwhile
    bool thirdSelected = false;
    long items = 0;
};

HWND ListOf(HWND viewer) {
    for (HWND child : Descendants(viewer))
        if (ClassOf(child) == "ListBox") return child;
    return nullptr;
}

// Opens the viewer with a click on the snapshot folder of the options panel,
// then clicks the list's third item.
Viewing OpenViewer(Quarvel& quarvel, long snapshots) {
    // The panel in front, where the options panel is right after the start.
    const ControlPlace label = PlaceOf("L_PF");
    HWND options = ChildWindowFromPointEx(quarvel.main, POINT{147 + label.left, 120 + label.top},
                                          CWP_SKIPINVISIBLE);
    if (!options || ClassOf(options) != "QuarvelPanel") Fail("no options panel in front");
    Viewing result;
    const auto start = Clock::now();
    Click(options, label.left + 5, label.top + 5);
    HWND viewer = nullptr, list = nullptr;
    LRESULT count = 0;
    WaitFor("the snapshot list", [&] {
        const auto sent = Clock::now();
        if (!Answers(quarvel.main)) return false;
        result.longestMs = std::max(result.longestMs, Ms(Clock::now() - sent));
        if (!viewer) viewer = TopWindow(quarvel.process(), "QuarvelPcxView");
        if (viewer && !list) list = ListOf(viewer);
        count = list && IsWindowVisible(viewer) ? SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
        return count >= snapshots;
    });
    result.fillMs = Ms(Clock::now() - start);
    Click(list, 20, 2 * 13 + 6);
    WaitFor("the viewer to settle",
            [&] { return Answers(viewer) && SendMessageA(list, LB_GETSEL, 2, 0) > 0; });
    result.items = static_cast<long>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    result.thirdSelected = SendMessageA(list, LB_GETSEL, 2, 0) > 0;
    PostMessageA(viewer, WM_CLOSE, 0, 0);  // hides it
    WaitFor("the viewer to hide", [&] { return !IsWindowVisible(viewer) && Answers(viewer); });
    return result;
}

struct Times {
    double peerStart = 0, start = 0, firstLaunch = 0, secondLaunch = 0;
    std::string_view title;  // of the game launched
};

// The peer: the system's command interpreter, copied into the folder and run
// from there as Quarvel is, to its end. Seconds.
double PeerStart(const std::string& folder) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string copy = folder + "\\cmd.exe";
    if (!CopyFileA((std::string(system) + "\\cmd.exe").c_str(), copy.c_str(), FALSE))
        Fail("cannot copy the command interpreter into " + folder);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command = "\"" + copy + "\" /c exit";
    const auto start = Clock::now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        folder.c_str(), &startup, &info))
        Fail("cannot start " + command);
    WaitForSingleObject(info.hProcess, INFINITE);
    const double took = Seconds(Clock::now() - start);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    DeleteFileA(copy.c_str());
    return took;
}

// The first game kept as a folder, so that its launch times the program and
// not unpacking; or, when zipped, the first kept only as its archive.
const GameRecord& GameToLaunch(const std::string& emu, bool zipped) {
    for (const GameRecord& row : GameTable()) {
        if (!row.renameMarker.empty()) continue;
        const bool folder = FolderExists(JoinPath(emu, row.gameId, false));
        const bool archive = FileExists(JoinPath(emu, std::string(row.gameId) + ".ZIP", false));
        if (zipped ? archive && !folder : folder) return row;
    }
    Fail(std::string("no game kept ") + (zipped ? "zipped" : "as a folder") + " in " + emu);
}

Times Measure(const std::string& emu, const std::string& quarvel, const std::string& ravlen,
              const std::string& snapshots, const std::function<void(Quarvel&)>& alsoDo,
              bool zipped = false) {
    if (!CopyFileA(quarvel.c_str(), (emu + "\\Quarvel.exe").c_str(), FALSE) ||
        !CopyFileA(ravlen.c_str(), (emu + "\\ravlen.exe").c_str(), FALSE))
        Fail("cannot copy the programs into " + emu);
    const GameRecord& game = GameToLaunch(emu, zipped);

    FreshSettings(snapshots);
    Times times;
    times.peerStart = PeerStart(emu);
    Quarvel running(emu);
    times.start = running.startSeconds;
    if (alsoDo) alsoDo(running);
    HWND button = GameButton(running.main, game.title);
    if (!button) Fail("no button for " + std::string(game.title));
    PostMessageA(button, BM_CLICK, 0, 0);  // selects the game
    WaitFor("the game to be selected", [&] { return Answers(running.main); });
    times.firstLaunch = running.launch(button);
    times.secondLaunch = running.launch(button);
    times.title = game.title;
    return times;
}

// With --zipped FOLDER: the click to play of the first game FOLDER keeps only
// zipped, unpacking included (for example in the demo folder at real sizes).
int PlayZipped(const std::string& quarvel, const std::string& ravlen, const std::string& emu) {
    SetEnvironmentVariableA("RAVLEN_STANDIN_NO_WINDOW", "1");
    const Times times = Measure(emu, quarvel, ravlen, emu, nullptr, true);
    std::printf("%s, zipped: first launch to Ravlen %.2f s, second %.2f s\n",
                times.title.data(), times.firstLaunch, times.secondLaunch);
    SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[3]) == "--zipped") return PlayZipped(argv[1], argv[2], argv[4]);
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: big_folders_bench QUARVEL_EXE RAVLEN_EXE ROOT\n"
                     "       big_folders_bench QUARVEL_EXE RAVLEN_EXE --zipped FOLDER\n");
        return 2;
    }
    const std::string root = argv[3];
    const std::string small = root + "\\small", crowded = root + "\\crowded";
    const std::string shots = root + "\\Pcx";
    const long snapshots = static_cast<long>(ListFiles(shots, "Snap*.Pcx", "N").size());
    const long entries = static_cast<long>(ListFiles(crowded, "*.*", "N").size());
    SetEnvironmentVariableA("RAVLEN_STANDIN_NO_WINDOW", "1");

    Viewing first, second;
    const Times few = Measure(small, argv[1], argv[2], shots, nullptr);
    const Times many = Measure(crowded, argv[1], argv[2], shots, [&](Quarvel& quarvel) {
        first = OpenViewer(quarvel, snapshots);
        second = OpenViewer(quarvel, snapshots);
    });

    std::printf("Quarvel with a small emulator folder and with a crowded one (%ld entries)\n",
                entries);
    std::printf("%-36s %12s %12s %8s\n", "", "small", "crowded", "ratio");
    auto row = [](const char* what, double a, double b) {
        std::printf("%-36s %10.2f s %10.2f s %8.2f\n", what, a, b, a > 0 ? b / a : 0.0);
    };
    row("start to the main window", few.start, many.start);
    row("first launch to Ravlen", few.firstLaunch, many.firstLaunch);
    row("second launch to Ravlen", few.secondLaunch, many.secondLaunch);
    row("peer: cmd.exe /c exit from there", few.peerStart, many.peerStart);
    for (const auto& [what, viewing] : {std::pair{"first", first}, {"second", second}}) {
        std::printf(
            "snapshot viewer, %s opening, %ld snapshots: list filled in %.0f ms, longest "
            "message round trip meanwhile %.0f ms; after a click on the third item %ld "
            "items, the third %s\n",
            what, snapshots, viewing.fillMs, viewing.longestMs, viewing.items,
            viewing.thirdSelected ? "selected" : "NOT selected");
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    const bool ok = first.items == snapshots && second.items == snapshots && first.thirdSelected &&
                    second.thirdSelected;
    return ok ? 0 : 1;
}
