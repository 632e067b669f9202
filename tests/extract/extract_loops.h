// The threads the extraction step meets in the program: a "file_thread" registered as the file
// loop and a UI loop on the test thread registered as the UI loop.
#ifndef PINDLE_TESTS_EXTRACT_EXTRACT_LOOPS_H_
#define PINDLE_TESTS_EXTRACT_EXTRACT_LOOPS_H_

#include <memory>

#include "runtime/message_loop.h"
#include "runtime/thread.h"

namespace extract_test {

class ExtractLoops {
 public:
  ExtractLoops() : file_("file_thread") {
    started_ = file_.Start();
    base::SetThreadLoop(base::kFileLoop, file_.message_loop());
#ifdef _WIN32
    ui_.reset(new base::MessageLoop(base::MessageLoop::TYPE_UI));
#else
    ui_.reset(new base::MessageLoop(base::MessageLoop::TYPE_DEFAULT));
#endif
    base::SetThreadLoop(base::kUiLoop, ui_.get());
  }
  ~ExtractLoops() {
    base::SetThreadLoop(base::kFileLoop, nullptr);
    file_.Stop();
    base::SetThreadLoop(base::kUiLoop, nullptr);
    ui_.reset();
  }
  ExtractLoops(const ExtractLoops&) = delete;
  ExtractLoops& operator=(const ExtractLoops&) = delete;

  bool started() const {
    return started_;
  }

  // Runs the UI loop on this thread until a task quits it (true) or `limit_seconds` pass
  // (false). A loop runs once.
  bool RunUiUntilQuit(int limit_seconds) {
    ui_->PostDelayedTask(base::NewFunctionTask(&TimeOut, this), static_cast<int64_t>(limit_seconds) * 1000000);
    ui_->Run();
    return !timed_out_;
  }

  // For a task on the UI loop: ends RunUiUntilQuit.
  static void QuitUi() {
    base::MessageLoop::current()->Quit();
  }

 private:
  static void TimeOut(ExtractLoops* loops) {
    loops->timed_out_ = true;
    QuitUi();
  }

  base::Thread file_;
  std::unique_ptr<base::MessageLoop> ui_;
  bool started_ = false;
  bool timed_out_ = false;
};

}  // namespace extract_test

#endif  // PINDLE_TESTS_EXTRACT_EXTRACT_LOOPS_H_
