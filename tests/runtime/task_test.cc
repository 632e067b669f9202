#include "runtime/task.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/obj_wrapper.h"
#include "runtime/ref_counted.h"

namespace base {
namespace {

// Runs a task the way a queue entry does: hold a reference, run, let go.
void RunAndRelease(Task* task) {
  task->AddRef();
  task->Run();
  task->Release();
}

class Recorder {
 public:
  void None() { calls.push_back("none"); }
  void One(int a) { calls.push_back("one " + std::to_string(a)); }
  void Two(const std::string& a, const std::wstring& b) {
    calls.push_back("two " + a + " " + std::to_string(b.size()));
  }
  void Four(const std::string& a, int b, const std::map<std::string, std::string>& c, std::string* out) {
    *out = a + std::to_string(b) + c.at("k");
  }
  void Inspect() const { ++const_calls; }

  std::vector<std::string> calls;
  mutable int const_calls = 0;
};

TEST(TaskTest, BoundArgumentsAreCopiedWhenTheTaskIsMade) {
  Recorder recorder;
  std::string text = "alpha";
  std::wstring wide = L"xyz";
  std::map<std::string, std::string> map = {{"k", "v"}};
  std::string out;

  Task* none = NewMethodTask(new UnretainedWrapper<Recorder>(&recorder), &Recorder::None);
  Task* one = NewMethodTask(new UnretainedWrapper<Recorder>(&recorder), &Recorder::One, 7);
  Task* two = NewMethodTask(new UnretainedWrapper<Recorder>(&recorder), &Recorder::Two, text, wide);
  Task* four = NewMethodTask(new UnretainedWrapper<Recorder>(&recorder), &Recorder::Four, text, 3, map, &out);
  Task* inspect = NewMethodTask(new UnretainedWrapper<Recorder>(&recorder), &Recorder::Inspect);

  // The caller's values change or vanish before the tasks run; the tasks keep their copies.
  text = "changed";
  wide.clear();
  map["k"] = "changed";
  EXPECT_TRUE(recorder.calls.empty());  // nothing runs at creation

  for (Task* t : {none, one, two, four, inspect}) RunAndRelease(t);
  EXPECT_EQ((std::vector<std::string>{"none", "one 7", "two alpha 3"}), recorder.calls);
  EXPECT_EQ("alpha3v", out);
  EXPECT_EQ(1, recorder.const_calls);
}

std::wstring g_function_log;
void Log(const std::wstring& text) {
  g_function_log += text;
}

TEST(TaskTest, FunctionTaskCopiesItsArgument) {
  g_function_log.clear();
  std::wstring text = L"path";
  Task* task = NewFunctionTask(&Log, text);
  text = L"other";
  RunAndRelease(task);
  EXPECT_EQ(L"path", g_function_log);
}

class Target : public RefCountedThreadSafe<Target> {
 public:
  explicit Target(bool* destroyed) : destroyed_(destroyed) {}
  void Touch() { ++touches; }
  int touches = 0;

 private:
  friend struct DefaultRefCountedThreadSafeTraits<Target>;
  ~Target() { *destroyed_ = true; }
  bool* destroyed_;
};

TEST(TaskTest, NormalWrapperHoldsAReferenceUntilTheTaskIsGone) {
  struct Case {
    const char* name;
    bool run;
  } cases[] = {{"run", true}, {"dropped unrun", false}};
  for (const Case& c : cases) {
    bool destroyed = false;
    Target* target = new Target(&destroyed);
    target->AddRef();
    Task* task = NewMethodTask(new NormalWrapper<Target>(target), &Target::Touch);
    task->AddRef();  // a queue entry
    target->Release();
    EXPECT_FALSE(destroyed) << c.name << ": the task must keep its target alive";
    if (c.run) {
      task->Run();
      EXPECT_EQ(1, target->touches);
    }
    task->Release();
    EXPECT_TRUE(destroyed) << c.name;
  }
}

TEST(TaskTest, UnretainedWrapperDoesNotTouchTheCount) {
  bool destroyed = false;
  Target* target = new Target(&destroyed);
  target->AddRef();
  Task* task = NewMethodTask(new UnretainedWrapper<Target>(target), &Target::Touch);
  EXPECT_TRUE(target->HasOneRef());
  RunAndRelease(task);
  EXPECT_EQ(1, target->touches);
  EXPECT_TRUE(target->HasOneRef());
  target->Release();
  EXPECT_TRUE(destroyed);
}

TEST(TaskTest, DropFreesAnUnpostedTaskAndItsReference) {
  bool destroyed = false;
  Target* target = new Target(&destroyed);
  target->AddRef();
  Task* task = NewMethodTask(new NormalWrapper<Target>(target), &Target::Touch);
  target->Release();
  Task::Drop(task);
  EXPECT_TRUE(destroyed);
}

class Weakly {
 public:
  Weakly() : factory_(this) {}
  void Touch() { ++*touches; }
  int* touches = nullptr;
  WeakPtrFactory<Weakly>& factory() { return factory_; }

 private:
  WeakPtrFactory<Weakly> factory_;
};

TEST(TaskTest, WeakTargetThatIsGoneIsNotCalled) {
  int touches = 0;
  Weakly* alive = new Weakly;
  alive->touches = &touches;
  Task* runs = NewMethodTask(alive->factory().NewWeakPtr(), &Weakly::Touch);
  Task* skipped = NewMethodTask(alive->factory().NewWeakPtr(), &Weakly::Touch);
  runs->AddRef();
  skipped->AddRef();
  runs->Run();
  EXPECT_EQ(1, touches);
  delete alive;
  skipped->Run();  // would touch freed memory if it called through
  EXPECT_EQ(1, touches);
  runs->Release();
  skipped->Release();
}

TEST(TaskTest, MissingObjectOrMethodDoesNothing) {
  Recorder recorder;
  void (Recorder::*no_method)() = nullptr;
  Task* tasks[] = {
      NewMethodTask(new UnretainedWrapper<Recorder>(nullptr), &Recorder::None),
      NewMethodTask(new UnretainedWrapper<Recorder>(&recorder), no_method),
      NewMethodTask(new UnretainedWrapper<Recorder>(nullptr), no_method),
      NewFunctionTask(static_cast<void (*)(const std::wstring&)>(nullptr), std::wstring(L"x")),
      new Task(nullptr, nullptr),
  };
  for (Task* t : tasks) RunAndRelease(t);
  EXPECT_TRUE(recorder.calls.empty());
}

}  // namespace
}  // namespace base
