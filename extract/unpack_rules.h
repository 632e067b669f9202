// The decisions of the in-process package extraction that need no file system: result codes,
// which entry names may be written, how an output path is formed in its fixed buffer, which
// locked entries may be skipped, how stored attributes apply, and the diagnostic texts.
#ifndef PINDLE_EXTRACT_UNPACK_RULES_H_
#define PINDLE_EXTRACT_UNPACK_RULES_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace extract {

// Result codes of Unpack7z: the LZMA SDK's own codes (SZ_ERROR_*) pass through unchanged; the
// extractor adds 21 and 22.
enum UnpackCode : int {
  kUnpackOk = 0,
  kUnpackCannotOpenArchive = 1,  // also the SDK's "data error" when it comes from decoding
  kUnpackOutOfMemory = 2,
  kUnpackCrcError = 3,
  kUnpackUnsupported = 4,
  kUnpackOutputFileError = 11,
  kUnpackNoInstallFolder = 21,
  kUnpackNoPackage = 22,
};

// Capacity of the output path buffer in UTF-16 units, terminating NUL included.
constexpr size_t kOutputPathCapacity = 500;

// Decoded file data is written in pieces of at most this many bytes.
constexpr size_t kWriteChunkSize = 0x400000;

// Windows attribute bit that 7-Zip sets when the high 16 bits carry a POSIX mode.
constexpr uint32_t kUnixExtensionAttribute = 0x8000;

// Why a failed extraction stopped on an entry (the code alone cannot tell these apart).
enum class EntryFailure {
  kNone,
  kNameConversion,  // the name does not survive conversion to the OEM code page
  kUnsafeName,      // the name would lead outside the install folder
  kPathTooLong,     // folder + separator + name does not fit the output path buffer
  kCannotOpen,      // the output file cannot be created
  kCannotWrite,
  kCannotClose,
};

// True when an entry name may be joined to the install folder: not empty, no drive or stream
// colon anywhere, no leading "\" or "/", and no path component made only of dots and spaces
// (Windows drops trailing dots and spaces, so ". ." or "..." can act as ".."). Both "\" and "/"
// separate components, as they do for CreateFileW.
bool IsSafeEntryName(const std::u16string& name);

// Writes folder + "\" + name and a terminating NUL into `buffer` of `capacity` units. A folder
// that already ends with "\" or "/" gets no second separator. Returns false, leaving the buffer
// untouched, when the result would not fit; never writes past `capacity`.
bool JoinOutputPath(const std::u16string& folder, const std::u16string& name, char16_t* buffer, size_t capacity);

// True when an entry that cannot be created may be skipped: the product's adb and the files of
// its "Adb" folder are often held open by a running adb server, and an older copy does no harm.
// Decided on the entry's name inside the archive, never on the install folder, so a folder
// such as "C:\Adbert\Vesk" does not turn every locked file into a silent skip.
bool IsSkippableLockedEntry(const std::u16string& entry_name);

// The attribute value to hand to SetFileAttributesW for a stored 7z attribute: archives made on
// POSIX systems keep the file mode in the high 16 bits behind kUnixExtensionAttribute; only the
// Windows bits are kept.
uint32_t WindowsAttributesOf(uint32_t stored);

// Text printed for a finished extraction with `code` after `bytes_written` unpacked bytes:
// empty for success; the early-return texts for 1, 21 and 22; otherwise the SDK-style error
// line(s) followed by "num <bytes>\n".
std::string UnpackDiagnosticText(int code, uint64_t bytes_written);

// Text printed at the moment an entry fails, before the final diagnostic ("\nERROR: ...\n").
// A refused entry's text names it (`narrow_name`); the file errors keep 7-Zip's plain texts.
// Empty for kNone and kNameConversion, which print nothing of their own.
std::string EntryFailureText(EntryFailure failure, const std::string& narrow_name);

// "<local application data>\Vesk\DravelInstallPack\err.txt", wide like every path the extraction
// opens.
std::u16string ErrorFilePath(const std::u16string& local_app_data);

// The record appended to the error file when an output file cannot be created.
std::string ErrorFileRecord(const std::string& narrow_path);

// The record appended to the error file when an entry is refused (unsafe name, too long a path).
std::string RefusedEntryRecord(const std::string& narrow_name);

}  // namespace extract

#endif  // PINDLE_EXTRACT_UNPACK_RULES_H_
