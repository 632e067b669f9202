// Version text of a program file, from the fixed part of its version resource.
#ifndef PINDLE_SYSTEM_FILE_VERSION_H_
#define PINDLE_SYSTEM_FILE_VERSION_H_

#include <cstdint>
#include <string>

// "%d.%d.%d.%d" of the high and low word of `most_significant`, then of `least_significant`
// (the file-version words of the fixed file information). Pure.
std::wstring FormatFileVersion(uint32_t most_significant, uint32_t least_significant);

// The file version of the program at `path` ("3.2.0.1"); empty when the path is empty, the file
// has no version resource, or the resource is larger than 0x3FFF bytes.
std::wstring GetFileVersionText(const std::wstring& path);

#endif  // PINDLE_SYSTEM_FILE_VERSION_H_
