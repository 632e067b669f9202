// Which of the two rotating log files a run appends to. Decided once per start from what the
// file system says about "<name>0.log" and "<name>1.log"; the chosen file may then grow past
// the threshold until the next start.
#ifndef PINDLE_LOG_LOG_FILE_CHOICE_H_
#define PINDLE_LOG_LOG_FILE_CHOICE_H_

#include <cstdint>
#include <string>

namespace simlog {

constexpr uint64_t kLogRotateSize = 0x20000;  // 128 KiB
constexpr int kLogFileCount = 2;

// What is known about one candidate file. A missing or unreadable file has size 0.
struct LogFileFacts {
  bool exists = false;
  uint64_t size = 0;
  bool time_known = false;
  uint64_t last_write_time = 0;  // any clock that orders times; larger is newer
};

struct LogFileChoice {
  int index = 0;              // 0 or 1
  bool delete_first = false;  // both were full: start the chosen one afresh
};

// File 0 if it is below the threshold, else file 1 if it is; when both are full the one
// written longer ago is restarted (file 0 when the times are equal or not both known).
LogFileChoice ChooseLogFile(const LogFileFacts& file0, const LogFileFacts& file1);

// "<name><index>.log".
std::string LogFileName(const std::string& name, int index);

}  // namespace simlog

#endif  // PINDLE_LOG_LOG_FILE_CHOICE_H_
