// The rules an install folder must follow: the folder the user types or chooses on the custom
// panel, and the product folder added to it. Platform-free: the two questions about the
// machine (is this a folder, what kind of drive is this) come through `PathFacts`; the real
// answers are in install_path_facts_win.cc.
#ifndef UI_INSTALL_PATH_H_
#define UI_INSTALL_PATH_H_

#include <string>

namespace installer {

// The pattern a typed install folder must match as a whole (ECMAScript): a drive root such as
// "C:\", or a drive, a backslash and a name whose last character is none of . / : * ? " < > |
// and not a backslash either, so "C:\Games\" and "C:\a." are refused.
extern const wchar_t kInstallPathPattern[];
bool MatchesInstallPathPattern(const std::wstring& path);

enum class DriveKind { kUnknown, kNoRoot, kRemovable, kFixed, kRemote, kCdRom, kRamDisk };

class PathFacts {
 public:
  virtual bool IsDirectory(const std::wstring& path) = 0;
  // The kind of the drive with this letter.
  virtual DriveKind KindOfDrive(wchar_t letter) = 0;

 protected:
  virtual ~PathFacts() {}
};

// The drive and 360 Safe rule: false when the path contains "\360" and path + "\360Safe" is a
// folder (logged), when it contains "%", or when its first character is not a fixed drive.
bool ValidateInstallPath(const std::wstring& path, PathFacts* facts);

// The check after each character typed into the install-path box: the pattern, no "\\", ".\"
// or "\.", and ValidateInstallPath. True when the path is wrong (the error label shows).
bool IsInstallPathWrong(const std::wstring& text, PathFacts* facts);

// Every chosen folder ends in a folder named after the product: "E:\Apps" -> "E:\Apps\Pindle",
// "E:\" -> "E:\Pindle", "E:\Pindle" unchanged.
std::wstring AppendProductFolder(const std::wstring& path, const std::wstring& product_folder);

// The install folder of the custom-install confirmation: the box's text without one trailing
// "\" ("D:\Games\" installs into "D:\Games"). `dropped` (may be null) tells whether one was.
std::wstring CustomInstallFolder(const std::wstring& text, bool* dropped);

// The root the file-system warning asks about: the path's drive (as _splitpath gives it) + "\".
std::wstring VolumeRootOf(const std::wstring& path);
// The warning shows for a FAT32 volume only (it cannot hold files of 4 GB and more).
bool NeedsFat32Warning(const std::wstring& file_system_name);

}  // namespace installer

#endif  // UI_INSTALL_PATH_H_
