#include "runtime/message_loop.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace base {

namespace {

thread_local MessageLoop* g_current_loop = nullptr;

std::atomic<MessageLoop*> g_loop_slots[kLoopSlotCount];

bool ValidSlot(int slot) {
  return slot >= 0 && slot < kLoopSlotCount;
}

// Heap order for std::push_heap / pop_heap: the entry taken first ends up at the front.
bool TakenLater(const PendingTask& a, const PendingTask& b) {
  return a < b;
}

}  // namespace

void SetThreadLoop(int slot, MessageLoop* loop) {
  if (ValidSlot(slot)) g_loop_slots[slot].store(loop, std::memory_order_release);
}

MessageLoop* GetThreadLoop(int slot) {
  return ValidSlot(slot) ? g_loop_slots[slot].load(std::memory_order_acquire) : nullptr;
}

MessageLoop::MessageLoop(int type) : MessageLoop(type, CreateMessagePumpForType(type)) {}

MessageLoop::MessageLoop(int type, MessagePump* pump)
    : running_(false), type_(type), pump_(pump), incoming_sequence_(0), cleanup_sequence_(0), state_(kAcceptingTasks) {
  g_current_loop = this;
}

MessageLoop::~MessageLoop() {
  // Queued work is released without running; releasing may destroy targets whose destructors
  // post again, so collect those too and then refuse further posts.
  DropWorkAndDelayedQueues();
  ReloadWorkQueue();
  DropWorkAndDelayedQueues();
  TaskQueue late;
  {
    AutoLock hold(lock_);
    state_ = kAcceptingCleanupOnly;
    late.swap(incoming_queue_);
  }
  late.clear();

  {
    ObserverListBase<DestructionObserver>::Iterator it(destruction_observers_);
    while (DestructionObserver* observer = it.GetNext()) observer->WillDestroyCurrentMessageLoop();
  }

  if (g_current_loop == this) g_current_loop = nullptr;
  // A slot must not keep pointing at a destroyed loop: a later post through it would touch
  // freed memory, while an empty slot simply drops the task.
  for (int slot = 0; slot < kLoopSlotCount; ++slot) {
    MessageLoop* expected = this;
    g_loop_slots[slot].compare_exchange_strong(expected, nullptr);
  }

  RunCleanupTasks();

  delete pump_;
  pump_ = nullptr;
}

MessageLoop* MessageLoop::current() {
  return g_current_loop;
}

void MessageLoop::PostTask(Task* task) {
  PostDelayedTask(task, TimeDelta());
}

void MessageLoop::PostDelayedTask(Task* task, int64_t delay_microseconds) {
  PostDelayedTask(task, TimeDelta::FromMicroseconds(delay_microseconds));
}

void MessageLoop::PostDelayedTask(Task* task, TimeDelta delay) {
  if (!task) return;
  PendingTask pending(task, delay.is_zero() ? TimeTicks() : TimeTicks::Now() + delay);
  {
    AutoLock hold(lock_);
    if (state_ != kAcceptingTasks) return;  // `pending` drops the task once the lock is free
    pending.sequence_num = ++incoming_sequence_;
    incoming_queue_.push_back(std::move(pending));
  }
  // Delayed tasks wake the loop too: its thread moves them into the delayed queue.
  if (pump_) pump_->ScheduleWork();
}

void MessageLoop::PostCleanupTask(Task* task) {
  if (!task) return;
  PendingTask pending(task, TimeTicks());
  AutoLock hold(lock_);
  if (state_ == kClosed) return;
  pending.sequence_num = ++cleanup_sequence_;
  cleanup_queue_.push_back(std::move(pending));
}

void MessageLoop::Run() {
  if (!pump_) return;
  running_ = true;
  pump_->Run(this);
  running_ = false;
}

void MessageLoop::Quit() {
  if (pump_) pump_->Quit();
}

void MessageLoop::PostQuit() {
  PostTask(NewMethodTask(new UnretainedWrapper<MessageLoop>(this), &MessageLoop::Quit));
}

void MessageLoop::set_thread_name(const std::string& name) {
  if (thread_name_.empty()) thread_name_ = name;
}

void MessageLoop::AddDestructionObserver(DestructionObserver* observer) {
  destruction_observers_.AddObserver(observer);
}

void MessageLoop::RemoveDestructionObserver(DestructionObserver* observer) {
  destruction_observers_.RemoveObserver(observer);
}

void MessageLoop::ReloadWorkQueue() {
  if (!work_queue_.empty()) return;
  AutoLock hold(lock_);
  if (!incoming_queue_.empty()) incoming_queue_.swap(work_queue_);
}

void MessageLoop::AddToDelayedWorkQueue(PendingTask pending) {
  delayed_work_queue_.push_back(std::move(pending));
  std::push_heap(delayed_work_queue_.begin(), delayed_work_queue_.end(), TakenLater);
}

bool MessageLoop::DoWork() {
  for (;;) {
    ReloadWorkQueue();
    if (work_queue_.empty()) return false;
    do {
      PendingTask pending = std::move(work_queue_.front());
      work_queue_.pop_front();
      if (pending.delayed_run_time.is_null()) {
        // One immediate task per call, so the pump gets back to its own events in between.
        pending.task()->Run();
        return true;
      }
      const Task* task = pending.task();
      const TimeTicks run_time = pending.delayed_run_time;
      AddToDelayedWorkQueue(std::move(pending));
      if (delayed_work_queue_.front().task() == task && pump_) pump_->ScheduleDelayedWork(run_time);
    } while (!work_queue_.empty());
  }
}

bool MessageLoop::DoDelayedWork(TimeTicks* next_delayed_work_time) {
  if (delayed_work_queue_.empty()) {
    *next_delayed_work_time = TimeTicks();
    recent_time_ = TimeTicks();
    return false;
  }
  const TimeTicks next_run_time = delayed_work_queue_.front().delayed_run_time;
  if (next_run_time > recent_time_) {
    recent_time_ = TimeTicks::Now();
    if (next_run_time > recent_time_) {
      *next_delayed_work_time = next_run_time;
      return false;
    }
  }
  std::pop_heap(delayed_work_queue_.begin(), delayed_work_queue_.end(), TakenLater);
  PendingTask pending = std::move(delayed_work_queue_.back());
  delayed_work_queue_.pop_back();
  if (!delayed_work_queue_.empty()) *next_delayed_work_time = delayed_work_queue_.front().delayed_run_time;
  pending.task()->Run();
  return true;
}

bool MessageLoop::DoIdleWork() {
  return false;
}

void MessageLoop::DropWorkAndDelayedQueues() {
  // Move the entries out first: a target's destructor run by the release may post to this loop.
  TaskQueue work;
  work.swap(work_queue_);
  work.clear();
  std::vector<PendingTask> delayed;
  delayed.swap(delayed_work_queue_);
  delayed.clear();
}

void MessageLoop::RunCleanupTasks() {
  // Cleanup tasks may queue further cleanup tasks; those run too, after them.
  for (;;) {
    TaskQueue batch;
    {
      AutoLock hold(lock_);
      if (cleanup_queue_.empty()) {
        state_ = kClosed;
        return;
      }
      batch.swap(cleanup_queue_);
    }
    while (!batch.empty()) {
      PendingTask pending = std::move(batch.front());
      batch.pop_front();
      pending.task()->Run();
    }
  }
}

}  // namespace base
