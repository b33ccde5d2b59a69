// The settings model: every value Quarvel keeps between runs, with its default,
// and the tables that say under which name and in which order each is stored.
// Panels bind their controls to these fields; the registry store and the
// options file read and write them. Field names are the product's control and
// value names, which are also the registry value names.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace qv {

// Registry key of the global values; each game's values live in a sub-key
// named by its game id.
inline constexpr char kSettingsKey[] = "Software\\Ostrel\\Quarvel";

// Entries of the resolution list CB_RES and the frame-skip list CB_FS.
inline constexpr std::array<const char*, 13> kResolutionItems{
    "320x200", "320x240", "384x224", "384x257", "400x300", "320x400", "320x480",
    "512x384", "640x350", "640x400", "640x480", "800x600", "1024x768"};
inline constexpr std::array<const char*, 9> kFrameSkipItems{"AUTO", "1", "2", "3", "4",
                                                            "5",    "6", "7", "8"};

// Highest value of the analog joystick resolution field SE_AJR.
inline constexpr int kMaxJoystickResolution = 65535;

// A list index is -1 when the list has no selection.
inline constexpr int kNoSelection = -1;

// The save and snapshot folders before the user sets them.
inline constexpr char kDefaultSaveFolder[] = "\\Saves";
inline constexpr char kDefaultSnapshotFolder[] = "\\Pcx";

struct Settings {
    // Global values, in the order they are stored.
    std::string L_CAL;                         // emulator folder; default: the program's folder with "\"
    std::string L_SF = kDefaultSaveFolder;      // save folder
    std::string L_PF = kDefaultSnapshotFolder;  // snapshot folder
    int CB_RES = 2;                // index in kResolutionItems ("384x224")
    int CB_FS = 0;                 // index in kFrameSkipItems ("AUTO")
    bool CB_vsync = true;
    bool CB_novesa = false;
    bool CB_linear = false;
    bool CB_banked = false;
    bool CB_exclusive = false;
    bool CB_altkey = false;
    bool CB_FPUcopy = true;  // default: the processor is newer than a 486
    bool CB_MMXcopy = false;
    int SE_AJR = 1024;              // analog joystick resolution, 0 to 65535
    std::string JoyC1 = "0 0 0 0";  // JoyThresholds of joystick 1: left right top bottom
    std::string JoyC2 = "0 0 0 0";  // of joystick 2

    // Unchecked at every start and never stored.
    bool CB_intensity = false;

    // The front end's own: player 1's stick moves the game list (stored
    // beside the global values, never handed to Ravlen).
    bool CB_JoyList = true;

    // Per-game values, in the order they are stored.
    int CB_P1D = 1;  // players' devices: indexes in InputDeviceList (KEY1)
    int cb_p2d = 2;  // KEY2
    int cb_p3d = 0;  // NONE
    std::string RB_JOY1 = "0 1 255 255 255 255 255 255";  // ButtonMap of each joystick kind
    std::string RB_JOY2 = "0 1 255 255 255 255 255 255";
    std::string RB_4But = "0 2 3 1 255 255 2 3";
    std::string RB_6But = "2 3 5 0 1 4 255 255";
    std::string RB_Grp1 = "2 3 4 5 6 7 0 1";
    std::string RB_Grp2 = "2 3 4 5 6 7 0 1";
    std::string RB_Swin = "3 4 5 0 1 2 8 9";
    std::string Ks_Key1 = "71 72 73 75 77 79 80 81 25 26 27 39 40 43 59 61";  // KeyLayout KEY1
    std::string Ks_Key2 = "19 20 21 33 35 47 48 49 30 31 32 44 45 46 60 62";  // KeyLayout KEY2
};

// The settings of a first start on this machine.
Settings DefaultSettings(std::string programDir, bool pentium);

// How one setting is kept: a text, a check box (stored as 1 or 0), a list
// index or a number field, each as a text value named name.
enum class StoredKind { Text, Flag, Index, Number };

struct StoredSetting {
    const char* name;
    StoredKind kind;
    std::string Settings::*text = nullptr;  // Text
    bool Settings::*flag = nullptr;         // Flag
    int Settings::*number = nullptr;        // Index, Number
    int limit = 0;                          // Index: entries in the list; Number: highest value
};

// The sixteen global values and the twelve per-game values, in store order.
std::span<const StoredSetting> GlobalStoredSettings();
std::span<const StoredSetting> GameStoredSettings();
// The front end's own values, kept under the key of the global values after them.
std::span<const StoredSetting> FrontEndStoredSettings();

// A stored number as its control takes it: a list index outside the list
// becomes no selection, a number field keeps to its range 0..limit.
int AcceptStored(const StoredSetting& setting, int value);

// The text of list entry index, or an empty text for no selection.
std::string_view ItemAt(std::span<const char* const> items, int index);

}  // namespace qv
