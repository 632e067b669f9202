// The installer's command line: splitting by the Windows rules and the option table.
// Platform-free: values stay wide here; the start-up code converts the narrow ones.
#ifndef APP_COMMAND_LINE_H_
#define APP_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace app {

// Longest option value kept; longer values are cut (the values pass a fixed buffer).
constexpr size_t kMaxOptionValueLength = 2084;

struct CommandLineOptions {
  bool file_url = false;      // "-fileurl:" (its value is ignored)
  bool debug = false;         // "-debug"
  bool has_language = false;  // "-lan:" given
  std::wstring language;      // "-lan:" value, e.g. "lan_en"
  bool un_external = false;   // "-unExternalVesk:" seen
  std::wstring install_path;  // "-installpath:"
  std::wstring package_url;   // "-url:"
  std::wstring package_size;  // "-size:"
  std::wstring package_md5;   // "-md5:"
  bool auto_install = false;  // "-auto"
};

// Splits a command line the way CommandLineToArgvW does: blanks separate arguments, double
// quotes group, backslashes escape only before a double quote. The first element is the
// program name, which takes no escapes.
std::vector<std::wstring> SplitCommandLine(const std::wstring& command_line);

// Applies the option table to argv (argv[0], the program, is skipped). An argument matches an
// option when it contains the option text anywhere; its value is the argument minus as many
// leading characters as the option text has. The first matching option decides, except that
// "-unExternalVesk:" is noted on every argument that is not "-fileurl:", "-debug" or "-lan:".
CommandLineOptions ParseCommandLineOptions(const std::vector<std::wstring>& argv);

}  // namespace app

#endif  // APP_COMMAND_LINE_H_
