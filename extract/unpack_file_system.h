// The file-system services the in-process extraction needs, behind one interface so that the
// extraction's flow is plain C++: the Windows implementation (unpack_file_system_win.cc) makes the
// Win32 calls the installer must make; the POSIX one lets the host build run the same flow
// under the sanitizers. Paths are UTF-16 with "\" separators as the installer forms them; the POSIX
// implementation reads "\" as "/".
#ifndef PINDLE_EXTRACT_UNPACK_FILE_SYSTEM_H_
#define PINDLE_EXTRACT_UNPACK_FILE_SYSTEM_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace extract {

// The archive, opened for reading (shared for reading only). Closed when destroyed.
class UnpackArchiveFile {
 public:
  enum Origin { kFromBegin = 0, kFromCurrent = 1, kFromEnd = 2 };
  virtual ~UnpackArchiveFile() = default;
  // Reads up to *size bytes; *size becomes the count read (0 at the end). False on a read error.
  virtual bool Read(void* data, size_t* size) = 0;
  // Moves to *position relative to `origin`; *position becomes the new absolute position.
  virtual bool Seek(int64_t* position, Origin origin) = 0;
};

// One output file, created or truncated. Closed (without a result) when destroyed.
class UnpackOutputFile {
 public:
  virtual ~UnpackOutputFile() = default;
  // One write call; *written becomes the count written. False on an error.
  virtual bool Write(const void* data, size_t size, size_t* written) = 0;
  // Closes the file; false when the close fails. Destroying it afterwards does nothing more.
  virtual bool Close() = 0;
};

class UnpackFileSystem {
 public:
  virtual ~UnpackFileSystem() = default;

  // True when `path` names an existing folder.
  virtual bool IsFolder(const std::u16string& path) = 0;
  // True when something (file or folder) exists at `path`.
  virtual bool Exists(const std::u16string& path) = 0;
  // The archive for reading, or null when it cannot be opened.
  virtual std::unique_ptr<UnpackArchiveFile> OpenArchive(const std::u16string& path) = 0;
  // One folder level; an error (such as an existing folder) is ignored.
  virtual void MakeFolder(const std::u16string& path) = 0;
  // Creates or truncates the file for writing, shared for reading; null on failure.
  virtual std::unique_ptr<UnpackOutputFile> OpenOutput(const std::u16string& path) = 0;
  // Applies Windows file attributes (read-only, hidden, ...); errors are ignored.
  virtual void ApplyAttributes(const std::u16string& path, uint32_t attributes) = 0;
  // True when the entry name converts to the OEM code page (unrepresentable characters becoming
  // "_"): the extractor's test that a name is usable at all.
  virtual bool NameConvertsToOem(const std::u16string& name) = 0;
  // The name in the narrow code page of the error file and the diagnostics.
  virtual std::string ToNarrow(const std::u16string& text) = 0;
  // Appends `text` (no line break added) to the extraction error file, if its folder exists.
  virtual void AppendErrorFile(const std::string& text) = 0;
  // Writes a diagnostic to the process's standard output.
  virtual void Print(const std::string& text) = 0;
  // The process's current folder; false when it cannot be read in full.
  virtual bool CurrentFolder(std::u16string* path) = 0;
  // Makes `path` the process's current folder.
  virtual bool ChangeFolder(const std::u16string& path) = 0;
};

// The platform's file system (Win32 in the Windows trees, POSIX in the host tree). One object
// serves any number of extractions; it holds no state of its own.
UnpackFileSystem& PlatformUnpackFileSystem();

}  // namespace extract

#endif  // PINDLE_EXTRACT_UNPACK_FILE_SYSTEM_H_
