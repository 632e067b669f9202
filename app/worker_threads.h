// The process's named worker threads, made on first use and deleted by the AtExitManager:
// "file_thread" (default loop, kFileLoop) and "io_thread" (I/O loop, kIoLoop).
#ifndef APP_WORKER_THREADS_H_
#define APP_WORKER_THREADS_H_

#include "runtime/thread.h"

namespace app {

base::Thread* FileThread();
base::Thread* IoThread();

// Starts "file_thread", then "io_thread", unless running, and registers their loops in their
// slots. Each start returns once the thread's loop exists. False when a thread could not be
// created (its slot then stays empty and posts to it are dropped).
bool StartWorkerThreads();

// Stops "io_thread", then "file_thread" (each: quit its loop, wait for the thread to end).
void StopWorkerThreads();

}  // namespace app

#endif  // APP_WORKER_THREADS_H_
