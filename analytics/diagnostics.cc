#include "analytics/diagnostics.h"

#include <iostream>
#include <mutex>

namespace event_analytics {
namespace {
// Several loops report at once; keep their lines whole.
std::mutex& StreamLock() {
  static std::mutex lock;
  return lock;
}
}  // namespace

void WriteDiagnostic(const std::string& text) {
  std::lock_guard<std::mutex> hold(StreamLock());
  std::cerr << text << std::endl;
}

void WriteVerbose(const std::string& text) {
  std::lock_guard<std::mutex> hold(StreamLock());
  std::cout << text << std::endl;
}

}  // namespace event_analytics
