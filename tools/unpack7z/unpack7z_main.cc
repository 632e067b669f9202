// unpack7z.exe ARCHIVE FOLDER
//
// Unpacks a 7z package into an existing folder exactly as the installer does in process
// (Unpack7zInFolder), printing the same diagnostics, and exits with the extraction's result
// code: 0 on success, 1 to 22 as the extractor reports them, 64 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <string>

#include "extract/unpack7z.h"

namespace {

constexpr int kUsageExitCode = 64;

// The installer always passes absolute paths, and the extraction changes the current folder
// while it runs, so relative arguments are made absolute first.
std::wstring AbsolutePath(const wchar_t* path) {
  const DWORD needed = ::GetFullPathNameW(path, 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(path, needed, &full[0], nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs(
        "usage: unpack7z ARCHIVE FOLDER\n"
        "Unpacks ARCHIVE into the existing FOLDER as the installer does; the exit code is\n"
        "the extraction's result code (0 on success).\n",
        stderr);
    return kUsageExitCode;
  }
  int code = -1;
  Unpack7zInFolder(AbsolutePath(argv[1]), AbsolutePath(argv[2]), &code);
  return code;
}
