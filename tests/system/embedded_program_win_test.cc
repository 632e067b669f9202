// Writing the program's own resources to disk. The test program embeds a small data block,
// a stand-in for the 7-Zip program and the two real OpenGL probe builds (system_test.rc).
#include <windows.h>

#include <gtest/gtest.h>

#include "system/embedded_program.h"
#include "system/os_version.h"
#include "system/run_capture.h"
#include "tests/system/win_test_support.h"

namespace {

// The bytes of TESTBLOB as the resource script spells them (little-endian words, then a
// string with its NUL, then one more word).
const char kBlob[] =
    "\x00\x01\x0a\x0d\x00\x1a\x7f\xff"
    "text\0"
    "\x80\x80";
const std::string kBlobBytes(kBlob, sizeof(kBlob) - 1);

TEST(EmbeddedProgramWinTest, ResourceBytesAreWrittenExactly) {
  ScratchFolder folder;
  const std::wstring path = folder / L"blob.bin";
  ASSERT_TRUE(WriteResourceToFile(path, L"TESTBLOB", L"APP"));
  EXPECT_EQ(ReadFileBytes(path), kBlobBytes);

  // An existing longer file is truncated, not overwritten in place.
  ASSERT_TRUE(WriteFileBytes(path, std::string(5000, 'q')));
  ASSERT_TRUE(WriteResourceToFile(path, L"TESTBLOB", L"APP"));
  EXPECT_EQ(ReadFileBytes(path), kBlobBytes);
}

TEST(EmbeddedProgramWinTest, MissingResourceOrUnwritablePathFails) {
  ScratchFolder folder;
  EXPECT_FALSE(WriteResourceToFile(folder / L"none.bin", L"NO_SUCH_RESOURCE", L"APP"));
  EXPECT_FALSE(Exists(folder / L"none.bin")) << "no file for a missing resource";
  EXPECT_FALSE(WriteResourceToFile(folder / L"blob.bin", L"TESTBLOB", L"OTHERTYPE"));
  EXPECT_FALSE(WriteResourceToFile(folder / L"no-such-folder\\blob.bin", L"TESTBLOB", L"APP"));
}

TEST(EmbeddedProgramWinTest, SevenZipToolPathIsReportedEvenWhenTheWriteFails) {
  ScratchFolder folder;
  std::wstring tool;
  ASSERT_TRUE(WriteSevenZipTool(folder.path(), &tool));
  EXPECT_EQ(tool, folder / L"7za.exe");
  EXPECT_EQ(ReadFileBytes(tool), std::string("7-Zip stand-in\0", 15));

  tool.clear();
  EXPECT_FALSE(WriteSevenZipTool(folder / L"missing", &tool));
  EXPECT_EQ(tool, folder / L"missing\\7za.exe");
}

// PE machine field of a program file: 0x14C for i686, 0x8664 for x86-64.
unsigned MachineOf(const std::string& image) {
  if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z') return 0;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(image.data());
  const size_t pe = bytes[0x3C] | (bytes[0x3D] << 8) | (bytes[0x3E] << 16) | (static_cast<size_t>(bytes[0x3F]) << 24);
  if (pe + 6 > image.size() || image.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return 0;
  return bytes[pe + 4] | (bytes[pe + 5] << 8);
}

TEST(EmbeddedProgramWinTest, GpuCheckToolOfEachBitness) {
  ScratchFolder folder;
  std::wstring tool;
  ASSERT_TRUE(WriteGpuCheckTool(folder.path(), true, &tool));
  EXPECT_EQ(tool, folder / L"CheckGLVersion.exe");
  EXPECT_EQ(MachineOf(ReadFileBytes(tool)), 0x8664u);
  ASSERT_TRUE(WriteGpuCheckTool(folder.path(), false, &tool));
  EXPECT_EQ(MachineOf(ReadFileBytes(tool)), 0x14Cu);
}

// The probe's whole contract: a version text without newline and exit 0, or the one error
// line and exit 1. Under a virtual display without OpenGL either may happen; nothing else may.
TEST(EmbeddedProgramWinTest, GpuCheckToolRunsWithTheDocumentedOutcome) {
  ScratchFolder folder;
  bool query_ok = false;
  const bool windows_is_64 = sizeof(void*) == 8 || IsWow64(&query_ok);
  std::wstring tool;
  ASSERT_TRUE(WriteGpuCheckTool(folder.path(), windows_is_64, &tool));

  int exit_code = -1;
  std::string out, err;
  ASSERT_TRUE(RunAndCapture(L"\"" + tool + L"\"", 60000, &exit_code, &out, &err));
  if (exit_code == 0) {
    EXPECT_FALSE(out.empty());
    EXPECT_EQ(out.find('\n'), std::string::npos) << out;
    EXPECT_NE(out.find('.'), std::string::npos) << "a version such as \"4.5 (Compatibility Profile) Mesa\": " << out;
    EXPECT_EQ(err, "");
    std::printf("probe reports OpenGL \"%s\"\n", out.c_str());
  } else {
    EXPECT_EQ(exit_code, 1);
    EXPECT_EQ(out, "");
    // One line; the C runtime's text mode ends it with CR LF.
    EXPECT_TRUE(err == "Error: CreateContext failed\r\n" || err == "Error: CreateContext failed\n") << err;
    std::printf("probe found no usable OpenGL\n");
  }
}

}  // namespace
