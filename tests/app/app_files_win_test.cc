// conf.ini and the prompt-text round trip against real files under Wine.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "app/config_file.h"
#include "app/global.h"
#include "app/prompt_fallback.h"
#include "app/prompt_texts.h"

namespace app {
namespace {

std::wstring TempFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A user folder named in scripts that the ANSI code page (1252 here) cannot spell.
const wchar_t kForeignName[] = L"\u041F\u043E\u043B\u044C\u0437\u043E\u0432\u0430\u0442\u0435\u043B\u044C \u7528\u6237";

// Points the temporary folder (TMP, TEMP) of this process at `folder` while it lives.
class TemporaryFolderOverride {
 public:
  explicit TemporaryFolderOverride(const std::wstring& folder) {
    for (int i = 0; i < 2; ++i) {
      wchar_t value[MAX_PATH] = {};
      had_[i] = GetEnvironmentVariableW(kNames[i], value, MAX_PATH) > 0;
      saved_[i] = value;
      SetEnvironmentVariableW(kNames[i], folder.c_str());
    }
  }
  ~TemporaryFolderOverride() {
    for (int i = 0; i < 2; ++i) SetEnvironmentVariableW(kNames[i], had_[i] ? saved_[i].c_str() : nullptr);
  }

 private:
  static constexpr const wchar_t* kNames[2] = {L"TMP", L"TEMP"};
  bool had_[2];
  std::wstring saved_[2];
};

TEST(ConfigFile, WriteCreatesFoldersAndReadsBack) {
  const std::wstring root = TempFolder(L"conf_");
  const std::wstring ini = ConfigFilePath(root + L"\\Pindle\\data");
  ASSERT_FALSE(Exists(ini));
  CConfigFile& conf = CConfigFile::Get();
  EXPECT_EQ("", conf.ReadString("setting", "language", "", ini));
  ASSERT_TRUE(conf.WriteString(L"setting", L"language", L"lan_kr", ini));
  ASSERT_TRUE(conf.WriteString(L"setting", L"version", L"1.0.1.0000", ini));
  EXPECT_EQ("lan_kr", conf.ReadString("setting", "language", "", ini));
  EXPECT_EQ("1.0.1.0000", conf.ReadString("setting", "version", "", ini));
  EXPECT_EQ("dflt", conf.ReadString("setting", "missing", "dflt", ini));

  // Values are cut to 399 characters, as the buffer allows.
  ASSERT_TRUE(conf.WriteString(L"setting", L"language", std::wstring(600, L'x'), ini));
  EXPECT_EQ(std::string(399, 'x'), conf.ReadString("setting", "language", "", ini));
  DeleteFileW(ini.c_str());
}

TEST(ConfigFile, SavedLanguageReadsBackFromAFolderOutsideTheCodePage) {
  const std::wstring root = TempFolder(kForeignName);
  const std::wstring ini = ConfigFilePath(root + L"\\Pindle");
  CConfigFile& conf = CConfigFile::Get();
  ASSERT_TRUE(conf.WriteString(L"setting", L"language", L"lan_jp", ini));
  EXPECT_EQ("lan_jp", conf.ReadString("setting", "language", "", ini));
  DeleteFileW(ini.c_str());
  RemoveDirectoryW((root + L"\\Pindle").c_str());
  RemoveDirectoryW(root.c_str());
}

TEST(PromptTexts, RoundTripThroughTheTemporaryFile) {
  CGlobal global;
  global.prompt_resource = L"ENGPROMPTINFO";
  ASSERT_TRUE(WritePromptTextFile(&global));
  ASSERT_TRUE(Exists(global.prompt_file));
  // GetTempFileNameW keeps only the first three characters of the "VESK_" prefix.
  EXPECT_NE(std::wstring::npos, global.prompt_file.find(L"\\VES"));
  LoadPromptTexts(&global, kPromptGroupJapanese);
  EXPECT_EQ(L"Server error, please try again later!", global.prompts[PromptKeyIndex("ServiceError")]);
  EXPECT_EQ(L"Installation failed. Please run as administrator.", global.prompts[PromptKeyIndex("Authority")]);
  EXPECT_EQ(L"Low disk space on ", global.prompts[PromptKeyIndex("FREEDISK1")]);
  EXPECT_FALSE(Exists(global.prompt_file)) << "the temporary file is deleted after reading";
}

TEST(PromptTexts, NonAsciiDocumentDecodesFromUtf8) {
  CGlobal global;
  global.prompt_resource = L"PROMPTINFO";
  ASSERT_TRUE(WritePromptTextFile(&global));
  LoadPromptTexts(&global, kPromptGroupEnglish);
  const std::wstring& text = global.prompts[PromptKeyIndex("Authority")];
  ASSERT_FALSE(text.empty());
  for (wchar_t c : text) EXPECT_NE(L'\uFFFD', c);
  EXPECT_GT(text[0], 0x2E80) << "a CJK text";
}

TEST(PromptTexts, TemporaryFolderOutsideTheCodePageStillGivesTheTexts) {
  const std::wstring temp = TempFolder(kForeignName) + L"\\";
  ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
  {
    TemporaryFolderOverride override_temp(temp);
    CGlobal global;
    global.prompt_resource = L"ENGPROMPTINFO";
    ASSERT_TRUE(WritePromptTextFile(&global));
    ASSERT_EQ(0u, global.prompt_file.find(temp)) << "written into the overridden folder";
    LoadPromptTexts(&global, kPromptGroupJapanese);
    EXPECT_EQ(L"Server error, please try again later!", global.prompts[PromptKeyIndex("ServiceError")]);
    EXPECT_EQ(L" drive to perform the installation. Please free up at least 2GB of disk space.",
              global.prompts[PromptKeyIndex("FREEDISK2")]);
    EXPECT_FALSE(Exists(global.prompt_file));
  }
  EXPECT_TRUE(RemoveDirectoryW(temp.c_str())) << "nothing is left behind";
}

TEST(PromptTexts, FileThatCannotBeReadGivesTheFallbackTexts) {
  for (const bool oversized : {false, true}) {
    SCOPED_TRACE(oversized ? "larger than any prompt document" : "held open without sharing");
    CGlobal global;
    global.prompt_resource = L"ENGPROMPTINFO";
    ASSERT_TRUE(WritePromptTextFile(&global));
    HANDLE holder = INVALID_HANDLE_VALUE;
    if (oversized) {
      // A document padded past the limit after its real entries is not read at all.
      HANDLE file = CreateFileW(global.prompt_file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(INVALID_HANDLE_VALUE, file);
      LARGE_INTEGER end;
      end.QuadPart = kPromptDocumentMaxBytes + 1;
      EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
      CloseHandle(file);
    } else {
      // As a scanner might hold it: the file exists but cannot be read.
      holder = CreateFileW(global.prompt_file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    }
    LoadPromptTexts(&global, kPromptGroupEnglish);
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    DeleteFileW(global.prompt_file.c_str());
    EXPECT_EQ(L"Server error, please try again later!", global.prompts[PromptKeyIndex("ServiceError")]);
    EXPECT_EQ(L"There is not enough disk space, please free sufficient space for installation first.",
              global.prompts[PromptKeyIndex("DiskSpace")]);
  }
}

TEST(PromptTexts, FallbackWhenTheFileIsGone) {
  CGlobal global;
  global.prompt_resource = L"ENGPROMPTINFO";
  ASSERT_TRUE(WritePromptTextFile(&global));
  DeleteFileW(global.prompt_file.c_str());
  LoadPromptTexts(&global, kPromptGroupEnglish);
  EXPECT_EQ(L"There is not enough disk space, please free sufficient space for installation first.",
            global.prompts[PromptKeyIndex("DiskSpace")]);
  EXPECT_TRUE(global.prompts[PromptKeyIndex("FREEDISK1")].empty());
  EXPECT_TRUE(global.prompts[PromptKeyIndex("FREEDISK2")].empty());
  EXPECT_TRUE(global.prompts[PromptKeyIndex("FAQUrl")].empty());
}

TEST(PromptTexts, MissingResourceLeavesNoFile) {
  CGlobal global;
  global.prompt_resource = L"NOSUCHPROMPTINFO";
  EXPECT_FALSE(WritePromptTextFile(&global));
  EXPECT_TRUE(global.prompt_file.empty());
  LoadPromptTexts(&global, kPromptGroupEnglish);
  EXPECT_EQ(L"Server error, please try again later!", global.prompts[PromptKeyIndex("ServiceError")]);
}

}  // namespace
}  // namespace app
