#include "extract/seven_za.h"

namespace extract {

std::u16string SevenZaCommandLine(const std::u16string& tool_path, const std::u16string& archive,
                                  const std::u16string& install_folder) {
  return u"\"" + tool_path + u"\" x -y \"" + archive + u"\" -o\"" + install_folder + u"\" -r";
}

}  // namespace extract

bool Run7za(const ProcessRunner& run, const std::u16string& tool_path, const std::u16string& archive,
            const std::u16string& install_folder, std::string* error_output, const ExtractLogSink& log) {
  // -1 stays when the program could not even be started.
  int exit_code = -1;
  std::string out;
  std::string err;
  bool finished = false;
  if (run) {
    finished =
        run(extract::SevenZaCommandLine(tool_path, archive, install_folder), kSevenZaTimeoutMs, &exit_code, &out, &err);
  }
  if (log) log("unzip exit_code::" + std::to_string(exit_code));
  if (error_output) *error_output = err;
  return finished && exit_code == 0;
}
