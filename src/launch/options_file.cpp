// Building the options file.
#include "launch/options_file.h"

#include "launch/emulator.h"
#include "settings/device_list.h"
#include "util/text.h"

namespace qv {

namespace {

class Lines {
public:
    void add(std::string_view head, std::string_view tail = {}) {
        text_.append(head).append(tail).append("\r\n");
    }
    void addIf(bool checked, std::string_view line) {
        if (checked) add(line);
    }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

// "-remapbut " + the device name right-aligned in 10 + " ", so the maps line up.
std::string RemapPrefix(std::string_view device) {
    std::string prefix = "-remapbut ";
    if (device.size() < 10) prefix.append(10 - device.size(), ' ');
    prefix.append(device).append(" ");
    return prefix;
}

}  // namespace

std::string OptionsFileText(const Settings& s, std::string_view gameTitle) {
    const std::string banner = std::string(kOptionsBanner).append(gameTitle);
    const std::string dashes = ";" + std::string(banner.size() + 2, '-');
    Lines lines;
    lines.add(dashes);
    lines.add("; ", banner);
    lines.add(dashes);
    lines.add("-savedir ", s.L_SF);
    lines.add("-pcxdir ", s.L_PF);
    lines.add("-res ", ReplaceFirst("x", " ", ItemAt(kResolutionItems, s.CB_RES)));
    lines.add("-frameskip ", ItemAt(kFrameSkipItems, s.CB_FS));
    lines.add("-vsync ", s.CB_vsync ? "ON" : "OFF");
    lines.add("-intensity ", s.CB_intensity ? "ON" : "OFF");
    lines.addIf(s.CB_novesa, "-novesa");
    lines.addIf(s.CB_linear, "-linear");
    lines.addIf(s.CB_banked, "-banked");
    lines.addIf(s.CB_exclusive, "-exclusive");
    lines.addIf(s.CB_altkey, "-altkey");
    lines.addIf(s.CB_FPUcopy, "-fpucopy");
    lines.addIf(s.CB_MMXcopy, "-mmxcopy");
    lines.add(";--- Players Input Devices ---");
    lines.add("-setinput 1 ", DeviceCodeAt(s.CB_P1D));
    lines.add("-setinput 2 ", DeviceCodeAt(s.cb_p2d));
    lines.add("-setinput 3 ", DeviceCodeAt(s.cb_p3d));
    lines.add(";--- JoyStick ---");
    lines.add("-analogjoyres ", IntText(s.SE_AJR));
    lines.add("-setjoythresh 1 ", s.JoyC1);
    lines.add("-setjoythresh 2 ", s.JoyC2);
    lines.add("; button mappings");
    lines.add(RemapPrefix("JOY1"), s.RB_JOY1);
    lines.add(RemapPrefix("JOY2"), s.RB_JOY2);
    lines.add(RemapPrefix("4BUTTON"), s.RB_4But);
    lines.add(RemapPrefix("6BUTTON"), s.RB_6But);
    lines.add(RemapPrefix("GRIP1"), s.RB_Grp1);
    lines.add(RemapPrefix("GRIP2"), s.RB_Grp2);
    lines.add(RemapPrefix("SIDEWINDER"), s.RB_Swin);
    lines.add("; keyboard scan codes");
    lines.add("-setkey KEY1 ", s.Ks_Key1);
    lines.add("-setkey KEY2 ", s.Ks_Key2);
    return lines.take();
}

}  // namespace qv
