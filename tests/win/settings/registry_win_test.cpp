// Tests of the registry accessors against the system's real registry.
#include "settings/registry_win.h"

#include "test_key_win.h"

namespace qv {
namespace {

using RegistryAccess = TestKey;

TEST_F(RegistryAccess, EveryValueIsTextOnlyTheTextWriterStoresTheNul) {
    WriteRegStr(HKEY_CURRENT_USER, key, "Str", "C:\\Ravlen\\");
    WriteRegStr(HKEY_CURRENT_USER, key, "Empty", "");
    WriteRegInt(HKEY_CURRENT_USER, key, "Int", -1024);
    WriteRegBool(HKEY_CURRENT_USER, key, "On", true);
    WriteRegBool(HKEY_CURRENT_USER, key, "Off", false);
    const struct {
        const char* name;
        std::string bytes;
    } expected[] = {{"Str", std::string("C:\\Ravlen\\\0", 11)},
                    {"Empty", std::string("\0", 1)},
                    {"Int", "-1024"},
                    {"On", "1"},
                    {"Off", "0"}};
    for (const auto& e : expected) {
        const Raw raw = ReadRaw(key, e.name);
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ)) << e.name;
        EXPECT_EQ(raw.bytes, e.bytes) << e.name;
        EXPECT_EQ(AnsiSize(key, e.name), e.bytes.size()) << e.name;
    }
    EXPECT_EQ(ReadRegStr(HKEY_CURRENT_USER, key, "Str", "x"), "C:\\Ravlen\\");
    EXPECT_EQ(ReadRegStr(HKEY_CURRENT_USER, key, "Empty", "x"), "");
    EXPECT_EQ(ReadRegStr(HKEY_CURRENT_USER, key, "Int", "x"),
              "-1024");  // no NUL stored, none invented
    EXPECT_EQ(ReadRegInt(HKEY_CURRENT_USER, key, "Int", 7), -1024);
    EXPECT_TRUE(ReadRegBool(HKEY_CURRENT_USER, key, "On", false));
    EXPECT_FALSE(ReadRegBool(HKEY_CURRENT_USER, key, "Off", true));
}

TEST_F(RegistryAccess, ReadingAMissingValueGivesTheDefaultAndCreatesTheKey) {
    const std::string deep = key + "\\A\\B";
    EXPECT_FALSE(KeyExists(deep));
    EXPECT_EQ(ReadRegStr(HKEY_CURRENT_USER, deep, "None", "def"), "def");
    EXPECT_TRUE(KeyExists(deep));
    EXPECT_EQ(ReadRegInt(HKEY_CURRENT_USER, deep, "None", 1024), 1024);
    EXPECT_TRUE(ReadRegBool(HKEY_CURRENT_USER, deep, "None", true));
    EXPECT_FALSE(ReadRegBool(HKEY_CURRENT_USER, deep, "None", false));
}

TEST_F(RegistryAccess, StoredTextsReadAsNumbers) {
    const struct {
        const char* text;
        std::int32_t number;
    } cases[] = {{"0x10", 16}, {"0X1f", 31}, {"-5", -5},        {"abc", 99},
                 {"", 99},     {"0x", 99},   {"4294967312", 99}};
    for (const auto& c : cases) {
        SetText(key, "N", c.text);
        EXPECT_EQ(ReadRegInt(HKEY_CURRENT_USER, key, "N", 99), c.number) << c.text;
    }
    SetText(key, "B", "2");
    EXPECT_TRUE(ReadRegBool(HKEY_CURRENT_USER, key, "B", false));
    SetText(key, "B", "abc");
    EXPECT_TRUE(ReadRegBool(HKEY_CURRENT_USER, key, "B", true));
    EXPECT_FALSE(ReadRegBool(HKEY_CURRENT_USER, key, "B", false));
}

TEST_F(RegistryAccess, ReadingStopsAtTheFirstNul) {
    SetRaw(key, "S", REG_SZ,
           "12\0"
           "34\0",
           6);
    EXPECT_EQ(ReadRegStr(HKEY_CURRENT_USER, key, "S", ""), "12");
    EXPECT_EQ(ReadRegInt(HKEY_CURRENT_USER, key, "S", 0), 12);
    const std::string big(70000, 'q');  // larger than any first guess of a buffer
    WriteRegStr(HKEY_CURRENT_USER, key, "Big", big);
    EXPECT_EQ(ReadRegStr(HKEY_CURRENT_USER, key, "Big", ""), big);
}

TEST_F(RegistryAccess, AValueThatIsNoTextIsAnErrorNamingIt) {
    SetDword(key, "CB_RES", 3);
    const BYTE bytes[] = {1, 2};
    SetRaw(key, "Blob", REG_BINARY, bytes, sizeof bytes);
    for (const char* name : {"CB_RES", "Blob"}) {
        try {
            ReadRegInt(HKEY_CURRENT_USER, key, name, 0);
            ADD_FAILURE() << name << " read without error";
        } catch (const ERegistry& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("'") + name + "'"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_THROW(ReadRegStr(HKEY_CURRENT_USER, key, "CB_RES", ""), ERegistry);
    EXPECT_THROW(ReadRegBool(HKEY_CURRENT_USER, key, "CB_RES", false), ERegistry);
    // Expandable texts are texts too, read as stored.
    SetRaw(key, "Exp", REG_EXPAND_SZ, "%TEMP%", 7);
    EXPECT_EQ(ReadRegStr(HKEY_CURRENT_USER, key, "Exp", ""), "%TEMP%");
}

TEST_F(RegistryAccess, AKeyThatCannotBeOpenedIsAnErrorNamingIt) {
    const HKEY bad = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
    try {
        WriteRegInt(bad, "Software\\Nowhere", "V", 1);
        ADD_FAILURE() << "written without error";
    } catch (const ERegistry& e) {
        EXPECT_NE(std::string(e.what()).find("Software\\Nowhere"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ReadRegStr(bad, "Software\\Nowhere", "V", ""), ERegistry);
}

}  // namespace
}  // namespace qv
