// The few operating-system services the log writer needs. Paths are narrow strings in UTF-8, so
// that any folder name can be written; the Windows side opens them through the wide API. Every
// call is self-contained: nothing stays open between calls, so a line is on disk when
// AppendToLogFile returns.
#ifndef PINDLE_LOG_LOG_PLATFORM_H_
#define PINDLE_LOG_LOG_PLATFORM_H_

#include <cstddef>
#include <string>

#include "log/log_file_choice.h"
#include "log/log_line.h"

namespace simlog {

// Full path of the running program's executable; empty if it cannot be read.
std::string GetProgramPath();

// Makes `folder` an existing directory: an existing directory is kept; a file of the same name
// loses its attributes and is deleted; then one directory level is created. True when the
// directory exists afterwards.
bool EnsureLogFolder(const std::string& folder);

// Existence, size and last-write time of a file. A missing or unreadable file has size 0.
LogFileFacts GetLogFileFacts(const std::string& path);

// Deletes a file, clearing a read-only attribute first. True when it is gone.
bool DeleteLogFile(const std::string& path);

// Opens the file for appending (creating it), writes the bytes, closes it.
bool AppendToLogFile(const std::string& path, const char* data, size_t size);

// The current local time with milliseconds.
LocalTime GetLocalTimeNow();

}  // namespace simlog

#endif  // PINDLE_LOG_LOG_PLATFORM_H_
