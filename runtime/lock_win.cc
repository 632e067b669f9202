#include <windows.h>

#include "runtime/lock.h"

namespace base {

Lock::Lock() : native_(new CRITICAL_SECTION) {
  InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(native_));
}

Lock::~Lock() {
  DeleteCriticalSection(static_cast<CRITICAL_SECTION*>(native_));
  delete static_cast<CRITICAL_SECTION*>(native_);
}

void Lock::Acquire() {
  EnterCriticalSection(static_cast<CRITICAL_SECTION*>(native_));
}

void Lock::Release() {
  LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(native_));
}

}  // namespace base
