#include "runtime/thread.h"

#include "runtime/message_loop.h"
#include "runtime/platform_thread.h"
#include "runtime/waitable_event.h"

namespace base {

// What the starting thread hands to the new one; lives on the starter's stack until the new
// thread signals that its loop exists.
struct Thread::StartupData {
  explicit StartupData(const Options& opts) : options(opts), event(false, false) {}
  Options options;
  WaitableEvent event;
};

Thread::Thread(const char* name)
    : message_loop_(nullptr),
      thread_handle_(0),
      name_(name ? name : ""),
      thread_id_(0),
      started_(false),
      stopping_(false),
      running_(false),
      startup_data_(nullptr) {}

Thread::~Thread() {
  Stop();
}

bool Thread::Start() {
  return StartWithOptions(Options());
}

bool Thread::StartWithOptions(const Options& options) {
  if (started_) return false;
  StartupData startup(options);
  startup_data_ = &startup;
  PlatformThreadHandle handle = 0;
  if (!CreatePlatformThread(options.stack_size, &Thread::ThreadMain, this, &handle)) {
    startup_data_ = nullptr;
    return false;
  }
  thread_handle_ = handle;
  startup.event.Wait();
  startup_data_ = nullptr;
  started_ = true;
  return true;
}

void Thread::Stop() {
  if (!started_ || stopping_) return;
  // Waiting for ourselves would never end.
  if (thread_id_ == CurrentPlatformThreadId()) return;
  stopping_ = true;
  {
    AutoLock hold(loop_lock_);
    if (MessageLoop* loop = message_loop_.load(std::memory_order_acquire)) loop->PostQuit();
  }
  // Joined even when the loop has already gone (something quit it from inside): the thread is
  // ending anyway, and its handle must be released for a later start.
  JoinPlatformThread(thread_handle_);
  thread_handle_ = 0;
  started_ = false;
  stopping_ = false;
}

void Thread::SetName(const std::string& name) {
  if (name_.empty()) name_ = name;
}

void Thread::ThreadMain(void* thread) {
  Thread* self = static_cast<Thread*>(thread);
  self->Run(self->startup_data_);
}

void Thread::Run(StartupData* startup) {
  {
    MessageLoop loop(startup->options.message_loop_type);
    thread_id_ = CurrentPlatformThreadId();
    loop.set_thread_name(name_);
    message_loop_.store(&loop, std::memory_order_release);
    running_.store(true, std::memory_order_release);
    startup->event.Signal();  // `startup` may be gone from here on

    loop.Run();

    running_.store(false, std::memory_order_release);
    AutoLock hold(loop_lock_);
    message_loop_.store(nullptr, std::memory_order_release);
  }  // the loop is destroyed here: queued tasks dropped, cleanup tasks run
}

}  // namespace base
