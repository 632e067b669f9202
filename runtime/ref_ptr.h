// A counted reference to a RefCountedThreadSafe object (runtime/ref_counted.h): takes one reference
// when it is given a pointer and drops it when it lets go.
#ifndef RUNTIME_REF_PTR_H_
#define RUNTIME_REF_PTR_H_

#include <utility>

namespace base {

template <class T>
class RefPtr {
 public:
  RefPtr() : ptr_(nullptr) {}
  // Takes a reference of its own (a freshly created object has none yet).
  explicit RefPtr(T* ptr) : ptr_(ptr) {
    if (ptr_) ptr_->AddRef();
  }
  RefPtr(const RefPtr& other) : RefPtr(other.ptr_) {}
  RefPtr(RefPtr&& other) noexcept : ptr_(other.ptr_) { other.ptr_ = nullptr; }
  ~RefPtr() { reset(); }
  RefPtr& operator=(RefPtr other) {
    std::swap(ptr_, other.ptr_);
    return *this;
  }

  // Replaces the object; the old one is released after the new one is referenced, so
  // assigning an object to itself is harmless.
  void reset(T* ptr = nullptr) {
    if (ptr) ptr->AddRef();
    T* old = ptr_;
    ptr_ = ptr;
    if (old) old->Release();
  }
  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  T& operator*() const { return *ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

 private:
  T* ptr_;
};

}  // namespace base

#endif  // RUNTIME_REF_PTR_H_
