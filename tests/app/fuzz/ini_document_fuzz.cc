// Fuzzes the prompt documents' reader: whatever the document, a value found is at most the
// byte limit, lies within one line of the document, is found the same whatever the case of the
// key, and written back as a quoted entry of a new document reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ini_document.h"

namespace {

constexpr size_t kMaxBytes = 399;
const char* const kKeys[] = {"ServiceError", "FREEDISK1", "k"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string document(reinterpret_cast<const char*>(data), size);
  for (const char* key : kKeys) {
    std::string value;
    const bool found = app::FindIniValue(document, "INFO", key, kMaxBytes, &value);
    if (!found && !value.empty()) std::abort();
    if (value.size() > kMaxBytes) std::abort();
    if (value.find('\n') != std::string::npos || value.find('\0') != std::string::npos) std::abort();
    if (document.find(value) == std::string::npos) std::abort();

    std::string shouted(key);
    for (char& c : shouted) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    std::string again;
    if (app::FindIniValue(document, "info", shouted, kMaxBytes, &again) != found || again != value) std::abort();

    if (found) {
      const std::string rewritten = "[INFO]\r\n" + std::string(key) + "=\"" + value + "\"\r\n";
      if (!app::FindIniValue(rewritten, "INFO", key, kMaxBytes, &again) || again != value) std::abort();
    }
  }
  return 0;
}
