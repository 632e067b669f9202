#include "runtime/pending_task.h"

#include <utility>

namespace base {

PendingTask::PendingTask(Task* task, TimeTicks run_time) : delayed_run_time(run_time), sequence_num(0), task_(task) {
  if (task_) task_->AddRef();
}

PendingTask::PendingTask(const PendingTask& other)
    : delayed_run_time(other.delayed_run_time), sequence_num(other.sequence_num), task_(other.task_) {
  if (task_) task_->AddRef();
}

// A move hands the reference over instead of taking a new one.
PendingTask::PendingTask(PendingTask&& other) noexcept
    : delayed_run_time(other.delayed_run_time), sequence_num(other.sequence_num), task_(other.task_) {
  other.task_ = nullptr;
}

PendingTask& PendingTask::operator=(const PendingTask& other) {
  if (this != &other) {
    if (other.task_) other.task_->AddRef();
    if (task_) task_->Release();
    task_ = other.task_;
    delayed_run_time = other.delayed_run_time;
    sequence_num = other.sequence_num;
  }
  return *this;
}

PendingTask& PendingTask::operator=(PendingTask&& other) noexcept {
  if (this != &other) {
    if (task_) task_->Release();
    task_ = other.task_;
    other.task_ = nullptr;
    delayed_run_time = other.delayed_run_time;
    sequence_num = other.sequence_num;
  }
  return *this;
}

PendingTask::~PendingTask() {
  if (task_) task_->Release();
}

bool PendingTask::operator<(const PendingTask& other) const {
  if (delayed_run_time > other.delayed_run_time) return true;
  if (delayed_run_time < other.delayed_run_time) return false;
  // Sequence numbers may wrap after 2^32 posts: compare by distance so ordering between
  // neighbours stays correct across the wrap.
  return static_cast<int32_t>(sequence_num - other.sequence_num) > 0;
}

}  // namespace base
