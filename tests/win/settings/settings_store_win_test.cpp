// Tests of loading and saving the settings model through the real registry.
#include "settings/settings_store_win.h"

#include "settings/registry_win.h"
#include "test_key_win.h"
#include "util/system_win.h"

namespace qv {
namespace {

using SettingsStore = TestKey;

// A model whose every value differs from its default.
Settings Changed() {
  Settings s;
  s.L_CAL = "D:\\Emu Folder";
  s.L_SF = "D:\\Saves\\";
  s.L_PF = "E:\\Snap shots";
  s.CB_RES = 12;
  s.CB_FS = 8;
  s.CB_vsync = false;
  s.CB_novesa = s.CB_linear = s.CB_exclusive = s.CB_altkey = s.CB_MMXcopy = true;
  s.CB_FPUcopy = false;
  s.SE_AJR = 512;
  s.JoyC1 = "102 922 102 922";
  s.JoyC2 = "1 2 3 4";
  s.CB_intensity = true;
  s.CB_P1D = 7;
  s.cb_p2d = 3;
  s.cb_p3d = 11;
  s.RB_JOY1 = "1 0 255 255 255 255 255 255";
  s.RB_JOY2 = "1 1 1 1 1 1 1 1";
  s.RB_4But = "3 2 1 0 255 255 0 1";
  s.RB_6But = "5 4 3 2 1 0 255 255";
  s.RB_Grp1 = "7 6 5 4 3 2 1 0";
  s.RB_Grp2 = "0 0 0 0 0 0 0 0";
  s.RB_Swin = "9 8 7 6 5 4 3 2";
  s.Ks_Key1 = "1 2 3";
  s.Ks_Key2 = "30 31 32 44 45 46 60 62 19 20 21 33 35 47 48 49";
  return s;
}

DWORD ValueCount(const std::string& path) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
  DWORD values = 0;
  RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(k);
  return values;
}

TEST_F(SettingsStore, FirstStartGivesTheDefaults) {
  Settings s = Changed();
  s.CB_intensity = false;
  LoadReg(s, key);
  const Settings expected = DefaultSettings(ProgramDir(), IsPentium());
  EXPECT_EQ(s.L_CAL, ProgramDir());
  EXPECT_EQ(s.L_CAL.back(), '\\');
  EXPECT_EQ(s.L_SF, "\\Saves");
  EXPECT_EQ(s.L_PF, "\\Pcx");
  EXPECT_EQ(s.CB_RES, 2);
  EXPECT_EQ(s.CB_FS, 0);
  EXPECT_TRUE(s.CB_vsync);
  EXPECT_FALSE(s.CB_novesa || s.CB_linear || s.CB_banked || s.CB_exclusive || s.CB_altkey || s.CB_MMXcopy);
  EXPECT_EQ(s.CB_FPUcopy, IsPentium());
  EXPECT_EQ(s.SE_AJR, 1024);
  EXPECT_EQ(s.JoyC1, "0 0 0 0");
  EXPECT_EQ(s.JoyC2, "0 0 0 0");
  EXPECT_TRUE(KeyExists(key));
  EXPECT_EQ(ValueCount(key), 0u);  // reading stores nothing

  // The first game load creates the game's key and gives its defaults.
  EXPECT_TRUE(LoadRegGame(s, "FFIGHT", key));
  EXPECT_TRUE(KeyExists(key + "\\FFIGHT"));
  EXPECT_EQ(s.CB_P1D, expected.CB_P1D);
  EXPECT_EQ(s.cb_p2d, expected.cb_p2d);
  EXPECT_EQ(s.cb_p3d, expected.cb_p3d);
  EXPECT_EQ(s.RB_JOY1, expected.RB_JOY1);
  EXPECT_EQ(s.RB_Swin, expected.RB_Swin);
  EXPECT_EQ(s.Ks_Key1, expected.Ks_Key1);
  EXPECT_EQ(s.Ks_Key2, expected.Ks_Key2);
}

TEST_F(SettingsStore, SaveThenLoadGivesBackEveryValueButIntensity) {
  const Settings saved = Changed();
  SaveReg(saved, key);
  SaveRegGame(saved, "SF2t", key);
  EXPECT_EQ(ValueCount(key), 16u);
  EXPECT_EQ(ValueCount(key + "\\SF2t"), 12u);
  EXPECT_EQ(ReadRaw(key, "CB_intensity").bytes, "");
  EXPECT_EQ(ReadRaw(key, "L_SF").bytes, std::string("D:\\Saves\\\0", 10));
  EXPECT_EQ(ReadRaw(key, "CB_RES").bytes, "12");
  EXPECT_EQ(ReadRaw(key, "CB_vsync").bytes, "0");
  EXPECT_EQ(ReadRaw(key, "CB_linear").bytes, "1");
  EXPECT_EQ(ReadRaw(key, "SE_AJR").bytes, "512");
  EXPECT_EQ(ReadRaw(key + "\\SF2t", "cb_p3d").bytes, "11");
  EXPECT_EQ(ReadRaw(key + "\\SF2t", "Ks_Key1").bytes, std::string("1 2 3\0", 6));

  Settings loaded;  // a restart
  LoadReg(loaded, key);
  EXPECT_TRUE(LoadRegGame(loaded, "SF2t", key));
  EXPECT_FALSE(loaded.CB_intensity);
  loaded.CB_intensity = true;
  // Every field but CB_intensity compared through the store tables.
  for (auto table : {GlobalStoredSettings(), GameStoredSettings()})
    for (const StoredSetting& v : table) {
      switch (v.kind) {
        case StoredKind::Text: EXPECT_EQ(loaded.*v.text, saved.*v.text) << v.name; break;
        case StoredKind::Flag: EXPECT_EQ(loaded.*v.flag, saved.*v.flag) << v.name; break;
        default: EXPECT_EQ(loaded.*v.number, saved.*v.number) << v.name; break;
      }
    }
}

TEST_F(SettingsStore, StoredTextsAndIndexesOutsideTheirLists) {
  SetText(key, "CB_RES", "0xA");
  SetText(key, "CB_FS", "9");
  SetText(key, "SE_AJR", "abc");
  SetText(key, "CB_vsync", "");
  SetText(key, "CB_MMXcopy", "0x10");
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
  const Settings before = Changed();
  SaveReg(Settings{}, key);  // every global value stored, at its default
  SetDword(key, "CB_vsync", 1);
  Settings s = before;
  try {
    LoadReg(s, key);
    ADD_FAILURE() << "loaded without error";
  } catch (const ERegistry& e) {
    EXPECT_NE(std::string(e.what()).find("'CB_vsync'"), std::string::npos) << e.what();
  }
  // Before the bad value: loaded; from it on: as they were.
  EXPECT_EQ(s.L_SF, "\\Saves");
  EXPECT_EQ(s.L_PF, "\\Pcx");
  EXPECT_EQ(s.CB_RES, 2);
  EXPECT_EQ(s.CB_FS, 0);
  EXPECT_EQ(s.CB_vsync, before.CB_vsync);
  EXPECT_EQ(s.CB_novesa, before.CB_novesa);
  EXPECT_EQ(s.SE_AJR, before.SE_AJR);
  EXPECT_EQ(s.JoyC2, before.JoyC2);

  SaveRegGame(Settings{}, "FFIGHT", key);
  SetDword(key + "\\FFIGHT", "RB_4But", 0);
  s = before;
  EXPECT_THROW(LoadRegGame(s, "FFIGHT", key), ERegistry);
  EXPECT_EQ(s.RB_JOY2, Settings{}.RB_JOY2);
  EXPECT_EQ(s.RB_4But, before.RB_4But);
  EXPECT_EQ(s.Ks_Key2, before.Ks_Key2);
}

TEST_F(SettingsStore, GamesKeepTheirOwnInputsAndShareTheJoystickSetUp) {
  Settings s = Changed();
  SaveReg(s, key);
  SaveRegGame(s, "FFIGHT", key);

  // Switching to another game: its own inputs, the same calibrations.
  Settings other = s;
  EXPECT_TRUE(LoadRegGame(other, "SF2t", key));
  const Settings defaults;
  for (const StoredSetting& v : GameStoredSettings()) {
    if (v.kind == StoredKind::Text) EXPECT_EQ(other.*v.text, defaults.*v.text) << v.name;
    else EXPECT_EQ(other.*v.number, defaults.*v.number) << v.name;
  }
  other.cb_p3d = 5;
  other.Ks_Key1 = "2 3 4";
  other.JoyC1 = "9 9 9 9";
  other.SE_AJR = 2048;
  SaveRegGame(other, "SF2t", key);
  SaveReg(other, key);

  Settings back;
  LoadReg(back, key);
  EXPECT_TRUE(LoadRegGame(back, "FFIGHT", key));
  EXPECT_EQ(back.cb_p3d, 11);
  EXPECT_EQ(back.Ks_Key1, "1 2 3");
  EXPECT_EQ(back.RB_Grp2, "0 0 0 0 0 0 0 0");
  EXPECT_EQ(back.JoyC1, "9 9 9 9");
  EXPECT_EQ(back.SE_AJR, 2048);
  EXPECT_EQ(ReadRaw(key + "\\FFIGHT", "JoyC1").bytes, "");  // never kept per game
}

TEST_F(SettingsStore, NoGameIdTouchesNothing) {
  Settings s = Changed();
  SaveRegGame(s, "", key);
  EXPECT_FALSE(KeyExists(key));
  EXPECT_FALSE(LoadRegGame(s, "", key));
  EXPECT_FALSE(KeyExists(key));
  EXPECT_EQ(s.Ks_Key1, "1 2 3");
}

}  // namespace
}  // namespace qv
