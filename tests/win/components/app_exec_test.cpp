// TAppExec with real processes under the system: exit codes, the wait and the
// caller's messages, start failures, folders, the command buffer, show state
// and priority as the child sees them.
#include "components/app_exec_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "child_programs_win.h"
#include "util/files_win.h"

namespace qv {
namespace {

using test::ProbeExe;

TEST(AppExec, DefaultsAndExePathRule) {
    TAppExec ae;
    EXPECT_TRUE(ae.ChangeDir());
    EXPECT_EQ(ae.ErrNo(), 0);
    EXPECT_EQ(ae.ExeName(), "");
    EXPECT_TRUE(ae.ExeParams().empty());
    EXPECT_EQ(ae.ExePath(), "");
    EXPECT_FALSE(ae.Wait());
    EXPECT_EQ(ae.WindowState(), TWindowState::Normal);
    EXPECT_EQ(ae.PriorityClass(), TPriorClass::NORMAL);

    const struct {
        const char* given;
        const char* kept;
    } paths[] = {
        {"C:\\EMU\\", "C:\\EMU"}, {"C:\\", "C:\\"}, {"\\", "\\"}, {"D:\\A B\\C\\", "D:\\A B\\C"},
        {"C:\\EMU", "C:\\EMU"},   {"EMU\\", "EMU"}, {"", ""}};
    for (const auto& p : paths) {
        ae.SetExePath(p.given);
        EXPECT_EQ(ae.ExePath(), p.kept) << p.given;
    }

    ae.SetExeName("cmd.exe");
    ae.SetExeParams({"/C", "exit", "5"});
    EXPECT_EQ(ae.CommandLine(), "cmd.exe /C exit 5");
}

TEST(AppExec, WaitGivesTheExitCode) {
    TAppExec ae;
    ae.SetWait(true);
    ae.SetExeName("cmd.exe /C exit 7");
    ae.Execute();
    EXPECT_EQ(ae.ErrNo(), 7);

    ae.SetExeName(ProbeExe());
    ae.SetExeParams({"exit", "3"});
    ae.Execute();
    EXPECT_EQ(ae.ErrNo(), 3);

    // 259 is what a running process reports; an ended one may still have it as its code.
    ae.SetExeParams({"exit", "259"});
    ae.Execute();
    EXPECT_EQ(ae.ErrNo(), 259);
}

TEST(AppExec, WithoutWaitReturnsWhileTheProgramRuns) {
    TAppExec ae;
    ae.SetExeName(ProbeExe() + " sleep 3000 4");
    const DWORD start = GetTickCount();
    ae.Execute();
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(ae.ErrNo(), 0);
}

// A window that counts the messages a timer posts to it.
struct Ticker {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TIMER) {
            PostMessageA(hwnd, WM_APP, 0, 0);
            if (quitAfter > 0 && --quitAfter == 0) PostQuitMessage(42);
            return 0;
        }
        if (message == WM_APP) {
            ++handled;
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    Ticker() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QvAppExecTicker";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("QvAppExecTicker", "ticker", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                             nullptr, nullptr, wc.hInstance, nullptr);
        handled = 0;
        SetTimer(hwnd, 1, 50, nullptr);
    }
    ~Ticker() { DestroyWindow(hwnd); }
    HWND hwnd;
    static inline int handled = 0;
    static inline int quitAfter = 0;
};

std::uint64_t ProcessorTimeMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) {
        return ((std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 10000;
    };
    return ms(kernel) + ms(user);
}

TEST(AppExec, WaitHandlesTheCallersMessagesWithoutSpinning) {
    Ticker ticker;
    ASSERT_NE(ticker.hwnd, nullptr);
    TAppExec ae;
    ae.SetWait(true);
    ae.SetExeName(ProbeExe() + " sleep 1000 6");
    const std::uint64_t before = ProcessorTimeMs();
    ae.Execute();
    const std::uint64_t used = ProcessorTimeMs() - before;
    EXPECT_EQ(ae.ErrNo(), 6);
    EXPECT_GE(Ticker::handled, 8) << "timer messages handled during a one-second wait";
    EXPECT_LT(used, 500u) << "milliseconds of processor time spent waiting one second";
}

TEST(AppExec, QuitRequestDuringTheWaitIsKeptForTheCaller) {
    Ticker ticker;
    Ticker::quitAfter = 2;
    TAppExec ae;
    ae.SetWait(true);
    ae.SetExeName(ProbeExe() + " sleep 600 9");
    ae.Execute();
    EXPECT_EQ(ae.ErrNo(), 9) << "the wait went on until the program ended";
    MSG msg;
    bool quit = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        quit = quit || msg.message == WM_QUIT;
    EXPECT_TRUE(quit);
}

TEST(AppExec, ProgramThatCannotStartRaisesWinExec) {
    TAppExec ae;
    ae.SetWait(true);
    // No Command.com here, as on every current system.
    ae.SetExeName("Command.com /C exit 1");
    try {
        ae.Execute();
        FAIL() << "started";
    } catch (const EAppExecWinExec& e) {
        EXPECT_EQ(ae.ErrNo(), 2);
        EXPECT_STREQ(e.what(), "File was not found");
        EXPECT_EQ(ae.ErrorText(), "File was not found");
    }
    ae.SetExeName("");
    EXPECT_THROW(ae.Execute(), EAppExec);
}

// Codes from 32 up are "No error" in the table; a failed start still says
// what went wrong.
TEST(AppExec, StartFailureBeyondTheTableSaysWhatWentWrong) {
    const std::string folder = test::NewScratchFolder("qv-appexec");
    test::WriteText(folder + "\\notaprogram.exe", "just text");
    TAppExec ae;
    ae.SetExeName(folder + "\\notaprogram.exe");
    try {
        ae.Execute();
        FAIL() << "started";
    } catch (const EAppExecWinExec& e) {
        EXPECT_GE(ae.ErrNo(), kFirstNonErrorCode);
        EXPECT_EQ(ae.ErrorText(), "No error");
        EXPECT_NE(std::string(e.what()).find("(system error " + std::to_string(ae.ErrNo()) + ")"),
                  std::string::npos)
            << e.what();
    }
    DeleteTree(folder);
}

// Codes the table leaves without a text: a failed start never reads as no
// message at all.
TEST(AppExec, StartFailureWithACodeTheTableLeavesOutStillSaysWhatWentWrong) {
    TAppExec ae;
    for (const std::int32_t code : {1, 4, 7, 9, 17, 18, 22, 23, 31, 0x7FFF}) {
        ae.SetErrNo(code);
        EXPECT_EQ(ae.ErrorText(), code < kFirstNonErrorCode ? "" : "No error");
        const std::string text = ae.FailureText();
        EXPECT_TRUE(text == "system error " + std::to_string(code) ||
                    text.ends_with(" (system error " + std::to_string(code) + ")"))
            << code << ": " << text;
    }
    ae.SetErrNo(2);  // the table's own words stay
    EXPECT_EQ(ae.FailureText(), "File was not found");
}

TEST(AppExec, ChangesToExePathAndGoesOnWhenItCannot) {
    const std::string folder = test::NewScratchFolder("qv-appexec");
    const std::string report = folder + "\\report.txt";
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);

    TAppExec ae;
    ae.SetWait(true);
    ae.SetExePath(folder + "\\");
    ae.SetExeName(ProbeExe() + " report \"" + report + "\"");
    ae.Execute();
    EXPECT_NE(test::ReadText(report).find("dir=" + folder + "\n"), std::string::npos)
        << test::ReadText(report);

    // A folder that cannot be entered leaves the current one and the start goes ahead.
    ae.SetExePath(folder + "\\missing");
    ae.SetExeName(ProbeExe() + " exit 5");
    EXPECT_NO_THROW(ae.Execute());
    EXPECT_EQ(ae.ErrNo(), 5);

    SetCurrentDirectoryA(before);
    ae.SetChangeDir(false);
    ae.SetExePath(folder);
    ae.SetExeName(ProbeExe() + " report \"" + report + "\"");
    ae.Execute();
    EXPECT_NE(test::ReadText(report).find(std::string("dir=") + before + "\n"), std::string::npos);
    DeleteTree(folder);
}

