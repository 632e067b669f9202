#include "extract/unpack_rules.h"

#include <algorithm>
#include <cstdio>

namespace extract {

namespace {

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

// A component that names no file of its own: ".", "..", and what Windows makes of "...",
// ". ." or ".. " once it strips trailing dots and spaces.
bool IsDotsAndSpacesOnly(const std::u16string& name, size_t begin, size_t end) {
  if (begin == end) return false;  // "a//b": an empty component is harmless
  for (size_t i = begin; i < end; ++i) {
    if (name[i] != u'.' && name[i] != u' ') return false;
  }
  return true;
}

}  // namespace

bool IsSafeEntryName(const std::u16string& name) {
  if (name.empty() || IsSeparator(name[0])) return false;
  if (name.find(u':') != std::u16string::npos) return false;
  size_t begin = 0;
  while (begin <= name.size()) {
    size_t end = begin;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    if (IsDotsAndSpacesOnly(name, begin, end)) return false;
    begin = end + 1;
  }
  return true;
}

bool JoinOutputPath(const std::u16string& folder, const std::u16string& name, char16_t* buffer, size_t capacity) {
  const bool needs_separator = folder.empty() || !IsSeparator(folder.back());
  const size_t separator = needs_separator ? 1 : 0;
  // Sizes are compared before they are added so that no sum can wrap.
  if (capacity == 0 || folder.size() >= capacity) return false;
  const size_t room = capacity - folder.size() - 1;  // units left once the NUL is reserved
  if (separator > room || name.size() > room - separator) return false;
  char16_t* out = std::copy(folder.begin(), folder.end(), buffer);
  if (needs_separator) *out++ = u'\\';
  out = std::copy(name.begin(), name.end(), out);
  *out = u'\0';
  return true;
}

bool IsSkippableLockedEntry(const std::u16string& entry_name) {
  return entry_name.find(u"vesk_adb.exe") != std::u16string::npos || entry_name.find(u"Adb") != std::u16string::npos;
}

uint32_t WindowsAttributesOf(uint32_t stored) {
  if (stored & kUnixExtensionAttribute) return stored & (kUnixExtensionAttribute - 1);
  return stored;
}

std::string UnpackDiagnosticText(int code, uint64_t bytes_written) {
  switch (code) {
    case kUnpackOk: return std::string();
    case kUnpackNoInstallFolder: return "Install path not existed\n";
    case kUnpackNoPackage: return "Source path not existed\n";
    default: break;
  }
  std::string text;
  switch (code) {
    case kUnpackOutOfMemory: text = "\nERROR: can not allocate memory\n"; break;
    case kUnpackCrcError: text = "\nERROR: CRC error\n"; break;
    case kUnpackUnsupported: text = "\nERROR: decoder doesn't support this archive\n"; break;
    default: {
      char line[32];
      std::snprintf(line, sizeof(line), "\nERROR #%d\n", code);
      text = line;
      break;
    }
  }
  char count[40];
  std::snprintf(count, sizeof(count), "num %llu\n", static_cast<unsigned long long>(bytes_written));
  return text + count;
}

std::string EntryFailureText(EntryFailure failure, const std::string& narrow_name) {
  switch (failure) {
    case EntryFailure::kCannotOpen: return "\nERROR: can not open output file\n";
    case EntryFailure::kCannotWrite: return "\nERROR: can not write output file\n";
    case EntryFailure::kCannotClose: return "\nERROR: can not close output file\n";
    case EntryFailure::kUnsafeName: return "\nERROR: unsafe entry name: " + narrow_name + "\n";
    case EntryFailure::kPathTooLong: return "\nERROR: output path too long: " + narrow_name + "\n";
    case EntryFailure::kNone:
    case EntryFailure::kNameConversion: break;
  }
  return std::string();
}

std::u16string ErrorFilePath(const std::u16string& local_app_data) {
  return local_app_data + u"\\Vesk\\DravelInstallPack\\err.txt";
}

std::string ErrorFileRecord(const std::string& narrow_path) {
  return "file name is:" + narrow_path;
}

std::string RefusedEntryRecord(const std::string& narrow_name) {
  return "refused entry is:" + narrow_name;
}

}  // namespace extract
