// Outside Windows there is no registry: the id lives as long as the process, which is all the
// host build's tests need.
#include <mutex>

#include "analytics/distinct_id.h"

namespace event_analytics {
namespace {

class MemoryIdStore : public DistinctIdStore {
 public:
  bool Read(std::wstring* id) override {
    std::lock_guard<std::mutex> hold(Lock());
    if (Value().empty()) return false;
    *id = Value();
    return true;
  }
  bool Write(const std::wstring& id) override {
    std::lock_guard<std::mutex> hold(Lock());
    Value() = id;
    return true;
  }

 private:
  // Shared by every store made in the process, as the registry value is.
  static std::mutex& Lock() {
    static std::mutex lock;
    return lock;
  }
  static std::wstring& Value() {
    static std::wstring value;
    return value;
  }
};

}  // namespace

std::unique_ptr<DistinctIdStore> NewDefaultIdStore() {
  return std::unique_ptr<DistinctIdStore>(new MemoryIdStore);
}

}  // namespace event_analytics
