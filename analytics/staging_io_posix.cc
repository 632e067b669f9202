#include "analytics/staging_io.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "runtime/scoped_fd_posix.h"

namespace event_analytics {
namespace {

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

std::string ParentFolder(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

bool ReadFileTail(const std::string& path, size_t max_bytes, std::string* contents, uint64_t* file_size) {
  contents->clear();
  base::ScopedFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return false;
  struct stat status;
  if (::fstat(fd.get(), &status) != 0) return false;
  *file_size = static_cast<uint64_t>(status.st_size);
  if (*file_size > max_bytes && ::lseek(fd.get(), static_cast<off_t>(*file_size - max_bytes), SEEK_SET) < 0) {
    return false;
  }
  char buffer[65536];
  while (contents->size() < max_bytes) {
    const size_t want = std::min(sizeof buffer, max_bytes - contents->size());
    const ssize_t got = ::read(fd.get(), buffer, want);
    if (got < 0) {
      if (errno == EINTR) continue;
      contents->clear();
      return false;
    }
    if (got == 0) break;
    contents->append(buffer, static_cast<size_t>(got));
  }
  return true;
}

bool TruncateFile(const std::string& path) {
  base::ScopedFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  return fd.valid() && fd.Close();
}

bool ReplaceFileContents(const std::string& path, const std::string& temp_path, const std::string& contents) {
  base::ScopedFd fd(::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd.valid()) return false;
  const bool written = WriteAll(fd.get(), contents.data(), contents.size()) && ::fsync(fd.get()) == 0 && fd.Close();
  if (!written || ::rename(temp_path.c_str(), path.c_str()) != 0) {
    fd.Close();
    ::unlink(temp_path.c_str());
    return false;
  }
  // Make the rename itself durable; the new contents are complete either way.
  base::ScopedFd folder(::open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) ::fsync(folder.get());
  return true;
}

}  // namespace event_analytics
