#include "runtime/at_exit.h"

#include <atomic>

namespace base {

namespace {

std::atomic<AtExitManager*> g_manager(nullptr);

}  // namespace

AtExitManager::AtExitManager() : previous_(g_manager.load()) {
  g_manager.store(this);
}

AtExitManager::~AtExitManager() {
  ProcessCallbacksNow();
  g_manager.store(previous_);
}

bool AtExitManager::RegisterCallback(AtExitCallbackType function, void* argument) {
  AtExitManager* manager = g_manager.load();
  if (!manager || !function) return false;
  AutoLock hold(manager->lock_);
  manager->stack_.push_back(std::make_pair(function, argument));
  return true;
}

void AtExitManager::ProcessCallbacksNow() {
  AtExitManager* manager = g_manager.load();
  if (!manager) return;
  // Each callback is taken off under the lock but run outside it: a deleter that stops a worker
  // thread waits for that thread, which may itself be registering a callback at that moment.
  for (;;) {
    std::pair<AtExitCallbackType, void*> callback;
    {
      AutoLock hold(manager->lock_);
      if (manager->stack_.empty()) return;
      callback = manager->stack_.back();
      manager->stack_.pop_back();
    }
    callback.first(callback.second);
  }
}

}  // namespace base
