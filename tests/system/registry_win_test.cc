// Registry strings against Wine's real registry, on the 64-bit view.
#include <windows.h>

#include <gtest/gtest.h>

#include "system/registry.h"

namespace {

class RegistryTest : public testing::Test {
 protected:
  RegistryTest() : subkey_(L"Software\\PindleSystemTest\\" + std::to_wstring(GetCurrentProcessId())) {}
  ~RegistryTest() override {
    RegDeleteKeyExW(HKEY_CURRENT_USER, subkey_.c_str(), KEY_WOW64_64KEY, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, subkey_.c_str(), KEY_WOW64_64KEY, 0);
    RegDeleteKeyExW(HKEY_CURRENT_USER, L"Software\\PindleSystemTest", KEY_WOW64_64KEY, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"Software\\PindleSystemTest", KEY_WOW64_64KEY, 0);
  }

  bool KeyVisibleIn(HKEY root, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey_.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  std::wstring subkey_;
};

TEST_F(RegistryTest, WriteReadDeleteRoundTrip) {
  std::wstring text;
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, subkey_, L"Path", &text));  // no key yet

  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_, L"Path", L"C:\\Program Files\\Vesk\\\x4E2D\x6587"));
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, subkey_, L"Path", &text));
  EXPECT_EQ(text, L"C:\\Program Files\\Vesk\\\x4E2D\x6587");

  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_, L"Path", L""));  // overwrite with empty
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, subkey_, L"Path", &text));
  EXPECT_EQ(text, L"");

  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, subkey_, L"Missing", &text));
  EXPECT_TRUE(RegDeleteValue(HKEY_CURRENT_USER, subkey_, L"Path"));
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, subkey_, L"Path", &text));
  EXPECT_TRUE(RegDeleteValue(HKEY_CURRENT_USER, subkey_, L"Path")) << "an open key is enough";
  EXPECT_FALSE(RegDeleteValue(HKEY_CURRENT_USER, subkey_ + L"\\NoSuchKey", L"Path"));
}

TEST_F(RegistryTest, WrittenWithItsNulAndReadWithout) {
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_, L"Version", L"3.2.0.1"));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, subkey_.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  DWORD type = 0;
  DWORD size = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"Version", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 8 * sizeof(wchar_t));  // seven characters and the NUL

  // Another writer stored a string without its NUL; a stale buffer must not show through.
  static const wchar_t kBare[] = L"abc";
  ASSERT_EQ(RegSetValueExW(key, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(kBare), 3 * sizeof(wchar_t)),
            ERROR_SUCCESS);
  RegCloseKey(key);
  std::wstring text = L"previous text";
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, subkey_, L"Bare", &text));
  EXPECT_EQ(text, L"abc");
}

// Only a string is read as text: a number or a blob stored under the same name is no path.
TEST_F(RegistryTest, OnlyStringTypesAreRead) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD number = 0x00410042;  // reads as L"BA" if taken for characters
  static const BYTE kBlob[] = {'C', 0, ':', 0, '\\', 0, 0, 0};
  static const wchar_t kExpand[] = L"%ProgramFiles%\\Vesk";
  static const wchar_t kMulti[] = L"a\0b\0";
  ASSERT_EQ(RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, L"Blob", 0, REG_BINARY, kBlob, sizeof kBlob), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, L"Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(kExpand), sizeof kExpand),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kMulti), sizeof kMulti),
            ERROR_SUCCESS);
  RegCloseKey(key);
  for (const wchar_t* name : {L"Number", L"Blob", L"Multi"}) {
    std::wstring text = L"unchanged";
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, subkey_, name, &text)) << name;
    EXPECT_EQ(text, L"unchanged");
  }
  std::wstring text;
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, subkey_, L"Expand", &text));
  EXPECT_EQ(text, L"%ProgramFiles%\\Vesk") << "taken as stored";
}

TEST_F(RegistryTest, LengthLimitOf1023Characters) {
  const std::wstring longest(1023, L'v');
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_, L"Long", longest));
  std::wstring text;
  ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, subkey_, L"Long", &text));
  EXPECT_EQ(text, longest);

  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, subkey_, L"TooLong", std::wstring(1024, L'w')));
  text = L"unchanged";
  EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, subkey_, L"TooLong", &text));
  EXPECT_EQ(text, L"unchanged");
}

TEST_F(RegistryTest, MachineKeysGoToThe64BitView) {
  ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, subkey_, L"Path", L"C:\\Vesk"));
  EXPECT_TRUE(KeyVisibleIn(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY));
  EXPECT_FALSE(KeyVisibleIn(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY)) << "written to Wow6432Node";
  std::wstring text;
  ASSERT_TRUE(RegReadString(HKEY_LOCAL_MACHINE, subkey_, L"Path", &text));
  EXPECT_EQ(text, L"C:\\Vesk");
  EXPECT_TRUE(RegDeleteValue(HKEY_LOCAL_MACHINE, subkey_, L"Path"));
  EXPECT_FALSE(RegReadString(HKEY_LOCAL_MACHINE, subkey_, L"Path", &text));
}

}  // namespace
