// A named worker thread that runs its own MessageLoop.
//
//   base::Thread file_thread("file_thread");
//   base::Thread::Options options;  // default loop
//   if (file_thread.StartWithOptions(options))
//     base::SetThreadLoop(base::kFileLoop, file_thread.message_loop());
//   ...
//   file_thread.Stop();  // quits after the current task; queued tasks are dropped
#ifndef RUNTIME_THREAD_H_
#define RUNTIME_THREAD_H_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/lock.h"

namespace base {

class MessageLoop;
class WaitableEvent;

class Thread {
 public:
  struct Options {
    Options() : stack_size(0), message_loop_type(0) {}
    Options(int type, size_t size) : stack_size(size), message_loop_type(type) {}
    size_t stack_size;      // 0: the system default; otherwise reserved
    int message_loop_type;  // 0 default, 1 UI, 2 I/O
  };

  explicit Thread(const char* name);
  // Stops the thread if it still runs.
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts with a default loop.
  bool Start();
  // True once the thread runs and its loop exists; false (nothing changed) when the thread
  // could not be created or is already started.
  bool StartWithOptions(const Options& options);
  // Quits the loop and waits for the thread to end; harmless when not started or stopped.
  // Tasks still queued are dropped, cleanup tasks run. A stopped Thread can start again.
  void Stop();

  // The thread's loop while it runs, else null. Post to it only while the thread runs.
  MessageLoop* message_loop() const { return message_loop_.load(std::memory_order_acquire); }
  bool IsRunning() const { return running_.load(std::memory_order_acquire); }
  // Only while no name is set.
  void SetName(const std::string& name);
  const std::string& thread_name() const { return name_; }
  uint32_t thread_id() const { return thread_id_; }

 private:
  struct StartupData;
  static void ThreadMain(void* thread);
  void Run(StartupData* startup);

  std::atomic<MessageLoop*> message_loop_;
  uintptr_t thread_handle_;
  std::string name_;
  uint32_t thread_id_;
  bool started_;
  bool stopping_;
  std::atomic<bool> running_;
  StartupData* startup_data_;
  // Makes "post the quit" and "the thread lets go of its loop" exclusive, so Stop never posts
  // to a loop that is being destroyed.
  Lock loop_lock_;
};

}  // namespace base

#endif  // RUNTIME_THREAD_H_
