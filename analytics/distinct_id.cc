#include "analytics/distinct_id.h"

#include "analytics/diagnostics.h"
#include "analytics/property_rules.h"

namespace event_analytics {

const wchar_t kDistinctIdKey[] = L"SOFTWARE\\Pindle\\PindleId";
const wchar_t kDistinctIdValue[] = L"PindleId";

std::string UsableStoredId(const std::wstring& stored) {
  if (stored.empty() || stored.size() > kMaxIdLength) return std::string();
  std::string id;
  id.reserve(stored.size());
  for (wchar_t c : stored) {
    if (c < 0x20 || c > 0x7E) return std::string();
    id.push_back(static_cast<char>(c));
  }
  return id;
}

std::string LoadOrCreateDistinctId(DistinctIdStore* store, std::string (*make_id)()) {
  std::wstring stored;
  const bool found = store->Read(&stored);
  std::string id = found ? UsableStoredId(stored) : std::string();
  if (!id.empty()) return id;
  if (found && !stored.empty()) WriteDiagnostic("The stored distinct id is unusable; a new one replaces it.");
  id = make_id();
  // The made id is ASCII, so widening it byte by byte is exact.
  if (!store->Write(std::wstring(id.begin(), id.end()))) {
    WriteDiagnostic("Could not store the distinct id; this run uses it unstored.");
  }
  return id;
}

}  // namespace event_analytics
