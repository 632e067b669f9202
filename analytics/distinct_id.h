// The distinct id that names this installation in every event: made once, kept in the
// registry value "PindleId" and reused by every later run.
#ifndef ANALYTICS_DISTINCT_ID_H_
#define ANALYTICS_DISTINCT_ID_H_

#include <memory>
#include <string>

namespace event_analytics {

// Where the installer keeps it: HKEY_CURRENT_USER, 64-bit view.
extern const wchar_t kDistinctIdKey[];    // L"SOFTWARE\\Pindle\\PindleId"
extern const wchar_t kDistinctIdValue[];  // L"PindleId"

// Storage for the one id. Implementations need no lock: the reporter calls them under its own.
class DistinctIdStore {
 public:
  virtual ~DistinctIdStore() {}
  // False when nothing is stored or it cannot be read.
  virtual bool Read(std::wstring* id) = 0;
  virtual bool Write(const std::wstring& id) = 0;
};

// On Windows the registry value above; elsewhere a value kept in memory for the process.
std::unique_ptr<DistinctIdStore> NewDefaultIdStore();

// The narrow id a stored value stands for, or empty when it cannot serve as one. The id goes
// into every record's JSON text unescaped but for quotes and backslashes, and a record the
// collector cannot read would block every record queued behind it; so only 1 to 255
// characters of printable ASCII (0x20 to 0x7E) are taken, which also read the same in every
// ANSI code page. Pure.
std::string UsableStoredId(const std::wstring& stored);

// The stored id when it is usable; otherwise a new one from `make_id`, written back so the
// next run finds it (and used for this run even when the write fails).
std::string LoadOrCreateDistinctId(DistinctIdStore* store, std::string (*make_id)());

}  // namespace event_analytics

#endif  // ANALYTICS_DISTINCT_ID_H_
