// The package file: preallocation to the full size, its failure on a volume too small for the
// package, and the writer of the whole-file transfer.
#include "download/package_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "open_handles.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace download;

class PackageFileTest : public ::testing::Test {
 protected:
  std::wstring Path(const char* name) const { return (folder_.path() / name).wstring(); }

  test_support::ScratchFolder folder_;
};

TEST_F(PackageFileTest, PreallocationGivesTheFileItsFullSizeAndReplacesAnOldOne) {
  {
    std::ofstream old(folder_.path() / "pkg", std::ios::binary);
    old << std::string(5000, 'x');
  }
  ASSERT_TRUE(PreallocatePackageFile(Path("pkg"), 1234567));
  EXPECT_EQ(PackageFileSize(Path("pkg")), 1234567);
  ASSERT_TRUE(PreallocatePackageFile(Path("pkg"), 10));
  EXPECT_EQ(PackageFileSize(Path("pkg")), 10);
  // The old content is gone, not kept in front of the new size.
  std::ifstream in(folder_.path() / "pkg", std::ios::binary);
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(data, std::string(10, '\0'));
}

TEST_F(PackageFileTest, PreallocationFailsInAFolderThatDoesNotExist) {
  EXPECT_FALSE(PreallocatePackageFile(Path("missing/pkg"), 100));
}

// A volume too small for the package. The host tree limits the file size of this process;
// under Wine CTest mounts a 16 MiB volume and names it in PINDLE_SMALL_VOLUME.
TEST_F(PackageFileTest, PreallocationOnAVolumeTooSmallFailsAndLeavesNoFile) {
  const uint32_t limit = 16u << 20;
#ifdef _WIN32
  const char* volume = std::getenv("PINDLE_SMALL_VOLUME");
  if (!volume || !fs::exists(fs::path(volume) / ".small-volume"))
    GTEST_SKIP() << "no small volume mounted (needs root)";
  const std::wstring path = (fs::path(volume) / "big").wstring();
  const bool ok = PreallocatePackageFile(path, 4 * limit);
#else
  const std::wstring path = Path("big");
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = limit;
  void (*old_handler)(int) = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = PreallocatePackageFile(path, 4 * limit);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, old_handler);
#endif
  EXPECT_FALSE(ok);
  EXPECT_EQ(PackageFileSize(path), -1);
}

TEST_F(PackageFileTest, WriterReplacesTheFileAndWritesInOrder) {
  {
    std::ofstream old(folder_.path() / "w", std::ios::binary);
    old << std::string(100, 'x');
  }
  PackageFileWriter writer;
  ASSERT_TRUE(writer.Create(Path("w")));
  EXPECT_TRUE(writer.Write("abc", 3));
  EXPECT_TRUE(writer.Write("de", 2));
  writer.Close();
  EXPECT_FALSE(writer.is_open());
  EXPECT_FALSE(writer.Write("f", 1));
  EXPECT_EQ(PackageFileSize(Path("w")), 5);
  EXPECT_FALSE(writer.Create(Path("missing/w")));
}

TEST_F(PackageFileTest, WriterAndPreallocationReleaseTheirFileOnEveryPath) {
  const long handles = test_support::OpenHandleCount();
  {
    PackageFileWriter writer;
    ASSERT_TRUE(writer.Create(Path("a")));
    EXPECT_EQ(test_support::OpenHandleCount(), handles + 1);
    // A second file replaces the first one's handle; a failed one leaves none open.
    ASSERT_TRUE(writer.Create(Path("b")));
    EXPECT_EQ(test_support::OpenHandleCount(), handles + 1);
    EXPECT_FALSE(writer.Create(Path("missing/c")));
    EXPECT_EQ(test_support::OpenHandleCount(), handles);
    ASSERT_TRUE(writer.Create(Path("d")));
  }
  EXPECT_EQ(test_support::OpenHandleCount(), handles) << "the writer's end closes its file";
  EXPECT_TRUE(PreallocatePackageFile(Path("e"), 4096));
  EXPECT_FALSE(PreallocatePackageFile(Path("missing/f"), 4096));
  EXPECT_EQ(test_support::OpenHandleCount(), handles);
}

TEST(PackageFolderTest, FolderOfKeepsTheLastSeparator) {
  EXPECT_EQ(FolderOf(L"C:\\Users\\a\\PindlePackFileder\\PindlePackage1700000000"),
            L"C:\\Users\\a\\PindlePackFileder\\");
  EXPECT_EQ(FolderOf(L"/tmp/x/pkg"), L"/tmp/x/");
  EXPECT_EQ(FolderOf(L"C:\\a/b\\c"), L"C:\\a/b\\");
  EXPECT_EQ(FolderOf(L"pkg"), L"");
}

}  // namespace
