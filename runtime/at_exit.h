// Callbacks run when the program's AtExitManager goes away, last registered first. Lazily made
// process-wide objects register their deleter on first use.
#ifndef RUNTIME_AT_EXIT_H_
#define RUNTIME_AT_EXIT_H_

#include <utility>
#include <vector>

#include "runtime/lock.h"

namespace base {

class AtExitManager {
 public:
  typedef void (*AtExitCallbackType)(void* argument);

  // Made first in the entry function. A manager made while another exists takes over until it
  // is destroyed (tests).
  AtExitManager();
  // Runs the callbacks.
  ~AtExitManager();
  AtExitManager(const AtExitManager&) = delete;
  AtExitManager& operator=(const AtExitManager&) = delete;

  // Any thread. False (nothing registered) when no manager exists.
  static bool RegisterCallback(AtExitCallbackType function, void* argument);
  // Runs and forgets every callback, last registered first.
  static void ProcessCallbacksNow();

 private:
  Lock lock_;
  std::vector<std::pair<AtExitCallbackType, void*>> stack_;
  AtExitManager* previous_;
};

}  // namespace base

#endif  // RUNTIME_AT_EXIT_H_
