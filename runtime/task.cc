#include "runtime/task.h"

namespace base {

Task::Task(ExecDelegate<void>* bound_method, ExecDelegate<void>* bound_function)
    : ref_count_(0), bound_function_(bound_function), bound_method_(bound_method) {}

Task::~Task() {
  if (bound_method_) bound_method_->DropUse();
  if (bound_function_) bound_function_->DropUse();
}

void Task::AddRef() {
  ref_count_.fetch_add(1, std::memory_order_relaxed);
}

void Task::Release() {
  if (ref_count_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

void Task::Run() {
  if (bound_method_)
    bound_method_->Exec();
  else if (bound_function_)
    bound_function_->Exec();
}

void Task::Drop(Task* task) {
  if (!task) return;
  task->AddRef();
  task->Release();
}

}  // namespace base
