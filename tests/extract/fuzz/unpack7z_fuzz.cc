// Fuzzes the in-process extractor with hostile archives, over a file system kept in memory:
// whatever the archive says, every folder and file it creates lies inside the install folder,
// and the extraction ends with a result code.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "extract/unpack7z.h"

namespace {

const std::u16string kArchive = u"C:\\fuzz\\package.7z";
const std::u16string kInstall = u"C:\\fuzz\\install";
// Output beyond this is refused (a write error), so that an archive that inflates a few bytes
// into gigabytes stays a quick case.
const uint64_t kOutputLimit = 64u << 20;

// True when `path` is a strict descendant of the install folder with no component that could
// climb out of it or name another drive or stream. Windows takes "/" as a separator too.
bool InsideInstallFolder(const std::u16string& path) {
  const std::u16string prefix = kInstall + u"\\";
  if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return false;
  size_t begin = prefix.size();
  while (begin <= path.size()) {
    size_t end = path.find_first_of(u"\\/", begin);
    if (end == std::u16string::npos) end = path.size();
    const std::u16string part = path.substr(begin, end - begin);
    if (part.empty() || part == u"." || part == u".." || part.find(u':') != std::u16string::npos) {
      return false;
    }
    begin = end + 1;
  }
  return true;
}

class MemoryArchive : public extract::UnpackArchiveFile {
 public:
  MemoryArchive(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Read(void* out, size_t* size) override {
    const size_t left = position_ < size_ ? size_ - static_cast<size_t>(position_) : 0;
    if (*size > left) *size = left;
    if (*size > 0) std::memcpy(out, data_ + position_, *size);
    position_ += *size;
    return true;
  }
  bool Seek(int64_t* position, Origin origin) override {
    int64_t base = 0;
    if (origin == kFromCurrent) base = static_cast<int64_t>(position_);
    if (origin == kFromEnd) base = static_cast<int64_t>(size_);
    const int64_t target = base + *position;
    if (target < 0) return false;
    position_ = static_cast<uint64_t>(target);
    *position = target;
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  uint64_t position_ = 0;
};

class MemoryOutput : public extract::UnpackOutputFile {
 public:
  explicit MemoryOutput(uint64_t* total) : total_(total) {}
  bool Write(const void*, size_t size, size_t* written) override {
    if (*total_ + size > kOutputLimit) {
      *written = 0;
      return false;
    }
    *total_ += size;
    *written = size;
    return true;
  }
  bool Close() override { return true; }

 private:
  uint64_t* total_;
};

class MemoryFileSystem : public extract::UnpackFileSystem {
 public:
  MemoryFileSystem(const uint8_t* data, size_t size) : data_(data), size_(size) { folders_.insert(kInstall); }

  bool IsFolder(const std::u16string& path) override { return folders_.count(path) != 0; }
  bool Exists(const std::u16string& path) override {
    return path == kArchive || folders_.count(path) != 0 || files_.count(path) != 0;
  }
  std::unique_ptr<extract::UnpackArchiveFile> OpenArchive(const std::u16string& path) override {
    if (path != kArchive) return nullptr;
    return std::unique_ptr<extract::UnpackArchiveFile>(new MemoryArchive(data_, size_));
  }
  void MakeFolder(const std::u16string& path) override {
    if (!InsideInstallFolder(path)) std::abort();
    if (files_.count(path) == 0) folders_.insert(path);
  }
  std::unique_ptr<extract::UnpackOutputFile> OpenOutput(const std::u16string& path) override {
    if (!InsideInstallFolder(path)) std::abort();
    if (folders_.count(path) != 0) return nullptr;
    files_.insert(path);
    return std::unique_ptr<extract::UnpackOutputFile>(new MemoryOutput(&written_));
  }
  void ApplyAttributes(const std::u16string& path, uint32_t) override {
    if (!InsideInstallFolder(path)) std::abort();
  }
  bool NameConvertsToOem(const std::u16string& name) override {
    // An unpaired surrogate has no OEM form; everything else becomes a character or "_".
    for (size_t i = 0; i < name.size(); ++i) {
      const char16_t unit = name[i];
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return false;
        ++i;
      } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
        return false;
      }
    }
    return true;
  }
  std::string ToNarrow(const std::u16string& text) override {
    std::string narrow;
    for (char16_t unit : text) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    return narrow;
  }
  void AppendErrorFile(const std::string&) override {}
  void Print(const std::string&) override {}
  bool CurrentFolder(std::u16string* path) override {
    *path = current_;
    return true;
  }
  bool ChangeFolder(const std::u16string& path) override {
    if (!IsFolder(path) && path != u"C:\\") return false;
    current_ = path;
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  std::set<std::u16string> folders_;
  std::set<std::u16string> files_;
  uint64_t written_ = 0;
  std::u16string current_ = u"C:\\";
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFileSystem fs(data, size);
  int code = -1;
  UnpackDetails details;
  extract::Unpack7zInFolderWith(fs, kArchive, kInstall, &code, &details);
  if (code < 0) std::abort();
  // The current folder is given back whatever happened.
  std::u16string current;
  fs.CurrentFolder(&current);
  if (current != u"C:\\") std::abort();
  return 0;
}
