// Path text rules of the logger: where the program's own folder ends, how the configured log
// folder combines with it, and how a file name joins a folder. Both "\" and "/" count as
// separators when reading a path; new separators are the platform's own.
#ifndef PINDLE_LOG_LOG_PATH_H_
#define PINDLE_LOG_LOG_PATH_H_

#include <string>

namespace simlog {

#ifdef _WIN32
constexpr char kLogPathSeparator = '\\';
#else
constexpr char kLogPathSeparator = '/';
#endif

// Text up to and including the last separator; empty when there is none.
std::string FolderOfPath(const std::string& path);

// "C:\...", "\\server\..." or "\..." and "/..." are absolute.
bool IsAbsolutePath(const std::string& path);

// The folder the log lives in: an absolute `folder` stands on its own, a relative one is taken
// below `base_folder` (the program's folder).
std::string CombineLogFolder(const std::string& base_folder, const std::string& folder);

// folder + separator (unless the folder already ends with one) + name.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace simlog

#endif  // PINDLE_LOG_LOG_PATH_H_
