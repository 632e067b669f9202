// Stopping the product's running programs before the package replaces their files: which
// programs, which of their processes belong to this product, where the product's kill tool is
// and how it is called. The product's own tool does the stopping; the installer only asks it.
#ifndef PINDLE_EXTRACT_PRODUCT_PROGRAMS_H_
#define PINDLE_EXTRACT_PRODUCT_PROGRAMS_H_

#include <cstdint>
#include <string>
#include <vector>

namespace extract {

// The kill tool gets three seconds per process; it is not waited for beyond that.
constexpr int kKillToolTimeoutMs = 3000;

// One program image name to stop. With `only_from_product_bin` a process of that name is
// stopped only when it was started from the product's "bin" folder, so that another program
// that happens to share a name (an adb.exe of some SDK, a 7za.exe elsewhere) is left alone.
struct ProductProgram {
  std::u16string name;
  bool only_from_product_bin;
};

// The programs in the order they are processed: the key order of a name-to-rule map, every
// rule restricted to the product's "bin" folder.
std::vector<ProductProgram> ProductProgramsToStop();

// True when `image_path` lies in a "bin" folder of the product: it contains
// "\" + product_name + "\bin\" (ASCII case ignored, as Windows compares file names). Never true
// for an empty product name.
bool IsInProductBinFolder(const std::u16string& image_path, const std::u16string& product_name);

// Whether a running process of `program` should be stopped, given its image path (empty when
// it could not be read).
bool ShouldStopProcess(const ProductProgram& program, const std::u16string& image_path,
                       const std::u16string& product_name);

// The kill tool of the installation: B + "\bin\kntd64.exe" on 64-bit Windows, else
// B + "\bin\kntd32.exe", where B is the previous install folder when one is known and the
// install folder otherwise (trailing separators of B dropped). Empty when both are empty.
std::u16string KillToolPath(const std::u16string& previous_install_folder, const std::u16string& install_folder,
                            bool windows_is_64bit);

// "<tool>" -c q -p <pid in decimal>
std::u16string KillToolCommandLine(const std::u16string& tool_path, uint32_t pid);

// What stopping the programs needs from the system.
class ProductProcessSystem {
 public:
  virtual ~ProductProcessSystem() = default;
  // Ids of the running processes with this image name (case ignored).
  virtual std::vector<uint32_t> FindProcessesByName(const std::u16string& exe_name) = 0;
  // Full path of the process's image; false when it cannot be read.
  virtual bool GetProcessImagePath(uint32_t pid, std::u16string* path) = 0;
  virtual bool FileExists(const std::u16string& path) = 0;
  // Runs a command line hidden, waiting at most `timeout_ms`; its outcome does not matter.
  virtual void RunKillTool(const std::u16string& command_line, int timeout_ms) = 0;
  // One log line; `enabled` false for a line that is not written.
  virtual void Log(const std::string& message, bool enabled) = 0;
};

struct StopProgramsSettings {
  std::u16string product_name;  // the `vesk` setting: names the product's folder
  std::u16string install_folder;
  std::u16string previous_install_folder;  // empty when none is known
  bool windows_is_64bit = false;
};

// Logs "kill process", then for each program of ProductProgramsToStop() and each of its
// running processes that ShouldStopProcess accepts, runs the kill tool on it. Nothing is run
// when the kill tool does not exist. Returns how many times the tool was run.
int StopProductPrograms(ProductProcessSystem& system, const StopProgramsSettings& settings);

}  // namespace extract

#endif  // PINDLE_EXTRACT_PRODUCT_PROGRAMS_H_
