// The hyperlink label and the drag label on a window of their own.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "components/active_label_win.h"
#include "components/label4move_win.h"
#include "ui/container_win.h"
#include "util/system_win.h"
#include "../pump_win.h"

namespace qv {
namespace {

constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class Host : public Container {
public:
    bool create() {
        return createWindow({.className = "QvLabelTestHost",
                             .style = WS_POPUP | WS_VISIBLE,
                             .left = 200,
                             .top = 150,
                             .width = 300,
                             .height = 200});
    }
};

// Lets messages through, timers included, for about ms milliseconds.
void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        ProcessMessages();
        Sleep(20);
    } while (GetTickCount() < end);
}

// A press and release of a button at a client point of the host, as the
// window gets them from the pointer.
void Click(HWND host, int x, int y, UINT down, UINT up) {
    SendMessageA(host, down, 0, MAKELPARAM(x, y));
    SendMessageA(host, up, 0, MAKELPARAM(x, y));
}

class LabelTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.create()); }
    Host host;
};

TEST_F(LabelTest, ActiveLabelTakesItsActiveColourAnywhereOnItEdgesIncluded) {
    auto& label = host.add<TOstrelActiveLabel>(40, 30, 120, 20);
    // The font colour at creation is where both colours start.
    EXPECT_EQ(label.ActiveColor(), label.color());
    EXPECT_EQ(label.NotActiveColor(), label.color());
    label.SetActiveColor(kYellow);
    label.SetNotActiveColor(kBlue);
    const int w = label.width(), h = label.height();
    const struct {
        int x, y;
        COLORREF expected;
    } cases[] = {{w / 2, h / 2, kYellow}, {0, 0, kYellow},     {w, h, kYellow},
                 {w, h / 2, kYellow},     {w / 2, h, kYellow}, {w + 1, h / 2, kBlue},
                 {w / 2, h + 1, kBlue},   {-1, h / 2, kBlue},  {w / 2, -1, kBlue},
                 {w + 50, h + 50, kBlue}};
    for (const auto& c : cases) {
        POINT p{40 + c.x, 30 + c.y};
        ClientToScreen(host.hwnd(), &p);
        SetCursorPos(p.x, p.y);
        label.checkHover();
        EXPECT_EQ(label.color(), c.expected) << c.x << "," << c.y;
    }
}

TEST_F(LabelTest, ActiveLabelsOwnTimerFollowsThePointerEvenWhenHidden) {
    auto& label = host.add<TOstrelActiveLabel>(40, 30, 120, 20);
    label.SetActiveColor(kYellow);
    label.SetNotActiveColor(kBlue);
    label.setVisible(false);
    POINT p{50, 35};
    ClientToScreen(host.hwnd(), &p);
    SetCursorPos(p.x, p.y);
    Pump(300);
    EXPECT_EQ(label.color(), kYellow);
    SetCursorPos(p.x + 200, p.y + 100);
    Pump(300);
    EXPECT_EQ(label.color(), kBlue);
}

// Counts the processes this test process starts: it joins a job, which its
// children join as they start. The shell starts a link's target before the
// click that opened it returns, so a click that opened nothing shows at once.
class StartedProcesses {
public:
    StartedProcesses() : job_(CreateJobObjectA(nullptr, nullptr)) {
        joined_ = job_ && AssignProcessToJobObject(job_, GetCurrentProcess());
    }
    ~StartedProcesses() {
        if (job_) CloseHandle(job_);
    }
    StartedProcesses(const StartedProcesses&) = delete;
    StartedProcesses& operator=(const StartedProcesses&) = delete;
    bool joined() const { return joined_; }
    // Every process the job has held, this one included.
    DWORD total() const {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &info, sizeof info,
                                  nullptr);
        return info.TotalProcesses;
    }

private:
    HANDLE job_;
    bool joined_ = false;
};

