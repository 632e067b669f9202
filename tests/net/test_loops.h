// The installer's loops for one test: the UI loop on the test's thread, "io_thread" with the
// I/O completion pump and "file_thread", registered in their slots as the program does.
#ifndef TESTS_NET_TEST_LOOPS_H_
#define TESTS_NET_TEST_LOOPS_H_

#include <cstdint>
#include <functional>
#include <memory>

#include "runtime/message_loop.h"
#include "runtime/thread.h"

class TestLoops {
 public:
  TestLoops();
  // Stops "io_thread" and "file_thread" in this order, then destroys the UI loop.
  ~TestLoops();
  TestLoops(const TestLoops&) = delete;
  TestLoops& operator=(const TestLoops&) = delete;

  bool ok() const { return ok_; }
  base::MessageLoop* ui() const { return ui_.get(); }

  // Runs the UI loop until `done` is true (checked every 10 ms on the UI loop) or `timeout_ms`
  // has passed; true when `done` was met. A loop runs only once, so call this once per test.
  bool RunUntil(const std::function<bool()>& done, int64_t timeout_ms);

 private:
  class Poller;

  std::unique_ptr<base::MessageLoop> ui_;
  base::Thread io_thread_;
  base::Thread file_thread_;
  bool ok_;
};

// Milliseconds on the program's clock.
uint32_t NowMs();

#endif  // TESTS_NET_TEST_LOOPS_H_
