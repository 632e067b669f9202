// Checks the shipped prompt-text documents and the built-in fallback table: the documents
// must read back as the installer reads them, hold every key, and carry the same
// placeholders, figures and product names as the English texts they translate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "app/prompt_fallback.h"
#include "tests/app/prompt_document.h"

namespace {

struct LanguageDocument {
  const char* code;
  const char* resource;  // file name without ".ini"
  int fallback_group;    // group whose fallback texts share wording with it, or -1
};

const LanguageDocument kDocuments[] = {
    {"lan_cn", "PROMPTINFO", kPromptGroupSimplifiedChinese},
    {"lan_en", "ENGPROMPTINFO", kPromptGroupEnglish},
    {"lan_kr", "KRPROMPTINFO", kPromptGroupKorean},
    {"lan_jp", "JPPROMPTINFO", kPromptGroupJapanese},
    {"lan_vn", "VNPROMPTINFO", kPromptGroupVietnamese},
    {"lan_th", "THPROMPTINFO", -1},
    {"lan_id", "IDPROMPTINFO", -1},
    {"lan_tw", "TWPROMPTINFO", -1},
};

// Keys in the order the installer reads them.
const char* const kReadKeys[] = {
    "ServiceError",     "Repair",    "DiskSpace",  "Memsize",      "ApkInstalling", "CPUtype",
    "System",           "Fat",       "Filedamage", "DownloadFail", "Graphics",      "Resolution",
    "pstrDownloaderUp", "Installed", "64error",    "Fileoccupied", "Authority",     "Downloading",
    "Reboot",           "Character", "BlueScreen", "FAQUrl",       "FREEDISK1",     "FREEDISK2",
};
// Kept in every document for the other tools of the product, though the installer skips them.
const char* const kExtraKeys[] = {"Installing", "Occupy"};

// The profile reader keeps at most this many bytes of a value; a longer text would be cut,
// possibly inside a UTF-8 sequence.
constexpr size_t kMaxValueBytes = 399;

const char* const kBrandNames[] = {"Pindle", "Vesk"};

std::string DocumentPath(const char* resource) {
  return std::string(PINDLE_PROMPTS_DIR) + "/" + resource + ".ini";
}

PromptDocument LoadDocument(const char* resource) {
  std::string bytes;
  if (!ReadWholeFile(DocumentPath(resource), &bytes)) {
    PromptDocument missing;
    missing.error = "cannot read " + DocumentPath(resource);
    return missing;
  }
  return ParsePromptDocument(bytes);
}

std::vector<std::string> AllKeys() {
  std::vector<std::string> keys(std::begin(kReadKeys), std::end(kReadKeys));
  keys.insert(keys.end(), std::begin(kExtraKeys), std::end(kExtraKeys));
  return keys;
}

// Format directives ("%s", "%d", "%I64d", "%%") and backslash escapes ("\n"), in order: the
// code that fills a text in relies on their order and count.
template <typename Char>
std::vector<std::u32string> Placeholders(const std::basic_string<Char>& text) {
  std::vector<std::u32string> out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == Char('\\')) {
      std::u32string token(1, U'\\');
      if (i + 1 < text.size()) token.push_back(static_cast<char32_t>(text[++i]));
      out.push_back(token);
    } else if (text[i] == Char('%')) {
      std::u32string token(1, U'%');
      while (++i < text.size()) {
        const char32_t c = static_cast<char32_t>(text[i]);
        token.push_back(c);
        const bool letter = (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
        if (c == U'%' || (letter && c != U'I' && c != U'l' && c != U'h')) break;
      }
      out.push_back(token);
    }
  }
  return out;
}

