// Defaults and store tables of the settings model.
#include "settings/settings.h"

#include <algorithm>
#include <utility>

#include "settings/device_list.h"

namespace qv {

Settings DefaultSettings(std::string programDir, bool pentium) {
    Settings settings;
    settings.L_CAL = std::move(programDir);
    settings.CB_FPUcopy = pentium;
    return settings;
}

namespace {

constexpr StoredSetting Text(const char* name, std::string Settings::*member) {
    return {name, StoredKind::Text, member, nullptr, nullptr, 0};
}
constexpr StoredSetting Flag(const char* name, bool Settings::*member) {
    return {name, StoredKind::Flag, nullptr, member, nullptr, 0};
}
constexpr StoredSetting Index(const char* name, int Settings::*member, std::size_t entries) {
    return {name, StoredKind::Index, nullptr, nullptr, member, static_cast<int>(entries)};
}
constexpr StoredSetting Number(const char* name, int Settings::*member, int highest) {
    return {name, StoredKind::Number, nullptr, nullptr, member, highest};
}

const StoredSetting kGlobal[] = {
    Text("L_CAL", &Settings::L_CAL),
    Text("L_SF", &Settings::L_SF),
    Text("L_PF", &Settings::L_PF),
    Index("CB_RES", &Settings::CB_RES, kResolutionItems.size()),
    Index("CB_FS", &Settings::CB_FS, kFrameSkipItems.size()),
    Flag("CB_vsync", &Settings::CB_vsync),
    Flag("CB_novesa", &Settings::CB_novesa),
    Flag("CB_linear", &Settings::CB_linear),
    Flag("CB_banked", &Settings::CB_banked),
    Flag("CB_exclusive", &Settings::CB_exclusive),
    Flag("CB_altkey", &Settings::CB_altkey),
    Flag("CB_FPUcopy", &Settings::CB_FPUcopy),
    Flag("CB_MMXcopy", &Settings::CB_MMXcopy),
    Number("SE_AJR", &Settings::SE_AJR, kMaxJoystickResolution),
    Text("JoyC1", &Settings::JoyC1),
    Text("JoyC2", &Settings::JoyC2),
};

const StoredSetting kGame[] = {
    Index("CB_P1D", &Settings::CB_P1D, kInputDeviceCount),
    Index("cb_p2d", &Settings::cb_p2d, kInputDeviceCount),
    Index("cb_p3d", &Settings::cb_p3d, kInputDeviceCount),
    Text("RB_JOY1", &Settings::RB_JOY1),
    Text("RB_JOY2", &Settings::RB_JOY2),
    Text("RB_4But", &Settings::RB_4But),
    Text("RB_6But", &Settings::RB_6But),
    Text("RB_Grp1", &Settings::RB_Grp1),
    Text("RB_Grp2", &Settings::RB_Grp2),
    Text("RB_Swin", &Settings::RB_Swin),
    Text("Ks_Key1", &Settings::Ks_Key1),
    Text("Ks_Key2", &Settings::Ks_Key2),
};

const StoredSetting kFrontEnd[] = {
    Flag("CB_JoyList", &Settings::CB_JoyList),
};

}  // namespace

std::span<const StoredSetting> GlobalStoredSettings() { return kGlobal; }
std::span<const StoredSetting> FrontEndStoredSettings() { return kFrontEnd; }
std::span<const StoredSetting> GameStoredSettings() { return kGame; }

int AcceptStored(const StoredSetting& setting, int value) {
    switch (setting.kind) {
    case StoredKind::Index:
        return value >= 0 && value < setting.limit ? value : kNoSelection;
    case StoredKind::Number:
        return std::clamp(value, 0, setting.limit);
    default:
        return value;
    }
}

std::string_view ItemAt(std::span<const char* const> items, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return {};
    return items[static_cast<std::size_t>(index)];
}

}  // namespace qv
