#include "extract/product_programs.h"

#include <map>

namespace extract {

namespace {

char16_t AsciiLower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

bool ContainsNoCase(const std::u16string& text, const std::u16string& part) {
  if (part.size() > text.size()) return false;
  for (size_t start = 0; start + part.size() <= text.size(); ++start) {
    size_t i = 0;
    while (i < part.size() && AsciiLower(text[start + i]) == AsciiLower(part[i])) ++i;
    if (i == part.size()) return true;
  }
  return false;
}

}  // namespace

std::vector<ProductProgram> ProductProgramsToStop() {
  // The product's emulator, its engine and their helpers, and the copies of adb and 7-Zip that
  // the product runs from its own folder: each may hold a file the package replaces.
  const std::map<std::u16string, bool> rules = {
      {u"7za.exe", true},
      {u"adb.exe", true},
      {u"Pindle.exe", true},
      {u"QVPlayer.exe", true},
      {u"QVPlayerVMHandle.exe", true},
      {u"QVPlayerVMSVC.exe", true},
      {u"QVPlayer_unload.exe", true},
      {u"Pindle_unload.exe", true},
      {u"PindleWing.exe", true},
  };
  std::vector<ProductProgram> programs;
  programs.reserve(rules.size());
  for (const auto& rule : rules) programs.push_back(ProductProgram{rule.first, rule.second});
  return programs;
}

bool IsInProductBinFolder(const std::u16string& image_path, const std::u16string& product_name) {
  if (product_name.empty()) return false;
  return ContainsNoCase(image_path, u"\\" + product_name + u"\\bin\\");
}

bool ShouldStopProcess(const ProductProgram& program, const std::u16string& image_path,
                       const std::u16string& product_name) {
  if (!program.only_from_product_bin) return true;
  return IsInProductBinFolder(image_path, product_name);
}

std::u16string KillToolPath(const std::u16string& previous_install_folder, const std::u16string& install_folder,
                            bool windows_is_64bit) {
  std::u16string base = previous_install_folder.empty() ? install_folder : previous_install_folder;
  if (base.empty()) return std::u16string();
  // "C:\Pindle\" and "C:\Pindle" name the same folder; "C:\" becomes "C:", still the root.
  while (!base.empty() && (base.back() == u'\\' || base.back() == u'/')) base.pop_back();
  return base + (windows_is_64bit ? u"\\bin\\kntd64.exe" : u"\\bin\\kntd32.exe");
}

std::u16string KillToolCommandLine(const std::u16string& tool_path, uint32_t pid) {
  const std::string digits = std::to_string(pid);
  return u"\"" + tool_path + u"\" -c q -p " + std::u16string(digits.begin(), digits.end());
}

int StopProductPrograms(ProductProcessSystem& system, const StopProgramsSettings& settings) {
  system.Log("kill process", true);
  const std::u16string tool =
      KillToolPath(settings.previous_install_folder, settings.install_folder, settings.windows_is_64bit);
  if (tool.empty() || !system.FileExists(tool)) return 0;

  int runs = 0;
  for (const ProductProgram& program : ProductProgramsToStop()) {
    for (const uint32_t pid : system.FindProcessesByName(program.name)) {
      std::u16string image;
      if (!system.GetProcessImagePath(pid, &image)) image.clear();
      if (!ShouldStopProcess(program, image, settings.product_name)) continue;
      system.RunKillTool(KillToolCommandLine(tool, pid), kKillToolTimeoutMs);
      ++runs;
    }
  }
  return runs;
}

}  // namespace extract
