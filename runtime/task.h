// The unit of work a message loop runs: a reference-counted Task holding one bound call.
//
//   loop->PostTask(base::NewMethodTask(new base::NormalWrapper<Foo>(foo), &Foo::Bar, 42));
//   loop->PostTask(base::NewFunctionTask(&DeleteTree, path));
//
// Arguments are copied into the task when it is made (a parameter taken by const reference is
// stored as a value), so the caller's variables may go away at once. A method task made with a
// NormalWrapper keeps its RefCountedThreadSafe target alive until the task has run or been
// dropped; one made with an UnretainedWrapper does not. The factories take the wrapper over.
#ifndef RUNTIME_TASK_H_
#define RUNTIME_TASK_H_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>

#include "runtime/obj_wrapper.h"

namespace base {

// The execute interface of a bound call.
template <typename R>
class ExecDelegate {
 public:
  virtual ~ExecDelegate() {}
  virtual void AddUse() = 0;
  // At zero uses the entity releases its target and deletes itself.
  virtual void DropUse() = 0;
  virtual R Exec() = 0;
};

// A plain use count: an entity belongs to exactly one Task, so it needs no atomics.
class CCounter {
 protected:
  CCounter() : use_count_(1) {}
  void IncrementUse() { ++use_count_; }
  bool DecrementUse() { return --use_count_ == 0; }

 private:
  int use_count_;
};

class Task {
 public:
  // Takes over one use of each non-null entity.
  Task(ExecDelegate<void>* bound_method, ExecDelegate<void>* bound_function);
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;

  void AddRef();
  // The last release frees the call (and with it a NormalWrapper's reference) and the task.
  void Release();
  // Runs the bound method if there is one, else the bound function, else nothing.
  void Run();

  // Frees a task that was made but will not be posted (e.g. its loop slot is empty).
  static void Drop(Task* task);

 private:
  ~Task();

  std::atomic<int32_t> ref_count_;
  ExecDelegate<void>* bound_function_;
  ExecDelegate<void>* bound_method_;
};

namespace delegate {

// What a method entity shares whatever its arity: the wrapper, the object and the call checks.
template <class T, class C>
class MethodEntityBase : public ExecDelegate<void>, public CCounter {
 public:
  void AddUse() override { IncrementUse(); }
  void DropUse() override {
    if (!DecrementUse()) return;
    if (wrapper_) {
      wrapper_->Release();
      delete wrapper_;
      wrapper_ = nullptr;
    }
    delete this;
  }

 protected:
  explicit MethodEntityBase(ObjWrapper<T>* wrapper) : wrapper_(wrapper), obj_(wrapper ? wrapper->Get() : nullptr) {
    if (wrapper_) wrapper_->Retain();
  }
  ~MethodEntityBase() override {}

  // The object to call, or null when the call must be skipped: a weak target that is gone or
  // no target at all (calling through null would crash).
  C* Target() const {
    if (wrapper_ && wrapper_->IsWeak() && !wrapper_->Get()) return nullptr;
    return obj_;
  }

 private:
  ObjWrapper<T>* wrapper_;
  C* obj_;
};

template <class T, class C, class Method>
class DelegateEntity0 : public MethodEntityBase<T, C> {
 public:
  DelegateEntity0(ObjWrapper<T>* wrapper, Method method) : MethodEntityBase<T, C>(wrapper), method_(method) {}
  void Exec() override {
    C* obj = this->Target();
    if (obj && method_) (obj->*method_)();
  }

 private:
  Method method_;
};

template <class T, class C, class Method, class S1>
class DelegateEntity1 : public MethodEntityBase<T, C> {
 public:
  template <class A1>
  DelegateEntity1(ObjWrapper<T>* wrapper, Method method, A1&& a1)
      : MethodEntityBase<T, C>(wrapper), method_(method), a1_(std::forward<A1>(a1)) {}
  void Exec() override {
    C* obj = this->Target();
    if (obj && method_) (obj->*method_)(a1_);
  }

 private:
  Method method_;
  S1 a1_;
};

template <class T, class C, class Method, class S1, class S2>
class DelegateEntity2 : public MethodEntityBase<T, C> {
 public:
  template <class A1, class A2>
  DelegateEntity2(ObjWrapper<T>* wrapper, Method method, A1&& a1, A2&& a2)
      : MethodEntityBase<T, C>(wrapper), method_(method), a1_(std::forward<A1>(a1)), a2_(std::forward<A2>(a2)) {}
  void Exec() override {
    C* obj = this->Target();
    if (obj && method_) (obj->*method_)(a1_, a2_);
  }

