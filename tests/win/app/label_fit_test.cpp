// Every label that shows a changing text has room for the longest one,
// measured in the label's own font as Windows draws it.
#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/game_table.h"
#include "settings/device_list.h"
#include "input/input_clash.h"
#include "launch/emulator.h"
#include "shell_fixture_win.h"
#include "ui/graphics_win.h"
#include "util/handles_win.h"
#include "ui/standard_controls_win.h"
#include "product/ravlen_files.h"
#include "util/text.h"

namespace qv {
namespace {

HFONT FontOf(const Label& label) { return label.font() ? label.font() : UiFont(11); }

// The widest line of text and the height of all its lines ("\r\n" between).
SIZE LinesExtent(HDC dc, const std::string& text) {
    SIZE all{0, 0};
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        SIZE size{};
        GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
        all.cx = std::max(all.cx, size.cx);
        all.cy += size.cy;
        if (end == std::string::npos) return all;
        start = end + 2;
    }
}

// What a path-shortening label shows for text, as DrawText shortens it.
std::string ShownPath(HDC dc, const Label& label, const std::string& text) {
    std::string shown = text + std::string(4, '\0');  // room for the "..."
    RECT box{0, 0, label.width(), label.height()};
    DrawTextA(dc, shown.data(), static_cast<int>(text.size()), &box,
              DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
    return shown.c_str();
}

// Each text fits the label whole: one line, or the lines its word wrap makes.
void ExpectFits(const char* what, const Label& label, const std::vector<std::string>& texts) {
    ScreenDc screen;
    SelectScope select(screen.get(), FontOf(label));
    for (const std::string& text : texts) {
        SCOPED_TRACE(std::string(what) + ": \"" + text + "\"");
        if (label.wordWrap()) {
            // No word wider than the box, and the lines it wraps to within its height.
            for (int i = 1; i <= WordCount(text, ' '); ++i)
                EXPECT_LE(LinesExtent(screen.get(), WordAt(text, ' ', i)).cx, label.width());
            RECT box{0, 0, label.width(), 0};
            DrawTextA(screen.get(), text.c_str(), static_cast<int>(text.size()), &box,
                      DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
            EXPECT_LE(box.bottom, label.height());
            continue;
        }
        const std::string shown =
            label.pathEllipsis() ? ShownPath(screen.get(), label, text) : text;
        const SIZE need = LinesExtent(screen.get(), shown);
        EXPECT_LE(need.cx, label.width()) << "needs " << need.cx;
        EXPECT_LE(need.cy, label.height()) << "needs " << need.cy;
        if (label.pathEllipsis()) {
            // The last folder is the part that tells which one it is.
            const std::string last = text.substr(text.rfind('\\') + 1);
            EXPECT_TRUE(shown.ends_with(last)) << shown;
        }
    }
}

TEST_F(ShellTest, EveryChangingLabelHoldsItsLongestText) {
    createMain();
    show();

    main->settings.JoyC1 = "65535 65535 65535 65535";
    ui().PJ.SetJotOps();
    ExpectFits("L_JV", *ui().PJ.L_JV,
               {ui().PJ.L_JV->caption(), "65535,65535", "102 922 102 922", "0 0 0 0"});
    ExpectFits("L_CA", *ui().PJ.L_CA,
               {"Top-Left Joystick\r\nPress Button 1 when done",
                "Right-Bottom Joystick\r\nPress Button 2 when done", "JoyStick NOT Calibred",
                "JoyStick Calibred"});

    ExpectFits("L_JS", *ui().PJ.L_JS, {"65535,65535", "0,0"});
    // The clash lines with the widest numbers and every field's name.
    std::vector<std::string> keyClashes, buttonClashes;
    for (int group = 0; group < 2; ++group) {
        for (int slot = 1; slot <= 16; ++slot)
            keyClashes.push_back(KeyClashLine(255, MappedInput{group, slot, 255}));
    }
    for (int slot = 1; slot <= kMapSlots; ++slot)
        buttonClashes.push_back(ButtonClashLine(9, MappedInput{0, slot, 9}));
    ExpectFits("L_KW", *ui().PK.L_KW, keyClashes);
    ExpectFits("L_JW", *ui().PJ.L_JW, buttonClashes);

    std::vector<std::string> descriptions;
    for (int device = 0; device < kInputDeviceCount; ++device)
        descriptions.push_back(DeviceDescription(SelectorItem(device)));
    for (const Label* label : {ui().PP.L_P1D, ui().PP.L_P2d, ui().PP.L_p3d})
        ExpectFits("device description", *label, descriptions);

    ExpectFits("L_G", *ui().L_G, {"24/24", "0/24"});
    ExpectFits("L_SFF", *ui().PA.L_SFF, {"9999 File(s)", "0 File(s)"});
    ExpectFits("L_PFF", *ui().PA.L_PFF, {"9999 File(s)"});
    // Folders: long paths a user may keep, and the demo's.
    const std::vector<std::string> folders = {
        "C:\\Games\\Arcade\\Emulators\\Capcom\\Saves\\Slot1",
        "C:\\Program Files\\Arcade Emulators\\Capcom Collection", "C:\\Ravlen\\Saves", "\\Saves",
        "\\Pcx"};
    ExpectFits("L_CAL", *ui().L_CAL, folders);
    ExpectFits("L_SF", *ui().PA.L_SF, folders);
    ExpectFits("L_PF", *ui().PA.L_PF, folders);

    // The wait window's lines: the scan, the launch and the archive check.
    std::vector<std::string> info = {"Loading...", ""};
    for (const GameRecord& game : GameTable()) {
        info.push_back("Looking for " + std::string(game.title));
        info.push_back(std::string(game.title));
        for (int i = 1; i <= WordCount(game.archiveNames, ';'); ++i)
            info.push_back("Reading " + WordAt(game.archiveNames, ';', i) + ".ZIP");
    }
    info.push_back(std::string("Reading ") + kRavlenArchive);
    ExpectFits("wait L_T", *wait.L_T, {kAppTitle});
    ExpectFits("wait L_I", *wait.L_I, info);
    ExpectFits("wait L_W", *wait.L_W,
               {"Working...", "Loading...", "Checking...", "Unzipping...", "Unzipping....",
                "Set Ravlen...", "Playing...", "Cleaning..."});

    ExpectFits("viewer L_INFO", *ui().F_PcxView.L_INFO,
               {"READY", "Loading...", "Copying...", "Saving...", "Cannot list the snapshot folder"});
    ExpectFits("games L_INFO", *ui().F_Report.L_INFO,
               {"READY", "99 archive(s), 999999 ms: 99 at fault", "List copied to the clipboard",
                "The clipboard is busy"});
}

}  // namespace
}  // namespace qv
