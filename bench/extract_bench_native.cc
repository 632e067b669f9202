// The installer's in-process extraction built natively (POSIX file layer) for the extraction
// benchmark: the same decoder and flow as unpack7z.exe without Wine, to tell the cost of Wine
// apart from the cost of the decoder. extract_bench.sh compiles it with -O2.
//
//   extract_bench_native ARCHIVE FOLDER   (exit code: the extraction's result code)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "extract/unpack7z.h"
#include "runtime/text_encoding.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: extract_bench_native ARCHIVE FOLDER\n", stderr);
    return 64;
  }
  char* archive = realpath(argv[1], nullptr);
  char* folder = realpath(argv[2], nullptr);
  int code = -1;
  if (archive && folder) {
    Unpack7zInFolder(base::Utf8ToUtf16(archive), base::Utf8ToUtf16(folder), &code);
  } else {
    code = archive ? 21 : 22;
  }
  std::free(archive);
  std::free(folder);
  return code;
}
