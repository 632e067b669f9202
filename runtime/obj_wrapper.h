// How a method task holds the object it will call: with a reference, without one, or weakly.
#ifndef RUNTIME_OBJ_WRAPPER_H_
#define RUNTIME_OBJ_WRAPPER_H_

#include <atomic>
#include <memory>

namespace base {

template <class T>
class ObjWrapper {
 public:
  virtual ~ObjWrapper() {}
  // The target, or null once a weak target is gone.
  virtual T* Get() const = 0;
  virtual void Retain() = 0;
  virtual void Release() = 0;
  virtual bool IsWeak() const = 0;
};

// Keeps a RefCountedThreadSafe target alive while a task bound to it is pending.
template <class T>
class NormalWrapper : public ObjWrapper<T> {
 public:
  explicit NormalWrapper(T* target) : target_(target) {}
  T* Get() const override { return target_; }
  void Retain() override {
    if (target_) target_->AddRef();
  }
  void Release() override {
    if (target_) target_->Release();
  }
  bool IsWeak() const override { return false; }

 private:
  T* target_;
};

// For targets that outlive every task bound to them (a loop's own quit task, process-wide
// singletons).
template <class T>
class UnretainedWrapper : public ObjWrapper<T> {
 public:
  explicit UnretainedWrapper(T* target) : target_(target) {}
  T* Get() const override { return target_; }
  void Retain() override {}
  void Release() override {}
  bool IsWeak() const override { return false; }

 private:
  T* target_;
};

// The "still alive" flag an object shares with its weak pointers; cleared when it goes away.
typedef std::shared_ptr<std::atomic<bool>> AliveFlag;

inline AliveFlag NewAliveFlag() {
  return std::make_shared<std::atomic<bool>>(true);
}

// Refers to a target without keeping it alive. Only meaningful on the thread that destroys the
// target: the flag tells that the target is gone, not that it will stay.
template <class T>
class WeakPtr : public ObjWrapper<T> {
 public:
  WeakPtr(T* target, AliveFlag alive) : target_(target), alive_(std::move(alive)) {}
  T* Get() const override { return alive_ && alive_->load(std::memory_order_acquire) ? target_ : nullptr; }
  void Retain() override {}
  void Release() override {}
  bool IsWeak() const override { return true; }

 private:
  T* target_;
  AliveFlag alive_;
};

// Owned by (a member of) the target; hands out weak pointers and clears them on destruction.
// Declare it last among the members so it is cleared before the others are destroyed.
template <class T>
class WeakPtrFactory {
 public:
  explicit WeakPtrFactory(T* target) : target_(target), alive_(NewAliveFlag()) {}
  ~WeakPtrFactory() { alive_->store(false, std::memory_order_release); }
  WeakPtrFactory(const WeakPtrFactory&) = delete;
  WeakPtrFactory& operator=(const WeakPtrFactory&) = delete;

  // A new wrapper, ready for NewMethodTask (which takes it over).
  WeakPtr<T>* NewWeakPtr() const { return new WeakPtr<T>(target_, alive_); }

 private:
  T* target_;
  AliveFlag alive_;
};

}  // namespace base

#endif  // RUNTIME_OBJ_WRAPPER_H_
