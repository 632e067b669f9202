// The package digest as the install steps make it (FileMd5: BCrypt, read in small pieces),
// timed over one file: prints the digest, the seconds and the MiB/s of the best of RUNS runs.
//   package_md5_bench.exe FILE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "UI/package_digest.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: package_md5_bench FILE [RUNS]\n");
    return 64;
  }
  const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 3;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(argv[1], GetFileExInfoStandard, &data)) {
    std::fprintf(stderr, "cannot read %ls: %lu\n", argv[1], GetLastError());
    return 1;
  }
  const double bytes = static_cast<double>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  double best = 0;
  std::string hex;
  for (int run = 0; run < runs; ++run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    uint32_t error = 0;
    if (!installer::FileMd5(argv[1], &hex, &error)) {
      std::fprintf(stderr, "FileMd5 failed: 0x%08x\n", error);
      return 1;
    }
    QueryPerformanceCounter(&end);
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
    if (run == 0 || seconds < best) best = seconds;
  }
  std::printf("%s %.3f s %.1f MiB/s\n", hex.c_str(), best, bytes / (1 << 20) / best);
  return 0;
}
