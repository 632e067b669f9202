// One entry of a message loop's queues.
#ifndef RUNTIME_PENDING_TASK_H_
#define RUNTIME_PENDING_TASK_H_

#include <cstdint>

#include "runtime/task.h"
#include "runtime/time_ticks.h"

namespace base {

// Holds one reference on its task: copying an entry adds one, destroying it drops one.
class PendingTask {
 public:
  PendingTask(Task* task, TimeTicks delayed_run_time);
  PendingTask(const PendingTask& other);
  PendingTask(PendingTask&& other) noexcept;
  PendingTask& operator=(const PendingTask& other);
  PendingTask& operator=(PendingTask&& other) noexcept;
  ~PendingTask();

  // Heap order: true when this entry is taken later than `other`: a later run time, or the same
  // run time and a larger sequence number (so equal times run in posting order).
  bool operator<(const PendingTask& other) const;

  Task* task() const { return task_; }
  TimeTicks delayed_run_time;  // null for an immediate task
  uint32_t sequence_num;

 private:
  Task* task_;
};

}  // namespace base

#endif  // RUNTIME_PENDING_TASK_H_
