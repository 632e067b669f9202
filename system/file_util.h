// Folder and file queries over wide paths. Every function reports failure by its result and
// never throws.
#ifndef PINDLE_SYSTEM_FILE_UTIL_H_
#define PINDLE_SYSTEM_FILE_UTIL_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "system/path_rules.h"

// Creates one folder. An existing folder counts as success; an existing file of that name, an
// empty path or a missing parent do not.
bool CreateFolder(const std::wstring& path);

// Creates every folder on the way to the last component of `path` (which itself is not
// created), from the root down. "C:\A\B\c.txt" creates C:\A and C:\A\B. A root path succeeds
// at once; an empty path or one of 261 characters or more fails. The result is that of the
// last creation.
bool CreateParentFolders(const std::wstring& path);

// Creates the file's folders, then creates or truncates the file and closes it.
bool CreateEmptyFile(const std::wstring& path);

// A shell special folder (CSIDL_*), optionally creating it; empty on failure.
std::wstring GetSpecialFolder(int csidl, bool create);

// The path with "/" turned into "\" and "." and ".." resolved (PathCanonicalizeW); empty when
// that fails or the path is longer than 259 characters.
std::wstring CanonicalPath(const std::wstring& path);

// Size of an existing file, opened for reading without sharing; -1 when it cannot be opened
// (also while someone else has it open) or its size does not fit the result.
int32_t FileSize(const std::wstring& path);

// Reads a whole file of at most `max_bytes` bytes (opened for reading, shared with readers and
// writers). False when it cannot be opened or read or is larger; `*error` then holds the system
// error code (ERROR_FILE_TOO_LARGE for a file over the limit) and `*bytes` is empty.
bool ReadSmallFile(const std::wstring& path, size_t max_bytes, std::string* bytes, uint32_t* error);

// True when the canonical path names an existing file whose extension (with its dot) equals
// `extension` without regard to case, as in IsExistingFileWithExtension(p, L".lnk").
bool IsExistingFileWithExtension(const std::wstring& path, const std::wstring& extension);

#endif  // PINDLE_SYSTEM_FILE_UTIL_H_
