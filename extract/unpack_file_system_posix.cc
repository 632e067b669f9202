// The extraction's file system over POSIX calls, for the host build and its sanitizers. Paths
// arrive in the installer's form (UTF-16, "\" separators) and are read here as UTF-8 with "/".
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "extract/unpack_file_system.h"
#include "extract/unpack_rules.h"
#include "runtime/scoped_fd_posix.h"
#include "runtime/text_encoding.h"

namespace extract {

namespace {

std::string ToPosixPath(const std::u16string& path) {
  std::string text = base::Utf16ToUtf8(path);
  for (char& c : text) {
    if (c == '\\') c = '/';
  }
  return text;
}

class PosixArchiveFile : public UnpackArchiveFile {
 public:
  explicit PosixArchiveFile(int fd) : fd_(fd) {}
  bool Read(void* data, size_t* size) override {
    ssize_t got;
    do {
      got = ::read(fd_.get(), data, *size);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
      *size = 0;
      return false;
    }
    *size = static_cast<size_t>(got);
    return true;
  }
  bool Seek(int64_t* position, Origin origin) override {
    const int whence = origin == kFromBegin ? SEEK_SET : origin == kFromCurrent ? SEEK_CUR : SEEK_END;
    const off_t at = ::lseek(fd_.get(), static_cast<off_t>(*position), whence);
    if (at < 0) return false;
    *position = at;
    return true;
  }

 private:
  base::ScopedFd fd_;
};

class PosixOutputFile : public UnpackOutputFile {
 public:
  explicit PosixOutputFile(int fd) : fd_(fd) {}
  bool Write(const void* data, size_t size, size_t* written) override {
    ssize_t put;
    do {
      put = ::write(fd_.get(), data, size);
    } while (put < 0 && errno == EINTR);
    *written = put < 0 ? 0 : static_cast<size_t>(put);
    return put >= 0;
  }
  bool Close() override { return fd_.Close(); }

 private:
  base::ScopedFd fd_;
};

class PosixUnpackFileSystem : public UnpackFileSystem {
 public:
  bool IsFolder(const std::u16string& path) override {
    struct stat st;
    return ::stat(ToPosixPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  bool Exists(const std::u16string& path) override {
    struct stat st;
    return ::stat(ToPosixPath(path).c_str(), &st) == 0;
  }
  std::unique_ptr<UnpackArchiveFile> OpenArchive(const std::u16string& path) override {
    const int fd = ::open(ToPosixPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixArchiveFile>(fd);
  }
  void MakeFolder(const std::u16string& path) override { ::mkdir(ToPosixPath(path).c_str(), 0777); }
  std::unique_ptr<UnpackOutputFile> OpenOutput(const std::u16string& path) override {
    const std::string name = ToPosixPath(path);
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES) {
      // A read-only file left by an earlier extraction is replaced, as on Windows.
      struct stat st;
      if (::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::chmod(name.c_str(), st.st_mode | S_IWUSR) == 0) {
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      }
    }
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutputFile>(fd);
  }
  void ApplyAttributes(const std::u16string& path, uint32_t attributes) override {
    const std::string name = ToPosixPath(path);
    struct stat st;
    if (::stat(name.c_str(), &st) != 0) return;
    const mode_t write_bits = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = (attributes & 0x1) ? (st.st_mode & ~write_bits) : (st.st_mode | S_IWUSR);
    ::chmod(name.c_str(), mode & 07777);
  }
  bool NameConvertsToOem(const std::u16string& name) override { return base::IsWellFormedUtf16(name); }
  std::string ToNarrow(const std::u16string& text) override { return base::Utf16ToUtf8(text); }
  void AppendErrorFile(const std::string& text) override {
    // The local application data folder of a POSIX user.
    std::string data_folder;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
      data_folder = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
      data_folder = std::string(home) + "/.local/share";
    } else {
      return;
    }
    const std::string path = ToPosixPath(ErrorFilePath(base::Utf8ToUtf16(data_folder)));
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  void Print(const std::string& text) override {
    if (text.empty()) return;
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
  bool CurrentFolder(std::u16string* path) override {
    std::string buffer(256, '\0');
    while (::getcwd(&buffer[0], buffer.size()) == nullptr) {
      if (errno != ERANGE) return false;
      buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    *path = base::Utf8ToUtf16(buffer);
    return true;
  }
  bool ChangeFolder(const std::u16string& path) override { return ::chdir(ToPosixPath(path).c_str()) == 0; }
};

}  // namespace

UnpackFileSystem& PlatformUnpackFileSystem() {
  static PosixUnpackFileSystem instance;  // stateless
  return instance;
}

}  // namespace extract
