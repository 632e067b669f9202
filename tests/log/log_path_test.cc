// Path text rules: the program's folder, the configured log folder and file names.
#include "log/log_path.h"

#include <string>

#include <gtest/gtest.h>

namespace simlog {
namespace {

TEST(LogPath, FolderOfPathKeepsTheLastSeparator) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Program Files\\Pindle\\PindleDownloader.exe", "C:\\Program Files\\Pindle\\"},
      {"C:/tools/x/PindleDownloader.exe", "C:/tools/x/"},
      {"C:\\mixed/dir\\a.exe", "C:\\mixed/dir\\"},
      {"/usr/bin/prog", "/usr/bin/"},
      {"prog.exe", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.folder, FolderOfPath(c.path)) << c.path;
}

TEST(LogPath, AbsoluteFolderReplacesProgramFolder) {
  const std::string sep(1, kLogPathSeparator);
  struct Case {
    const char* base;
    const char* folder;
    std::string combined;
  } cases[] = {
      {"C:\\app\\", "C:\\Users\\u\\AppData\\Local\\Vesk\\PindleDownloader",
       "C:\\Users\\u\\AppData\\Local\\Vesk\\PindleDownloader"},
      {"C:\\app\\", "d:\\logs", "d:\\logs"},
      {"C:\\app\\", "\\\\server\\share\\logs", "\\\\server\\share\\logs"},
      {"C:\\app\\", "/var/log/x", "/var/log/x"},
      {"C:\\app\\", "logs", "C:\\app\\logs"},
      {"C:\\app\\", "logs\\today", "C:\\app\\logs\\today"},
      {"/opt/app/", "logs", "/opt/app/logs"},
      {"/opt/app", "logs", "/opt/app" + sep + "logs"},
      {"", "logs", "logs"},
      {"C:\\app\\", "", "C:\\app\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.combined, CombineLogFolder(c.base, c.folder)) << c.base << " + " << c.folder;
}

TEST(LogPath, JoinAddsOneSeparator) {
  const std::string sep(1, kLogPathSeparator);
  EXPECT_EQ("C:\\logs\\a.log", JoinPath("C:\\logs\\", "a.log"));
  EXPECT_EQ("/tmp/logs/a.log", JoinPath("/tmp/logs/", "a.log"));
  EXPECT_EQ("C:\\logs" + sep + "a.log", JoinPath("C:\\logs", "a.log"));
  EXPECT_EQ("a.log", JoinPath("", "a.log"));
}

}  // namespace
}  // namespace simlog
