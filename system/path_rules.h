// Path rules of the file helpers, free of any file-system call so they are tested on their own.
#ifndef PINDLE_SYSTEM_PATH_RULES_H_
#define PINDLE_SYSTEM_PATH_RULES_H_

#include <string>
#include <vector>

// Longest path the folder helpers accept, in characters (MAX_PATH without its NUL).
constexpr size_t kMaxFolderPathLength = 260;

// The path up to and including its last "\" or "/"; empty when it has no separator.
std::wstring ParentFolder(const std::wstring& path);

// Result of planning CreateParentFolders.
enum class ParentFolderPlan {
  kInvalid,  // empty path or 261 characters and more: fail
  kNothing,  // nothing to create (a root such as "C:\", or no separator): succeed
  kCreate,   // create `folders` in order
};

// Every prefix of `path` that ends just before a "\" or "/", from the root down, skipping
// prefixes shorter than two characters and drive designators ("C:", which always exist);
// the component after the last separator is never included.
ParentFolderPlan PlanParentFolders(const std::wstring& path, std::vector<std::wstring>* folders);

// `path` with every "/" turned into "\", the first step of canonicalisation.
std::wstring WithBackslashes(const std::wstring& path);

// `folder` joined with `file_name` by one "\" (none added when `folder` already ends in one).
std::wstring JoinPath(const std::wstring& folder, const std::wstring& file_name);

#endif  // PINDLE_SYSTEM_PATH_RULES_H_
