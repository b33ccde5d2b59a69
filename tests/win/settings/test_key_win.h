// A registry key of the test's own under HKEY_CURRENT_USER, named after the
// process so that test runs never meet, and deleted with its sub-keys after.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qv {

class TestKey : public ::testing::Test {
protected:
    const std::string key = "Software\\Ostrel\\QuarvelTest" + std::to_string(GetCurrentProcessId());

    void TearDown() override { DeleteTree(HKEY_CURRENT_USER, key); }

    // Type and stored characters of a value. The registry keeps texts as
    // UTF-16, so the wide query shows exactly what was stored (the ANSI query
    // adds a NUL of its own); the tests use ASCII, one byte per character.
    struct Raw {
        DWORD type = 0;
        std::string bytes;
    };
    Raw ReadRaw(const std::string& path, const std::string& name) {
        Raw raw;
        HKEY k = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return raw;
        const std::wstring wname(name.begin(), name.end());
        DWORD size = 0;
        RegQueryValueExW(k, wname.c_str(), nullptr, &raw.type, nullptr, &size);
        std::wstring data(size / sizeof(wchar_t), L'\0');
        RegQueryValueExW(k, wname.c_str(), nullptr, &raw.type, reinterpret_cast<BYTE*>(data.data()),
                         &size);
        RegCloseKey(k);
        data.resize(size / sizeof(wchar_t));
        for (wchar_t c : data)
            raw.bytes += static_cast<char>(c);
        return raw;
    }
    // The size the ANSI query reports for a value.
    DWORD AnsiSize(const std::string& path, const std::string& name) {
        HKEY k = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return 0;
        DWORD size = 0;
        RegQueryValueExA(k, name.c_str(), nullptr, nullptr, nullptr, &size);
        RegCloseKey(k);
        return size;
    }
    void SetRaw(const std::string& path, const std::string& name, DWORD type, const void* data,
                DWORD size) {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(k, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(k);
    }
    void SetText(const std::string& path, const std::string& name, const std::string& text) {
        SetRaw(path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    void SetDword(const std::string& path, const std::string& name, DWORD value) {
        SetRaw(path, name, REG_DWORD, &value, sizeof value);
    }
    static bool KeyExists(const std::string& path) {
        HKEY k = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return false;
        RegCloseKey(k);
        return true;
    }

private:
    static void DeleteTree(HKEY root, const std::string& path) {
        HKEY k = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
        std::vector<std::string> children;
        char name[256];
        for (DWORD i = 0, size = sizeof name;
             RegEnumKeyExA(k, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             ++i, size = sizeof name)
            children.emplace_back(name, size);
        RegCloseKey(k);
        for (const auto& child : children)
            DeleteTree(root, path + "\\" + child);
        RegDeleteKeyA(root, path.c_str());
    }
};

}  // namespace qv
