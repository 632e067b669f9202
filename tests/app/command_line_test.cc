#include "app/command_line.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace app {
namespace {

using Args = std::vector<std::wstring>;

struct SplitCase {
  const wchar_t* line;
  Args expected;
};

const SplitCase kSplitCases[] = {
    {L"dl.exe", {L"dl.exe"}},
    {L"\"C:\\Program Files\\dl.exe\" -auto", {L"C:\\Program Files\\dl.exe", L"-auto"}},
    {L"dl.exe  -lan:lan_jp\t-installpath:D:\\Apps\\X", {L"dl.exe", L"-lan:lan_jp", L"-installpath:D:\\Apps\\X"}},
    // The option is quoted as a whole when its value has blanks.
    {L"dl.exe \"-installpath:C:\\My Games\\Vesk\"", {L"dl.exe", L"-installpath:C:\\My Games\\Vesk"}},
    {L"dl.exe -installpath:\"C:\\My Games\"", {L"dl.exe", L"-installpath:C:\\My Games"}},
    // Backslashes escape only before a quote.
    {L"dl.exe a\\\\b a\\\\\\\"b \"a\\\\\" c", {L"dl.exe", L"a\\\\b", L"a\\\"b", L"a\\", L"c"}},
    {L"dl.exe \"\" x", {L"dl.exe", L"", L"x"}},
    {L"dl.exe \"a\"\"b c\"", {L"dl.exe", L"a\"b", L"c"}},
    {L"dl.exe \"\"\"a b\"\"\"", {L"dl.exe", L"\"a", L"b\""}},
    {L"dl.exe trailing\\", {L"dl.exe", L"trailing\\"}},
    {L"dl.exe \"unterminated value", {L"dl.exe", L"unterminated value"}},
};

TEST(SplitCommandLine, FollowsTheWindowsRules) {
  for (const SplitCase& c : kSplitCases) EXPECT_EQ(c.expected, SplitCommandLine(c.line)) << c.line;
}

#ifdef _WIN32
// The system's own splitter is the reference: the table above must agree with it.
TEST(SplitCommandLine, AgreesWithCommandLineToArgvW) {
  for (const SplitCase& c : kSplitCases) {
    int count = 0;
    LPWSTR* system_argv = CommandLineToArgvW(c.line, &count);
    ASSERT_NE(nullptr, system_argv);
    Args system(system_argv, system_argv + count);
    LocalFree(system_argv);
    EXPECT_EQ(system, SplitCommandLine(c.line)) << c.line;
  }
}
#endif

CommandLineOptions Parse(const Args& arguments) {
  Args argv{L"PindleDownloader.exe"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return ParseCommandLineOptions(argv);
}

TEST(ParseCommandLineOptions, NoArgumentsLeavesDefaults) {
  const CommandLineOptions o = Parse({});
  EXPECT_FALSE(o.debug || o.file_url || o.auto_install || o.un_external || o.has_language);
  EXPECT_TRUE(o.install_path.empty() && o.package_url.empty() && o.package_size.empty() && o.package_md5.empty());
}

TEST(ParseCommandLineOptions, ValuesAndFlags) {
  const CommandLineOptions o = Parse({L"-lan:lan_jp", L"-installpath:D:\\Apps\\X", L"-url:http://h/p.7z", L"-size:1234",
                                      L"-md5:abc", L"-auto", L"-fileurl:whatever", L"-unExternalVesk:1"});
  EXPECT_TRUE(o.has_language);
  EXPECT_EQ(L"lan_jp", o.language);
  EXPECT_EQ(L"D:\\Apps\\X", o.install_path);
  EXPECT_EQ(L"http://h/p.7z", o.package_url);
  EXPECT_EQ(L"1234", o.package_size);
  EXPECT_EQ(L"abc", o.package_md5);
  EXPECT_TRUE(o.auto_install);
  EXPECT_TRUE(o.file_url);
  EXPECT_TRUE(o.un_external);
  EXPECT_FALSE(o.debug);
}

TEST(ParseCommandLineOptions, MatchesAnywhereAndCutsTheOptionLength) {
  // A substring match decides, and the value drops as many characters as the option has.
  EXPECT_TRUE(Parse({L"-debugger"}).debug);
  EXPECT_EQ(L":abc", Parse({L"x-url:abc"}).package_url);
  // The first matching option wins: "-debug" hides a "-lan:" in the same argument.
  const CommandLineOptions o = Parse({L"-debug-lan:lan_kr"});
  EXPECT_TRUE(o.debug);
  EXPECT_FALSE(o.has_language);
  // "-unExternalVesk:" is noted beside a later option of the same argument...
  const CommandLineOptions both = Parse({L"-installpath:C:\\X-unExternalVesk:"});
  EXPECT_TRUE(both.un_external);
  EXPECT_EQ(L"C:\\X-unExternalVesk:", both.install_path);
  // ...but not inside an argument that "-lan:" took.
  EXPECT_FALSE(Parse({L"-lan:lan_en-unExternalVesk:"}).un_external);
}

TEST(ParseCommandLineOptions, OverlongValueIsCut) {
  const std::wstring path(5000, L'p');
  const CommandLineOptions o = Parse({L"-installpath:" + path});
  EXPECT_EQ(path.substr(0, kMaxOptionValueLength), o.install_path);
  EXPECT_EQ(std::wstring(kMaxOptionValueLength, L'u'), Parse({L"-url:" + std::wstring(2084, L'u')}).package_url);
}

TEST(ParseCommandLineOptions, QuotedValueWithSpacesSurvivesSplitting) {
  const CommandLineOptions o =
      ParseCommandLineOptions(SplitCommandLine(L"dl.exe \"-installpath:C:\\My Games\\Vesk\" -auto"));
  EXPECT_EQ(L"C:\\My Games\\Vesk", o.install_path);
  EXPECT_TRUE(o.auto_install);
}

}  // namespace
}  // namespace app
