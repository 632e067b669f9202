// The few file operations the staging file needs. Paths are narrow UTF-8; on Windows they are
// opened through the wide API.
#ifndef ANALYTICS_STAGING_IO_H_
#define ANALYTICS_STAGING_IO_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace event_analytics {

// The last `max_bytes` bytes of the file (all of it when it is smaller) and its whole size.
// False when the file cannot be opened or read.
bool ReadFileTail(const std::string& path, size_t max_bytes, std::string* contents, uint64_t* file_size);
// Creates the file or cuts it to zero length.
bool TruncateFile(const std::string& path);
// Writes `contents` to `temp_path`, makes it durable, then renames it over `path`. On failure
// `path` is left as it was and the temporary file is removed.
bool ReplaceFileContents(const std::string& path, const std::string& temp_path, const std::string& contents);

}  // namespace event_analytics

#endif  // ANALYTICS_STAGING_IO_H_
