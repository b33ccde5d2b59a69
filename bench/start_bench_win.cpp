// Times the start of the real program against the least a program that shows
// a window of the same size does (minimal_window.exe), started alternately in
// one session so that a busy machine slows both alike: from CreateProcess to
// the main window shown, seen from outside by polling the process's windows.
// Also from the start until the program is ready: the main window answers a
// message and, for Quarvel, the scan that follows the showing has ended (its
// wait window hidden).
//
// Usage: start_bench QUARVEL_EXE MINIMAL_EXE [ROUNDS]   (default 15 rounds,
// after one round of each that is not counted). Run it under Wine in a
// session of scripts/wine-session.sh, with QUARVEL_EXE in an emulator folder
// (the demo's, say). Quarvel starts from its own folder, its first-start
// emulator folder, with the settings it finds there; each copy is closed as
// the user closes it before the next starts.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "poll_win.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kLimit = std::chrono::minutes(2);  // generous: the machine may be loaded

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

[[noreturn]] void Fail(const std::string& what) { bench::Fail("start_bench", what); }

// Every millisecond: the times are read off this poll.
void WaitFor(const char* what, const std::function<bool()>& ready) {
    bench::WaitFor("start_bench", what, ready, kLimit, 1);
}

// The process's top-level window of that class. Looked for by class, a round
// trip or two to the Wine server: the poll runs every millisecond while the
// program starts, and a walk over every window would load the server the
// program needs, the more the longer the program takes.
HWND TopWindow(DWORD process, const char* className) {
    for (HWND hwnd = FindWindowExA(nullptr, nullptr, className, nullptr); hwnd;
         hwnd = FindWindowExA(nullptr, hwnd, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == process) return hwnd;
    }
    return nullptr;
}

bool Answers(HWND hwnd) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0;
}

struct Program {
    std::string exe;
    const char* mainClass;
    const char* waitClass;  // a window shown until the program is ready, or null
};

struct Start {
    double shownMs = 0;
    double readyMs = 0;
};

// Starts the program from its own folder, waits until it is ready, closes it
// and waits for its end.
Start TimeStart(const Program& program) {
    const std::string folder = program.exe.substr(0, program.exe.find_last_of("\\/"));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command = "\"" + program.exe + "\"";
    Start times;
    const auto start = Clock::now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info))
        Fail("cannot start " + command);
    HWND main = nullptr;
    WaitFor("the main window", [&] {
        main = TopWindow(info.dwProcessId, program.mainClass);
        return main && IsWindowVisible(main);
    });
    times.shownMs = Ms(Clock::now() - start);
    WaitFor("the program to be ready", [&] {
        // A message (no emulator in the folder, say) would stop the start here.
        if (HWND box = TopWindow(info.dwProcessId, "#32770"); box && IsWindowVisible(box)) {
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            TerminateProcess(info.hProcess, 1);
            Fail(program.exe + " shows a message: " + text);
        }
        HWND wait = program.waitClass ? TopWindow(info.dwProcessId, program.waitClass) : nullptr;
        return Answers(main) && !(wait && IsWindowVisible(wait));
    });
    times.readyMs = Ms(Clock::now() - start);
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
        Fail(program.exe + " did not end when closed");
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return times;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Best(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: start_bench QUARVEL_EXE MINIMAL_EXE [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc == 4 ? std::atoi(argv[3]) : 15;
    if (rounds < 1) Fail("rounds must be 1 or more");
    const Program quarvel{argv[1], "QuarvelMain", "QuarvelWait"};
    const Program minimal{argv[2], "QuarvelBenchMinimal", nullptr};

    // Not counted: the first start of each reads its files from the disk.
    TimeStart(quarvel);
    TimeStart(minimal);

    std::vector<double> quarvelShown, quarvelReady, minimalShown, minimalReady;
    std::printf("%5s %18s %18s %18s %18s\n", "round", "Quarvel shown ms", "minimal shown ms",
                "Quarvel ready ms", "minimal ready ms");
    for (int round = 1; round <= rounds; ++round) {
        // Alternate which goes first, so that neither always follows the other.
        Start q, m;
        if (round % 2) {
            q = TimeStart(quarvel);
            m = TimeStart(minimal);
        } else {
            m = TimeStart(minimal);
            q = TimeStart(quarvel);
        }
        quarvelShown.push_back(q.shownMs);
        quarvelReady.push_back(q.readyMs);
        minimalShown.push_back(m.shownMs);
        minimalReady.push_back(m.readyMs);
        std::printf("%5d %18.1f %18.1f %18.1f %18.1f\n", round, q.shownMs, m.shownMs, q.readyMs,
                    m.readyMs);
    }
    // Besides the medians' and the bests' ratios, the median of each round's
    // own ratio: a machine whose load drifts slows a round's two starts alike.
    auto summary = [](const char* what, const std::vector<double>& ours,
                      const std::vector<double>& peer) {
        std::vector<double> ratios;
        for (std::size_t i = 0; i < ours.size(); ++i)
            ratios.push_back(ours[i] / peer[i]);
        std::printf(
            "%-14s median %7.1f ms against %7.1f ms, ratio %.2f; best %7.1f ms against "
            "%7.1f ms, ratio %.2f; median of the rounds' ratios %.2f\n",
            what, Median(ours), Median(peer), Median(ours) / Median(peer), Best(ours), Best(peer),
            Best(ours) / Best(peer), Median(ratios));
    };
    summary("window shown:", quarvelShown, minimalShown);
    summary("ready:", quarvelReady, minimalReady);
    return 0;
}
