#include "system/path_rules.h"

#include <gtest/gtest.h>

#include "system/embedded_program.h"

namespace {

TEST(PathRulesTest, ParentFolderKeepsTheLastSeparator) {
  EXPECT_EQ(ParentFolder(L"C:\\A\\B\\c.txt"), L"C:\\A\\B\\");
  EXPECT_EQ(ParentFolder(L"C:/A/b.txt"), L"C:/A/");
  EXPECT_EQ(ParentFolder(L"C:\\A/b\\c"), L"C:\\A/b\\");
  EXPECT_EQ(ParentFolder(L"C:\\"), L"C:\\");
  EXPECT_EQ(ParentFolder(L"name.txt"), L"");
  EXPECT_EQ(ParentFolder(L""), L"");
}

struct PlanCase {
  const wchar_t* path;
  ParentFolderPlan plan;
  std::vector<std::wstring> folders;
};

TEST(PathRulesTest, ParentFoldersFromTheRootDown) {
  const PlanCase cases[] = {
      {L"C:\\A\\B\\c.txt", ParentFolderPlan::kCreate, {L"C:\\A", L"C:\\A\\B"}},
      {L"C:/A/B/", ParentFolderPlan::kCreate, {L"C:/A", L"C:/A/B"}},
      {L"C:\\A/B\\c", ParentFolderPlan::kCreate, {L"C:\\A", L"C:\\A/B"}},
      {L"C:\\A\\\\B\\c", ParentFolderPlan::kCreate, {L"C:\\A", L"C:\\A\\\\B"}},
      {L"C:\\", ParentFolderPlan::kNothing, {}},
      {L"C:\\file.txt", ParentFolderPlan::kNothing, {}},
      {L"file.txt", ParentFolderPlan::kNothing, {}},
      {L"\\A\\b", ParentFolderPlan::kCreate, {L"\\A"}},
      {L"rel\\sub\\f", ParentFolderPlan::kCreate, {L"rel", L"rel\\sub"}},
      {L"\\\\server\\share\\d\\f",
       ParentFolderPlan::kCreate,
       {L"\\\\server", L"\\\\server\\share", L"\\\\server\\share\\d"}},
      {L"", ParentFolderPlan::kInvalid, {}},
  };
  for (const PlanCase& c : cases) {
    std::vector<std::wstring> folders;
    EXPECT_EQ(PlanParentFolders(c.path, &folders), c.plan) << c.path;
    EXPECT_EQ(folders, c.folders) << c.path;
  }
}

TEST(PathRulesTest, ParentFoldersLengthLimit) {
  std::vector<std::wstring> folders;
  const std::wstring at_limit = L"C:\\" + std::wstring(251, L'a') + L"\\x.txt";
  ASSERT_EQ(at_limit.size(), 260u);
  EXPECT_EQ(PlanParentFolders(at_limit, &folders), ParentFolderPlan::kCreate);
  EXPECT_EQ(PlanParentFolders(at_limit + L"t", &folders), ParentFolderPlan::kInvalid);
  EXPECT_TRUE(folders.empty());
}

TEST(PathRulesTest, BackslashesAndJoining) {
  EXPECT_EQ(WithBackslashes(L"C:/a/b\\c/"), L"C:\\a\\b\\c\\");
  EXPECT_EQ(JoinPath(L"C:\\data", L"7za.exe"), L"C:\\data\\7za.exe");
  EXPECT_EQ(JoinPath(L"C:\\data\\", L"7za.exe"), L"C:\\data\\7za.exe");
  EXPECT_EQ(JoinPath(L"C:/data/", L"7za.exe"), L"C:/data/7za.exe");
  EXPECT_EQ(JoinPath(L"", L"7za.exe"), L"7za.exe");
}

TEST(EmbeddedProgramTest, NamesAndPathsOfTheTools) {
  EXPECT_EQ(SevenZipToolPath(L"C:\\ProgramData\\Dravel"), L"C:\\ProgramData\\Dravel\\7za.exe");
  EXPECT_EQ(GpuCheckToolPath(L"C:\\ProgramData\\Dravel\\"), L"C:\\ProgramData\\Dravel\\CheckGLVersion.exe");
  EXPECT_EQ(std::wstring(GpuCheckToolResource(true)), L"OPENGLTOOL64");
  EXPECT_EQ(std::wstring(GpuCheckToolResource(false)), L"OPENGLTOOL32");
  EXPECT_EQ(std::wstring(kSevenZipResource), L"UN7ZA");
  EXPECT_EQ(std::wstring(kEmbeddedProgramType), L"APP");
}

}  // namespace
