// The joystick panel's live view with a scripted stick: it follows the stick
// while the panel is in front, steps aside for calibration and button capture,
// and shows nothing for devices without an analog stick or a failed query.
#include <memory>

#include "../app/shell_fixture_win.h"
#include "scripted_stick_win.h"
#include "ui/standard_controls_win.h"
#include "util/system_win.h"
#include "../pump_win.h"

namespace qv {
namespace {

class StickViewTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        createMain();
        show();
        auto scripted = std::make_unique<test::ScriptedStick>();
        stick = scripted.get();
        ui().PJ.stick = std::move(scripted);
    }
    void choose(int index) {
        SendMessageA(pj().CB_JOYS, CB_SETCURSEL, index, 0);
        SendMessageA(pj().hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(pj().CB_JOYS));
    }
    JoystickPanel& pj() { return ui().PJ; }
    std::string position() { return pj().L_JS->caption(); }

    test::ScriptedStick* stick = nullptr;
};

TEST_F(StickViewTest, FollowsTheStickScaledByTheResolutionWhileThePanelIsInFront) {
    stick->script = {{32768, 65535, 0b101}};
    EXPECT_FALSE(pj().showingStick());  // the options panel is in front at start
    main->ShowPanel(*ui().Img_PJ);
    ASSERT_TRUE(RunUntil([this] { return position() == "512,1024"; }));
    EXPECT_TRUE(pj().stickView->visible());
    ASSERT_TRUE(pj().stickView->reading().has_value());
    EXPECT_EQ(pj().stickView->reading()->buttons, 0b101u);
    EXPECT_EQ(pj().L_JV->caption(), "0 0 0 0");  // L_JV keeps the calibration text

    SetFocus(pj().SE_AJR);
    SetWindowTextA(pj().SE_AJR, "100");
    stick->script = {{65535, 0, 0}};
    stick->next = 0;
    EXPECT_TRUE(RunUntil([this] { return position() == "100,0"; }));

    // Another panel in front: the view stops reading.
    main->ShowPanel(*ui().Img_PA);
    EXPECT_FALSE(pj().showingStick());
    EXPECT_EQ(position(), "");
    stick->asked.clear();
    for (int i = 0; i < 30; ++i) {
        ProcessMessages();
        Sleep(10);
    }
    EXPECT_TRUE(stick->asked.empty());
}

TEST_F(StickViewTest, StepsAsideForCalibrationAndCaptureAndNeedsAnAnalogStick) {
    main->ShowPanel(*ui().Img_PJ);
    stick->script = {{32768, 32768, 0}};
    ASSERT_TRUE(RunUntil([this] { return position() == "512,512"; }));

    SetFocus(pj().mapFields[0]);  // the capture reads the stick's buttons
    EXPECT_FALSE(pj().showingStick());
    EXPECT_FALSE(pj().stickView->visible());
    SetFocus(pj().SE_AJR);
    EXPECT_TRUE(pj().showingStick());

    stick->script = {{0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {65535, 65535, 0}};
    stick->next = 0;
    pj().CalibProc();
    EXPECT_FALSE(pj().showingStick());
    stick->escape = true;  // Esc ends both phases; nothing is stored
    ASSERT_TRUE(RunUntil([this] { return !pj().calibrating(); }));
    EXPECT_TRUE(pj().showingStick());
    stick->escape = false;

    choose(4);  // SIDEWINDER: no analog stick, no view
    EXPECT_FALSE(pj().showingStick());
    EXPECT_EQ(position(), "");
    choose(1);  // JOY2 reads joystick 2
    stick->asked.clear();
    ASSERT_TRUE(RunUntil([this] { return !stick->asked.empty(); }));
    EXPECT_EQ(stick->asked.back(), 2);

    const std::size_t said = messages.size();
    stick->fails = true;  // no joystick 2: an empty view, nothing said
    EXPECT_TRUE(RunUntil([this] { return position().empty(); }));
    EXPECT_FALSE(pj().stickView->reading().has_value());
    EXPECT_EQ(messages.size(), said);
}

}  // namespace
}  // namespace qv
