#include "test_loops.h"

#include "runtime/obj_wrapper.h"
#include "runtime/task.h"
#include "runtime/time_ticks.h"

uint32_t NowMs() {
  return base::SystemMillisecondCounter();
}

class TestLoops::Poller {
 public:
  Poller(base::MessageLoop* loop, const std::function<bool()>& done, int64_t timeout_ms)
      : loop_(loop), done_(done), deadline_(NowMs() + static_cast<uint32_t>(timeout_ms)) {}

  void Check() {
    if (done_()) {
      met_ = true;
      loop_->Quit();
      return;
    }
    if (static_cast<int32_t>(NowMs() - deadline_) >= 0) {
      loop_->Quit();
      return;
    }
    loop_->PostDelayedTask(base::NewMethodTask(new base::UnretainedWrapper<Poller>(this), &Poller::Check), 10000);
  }
  bool met() const { return met_; }

 private:
  base::MessageLoop* loop_;
  std::function<bool()> done_;
  uint32_t deadline_;
  bool met_ = false;
};

TestLoops::TestLoops()
    : ui_(new base::MessageLoop(base::MessageLoop::TYPE_UI)),
      io_thread_("io_thread"),
      file_thread_("file_thread"),
      ok_(false) {
  ui_->set_thread_name("ui_thread");
  base::SetThreadLoop(base::kUiLoop, ui_.get());
  base::Thread::Options io_options(base::MessageLoop::TYPE_IO, 0);
  if (!io_thread_.StartWithOptions(io_options) || !file_thread_.Start()) return;
  base::SetThreadLoop(base::kIoLoop, io_thread_.message_loop());
  base::SetThreadLoop(base::kFileLoop, file_thread_.message_loop());
  ok_ = true;
}

TestLoops::~TestLoops() {
  io_thread_.Stop();
  base::SetThreadLoop(base::kIoLoop, nullptr);
  file_thread_.Stop();
  base::SetThreadLoop(base::kFileLoop, nullptr);
  ui_.reset();
  base::SetThreadLoop(base::kUiLoop, nullptr);
}

bool TestLoops::RunUntil(const std::function<bool()>& done, int64_t timeout_ms) {
  Poller poller(ui_.get(), done, timeout_ms);
  ui_->PostTask(base::NewMethodTask(new base::UnretainedWrapper<Poller>(&poller), &Poller::Check));
  ui_->Run();
  return poller.met();
}
