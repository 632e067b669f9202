// A pump that only records what the loop asks of it; tests drive the loop's delegate
// operations by hand.
#ifndef TESTS_RUNTIME_RECORDING_PUMP_H_
#define TESTS_RUNTIME_RECORDING_PUMP_H_

#include <atomic>
#include <vector>

#include "runtime/message_pump.h"

namespace base {
namespace testing {

class RecordingPump : public MessagePump {
 public:
  struct Log {
    std::atomic<int> schedule_work{0};
    std::vector<TimeTicks> delayed;  // every ScheduleDelayedWork time, in order
    bool quit = false;
    bool destroyed = false;
  };

  explicit RecordingPump(Log* log) : log_(log) {}
  ~RecordingPump() override { log_->destroyed = true; }

  void Run(Delegate*) override {}
  void Quit() override { log_->quit = true; }
  void ScheduleWork() override { ++log_->schedule_work; }
  void ScheduleDelayedWork(const TimeTicks& time) override { log_->delayed.push_back(time); }

 private:
  Log* log_;
};

}  // namespace testing
}  // namespace base

#endif  // TESTS_RUNTIME_RECORDING_PUMP_H_
