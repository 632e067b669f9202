// The MD5 of a package file, through the platform's hashing, read in small pieces so a
// package of any size costs a fixed amount of memory.
#ifndef PINDLE_UI_PACKAGE_DIGEST_H_
#define PINDLE_UI_PACKAGE_DIGEST_H_

#include <cstdint>
#include <string>

namespace installer {

// 32 lower-case hexadecimal digits in `*hex`. False when the file cannot be opened or read or
// the hash cannot be made; `*error` then holds the system error code or the NTSTATUS.
bool FileMd5(const std::wstring& path, std::string* hex, uint32_t* error);

}  // namespace installer

#endif  // PINDLE_UI_PACKAGE_DIGEST_H_
