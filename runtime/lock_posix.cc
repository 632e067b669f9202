#include <pthread.h>

#include <cstdlib>

#include "runtime/lock.h"

namespace base {

Lock::Lock() : native_(new pthread_mutex_t) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  if (pthread_mutex_init(static_cast<pthread_mutex_t*>(native_), &attributes) != 0) std::abort();
  pthread_mutexattr_destroy(&attributes);
}

Lock::~Lock() {
  pthread_mutex_destroy(static_cast<pthread_mutex_t*>(native_));
  delete static_cast<pthread_mutex_t*>(native_);
}

void Lock::Acquire() {
  pthread_mutex_lock(static_cast<pthread_mutex_t*>(native_));
}

void Lock::Release() {
  pthread_mutex_unlock(static_cast<pthread_mutex_t*>(native_));
}

}  // namespace base
