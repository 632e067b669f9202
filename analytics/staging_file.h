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

// What a read of the staging file left out.
struct StagingDrops {
  size_t lines = 0;   // lines that are not blank and not records (IsRecordLine)
  std::string first;  // the start of the first of them, for the log
};

// The lines of `data` that are records of our own shape (IsRecordLine), in file order. Anything
// else (a torn last line, foreign text, a line no collector would take) is skipped; the lines
// that are not blank are counted in `drops` when it is given.
std::vector<std::string> ParseStagingRecords(const char* data, size_t size, StagingDrops* drops = nullptr);

// Every record followed by the line break.
std::string FormatStagingRecords(const std::deque<std::string>& records);

class StagingFile {
 public:
  // `path` is narrow; on Windows it is in the ANSI code page.
  explicit StagingFile(std::string path) : path_(std::move(path)) {}

  // The last `max_records` records of the file, in file order; a file that cannot be opened
  // reads as empty. Of a large file only its end is read, as much as that many records of the
  // longest shape can fill. Lines that are not records are dropped with a diagnostic.
  std::vector<std::string> Read(size_t max_records) const;
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
