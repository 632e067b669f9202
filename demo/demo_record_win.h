// What the demo product's programs share: where they keep their records and how they write them.
// Tests and the demo read these files to see what ran, with which command line, from which folder.
#ifndef PINDLE_DEMO_DEMO_RECORD_WIN_H_
#define PINDLE_DEMO_DEMO_RECORD_WIN_H_

#include <string>

namespace demo {

// Folder of the running program, without a final "\".
std::wstring ProgramFolder();

// File name of the running program without folder and extension ("engine7").
std::wstring ProgramStem();

// The record file of this program: the value of the environment variable `variable` when set,
// else ProgramFolder() + "\" + ProgramStem() + `suffix`.
std::wstring RecordPath(const wchar_t* variable, const wchar_t* suffix);

// Appends `text` as UTF-8 to `path`, creating it. False (after printing the system error to the
// standard error stream) when the file cannot be written.
bool AppendUtf8(const std::wstring& path, const std::wstring& text);

// The current folder, without a final "\" unless it is a drive root.
std::wstring CurrentFolder();

}  // namespace demo

#endif  // PINDLE_DEMO_DEMO_RECORD_WIN_H_
