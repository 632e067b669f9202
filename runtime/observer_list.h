// A list of observers that can be changed while it is being notified.
//
//   ObserverListBase<Foo>::Iterator it(list);
//   while (Foo* observer = it.GetNext()) observer->OnSomething();
#ifndef RUNTIME_OBSERVER_LIST_H_
#define RUNTIME_OBSERVER_LIST_H_

#include <algorithm>
#include <cstddef>
#include <vector>

#include "runtime/obj_wrapper.h"

namespace base {

template <class T>
class ObserverListBase {
 public:
  // Removals leave holes; past this many the array is compacted.
  static const int kCompactAfterRemovals = 128;

  class Iterator {
   public:
    explicit Iterator(ObserverListBase<T>& list) : list_(&list, list.alive_), index_(0) { ++list.active_iterators_; }
    ~Iterator() {
      if (ObserverListBase<T>* list = list_.Get()) {
        if (--list->active_iterators_ == 0) list->CompactIfNeeded();
      }
    }
    Iterator(const Iterator&) = delete;
    Iterator& operator=(const Iterator&) = delete;

    // The next observer, or null at the end or once the list itself has been destroyed. The
    // length is read again at every step, so observers added meanwhile are visited too.
    T* GetNext() {
      ObserverListBase<T>* list = list_.Get();
      if (!list) return nullptr;
      while (index_ < list->observers_.size()) {
        T* observer = list->observers_[index_++];
        if (observer) return observer;
      }
      return nullptr;
    }

   private:
    WeakPtr<ObserverListBase<T>> list_;
    size_t index_;
  };

  ObserverListBase() : removals_(0), active_iterators_(0), alive_(NewAliveFlag()) {}
  ~ObserverListBase() { alive_->store(false); }
  ObserverListBase(const ObserverListBase&) = delete;
  ObserverListBase& operator=(const ObserverListBase&) = delete;

  // Appends unless already present.
  void AddObserver(T* observer) {
    if (!observer || HasObserver(observer)) return;
    observers_.push_back(observer);
  }

  // Leaves a hole, so an iteration in progress neither skips nor repeats anyone.
  void RemoveObserver(T* observer) {
    typename std::vector<T*>::iterator it = std::find(observers_.begin(), observers_.end(), observer);
    if (!observer || it == observers_.end()) return;
    *it = nullptr;
    ++removals_;
    CompactIfNeeded();
  }

  bool HasObserver(const T* observer) const {
    return std::find(observers_.begin(), observers_.end(), observer) != observers_.end();
  }

  size_t size() const {
    return static_cast<size_t>(std::count_if(observers_.begin(), observers_.end(), [](T* o) { return o != nullptr; }));
  }

 private:
  // Compacting shifts the entries under a running iterator, so it waits until none is active.
  void CompactIfNeeded() {
    if (removals_ <= kCompactAfterRemovals || active_iterators_ != 0) return;
    observers_.erase(std::remove(observers_.begin(), observers_.end(), static_cast<T*>(nullptr)), observers_.end());
    removals_ = 0;
  }

  std::vector<T*> observers_;
  int removals_;
  int active_iterators_;
  AliveFlag alive_;
};

}  // namespace base

#endif  // RUNTIME_OBSERVER_LIST_H_