// Runs of ASCII digits, sorted: sizes and versions ("2G", "FAT32", "32 bit") must survive
// translation even where word order moves them.
template <typename Char>
std::vector<std::u32string> Figures(const std::basic_string<Char>& text) {
  std::vector<std::u32string> out;
  std::u32string run;
  for (size_t i = 0; i <= text.size(); ++i) {
    const bool digit = i < text.size() && text[i] >= Char('0') && text[i] <= Char('9');
    if (digit) {
      run.push_back(static_cast<char32_t>(text[i]));
    } else if (!run.empty()) {
      out.push_back(run);
      run.clear();
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

template <typename Char>
int CountOf(const std::basic_string<Char>& text, const char* word) {
  const std::basic_string<Char> needle(word, word + std::char_traits<char>::length(word));
  int n = 0;
  for (size_t at = text.find(needle); at != std::basic_string<Char>::npos; at = text.find(needle, at + 1)) {
    ++n;
  }
  return n;
}

// Placeholders, figures and product names of `text` against those of `english`.
template <typename Char>
void ExpectSameFixedParts(const std::basic_string<Char>& english, const std::basic_string<Char>& text,
                          const std::string& where) {
  EXPECT_EQ(Placeholders(english), Placeholders(text)) << where << ": placeholders differ";
  EXPECT_EQ(Figures(english), Figures(text)) << where << ": figures differ";
  for (const char* brand : kBrandNames) {
    EXPECT_EQ(CountOf(english, brand), CountOf(text, brand)) << where << ": \"" << brand << "\" count differs";
  }
}

std::wstring Fallback(int group, int entry) {
  return PromptFallbackText(group, entry);
}

TEST(PromptDocumentTest, ReaderRefusesWhatTheInstallerWouldMisread) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"byte-order mark", "\xEF\xBB\xBF[INFO]\r\nRepair=\"x\"\r\n"},
      {"LF lines", "[INFO]\nRepair=\"x\"\n"},
      {"unquoted value", "[INFO]\r\nFREEDISK1=Low disk space on \r\n"},
      {"second section", "[INFO]\r\nRepair=\"x\"\r\n[MORE]\r\nFat=\"y\"\r\n"},
      {"key differing only in case", "[INFO]\r\nRepair=\"x\"\r\nrepair=\"y\"\r\n"},
      {"broken UTF-8", "[INFO]\r\nRepair=\"\xE8\xA6\"\r\n"},
      {"no section", "Repair=\"x\"\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(ParsePromptDocument(c.bytes).ok) << c.name;
  }
  const PromptDocument good = ParsePromptDocument("[INFO]\r\nFREEDISK1=\" on \"\r\n");
  ASSERT_TRUE(good.ok) << good.error;
  EXPECT_EQ(" on ", *good.Find("FREEDISK1"));
}

TEST(PromptDocumentTest, KeyNamesOfTheTableMatchTheDocumentKeys) {
  ASSERT_EQ(static_cast<int>(std::size(kReadKeys)), kPromptKeyCount);
  for (int i = 0; i < kPromptKeyCount; ++i) {
    ASSERT_NE(nullptr, PromptKeyName(i));
    EXPECT_STREQ(kReadKeys[i], PromptKeyName(i)) << "key " << i;
    EXPECT_EQ(i, PromptKeyIndex(kReadKeys[i]));
  }
  EXPECT_EQ(nullptr, PromptKeyName(kPromptKeyCount));
  EXPECT_EQ(-1, PromptKeyIndex("Installing"));
}

TEST(PromptDocumentTest, EnglishDocumentHoldsTheReleasedTexts) {
  const struct {
    const char* key;
    const char* text;
  } kEnglish[] = {
      {"ServiceError", "Server error, please try again later!"},
      {"Repair", "Overwrite Install"},
      {"DiskSpace",
       "Fail to install Pindle due to insufficient C Disk space. Please make sure you have at "
       "least 2G space available in C Disk."},
      {"Memsize",
       "Insufficient physical memory. Pindle may fail to run properly. We suggest you close some "
       "other software first."},
      {"ApkInstalling", "Downloading the apk file, please wait..."},
      {"CPUtype", "CPU performance too low; might not run Pindle normally."},
      {"System", "Windows system version too old. Please upgrade your system and reinstall Pindle."},
      {"Fat",
       "The file system of the selected destination directory is FAT32, under which the maximum "
       "size of a single file is limited to 4G. Running under this setting may cause App Player "
       "system error. It is suggested that you change the file format to NTFS."},
      {"Filedamage", "Fail to unzip the installation file. Please reboot your PC and retry."},
      {"DownloadFail", "The installer failed to download, and the space of your C drive is too low!"},
      {"Graphics",
       "Graphics driver version too old. Please upgrade your graphics driver and reinstall "
       "Pindle."},
      {"Resolution", "Please set the resolution to True Color (32 bit)"},
      {"pstrDownloaderUp", "Please download the latest installer from our official website!"},
      {"Installed", "This installation will delete the original app and data. Please backup your data."},
      {"64error", "Processor error, please restart the installer!"},
      {"Fileoccupied",
       "The original file may still be running or the installer may be falsely blocked by your "
       "antivirus software. Please end any Pindle progress in Task Manager or quit the "
       "antivirus software and reinstall Pindle."},
      {"Authority", "Installation failed. Please run as administrator."},
      {"Downloading", "Almost completed, are you sure to exit now?"},
      {"Reboot", "Installation finished. Restart your computer to continue."},
      {"Character", "The destination folder contains a special path, please select again."},
      {"BlueScreen",
       "Due to system environment, the BSoD (Blue Screen of Death) problem may appear while the "
       "emulator starting, it can be solved through reboot the computer."},
      {"FREEDISK1", "Low disk space on "},
      {"FREEDISK2", " drive to perform the installation. Please free up at least 2GB of disk space."},
  };
  const PromptDocument doc = LoadDocument("ENGPROMPTINFO");
  ASSERT_TRUE(doc.ok) << doc.error;
  for (const auto& e : kEnglish) {
    const std::string* value = doc.Find(e.key);
    ASSERT_NE(nullptr, value) << e.key;
    EXPECT_EQ(e.text, *value) << e.key;
  }
}

TEST(PromptDocumentTest, EveryDocumentIsCompleteAndKeepsTheFixedParts) {
  const PromptDocument english = LoadDocument("ENGPROMPTINFO");
  ASSERT_TRUE(english.ok) << english.error;
  const std::string* english_faq = english.Find("FAQUrl");
  ASSERT_NE(nullptr, english_faq);
  EXPECT_EQ(0u, english_faq->rfind("http://127.0.0.1/", 0)) << *english_faq;

  for (const LanguageDocument& lang : kDocuments) {
    SCOPED_TRACE(lang.resource);
    const PromptDocument doc = LoadDocument(lang.resource);
    ASSERT_TRUE(doc.ok) << doc.error;
    for (const std::string& key : AllKeys()) {
      const std::string* value = doc.Find(key);
      const std::string* english_value = english.Find(key);
      ASSERT_NE(nullptr, value) << key << " missing";
      ASSERT_NE(nullptr, english_value) << key << " missing in English";
      EXPECT_FALSE(value->empty()) << key;
      EXPECT_LE(value->size(), kMaxValueBytes) << key << " would be cut";
      ExpectSameFixedParts(*english_value, *value, key);
    }
    // The help page is a deployment value, not a translation.
    EXPECT_EQ(*english_faq, *doc.Find("FAQUrl"));
    // The drive name is put between these two halves; without the blanks it would run into
    // the words of alphabetic scripts.
    EXPECT_EQ(' ', doc.Find("FREEDISK1")->back());
    EXPECT_EQ(' ', doc.Find("FREEDISK2")->front());
    if (lang.fallback_group != kPromptGroupEnglish) {
      for (const std::string& key : AllKeys()) {
        if (key == "FAQUrl") continue;
        EXPECT_NE(*english.Find(key), *doc.Find(key)) << key << " left untranslated";
      }
    }
  }
}

TEST(PromptFallbackTest, TableIsFilledWhereTheLoaderReadsIt) {
  for (int group = 0; group < kPromptFallbackGroupCount; ++group) {
    for (int entry = 0; entry < kPromptFallbackEntryCount; ++entry) {
      const std::string where = "group " + std::to_string(group) + " entry " + std::to_string(entry);
      const wchar_t* text = PromptFallbackText(group, entry);
      ASSERT_NE(nullptr, text) << where;
      if (entry <= 16) {
        EXPECT_NE(L'\0', text[0]) << where << " is empty";
        ExpectSameFixedParts(Fallback(kPromptGroupEnglish, entry), std::wstring(text), where);
        // Only the administrator message stays English in the Korean, Japanese and
        // Vietnamese groups.
        const bool kept_english = entry == 16 && group != kPromptGroupSimplifiedChinese;
        if (group != kPromptGroupEnglish && !kept_english) {
          EXPECT_NE(Fallback(kPromptGroupEnglish, entry), text) << where << " untranslated";
        }
      } else {
        EXPECT_EQ(L'\0', text[0]) << where << " should be empty";
      }
    }
  }
  for (int group : {kPromptGroupKorean, kPromptGroupJapanese, kPromptGroupVietnamese}) {
    EXPECT_EQ(Fallback(kPromptGroupEnglish, 16), Fallback(group, 16)) << group;
  }
  // A language group outside the table must not crash the loader.
  EXPECT_STREQ(L"", PromptFallbackText(5, 0));
  EXPECT_STREQ(L"", PromptFallbackText(-1, 0));
  EXPECT_STREQ(L"", PromptFallbackText(0, kPromptFallbackEntryCount));
}

TEST(PromptFallbackTest, KeysTakeTheirEntries) {
  const struct {
    const char* key;
    int entry;
  } kMap[] = {
      {"ServiceError", 0},      {"Repair", 1},        {"DiskSpace", 2},  {"Memsize", 4},
      {"ApkInstalling", -1},    {"CPUtype", 5},       {"System", 6},     {"Fat", 7},
      {"Filedamage", 8},        {"DownloadFail", -1}, {"Graphics", 10},  {"Resolution", 11},
      {"pstrDownloaderUp", -1}, {"Installed", 13},    {"64error", 14},   {"Fileoccupied", 15},
      {"Authority", 16},        {"Downloading", -1},  {"Reboot", -1},    {"Character", -1},
      {"BlueScreen", -1},       {"FAQUrl", -1},       {"FREEDISK1", 20}, {"FREEDISK2", 21},
  };
  for (const auto& m : kMap) {
    EXPECT_EQ(m.entry, PromptFallbackEntryForKey(PromptKeyIndex(m.key))) << m.key;
  }
  EXPECT_EQ(-1, PromptFallbackEntryForKey(-1));
  EXPECT_EQ(-1, PromptFallbackEntryForKey(kPromptKeyCount));
}

// Where a fallback entry and a document text are the same message, the wide literal must be
// the very text the document spells in UTF-8: this catches a source-encoding slip in either
// compiler as well as drift between the two.
TEST(PromptFallbackTest, SharedMessagesMatchTheDocumentsCharacterForCharacter) {
  for (const LanguageDocument& lang : kDocuments) {
    if (lang.fallback_group < 0) continue;
    SCOPED_TRACE(lang.resource);
    const PromptDocument doc = LoadDocument(lang.resource);
    ASSERT_TRUE(doc.ok) << doc.error;
    std::vector<std::pair<const char*, int>> shared = {{"ServiceError", 0}, {"Repair", 1}};
    if (lang.fallback_group <= kPromptGroupSimplifiedChinese) shared.push_back({"Authority", 16});
    for (const auto& s : shared) {
      std::u32string from_document;
      ASSERT_TRUE(DecodeUtf8(*doc.Find(s.first), &from_document)) << s.first;
      EXPECT_TRUE(from_document == WideToCodePoints(Fallback(lang.fallback_group, s.second))) << s.first;
    }
  }
}

}  // namespace
