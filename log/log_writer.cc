#include "log/log_writer.h"

#include <cstdio>

#include "log/log_file_choice.h"
#include "log/log_flags.h"
#include "log/log_path.h"
#include "log/log_platform.h"

namespace simlog {

bool LogWriter::Open(const std::string& folder, const std::string& name) {
  path_.clear();
  const std::string full_folder = CombineLogFolder(FolderOfPath(GetProgramPath()), folder);
  if (!EnsureLogFolder(full_folder)) return false;

  LogFileFacts facts[kLogFileCount];
  std::string paths[kLogFileCount];
  for (int i = 0; i < kLogFileCount; ++i) {
    paths[i] = JoinPath(full_folder, LogFileName(name, i));
    facts[i] = GetLogFileFacts(paths[i]);
  }
  const LogFileChoice choice = ChooseLogFile(facts[0], facts[1]);
  // If the delete fails the old file simply keeps growing; that still beats losing the lines.
  if (choice.delete_first) DeleteLogFile(paths[choice.index]);
  path_ = paths[choice.index];
  return true;
}

void LogWriter::Write(uint32_t flags, bool debug, const char* source_file, int source_line, int level,
                      const std::string& message) {
  const LocalTime now = GetLocalTimeNow();
  LogLineParts parts;
  parts.time = &now;
  parts.level = level;
  parts.message = message.c_str();
  parts.source_file = source_file;
  parts.source_line = source_line;
  BuildLogLine(flags, debug, parts, &line_);

  if (flags & kLogToStdout) {
    std::fwrite(line_.data(), 1, line_.size(), stdout);
    std::fflush(stdout);
  }
  if ((flags & kLogToFile) && !path_.empty()) AppendToLogFile(path_, line_.data(), line_.size());
}

}  // namespace simlog
