// The log thread's half of the logger: picks the file once per start and writes lines to it.
// Lives on the log thread only; nothing here is locked.
#ifndef PINDLE_LOG_LOG_WRITER_H_
#define PINDLE_LOG_LOG_WRITER_H_

#include <cstdint>
#include <string>

#include "log/log_line.h"

namespace simlog {

class LogWriter {
 public:
  LogWriter() = default;
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  // Chooses the file "<name>0.log" or "<name>1.log" in `folder` (relative folders are taken below
  // the program's folder), creating the folder if needed. Leaves no path, so no file output, when
  // the folder cannot be made. Returns whether a path was set.
  bool Open(const std::string& folder, const std::string& name);

  // Builds the line and sends it where the flags say. A line that cannot be written is lost.
  void Write(uint32_t flags, bool debug, const char* source_file, int source_line, int level,
             const std::string& message);

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  LogLineBuffer line_;
};

}  // namespace simlog

#endif  // PINDLE_LOG_LOG_WRITER_H_
