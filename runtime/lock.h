// A mutual-exclusion lock (a critical section on Windows). Re-entrant on every platform, as a
// critical section is, so code behaves the same in both builds.
#ifndef RUNTIME_LOCK_H_
#define RUNTIME_LOCK_H_

namespace base {

class Lock {
 public:
  Lock();
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  void Acquire();
  void Release();

 private:
  void* native_;  // CRITICAL_SECTION or pthread_mutex_t, owned
};

class AutoLock {
 public:
  explicit AutoLock(Lock& lock) : lock_(lock) { lock_.Acquire(); }
  ~AutoLock() { lock_.Release(); }
  AutoLock(const AutoLock&) = delete;
  AutoLock& operator=(const AutoLock&) = delete;

 private:
  Lock& lock_;
};

}  // namespace base

#endif  // RUNTIME_LOCK_H_
