#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <utility>

#include "download/package_file.h"
#include "runtime/scoped_fd_posix.h"
#include "runtime/text_encoding.h"

namespace download {

namespace {

std::string Native(const std::wstring& path) {
  return base::WideToUtf8(path);
}

}  // namespace

bool PreallocatePackageFile(const std::wstring& path, uint32_t size) {
  const std::string name = Native(path);
  base::ScopedFd fd(open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd.valid()) return false;
  // Reserve the blocks, not only the length: a sparse file would let a full volume show up
  // only in the middle of the download.
  const bool sized = size == 0 || posix_fallocate(fd.get(), 0, static_cast<off_t>(size)) == 0;
  fd.Close();
  if (!sized) unlink(name.c_str());
  return sized;
}

int64_t PackageFileSize(const std::wstring& path) {
  struct stat info;
  if (stat(Native(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

bool DeletePackageFile(const std::wstring& path) {
  const std::string name = Native(path);
  return unlink(name.c_str()) == 0 || errno == ENOENT;
}

bool RemovePackageFolder(const std::wstring& folder) {
  std::error_code error;
  std::filesystem::remove_all(Native(folder), error);
  return !error;
}

struct PackageFileWriter::File {
  base::ScopedFd fd;
};

PackageFileWriter::PackageFileWriter() = default;
PackageFileWriter::~PackageFileWriter() = default;

bool PackageFileWriter::Create(const std::wstring& path) {
  Close();
  const std::string name = Native(path);
  unlink(name.c_str());
  base::ScopedFd fd(open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd.valid()) return false;
  file_.reset(new File{std::move(fd)});
  return true;
}

bool PackageFileWriter::Write(const void* data, size_t size) {
  if (!is_open()) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(file_->fd.get(), bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

void PackageFileWriter::Close() {
  file_.reset();
}
}  // namespace download
