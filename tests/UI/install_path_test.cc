// The install-path rules over a machine whose folders and drive kinds the test chooses.
#include "UI/install_path.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace installer {
namespace {

class FakePathFacts : public PathFacts {
 public:
  bool IsDirectory(const std::wstring& path) override { return folders.count(path) > 0; }
  DriveKind KindOfDrive(wchar_t letter) override {
    const auto found = drives.find(letter);
    return found == drives.end() ? DriveKind::kNoRoot : found->second;
  }

  std::set<std::wstring> folders;
  std::map<wchar_t, DriveKind> drives{{L'C', DriveKind::kFixed},     {L'D', DriveKind::kFixed},
                                      {L'E', DriveKind::kFixed},     {L'N', DriveKind::kRemote},
                                      {L'R', DriveKind::kRemovable}, {L'c', DriveKind::kFixed}};
};

TEST(InstallPathPattern, WholeStringMatch) {
  struct Case {
    const wchar_t* path;
    bool matches;
  };
  const Case cases[] = {
      {L"C:\\", true},
      {L"C:\\Games", true},
      {L"c:\\Program Files\\Pindle", true},
      {L"C:\\Games\\", false},  // a trailing backslash
      {L"C:\\a.", false},       // a trailing dot
      {L"C:", false},
      {L"C:\\Ga*mes", false},
      {L"C:\\Ga?mes", false},
      {L"C:/Games", false},
      {L"1:\\Games", false},
      {L"\\\\server\\share", false},
      {L"C:\\Games x", true},
      {L"xC:\\Games", false},
      {L"C:\\\\", false},
      {L"", false},
      {L"D:\\Tools\\\\Vesk", true},  // left to the double-backslash rule
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesInstallPathPattern(c.path), c.matches) << c.path;
}

TEST(InstallPathRules, WrongPathsShowTheErrorLabel) {
  FakePathFacts facts;
  facts.folders = {L"C:\\Program Files\\360\\360Safe"};
  struct Case {
    const wchar_t* path;
    bool wrong;
  };
  const Case cases[] = {
      {L"C:\\", false},
      {L"D:\\Games\\Pindle", false},
      {L"D:\\Tools\\\\Vesk", true},
      {L"D:\\Tools\\.\\Vesk", true},
      {L"D:\\Tools.\\Vesk", true},
      {L"D:\\Tools\\.Vesk", true},
      {L"C:\\Games\\", true},
      {L"C:\\a.", true},
      {L"C:\\Program Files\\360", true},   // its 360Safe folder exists
      {L"D:\\Program Files\\360", false},  // no 360Safe folder there
      {L"D:\\100%\\Pindle", true},
      {L"N:\\Share\\Pindle", true},  // network drive
      {L"R:\\Stick\\Pindle", true},  // removable drive
      {L"Q:\\Pindle", true},         // no such drive
  };
  for (const Case& c : cases) EXPECT_EQ(IsInstallPathWrong(c.path, &facts), c.wrong) << c.path;
}

TEST(InstallPathRules, ValidateKeepsTheDriveAndThe360Rule) {
  FakePathFacts facts;
  EXPECT_TRUE(ValidateInstallPath(L"C:\\Program Files\\360", &facts));
  facts.folders.insert(L"C:\\Program Files\\360\\360Safe");
  EXPECT_FALSE(ValidateInstallPath(L"C:\\Program Files\\360", &facts));
  EXPECT_FALSE(ValidateInstallPath(L"%TEMP%", &facts));
  EXPECT_FALSE(ValidateInstallPath(L"", &facts));
  EXPECT_FALSE(ValidateInstallPath(L"R:\\", &facts));
  EXPECT_TRUE(ValidateInstallPath(L"E:\\", &facts));
}

TEST(InstallPathRules, ProductFolderAppended) {
  struct Case {
    const wchar_t* chosen;
    const wchar_t* result;
  };
  const Case cases[] = {
      {L"E:\\Apps", L"E:\\Apps\\Pindle"},       {L"E:\\", L"E:\\Pindle"},
      {L"E:\\Pindle", L"E:\\Pindle"},           {L"E:\\Apps\\Pindle", L"E:\\Apps\\Pindle"},
      {L"E:\\pindle", L"E:\\pindle\\Pindle"},  // the name compares exactly
      {L"E:\\Pindle\\", L"E:\\Pindle\\Pindle"},
  };
  for (const Case& c : cases) EXPECT_EQ(AppendProductFolder(c.chosen, L"Pindle"), c.result) << c.chosen;
}

TEST(InstallPathRules, CustomInstallDropsOneTrailingBackslash) {
  bool dropped = false;
  EXPECT_EQ(CustomInstallFolder(L"D:\\Games\\", &dropped), L"D:\\Games");
  EXPECT_TRUE(dropped);
  EXPECT_EQ(CustomInstallFolder(L"D:\\Games", &dropped), L"D:\\Games");
  EXPECT_FALSE(dropped);
  EXPECT_EQ(CustomInstallFolder(L"", &dropped), L"");
  EXPECT_FALSE(dropped);
}

TEST(InstallPathRules, Fat32WarningAsksTheVolumeRoot) {
  EXPECT_EQ(VolumeRootOf(L"E:\\Apps\\Pindle"), L"E:\\");
  EXPECT_EQ(VolumeRootOf(L"E:"), L"E:\\");
  EXPECT_EQ(VolumeRootOf(L"Apps"), L"\\");
  EXPECT_TRUE(NeedsFat32Warning(L"FAT32"));
  EXPECT_FALSE(NeedsFat32Warning(L"NTFS"));
  EXPECT_FALSE(NeedsFat32Warning(L"FAT"));
  EXPECT_FALSE(NeedsFat32Warning(L""));
}

}  // namespace
}  // namespace installer
