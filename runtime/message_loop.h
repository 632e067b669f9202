// A thread's queue of tasks. Any thread may post; the owning thread runs the tasks in order.
//
//   base::MessageLoop* ui = base::GetThreadLoop(base::kUiLoop);
//   if (ui) ui->PostTask(base::NewMethodTask(new base::UnretainedWrapper<Foo>(foo), &Foo::Bar));
//   MessageLoop::current()->PostDelayedTask(task, 200000);  // microseconds
#ifndef RUNTIME_MESSAGE_LOOP_H_
#define RUNTIME_MESSAGE_LOOP_H_

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "runtime/lock.h"
#include "runtime/message_pump.h"
#include "runtime/observer_list.h"
#include "runtime/pending_task.h"
#include "runtime/task.h"
#include "runtime/time_ticks.h"

namespace base {

// The process-wide table of well-known loops.
enum LoopSlot { kUiLoop = 0, kIoLoop = 1, kFileLoop = 2 };
const int kLoopSlotCount = 3;

class MessageLoop;
// Any thread. An unknown slot is ignored / gives null.
void SetThreadLoop(int slot, MessageLoop* loop);
MessageLoop* GetThreadLoop(int slot);

class MessageLoop : public MessagePump::Delegate {
 public:
  enum Type { TYPE_DEFAULT = 0, TYPE_UI = 1, TYPE_IO = 2 };

  class DestructionObserver {
   public:
    virtual void WillDestroyCurrentMessageLoop() = 0;

   protected:
    virtual ~DestructionObserver() {}
  };

  // The nested loop modal dialogs run on the main thread (Windows only; see layer_loop.h).
  class LayerLoop;

  // Must be made on the thread that will run it; becomes that thread's current loop. A type
  // this platform has no pump for gives a loop that cannot run.
  explicit MessageLoop(int type = TYPE_DEFAULT);
  // Uses `pump` (taken over) instead of the type's own pump.
  MessageLoop(int type, MessagePump* pump);
  // Drops queued tasks, tells the destruction observers, then runs the cleanup tasks.
  ~MessageLoop() override;
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  // The calling thread's loop, or null.
  static MessageLoop* current();

  // Any thread; the loop takes the task over. A delay of zero means "as soon as possible".
  void PostTask(Task* task);
  void PostDelayedTask(Task* task, TimeDelta delay);
  void PostDelayedTask(Task* task, int64_t delay_microseconds);
  // Runs only when the loop is destroyed, in posting order. Does not wake the loop.
  void PostCleanupTask(Task* task);

  // Runs the pump until Quit. Once per loop, on its thread.
  void Run();
  // Stops the pump after its current step. Only on the loop's thread.
  void Quit();
  // Posts a task that calls Quit: how another thread stops this loop.
  void PostQuit();

  // Set once; later calls are ignored while a name is set.
  void set_thread_name(const std::string& name);
  const std::string& thread_name() const { return thread_name_; }
  int type() const { return type_; }
  bool running() const { return running_; }
  MessagePump* pump() const { return pump_; }

  void AddDestructionObserver(DestructionObserver* observer);
  void RemoveDestructionObserver(DestructionObserver* observer);

  // MessagePump::Delegate (called by the pump on this loop's thread).
  bool DoWork() override;
  bool DoDelayedWork(TimeTicks* next_delayed_work_time) override;
  bool DoIdleWork() override;

 private:
  typedef std::deque<PendingTask> TaskQueue;

  void Init();
  void ReloadWorkQueue();
  void DropWorkAndDelayedQueues();
  void RunCleanupTasks();
  void AddToDelayedWorkQueue(PendingTask pending);

  bool running_;
  std::string thread_name_;
  int type_;
  MessagePump* pump_;
  ObserverListBase<DestructionObserver> destruction_observers_;
  TaskQueue incoming_queue_;
  uint32_t incoming_sequence_;
  TaskQueue work_queue_;
  TaskQueue cleanup_queue_;
  uint32_t cleanup_sequence_;
  std::vector<PendingTask> delayed_work_queue_;  // a heap: front() is taken first
  Lock lock_;                                    // guards the incoming and cleanup queues and `state_`
  // Destruction refuses new tasks once it has dropped the queues, and new cleanup tasks once
  // it has run them.
  enum State { kAcceptingTasks, kAcceptingCleanupOnly, kClosed } state_;
  TimeTicks recent_time_;
};

}  // namespace base

#endif  // RUNTIME_MESSAGE_LOOP_H_
