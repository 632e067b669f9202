// Finding running processes by executable name and reading where they were started from.
#ifndef PINDLE_SYSTEM_PROCESS_LOOKUP_H_
#define PINDLE_SYSTEM_PROCESS_LOOKUP_H_

#include <cstdint>
#include <string>
#include <vector>

// Ids of every process whose executable file name equals `exe_name` ("Vesk.exe") without
// regard to case; empty when there is none, `exe_name` is empty or the process list cannot be
// read.
std::vector<uint32_t> FindProcessesByName(const std::wstring& exe_name);

// Full path, in drive-letter form, of the executable of process `pid`. False when the process
// cannot be opened for query, its image name cannot be read or no drive matches.
bool GetProcessImagePath(uint32_t pid, std::wstring* path);

#endif  // PINDLE_SYSTEM_PROCESS_LOOKUP_H_
