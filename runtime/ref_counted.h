// Objects shared between threads that delete themselves when the last reference is released.
#ifndef RUNTIME_REF_COUNTED_H_
#define RUNTIME_REF_COUNTED_H_

#include <atomic>
#include <cstdint>

namespace base {
namespace subtle {

class RefCountedThreadSafeBase {
 public:
  RefCountedThreadSafeBase(const RefCountedThreadSafeBase&) = delete;
  RefCountedThreadSafeBase& operator=(const RefCountedThreadSafeBase&) = delete;

  // True while exactly one reference is held.
  bool HasOneRef() const { return ref_count_.load(std::memory_order_acquire) == 1; }

 protected:
  RefCountedThreadSafeBase() : ref_count_(0) {}
  ~RefCountedThreadSafeBase() {}

  void AddRef() const { ref_count_.fetch_add(1, std::memory_order_relaxed); }
  // True when the count dropped from 1, i.e. the caller held the last reference.
  bool Release() const { return ref_count_.fetch_sub(1, std::memory_order_acq_rel) == 1; }

 private:
  mutable std::atomic<int32_t> ref_count_;
};

}  // namespace subtle

template <class T>
struct DefaultRefCountedThreadSafeTraits {
  static void Destruct(const T* x) { delete x; }
};

// Derive as `class Foo : public RefCountedThreadSafe<Foo>`. A new object has count 0. The last
// Release may come from any thread, so the destructor of T must be safe on any thread.
template <class T, typename Traits = DefaultRefCountedThreadSafeTraits<T>>
class RefCountedThreadSafe : public subtle::RefCountedThreadSafeBase {
 public:
  void AddRef() const { subtle::RefCountedThreadSafeBase::AddRef(); }
  void Release() const {
    if (subtle::RefCountedThreadSafeBase::Release()) Traits::Destruct(static_cast<const T*>(this));
  }

 protected:
  RefCountedThreadSafe() {}
  ~RefCountedThreadSafe() {}

 private:
  friend struct DefaultRefCountedThreadSafeTraits<T>;
};

}  // namespace base

#endif  // RUNTIME_REF_COUNTED_H_
