// Fuzzes the judgement of the download-information answer, the web service's JSON: whatever
// the body, the judgement ends with one of its outcomes, and an answer that lets the download
// go on names a package with a URL and a decimal size the size reader takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "download/download_plan.h"
#include "download/info_answer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The fetcher hands over the body cut at its first zero byte.
  std::string body(reinterpret_cast<const char*>(data), size);
  body = body.substr(0, body.find('\0'));
  const download::InfoAnswer answer = download::JudgeInfoAnswer(body);
  switch (answer.outcome) {
    case download::kInfoRequery:
      if (!body.empty()) std::abort();
      break;
    case download::kInfoMalformed:
    case download::kInfoRefused:
    case download::kInfoNoData:
      if (answer.has_file_info) std::abort();
      break;
    case download::kInfoProbe:
      if (answer.has_file_info) {
        if (answer.package_size.empty()) std::abort();
        for (char c : answer.package_size) {
          if (c < '0' || c > '9') std::abort();
        }
        // The size announced is the size the download plans with, and its parts cover it.
        const uint32_t bytes = download::ParsePackageSize(answer.package_size);
        if (std::to_string(bytes) != answer.package_size) std::abort();
        const auto parts = download::SplitPackage(bytes);
        if (parts[0].start != 0 || parts[download::kPartCount - 1].end != bytes) std::abort();
        for (int i = 1; i < download::kPartCount; ++i) {
          if (parts[i].start != parts[i - 1].end || parts[i].start < parts[i - 1].start) std::abort();
        }
      }
      break;
    default: std::abort();
  }
  return 0;
}
