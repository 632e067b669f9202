#include "log/log_file_choice.h"

namespace simlog {

namespace {

bool HasRoom(const LogFileFacts& facts) {
  return !facts.exists || facts.size < kLogRotateSize;
}

}  // namespace

LogFileChoice ChooseLogFile(const LogFileFacts& file0, const LogFileFacts& file1) {
  LogFileChoice choice;
  if (HasRoom(file0)) return choice;
  if (HasRoom(file1)) {
    choice.index = 1;
    return choice;
  }
  choice.delete_first = true;
  if (file0.time_known && file1.time_known && file1.last_write_time < file0.last_write_time) choice.index = 1;
  return choice;
}

std::string LogFileName(const std::string& name, int index) {
  return name + std::to_string(index) + ".log";
}

}  // namespace simlog
