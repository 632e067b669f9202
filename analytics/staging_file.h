// The staging file keeps the records that were not sent when the tracker shut down, for the
// next run: plain text, one JSON record per line.
#ifndef ANALYTICS_STAGING_FILE_H_
#define ANALYTICS_STAGING_FILE_H_

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace event_analytics {

// The platform's line break, used when writing; reading accepts "\n" and "\r\n" alike.
extern const char kStagingLineBreak[];

// The lines of `data` that begin with "{" and end with "}", in file order. Anything else
// (a torn last line, blank lines, foreign text) is skipped.
std::vector<std::string> ParseStagingRecords(const char* data, size_t size);

// Every record followed by the line break.
std::string FormatStagingRecords(const std::deque<std::string>& records);

class StagingFile {
 public:
  // `path` is narrow; on Windows it is in the ANSI code page.
  explicit StagingFile(std::string path) : path_(std::move(path)) {}

  // The records in the file; a file that cannot be opened reads as empty.
  std::vector<std::string> Read() const;
  // Leaves an empty file at the path.
  bool Empty() const;
  // Replaces the file with `records`. The new contents go to a file beside it first and are
  // renamed over the old one only once they are complete, so a crash or a full disk in the
  // middle leaves the previous records readable.
  bool Rewrite(const std::deque<std::string>& records) const;

  const std::string& path() const { return path_; }
  std::string temp_path() const { return path_ + ".tmp"; }

 private:
  std::string path_;
};

}  // namespace event_analytics

#endif  // ANALYTICS_STAGING_FILE_H_
