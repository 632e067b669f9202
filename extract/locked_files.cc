#include "extract/locked_files.h"

#include <cstddef>

namespace extract {

namespace {

bool SameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Blank lines (and the carriage returns of Windows line ends) separate 7-Zip's messages.
bool IsBlankLine(const std::string& line) {
  for (char c : line) {
    if (c != ' ' && c != '\t' && c != '\r') return false;
  }
  return true;
}

}  // namespace

bool IsLockedFileLine(const std::string& line) {
  return line.find("Can not delete output file") != std::string::npos ||
         line.find("Cannot delete output file") != std::string::npos;
}

std::vector<std::string> SplitOutputLines(const std::string& output) {
  std::vector<std::string> lines;
  size_t begin = 0;
  while (begin < output.size()) {
    size_t end = output.find('\n', begin);
    if (end == std::string::npos) end = output.size();
    lines.push_back(output.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

std::string LockedFileName(const std::string& line) {
  std::string text = line;
  if (!text.empty() && text.back() == '\r') text.pop_back();
  const size_t slash = text.rfind('\\');
  return slash == std::string::npos ? text : text.substr(slash + 1);
}

}  // namespace extract

bool LockedFilesAreHarmless(const std::string& error_output, const std::vector<std::string>& product_files,
                            const ExtractLogSink& log) {
  auto write_log = [&log](const std::string& message) {
    if (log) log(message);
  };
  const std::vector<std::string> lines = extract::SplitOutputLines(error_output);
  if (lines.empty()) {
    write_log("There is no output!");
    return false;
  }
  bool found = false;
  bool product_file_locked = false;
  // Any other complaint (a CRC failure, a full disk, a file it could not create, ...) means
  // the tree is incomplete, whatever else was locked. "Disk full." comes without a prefix on
  // a line of its own, so every line that says anything counts.
  bool other_error = false;
  std::string list;
  for (const std::string& line : lines) {
    if (!extract::IsLockedFileLine(line)) {
      if (!extract::IsBlankLine(line)) other_error = true;
      continue;
    }
    found = true;
    const std::string name = extract::LockedFileName(line);
    list += name;
    list += ",";
    for (const std::string& product_file : product_files) {
      if (extract::SameFileName(name, product_file)) product_file_locked = true;
    }
    if (product_file_locked) break;
  }
  if (!found) {
    write_log("err file is null!");
    return false;
  }
  write_log("Can not delete:" + list);
  if (!product_file_locked && !other_error) return true;
  write_log("err output:" + error_output);
  return false;
}
