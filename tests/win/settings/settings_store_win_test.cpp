// Tests of loading and saving the settings model through the real registry.
#include "settings/settings_store_win.h"

#include "settings/registry_win.h"
#include "test_key_win.h"
#include "util/system_win.h"

namespace qv {
namespace {

using SettingsStore = TestKey;

// Every stored value of from changed to something else, CB_intensity checked.
Settings Changed(Settings s) {
    for (auto table : {GlobalStoredSettings(), GameStoredSettings()})
        for (const StoredSetting& v : table) {
            if (v.kind == StoredKind::Text)
                (s.*v.text) += " 7";
            else if (v.kind == StoredKind::Flag)
                s.*v.flag = !(s.*v.flag);
            else
                s.*v.number = (s.*v.number + 1) % v.limit;
        }
    s.CB_intensity = true;
    return s;
}

// Names of the values of table in which a and b differ, blank-separated.
std::string Differences(const Settings& a, const Settings& b,
                        std::span<const StoredSetting> table) {
    std::string names;
    for (const StoredSetting& v : table) {
        const bool same = v.kind == StoredKind::Text   ? a.*v.text == b.*v.text
                          : v.kind == StoredKind::Flag ? a.*v.flag == b.*v.flag
                                                       : a.*v.number == b.*v.number;
        if (!same) names += std::string(" ") + v.name;
    }
    return names;
}

DWORD ValueCount(const std::string& path) {
    HKEY k = nullptr;
    DWORD values = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
    RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(k);
    return values;
}

TEST_F(SettingsStore, FirstStartGivesTheDefaultsAndCreatesTheGameKey) {
    const Settings defaults = DefaultSettings(ProgramDir(), IsPentium());
    Settings s = Changed(defaults);
    LoadReg(s, key);
    EXPECT_EQ(Differences(s, defaults, GlobalStoredSettings()), "");
    EXPECT_EQ(s.L_CAL, ProgramDir());
    EXPECT_EQ(s.CB_FPUcopy, IsPentium());
    EXPECT_EQ(ValueCount(key), 0u);  // reading stores nothing
    EXPECT_TRUE(LoadRegGame(s, "FFIGHT", key));
    EXPECT_TRUE(KeyExists(key + "\\FFIGHT"));
    EXPECT_EQ(Differences(s, defaults, GameStoredSettings()), "");
}

TEST_F(SettingsStore, SaveThenRestartGivesBackEveryValueButIntensity) {
    const Settings saved = Changed(DefaultSettings("C:\\Emu Folder\\", true));
    SaveReg(saved, key);
    SaveRegGame(saved, "SF2t", key);
    EXPECT_EQ(ValueCount(key), 17u);  // with CB_JoyList, the front end's own
    EXPECT_EQ(ValueCount(key + "\\SF2t"), 12u);
    EXPECT_EQ(ReadRaw(key, "L_CAL").bytes, std::string("C:\\Emu Folder\\ 7\0", 17));
    EXPECT_EQ(ReadRaw(key, "CB_RES").bytes, "3");
    EXPECT_EQ(ReadRaw(key, "CB_vsync").bytes, "0");
    EXPECT_EQ(ReadRaw(key, "CB_linear").bytes, "1");
    EXPECT_EQ(ReadRaw(key, "SE_AJR").bytes, "1025");
    EXPECT_EQ(ReadRaw(key + "\\SF2t", "cb_p3d").bytes, "1");
    EXPECT_EQ(ReadRaw(key, "CB_intensity").type, 0u);  // absent

    Settings loaded;
    LoadReg(loaded, key);
    EXPECT_TRUE(LoadRegGame(loaded, "SF2t", key));
    EXPECT_EQ(Differences(loaded, saved, GlobalStoredSettings()), "");
    EXPECT_EQ(Differences(loaded, saved, GameStoredSettings()), "");
    EXPECT_FALSE(loaded.CB_intensity);
}

TEST_F(SettingsStore, StoredTextsAndIndexesOutsideTheirLists) {
    const struct {
        const char* name;
        const char* text;
    } global[] = {{"CB_RES", "0xA"},
                  {"CB_FS", "9"},
                  {"SE_AJR", "abc"},
                  {"CB_vsync", ""},
                  {"CB_MMXcopy", "0x10"}};
    for (const auto& g : global)
        SetText(key, g.name, g.text);
    SetText(key + "\\1941", "CB_P1D", "-1");
    SetText(key + "\\1941", "cb_p2d", "12");
    SetText(key + "\\1941", "cb_p3d", "0xB");
    Settings s;
    LoadReg(s, key);
    LoadRegGame(s, "1941", key);
    EXPECT_EQ(s.CB_RES, 10);
    EXPECT_EQ(s.CB_FS, kNoSelection);
    EXPECT_EQ(s.SE_AJR, 1024);
    EXPECT_TRUE(s.CB_vsync);
    EXPECT_TRUE(s.CB_MMXcopy);
    EXPECT_EQ(s.CB_P1D, kNoSelection);
    EXPECT_EQ(s.cb_p2d, kNoSelection);
    EXPECT_EQ(s.cb_p3d, 11);
}

TEST_F(SettingsStore, ANonTextValueStopsTheLoadThere) {
    const Settings defaults;
    const Settings before = Changed(defaults);
    SaveReg(defaults, key);
    SetDword(key, "CB_vsync", 1);
    Settings s = before;
    try {
        LoadReg(s, key);
        ADD_FAILURE() << "loaded without error";
    } catch (const ERegistry& e) {
        EXPECT_NE(std::string(e.what()).find("'CB_vsync'"), std::string::npos) << e.what();
    }
    // The four values before it are loaded; it and those after it are as they were.
    EXPECT_EQ(Differences(s, defaults, GlobalStoredSettings().first(5)), "");
    EXPECT_EQ(Differences(s, before, GlobalStoredSettings().subspan(5)), "");

    SaveRegGame(defaults, "FFIGHT", key);
    SetDword(key + "\\FFIGHT", "RB_4But", 0);
    s = before;
    EXPECT_THROW(LoadRegGame(s, "FFIGHT", key), ERegistry);
    EXPECT_EQ(Differences(s, defaults, GameStoredSettings().first(5)), "");
    EXPECT_EQ(Differences(s, before, GameStoredSettings().subspan(5)), "");
}

TEST_F(SettingsStore, GamesKeepTheirOwnInputsAndShareTheJoystickSetUp) {
    const Settings first = Changed(Settings{});
    SaveReg(first, key);
    SaveRegGame(first, "FFIGHT", key);

    Settings other = first;
    EXPECT_TRUE(LoadRegGame(other, "SF2t", key));
    EXPECT_EQ(Differences(other, Settings{}, GameStoredSettings()), "");  // nothing of FFIGHT's
    other.JoyC1 = "9 9 9 9";
    other.SE_AJR = 2048;
    SaveRegGame(other, "SF2t", key);
    SaveReg(other, key);

    Settings back;
    LoadReg(back, key);
    EXPECT_TRUE(LoadRegGame(back, "FFIGHT", key));
    EXPECT_EQ(Differences(back, first, GameStoredSettings()), "");
    EXPECT_EQ(back.JoyC1, "9 9 9 9");
    EXPECT_EQ(back.SE_AJR, 2048);
}

TEST_F(SettingsStore, NoGameIdTouchesNothing) {
    const Settings s = Changed(Settings{});
    Settings loaded = s;
    SaveRegGame(s, "", key);
    EXPECT_FALSE(LoadRegGame(loaded, "", key));
    EXPECT_FALSE(KeyExists(key));
    EXPECT_EQ(Differences(loaded, s, GameStoredSettings()), "");
}

}  // namespace
}  // namespace qv
