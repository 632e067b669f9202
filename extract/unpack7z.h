// In-process extraction of the package (a 7z archive) into the install folder with the LZMA
// SDK's 7z decoder. Entries are written in archive order; the current solid block stays decoded
// in memory between files, so memory use is about the largest solid block.
//
//   int code = 0;
//   if (!Unpack7zInFolder(package_path, install_folder, &code)) { ... 7za fallback ... }
//
// The result codes are extract::UnpackCode (0 success, 1 archive cannot be opened, 2 out of
// memory, 3 CRC error, 4 unsupported, 11 output file or entry refused, 21 no install folder,
// 22 no package; other SDK codes pass through). Diagnostics go to standard output.
#ifndef PINDLE_EXTRACT_UNPACK7Z_H_
#define PINDLE_EXTRACT_UNPACK7Z_H_

#include <cstdint>
#include <string>

#include "extract/unpack_file_system.h"
#include "extract/unpack_rules.h"

// What the code alone does not say: where an extraction stopped and how far it got.
struct UnpackDetails {
  uint64_t bytes_written = 0;  // unpacked bytes written to output files
  int skipped_entries = 0;     // locked adb entries left as they were
  extract::EntryFailure failure = extract::EntryFailure::kNone;
  std::u16string entry_name;  // the entry the extraction stopped on, if any
};

// Unpacks `archive` into the existing folder `install_folder` (absolute paths).
int Unpack7z(const std::u16string& archive, const std::u16string& install_folder, UnpackDetails* details = nullptr);

// Unpack7z with the install folder as the process's current folder for the duration of the
// call (restored afterwards). Stores the code in *code; true when it is 0.
bool Unpack7zInFolder(const std::u16string& archive, const std::u16string& install_folder, int* code,
                      UnpackDetails* details = nullptr);

#ifdef _WIN32
// Windows callers hold wchar_t paths, which are UTF-16 there.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t is UTF-16 on Windows");
namespace extract {
inline std::u16string FromWide(const std::wstring& text) {
  return std::u16string(text.begin(), text.end());
}
}  // namespace extract
inline int Unpack7z(const std::wstring& archive, const std::wstring& install_folder) {
  return Unpack7z(extract::FromWide(archive), extract::FromWide(install_folder));
}
inline bool Unpack7zInFolder(const std::wstring& archive, const std::wstring& install_folder, int* code) {
  return Unpack7zInFolder(extract::FromWide(archive), extract::FromWide(install_folder), code);
}
#endif

namespace extract {

// The same operations over any file system (tests use the platform's with real files; the
// entry points above use PlatformUnpackFileSystem()).
int Unpack7zWith(UnpackFileSystem& fs, const std::u16string& archive, const std::u16string& install_folder,
                 UnpackDetails* details);
bool Unpack7zInFolderWith(UnpackFileSystem& fs, const std::u16string& archive, const std::u16string& install_folder,
                          int* code, UnpackDetails* details);

}  // namespace extract

#endif  // PINDLE_EXTRACT_UNPACK7Z_H_
