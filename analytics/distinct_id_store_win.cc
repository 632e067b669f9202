// The distinct id in the registry value "PindleId", on the 64-bit view so a 32-bit installer
// and the 64-bit product share it.
#include <windows.h>

#include "analytics/distinct_id.h"
#include "system/registry.h"

namespace event_analytics {
namespace {

class RegistryIdStore : public DistinctIdStore {
 public:
  bool Read(std::wstring* id) override {
    return RegReadString(HKEY_CURRENT_USER, kDistinctIdKey, kDistinctIdValue, id);
  }
  bool Write(const std::wstring& id) override {
    return RegWriteString(HKEY_CURRENT_USER, kDistinctIdKey, kDistinctIdValue, id);
  }
};

}  // namespace

std::unique_ptr<DistinctIdStore> NewDefaultIdStore() {
  return std::unique_ptr<DistinctIdStore>(new RegistryIdStore);
}

}  // namespace event_analytics
