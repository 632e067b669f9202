// Checks the private Wine prefix that the Windows tests run in: a crashing test must exit
// instead of waiting on a crash dialog, and the UI's fonts must be reachable.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

bool ReadDword(HKEY root, const wchar_t* path, const wchar_t* name, DWORD* value) {
  DWORD size = sizeof(*value);
  return RegGetValueW(root, path, name, RRF_RT_REG_DWORD, nullptr, value, &size) == ERROR_SUCCESS;
}

std::wstring ReadMultiString(HKEY root, const wchar_t* path, const wchar_t* name) {
  wchar_t buffer[512] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  if (RegGetValueW(root, path, name, RRF_RT_REG_MULTI_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return std::wstring();
  return std::wstring(buffer, size / sizeof(wchar_t));
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontFamilyExists(const wchar_t* family) {
  HDC dc = GetDC(nullptr);
  LOGFONTW query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, family, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &query, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

TEST(WinePrefix, CrashDialogIsOff) {
  DWORD show = 1;
  ASSERT_TRUE(ReadDword(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", L"ShowCrashDialog", &show));
  EXPECT_EQ(0u, show);
}

TEST(WinePrefix, UiFontsAndLinksArePresent) {
  for (const wchar_t* family : {L"Tahoma", L"WenQuanYi Micro Hei", L"Loma"})
    EXPECT_TRUE(FontFamilyExists(family)) << "missing font family";
  const std::wstring links = ReadMultiString(
      HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink", L"Tahoma");
  EXPECT_NE(std::wstring::npos, links.find(L"wqy-microhei.ttc"));
  EXPECT_NE(std::wstring::npos, links.find(L"Loma.ttf"));
}

}  // namespace
