// The package file on disk: preallocation before the parts start, removal of leftovers, and the
// sequential writer of the whole-file transfer. Wide paths; the platform files do the calls.
#ifndef DOWNLOAD_PACKAGE_FILE_H_
#define DOWNLOAD_PACKAGE_FILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace download {

// Creates (or truncates) the file with write sharing and gives it `size` bytes, so the parts
// never extend it. A file that was created but could not be sized (the volume is too small) is
// deleted again. False when either step fails.
bool PreallocatePackageFile(const std::wstring& path, uint32_t size);

// Size of the file, or -1 when it cannot be read.
int64_t PackageFileSize(const std::wstring& path);

// Deletes one file; true when nothing is left at `path`.
bool DeletePackageFile(const std::wstring& path);

// Removes a folder with everything in it.
bool RemovePackageFolder(const std::wstring& folder);

// The folder part of a path: up to and including its last "\" or "/"; empty when there is none.
std::wstring FolderOf(const std::wstring& path);

// Writes a file from its start, in order; shared for writing like the parts' handles.
class PackageFileWriter {
 public:
  PackageFileWriter();
  ~PackageFileWriter();
  PackageFileWriter(const PackageFileWriter&) = delete;
  PackageFileWriter& operator=(const PackageFileWriter&) = delete;

  // Deletes whatever is at `path`, then creates the file empty.
  bool Create(const std::wstring& path);
  // All or nothing.
  bool Write(const void* data, size_t size);
  void Close();
  bool is_open() const { return file_ != nullptr; }

 private:
  struct File;  // the platform's open file
  std::unique_ptr<File> file_;
};

}  // namespace download

#endif  // DOWNLOAD_PACKAGE_FILE_H_
