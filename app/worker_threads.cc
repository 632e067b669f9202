#include "app/worker_threads.h"

#include "runtime/at_exit.h"
#include "runtime/message_loop.h"

namespace app {
namespace {

void DeleteThread(void* thread) {
  delete static_cast<base::Thread*>(thread);
}

// Lazily made; the AtExitManager deletes it, last made first.
base::Thread* MakeThread(base::Thread** slot, const char* name) {
  if (!*slot) {
    *slot = new base::Thread(name);
    base::AtExitManager::RegisterCallback(&DeleteThread, *slot);
  }
  return *slot;
}

base::Thread* g_file_thread = nullptr;
base::Thread* g_io_thread = nullptr;

bool StartOne(base::Thread* thread, int loop_type, int slot) {
  if (!thread->IsRunning()) {
    if (!thread->StartWithOptions(base::Thread::Options(loop_type, 0))) return false;
  }
  base::SetThreadLoop(slot, thread->message_loop());
  return true;
}

}  // namespace

base::Thread* FileThread() {
  return MakeThread(&g_file_thread, "file_thread");
}
base::Thread* IoThread() {
  return MakeThread(&g_io_thread, "io_thread");
}

bool StartWorkerThreads() {
  const bool file_ok = StartOne(FileThread(), base::MessageLoop::TYPE_DEFAULT, base::kFileLoop);
  const bool io_ok = StartOne(IoThread(), base::MessageLoop::TYPE_IO, base::kIoLoop);
  return file_ok && io_ok;
}

void StopWorkerThreads() {
  IoThread()->Stop();
  FileThread()->Stop();
}

}  // namespace app