 private:
  Method method_;
  S1 a1_;
  S2 a2_;
};

template <class T, class C, class Method, class S1, class S2, class S3, class S4>
class DelegateEntity4 : public MethodEntityBase<T, C> {
 public:
  template <class A1, class A2, class A3, class A4>
  DelegateEntity4(ObjWrapper<T>* wrapper, Method method, A1&& a1, A2&& a2, A3&& a3, A4&& a4)
      : MethodEntityBase<T, C>(wrapper),
        method_(method),
        a1_(std::forward<A1>(a1)),
        a2_(std::forward<A2>(a2)),
        a3_(std::forward<A3>(a3)),
        a4_(std::forward<A4>(a4)) {}
  void Exec() override {
    C* obj = this->Target();
    if (obj && method_) (obj->*method_)(a1_, a2_, a3_, a4_);
  }

 private:
  Method method_;
  S1 a1_;
  S2 a2_;
  S3 a3_;
  S4 a4_;
};

// A free function with one bound argument.
template <class Function, class S1>
class FunctionEntity1 : public ExecDelegate<void>, public CCounter {
 public:
  template <class A1>
  FunctionEntity1(Function function, A1&& a1) : function_(function), a1_(std::forward<A1>(a1)) {}
  void AddUse() override { IncrementUse(); }
  void DropUse() override {
    if (DecrementUse()) delete this;
  }
  void Exec() override {
    if (function_) function_(a1_);
  }

 private:
  ~FunctionEntity1() override {}
  Function function_;
  S1 a1_;
};

// Splits a member-function pointer into its class and parameter types.
template <class M>
struct MethodTraits;
template <class R, class C, class... P>
struct MethodTraits<R (C::*)(P...)> {
  typedef C Class;
  typedef std::tuple<typename std::decay<P>::type...> Stored;
};
template <class R, class C, class... P>
struct MethodTraits<R (C::*)(P...) const> {
  typedef const C Class;
  typedef std::tuple<typename std::decay<P>::type...> Stored;
};

template <class M, size_t I>
using StoredArg = typename std::tuple_element<I, typename MethodTraits<M>::Stored>::type;

template <class M>
constexpr size_t ArityOf() {
  return std::tuple_size<typename MethodTraits<M>::Stored>::value;
}

}  // namespace delegate

template <class T, class M>
Task* NewMethodTask(ObjWrapper<T>* wrapper, M method) {
  static_assert(delegate::ArityOf<M>() == 0, "the method takes arguments");
  typedef typename delegate::MethodTraits<M>::Class C;
  return new Task(new delegate::DelegateEntity0<T, C, M>(wrapper, method), nullptr);
}

template <class T, class M, class A1>
Task* NewMethodTask(ObjWrapper<T>* wrapper, M method, A1&& a1) {
  static_assert(delegate::ArityOf<M>() == 1, "the method takes another number of arguments");
  typedef typename delegate::MethodTraits<M>::Class C;
  return new Task(
      new delegate::DelegateEntity1<T, C, M, delegate::StoredArg<M, 0>>(wrapper, method, std::forward<A1>(a1)),
      nullptr);
}

template <class T, class M, class A1, class A2>
Task* NewMethodTask(ObjWrapper<T>* wrapper, M method, A1&& a1, A2&& a2) {
  static_assert(delegate::ArityOf<M>() == 2, "the method takes another number of arguments");
  typedef typename delegate::MethodTraits<M>::Class C;
  return new Task(new delegate::DelegateEntity2<T, C, M, delegate::StoredArg<M, 0>, delegate::StoredArg<M, 1>>(
                      wrapper, method, std::forward<A1>(a1), std::forward<A2>(a2)),
                  nullptr);
}

template <class T, class M, class A1, class A2, class A3, class A4>
Task* NewMethodTask(ObjWrapper<T>* wrapper, M method, A1&& a1, A2&& a2, A3&& a3, A4&& a4) {
  static_assert(delegate::ArityOf<M>() == 4, "the method takes another number of arguments");
  typedef typename delegate::MethodTraits<M>::Class C;
  return new Task(
      new delegate::DelegateEntity4<T, C, M, delegate::StoredArg<M, 0>, delegate::StoredArg<M, 1>,
                                    delegate::StoredArg<M, 2>, delegate::StoredArg<M, 3>>(
          wrapper, method, std::forward<A1>(a1), std::forward<A2>(a2), std::forward<A3>(a3), std::forward<A4>(a4)),
      nullptr);
}

template <class R, class P1, class A1>
Task* NewFunctionTask(R (*function)(P1), A1&& a1) {
  typedef typename std::decay<P1>::type S1;
  return new Task(nullptr, new delegate::FunctionEntity1<R (*)(P1), S1>(function, std::forward<A1>(a1)));
}

}  // namespace base

#endif  // RUNTIME_TASK_H_
