#include "app/command_line.h"

namespace app {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

bool Contains(const std::wstring& argument, const wchar_t* option) {
  return argument.find(option) != std::wstring::npos;
}

// The argument minus the option's length in leading characters, cut to the longest value kept.
std::wstring ValueOf(const std::wstring& argument, const wchar_t* option) {
  const size_t skip = std::wstring(option).size();
  std::wstring value = argument.size() > skip ? argument.substr(skip) : std::wstring();
  if (value.size() > kMaxOptionValueLength) value.resize(kMaxOptionValueLength);
  return value;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& line) {
  std::vector<std::wstring> argv;
  size_t i = 0;
  const size_t n = line.size();

  // The program name: up to the first blank, or quoted as a whole; backslashes are literal.
  std::wstring program;
  if (i < n && line[i] == L'"') {
    for (++i; i < n && line[i] != L'"'; ++i) program += line[i];
    if (i < n) ++i;
  } else {
    for (; i < n && !IsBlank(line[i]); ++i) program += line[i];
  }
  argv.push_back(program);

  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;
    std::wstring argument;
    // Quotes seen in the current run: odd means inside a quoted block. Three in a row give a
    // literal quote and leave the block, as CommandLineToArgvW does.
    int quotes = 0;
    while (i < n && (quotes % 2 == 1 || !IsBlank(line[i]))) {
      if (line[i] == L'\\') {
        size_t slashes = 0;
        while (i < n && line[i] == L'\\') {
          ++slashes;
          ++i;
        }
        if (i < n && line[i] == L'"') {
          // 2k backslashes + quote: k backslashes and a quoting quote; 2k+1: k and a literal quote.
          argument.append(slashes / 2, L'\\');
          if (slashes % 2) {
            argument += L'"';
            ++i;
          }
        } else {
          argument.append(slashes, L'\\');
        }
        continue;
      }
      if (line[i] != L'"') {
        argument += line[i++];
        continue;
      }
      ++quotes;
      for (++i; i < n && line[i] == L'"'; ++i) {
        if (++quotes == 3) {
          argument += L'"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    }
    argv.push_back(argument);
  }
  return argv;
}

CommandLineOptions ParseCommandLineOptions(const std::vector<std::wstring>& argv) {
  CommandLineOptions options;
  for (size_t k = 1; k < argv.size(); ++k) {
    const std::wstring& argument = argv[k];
    if (Contains(argument, L"-fileurl:")) {
      options.file_url = true;
      continue;
    }
    if (Contains(argument, L"-debug")) {
      options.debug = true;
      continue;
    }
    if (Contains(argument, L"-lan:")) {
      options.has_language = true;
      options.language = ValueOf(argument, L"-lan:");
      continue;
    }
    if (Contains(argument, L"-unExternalVesk:")) options.un_external = true;
    if (Contains(argument, L"-installpath:")) {
      options.install_path = ValueOf(argument, L"-installpath:");
    } else if (Contains(argument, L"-url:")) {
      options.package_url = ValueOf(argument, L"-url:");
    } else if (Contains(argument, L"-size:")) {
      options.package_size = ValueOf(argument, L"-size:");
    } else if (Contains(argument, L"-md5:")) {
      options.package_md5 = ValueOf(argument, L"-md5:");
    } else if (Contains(argument, L"-auto")) {
      options.auto_install = true;
    }
  }
  return options;
}

}  // namespace app
