// The 7-Zip console program as the extraction's fallback: its command line and one run.
#ifndef PINDLE_EXTRACT_SEVEN_ZA_H_
#define PINDLE_EXTRACT_SEVEN_ZA_H_

#include <functional>
#include <string>

#include "extract/locked_files.h"

// 7-Zip gets ten minutes for the package; a run that outlives it counts as exit code 301.
constexpr int kSevenZaTimeoutMs = 600000;
constexpr int kSevenZaTimedOutExitCode = 301;

// Starts a command line hidden, waits up to `timeout_ms`, and returns what the program wrote to
// its output and error streams (the shape of RunAndCapture). False when the program could not be
// started or ran out of time (exit code 301; it has then been ended).
using ProcessRunner = std::function<bool(const std::u16string& command_line, int timeout_ms, int* exit_code,
                                         std::string* out, std::string* err)>;

namespace extract {

// "<tool>" x -y "<archive>" -o"<folder>" -r
std::u16string SevenZaCommandLine(const std::u16string& tool_path, const std::u16string& archive,
                                  const std::u16string& install_folder);

}  // namespace extract

// Runs the 7-Zip console program at `tool_path` to unpack `archive` into `install_folder`,
// logs "unzip exit_code::<code>" and hands back its error output. True when it exited with 0.
bool Run7za(const ProcessRunner& run, const std::u16string& tool_path, const std::u16string& archive,
            const std::u16string& install_folder, std::string* error_output, const ExtractLogSink& log);

#endif  // PINDLE_EXTRACT_SEVEN_ZA_H_
