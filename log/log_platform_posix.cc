// POSIX side of the log writer, so the native build can run the real writer against real files.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <vector>

#include "log/log_platform.h"
#include "runtime/scoped_fd_posix.h"

namespace simlog {

namespace {

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string GetProgramPath() {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return std::string();
  return std::string(buffer.data(), static_cast<size_t>(length));
}

bool EnsureLogFolder(const std::string& folder) {
  if (folder.empty()) return false;
  if (IsDirectory(folder)) return true;
  struct stat info;
  if (lstat(folder.c_str(), &info) == 0) {
    chmod(folder.c_str(), 0644);
    unlink(folder.c_str());
  }
  mkdir(folder.c_str(), 0755);
  return IsDirectory(folder);
}

LogFileFacts GetLogFileFacts(const std::string& path) {
  LogFileFacts facts;
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    facts.exists = errno != ENOENT && errno != ENOTDIR;
    return facts;
  }
  facts.exists = true;
  facts.size = static_cast<uint64_t>(info.st_size);
  facts.time_known = true;
  facts.last_write_time =
      static_cast<uint64_t>(info.st_mtim.tv_sec) * 1000000000ull + static_cast<uint64_t>(info.st_mtim.tv_nsec);
  return facts;
}

bool DeleteLogFile(const std::string& path) {
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool AppendToLogFile(const std::string& path, const char* data, size_t size) {
  base::ScopedFd file(open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  if (file.get() < 0) return false;
  while (size > 0) {
    const ssize_t written = write(file.get(), data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

LocalTime GetLocalTimeNow() {
  struct timeval now;
  gettimeofday(&now, nullptr);
  const time_t seconds = now.tv_sec;
  struct tm parts;
  localtime_r(&seconds, &parts);
  LocalTime time;
  time.year = parts.tm_year + 1900;
  time.month = parts.tm_mon + 1;
  time.day = parts.tm_mday;
  time.hour = parts.tm_hour;
  time.minute = parts.tm_min;
  time.second = parts.tm_sec;
  time.millisecond = static_cast<int>(now.tv_usec / 1000);
  return time;
}

}  // namespace simlog
