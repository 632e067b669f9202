// The one owner of the tree's system resources: `ScopedObject` holds a handle, key, descriptor or
// COM pointer and releases it on every path out of its scope. What "no object" is and how an object
// is released is its policy `Traits`:
//
//   struct Traits {
//     using Type = ...;           // the handle type
//     static Type Null();         // the value that owns nothing
//     static bool IsValid(Type);  // false for every "no object" value the API returns
//     static bool Close(Type);    // releases a valid object; false when the system refused
//   };
//
// The policies live with their platform: runtime/scoped_handle_win.h (Win32) and
// runtime/scoped_fd_posix.h (file descriptors of the host build).
#ifndef RUNTIME_SCOPED_OBJECT_H_
#define RUNTIME_SCOPED_OBJECT_H_

#include <utility>

namespace base {

template <class Traits>
class ScopedObject {
 public:
  using Type = typename Traits::Type;

  ScopedObject() : object_(Traits::Null()) {}
  explicit ScopedObject(Type object) : object_(object) {}
  ~ScopedObject() { Close(); }
  ScopedObject(const ScopedObject&) = delete;
  ScopedObject& operator=(const ScopedObject&) = delete;
  ScopedObject(ScopedObject&& other) noexcept : object_(other.release()) {}
  ScopedObject& operator=(ScopedObject&& other) noexcept {
    reset(other.release());
    return *this;
  }

  bool valid() const { return Traits::IsValid(object_); }
  explicit operator bool() const { return valid(); }
  Type get() const { return object_; }
  // For COM pointers; never used on plain handles.
  Type operator->() const { return object_; }

  // The address an API writes a new object to; whatever was owned before is released first.
  Type* receive() {
    Close();
    return &object_;
  }
  void reset(Type object = Traits::Null()) {
    Close();
    object_ = object;
  }
  // Gives the object up without releasing it.
  Type release() { return std::exchange(object_, Traits::Null()); }
  // Releases the object now. True when nothing was owned or the system released it: a file's
  // last write error can show up only here.
  bool Close() {
    if (!valid()) {
      object_ = Traits::Null();
      return true;
    }
    return Traits::Close(std::exchange(object_, Traits::Null()));
  }

 private:
  Type object_;
};

}  // namespace base

#endif  // RUNTIME_SCOPED_OBJECT_H_