// A batch file as the link target: the shell runs it, and it leaves a mark.
class ActiveLabelClickTest : public LabelTest {
protected:
    void SetUp() override {
        LabelTest::SetUp();
        ASSERT_TRUE(started.joined());
        const std::string base = WindowsTempDir() + "qvlabel" +
                                 std::to_string(GetCurrentProcessId()) +
                                 testing::UnitTest::GetInstance()->current_test_info()->name();
        script = base + ".bat";
        mark = base + ".txt";
        DeleteFileA(mark.c_str());
        HANDLE f =
            CreateFileA(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        const std::string body = "@echo opened> \"" + mark + "\"\r\n";
        DWORD written = 0;
        WriteFile(f, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
        CloseHandle(f);
    }
    void TearDown() override {
        DeleteFileA(script.c_str());
        DeleteFileA(mark.c_str());
    }
    bool markAppears(DWORD ms) {
        const DWORD end = GetTickCount() + ms;
        while (GetTickCount() < end) {
            if (GetFileAttributesA(mark.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
            Pump(100);
        }
        return false;
    }
    std::string script, mark;
    StartedProcesses started;
};

TEST_F(ActiveLabelClickTest, WithoutAHandlerAClickOpensTheTargetThroughTheShell) {
    auto& label = host.add<TOstrelActiveLabel>(40, 30, 120, 20);
    label.SetCmdExec(script);
    const DWORD before = started.total();
    Click(host.hwnd(), 45, 35, WM_RBUTTONDOWN, WM_RBUTTONUP);  // only the left button clicks
    EXPECT_EQ(started.total(), before);
    Click(host.hwnd(), 45, 35, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_GT(started.total(), before);
    EXPECT_TRUE(markAppears(15000)) << "the shell did not run " << script;
}

TEST_F(ActiveLabelClickTest, AHandlerSetAfterwardsReplacesTheDefaultClick) {
    auto& label = host.add<TOstrelActiveLabel>(40, 30, 120, 20);
    label.SetCmdExec(script);
    int clicks = 0;
    label.onClick = [&](GraphicControl&) { ++clicks; };
    const DWORD before = started.total();
    Click(host.hwnd(), 45, 35, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(started.total(), before);  // the shell was not asked to start anything
}

TEST_F(LabelTest, DragLabelMovesItsWindowWithEitherButtonUntilReleased) {
    auto& label = host.add<TOstrelLabel4Move>(10, 10, 200, 30);
    int downs = 0, ups = 0;
    label.onMouseDown = [&](GraphicControl&) { ++downs; };
    label.onMouseUp = [&](GraphicControl&) { ++ups; };
    auto where = [&] {
        RECT r{};
        GetWindowRect(host.hwnd(), &r);
        return r;
    };
    const RECT start = where();

    // Each button, and the second press of each button's double click.
    const std::tuple<UINT, UINT, WPARAM> presses[] = {
        {WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON},   {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON},
        {WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON},   {WM_LBUTTONDBLCLK, WM_LBUTTONUP, MK_LBUTTON},
        {WM_RBUTTONDBLCLK, WM_RBUTTONUP, MK_RBUTTON}, {WM_MBUTTONDBLCLK, WM_MBUTTONUP, MK_MBUTTON}};
    for (auto [down, up, wp] : presses) {
        const RECT before = where();
        SendMessageA(host.hwnd(), down, wp, MAKELPARAM(20, 15));
        // The pointer 30 right and 20 down of the grab point, in the window as it stands.
        SendMessageA(host.hwnd(), WM_MOUSEMOVE, wp, MAKELPARAM(50, 35));
        const RECT moved = where();
        EXPECT_EQ(moved.left, before.left + 30);
        EXPECT_EQ(moved.top, before.top + 20);
        EXPECT_EQ(moved.right - moved.left, 300);  // the size is kept
        // Released far outside the label: the drag is over all the same.
        SendMessageA(host.hwnd(), up, 0, MAKELPARAM(290, 190));
        SendMessageA(host.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
        EXPECT_EQ(where().left, moved.left);
    }
    EXPECT_EQ(where().left, start.left + 30 * 6);
    // The label's own mouse events still fire.
    EXPECT_EQ(downs, 6);
    EXPECT_EQ(ups, 6);
}

// The about box, read and closed from a timer while it is up.
std::string g_aboutText;
void CALLBACK CloseAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", "About");
    if (!box) return;
    char text[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    g_aboutText = text;
    KillTimer(nullptr, timer);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(LabelTest, DragLabelAboutReadsEmptyAndAssigningShowsWhoMadeIt) {
    auto& label = host.add<TOstrelLabel4Move>(10, 10, 200, 30);
    EXPECT_EQ(label.About(), "");
    g_aboutText.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseAbout);
    label.SetAbout("anything");
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_aboutText.substr(0, 19), "Label 4 Move v1.0\r\n");
    EXPECT_GT(g_aboutText.size(), 19u);  // a credit line follows
    EXPECT_EQ(label.About(), "");
}

}  // namespace
}  // namespace qv
