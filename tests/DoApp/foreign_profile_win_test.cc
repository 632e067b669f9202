// Run by foreign_profile.sh inside a Wine prefix whose local application data and temporary
// folder lie in a folder named in Cyrillic and Chinese, on ANSI code page 1252, which can spell
// neither: the start-up steps and PindleDownloader.exe itself must find conf.ini, write their
// log there and read non-blank prompt texts of the saved language.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/config_file.h"
#include "app/global.h"
#include "app/prompt_fallback.h"
#include "app/prompt_texts.h"
#include "app/startup.h"
#include "runtime/text_encoding.h"
#include "system/file_util.h"
#include "tests/app/prompt_document.h"
#include "tests/support/started_program_win.h"

namespace app {
namespace {

const wchar_t kForeignName[] = L"\u041F\u043E\u043B\u044C\u0437\u043E\u0432\u0430\u0442\u0435\u043B\u044C \u7528\u6237";

std::wstring TempPath() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

std::string ReadWide(const std::wstring& path) {
  std::string bytes;
  uint32_t error = 0;
  ReadSmallFile(path, 1 << 24, &bytes, &error);
  return bytes;
}

std::vector<std::wstring> PromptFilesInTemp() {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((TempPath() + L"VES*.tmp").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    files.push_back(TempPath() + entry.cFileName);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return files;
}

// The Japanese document as shipped, read by the tests' own strict reader.
PromptDocument JapaneseDocument() {
  std::string bytes;
  ReadWholeFile(std::string(PINDLE_PROMPTS_DIR) + "/JPPROMPTINFO.ini", &bytes);
  return ParsePromptDocument(bytes);
}

// Every text read equals the document's; "FAQUrl" is the configured help page in the program.
void ExpectJapaneseTexts(const std::wstring (&prompts)[CGlobal::kPromptCount]) {
  const PromptDocument document = JapaneseDocument();
  ASSERT_TRUE(document.ok) << document.error;
  for (int key = 0; key < CGlobal::kPromptCount; ++key) {
    SCOPED_TRACE(PromptKeyName(key));
    const std::string* value = document.Find(PromptKeyName(key));
    ASSERT_NE(nullptr, value);
    if (std::string(PromptKeyName(key)) == "FAQUrl") {
      EXPECT_FALSE(prompts[key].empty());
    } else {
      EXPECT_EQ(base::Utf8ToWide(*value), prompts[key]);
    }
  }
  EXPECT_FALSE(prompts[PromptKeyIndex("ServiceError")].empty());
}

class ForeignProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Global() = CGlobal();
    Global().international_edition = true;
    ASSERT_TRUE(ReadCustomSettings());
    conf_ini_ = ConfigFilePath(GetAppConfig()->ProductDataFolder());
    ASSERT_TRUE(CConfigFile::Get().WriteString(L"setting", L"language", L"lan_jp", conf_ini_));
  }
  void TearDown() override { DeleteFileW(conf_ini_.c_str()); }

  std::wstring conf_ini_;
};

TEST_F(ForeignProfileTest, PrefixNamesItsFoldersOutsideTheCodePage) {
  EXPECT_EQ(1252u, GetACP());
  const std::wstring local = GetSpecialFolder(CSIDL_LOCAL_APPDATA, false);
  EXPECT_NE(std::wstring::npos, local.find(kForeignName)) << base::WideToUtf8(local);
  EXPECT_NE(std::wstring::npos, TempPath().find(kForeignName)) << base::WideToUtf8(TempPath());
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, kForeignName, -1, nullptr, 0, nullptr, &lossy);
  EXPECT_TRUE(lossy) << "the ANSI code page spells the folder name";
}

TEST_F(ForeignProfileTest, StartUpRestoresTheSavedLanguageAndReadsItsTexts) {
  ChooseLanguageAtStartup();
  EXPECT_EQ(L"lan_jp", Global().language_code);
  EXPECT_EQ(kPromptGroupJapanese, Process().language_group);
  ASSERT_TRUE(WritePromptTextFile(&Global()));
  EXPECT_EQ(0u, Global().prompt_file.find(TempPath()));
  LoadPromptTexts(&Global(), Process().language_group);
  ExpectJapaneseTexts(Global().prompts);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Global().prompt_file.c_str()));
}

TEST_F(ForeignProfileTest, ProgramRestoresTheLanguageAndLogsInTheProfile) {
  const std::wstring log_folder = GetAppConfig()->DownloaderDataFolder();
  for (const wchar_t* name : {L"\\PindleDownloaderLog0.log", L"\\PindleDownloaderLog1.log"})
    DeleteFileW((log_folder + name).c_str());
  for (const std::wstring& file : PromptFilesInTemp()) DeleteFileW(file.c_str());

  {
    StartedProgram program(base::Utf8ToWide(PINDLE_PROGRAM_PATH), L"");
    ASSERT_TRUE(program.started());
    HWND window = program.WaitForWindow();
    ASSERT_NE(nullptr, window) << "the main window shows in this profile";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, program.Wait(30000));
  }

  // The saved language came back: the start line shows no system language and group 3.
  const std::string log = ReadWide(log_folder + L"\\PindleDownloaderLog0.log");
  EXPECT_NE(std::string::npos, log.find(" ###########################################\n")) << log;
  EXPECT_NE(std::string::npos, log.find(" downloader start:OS language:0    3\n")) << log;

  // The main window read its prompt document from the temporary folder of this profile and
  // deleted it; the texts it read are those of StartUpRestoresTheSavedLanguageAndReadsItsTexts.
  EXPECT_TRUE(PromptFilesInTemp().empty());
}

}  // namespace
}  // namespace app