TEST(AppExec, CommandLineIsCutAt511Characters) {
    // "... & exit 12" whose last character falls just beyond the buffer: exit 1.
    const std::string head = "cmd.exe /C echo ";
    const std::string tail = " & exit 12";
    TAppExec ae;
    ae.SetWait(true);
    ae.SetExeName(head + std::string(512 - head.size() - tail.size(), 'x') + tail);
    ASSERT_EQ(ae.CommandLine().size(), 512u);
    ae.Execute();
    EXPECT_EQ(ae.ErrNo(), 1);

    ae.SetExeName(head + std::string(511 - head.size() - tail.size(), 'x') + tail);
    ae.Execute();
    EXPECT_EQ(ae.ErrNo(), 12);

    // The same through ExeParams.
    ae.SetExeName("cmd.exe");
    ae.SetExeParams({"/C echo", std::string(511 - 16 - tail.size(), 'y'), "& exit 12"});
    ASSERT_EQ(ae.CommandLine().size(), 511u);
    ae.Execute();
    EXPECT_EQ(ae.ErrNo(), 12);
}

// The priority flag is not checked here: this Wine starts every child at
// normal priority whatever the creation flag says.
TEST(AppExec, ChildSeesItsShowState) {
    const std::string folder = test::NewScratchFolder("qv-appexec");
    const std::string report = folder + "\\report.txt";
    const struct {
        TWindowState state;
        const char* seen;
    } cases[] = {
        {TWindowState::Maximized, "useshow=1 show=3 "},
        {TWindowState::Minimized, "useshow=1 show=2 "},
        {TWindowState::Normal, "useshow=1 show=1 "},
    };
    TAppExec ae;
    ae.SetWait(true);
    ae.SetPriorityClass(TPriorClass::HIGH);
    ae.SetExeName(ProbeExe() + " report \"" + report + "\"");
    for (const auto& c : cases) {
        ae.SetWindowState(c.state);
        ae.Execute();
        EXPECT_EQ(test::ReadText(report).rfind(c.seen, 0), 0u) << test::ReadText(report);
    }
    DeleteTree(folder);
}

}  // namespace
}  // namespace qv
