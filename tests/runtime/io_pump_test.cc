// The I/O pump on a real "io_thread": packets posted to its completion port and a real named
// pipe whose operations complete through it.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/message_loop.h"
#include "runtime/message_pump_win.h"
#include "runtime/thread.h"
#include "runtime/waitable_event.h"

namespace base {
namespace {

class Handler : public MessagePumpForIO::IOHandler {
 public:
  struct Completion {
    OVERLAPPED* context;
    DWORD bytes;
    DWORD error;
    DWORD thread;
  };
  void OnIOCompleted(OVERLAPPED* context, DWORD bytes_transferred, DWORD error) override {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      completions_.push_back(Completion{context, bytes_transferred, error, GetCurrentThreadId()});
    }
    arrived_.Signal();
  }
  // Waits for the next completion; false after 10 s without one.
  bool Next(Completion* out) {
    for (;;) {
      {
        std::lock_guard<std::mutex> hold(mutex_);
        if (taken_ < completions_.size()) {
          *out = completions_[taken_++];
          return true;
        }
      }
      if (!arrived_.TimedWait(10000)) return false;
    }
  }

 private:
  std::mutex mutex_;
  std::vector<Completion> completions_;
  size_t taken_ = 0;
  WaitableEvent arrived_{false, false};
};

class IoPumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(thread_.StartWithOptions(Thread::Options(MessageLoop::TYPE_IO, 0)));
    MessagePumpWin* pump = dynamic_cast<MessagePumpWin*>(thread_.message_loop()->pump());
    ASSERT_TRUE(pump);
    port_ = pump->port();
    ASSERT_TRUE(port_);
  }
  void TearDown() override { thread_.Stop(); }

  Thread thread_{"io_thread"};
  HANDLE port_ = nullptr;
  Handler handler_;
};

TEST_F(IoPumpTest, PostedPacketsReachTheirHandlerOnTheIoThread) {
  OVERLAPPED contexts[2] = {};
  const ULONG_PTR key = reinterpret_cast<ULONG_PTR>(static_cast<MessagePumpForIO::IOHandler*>(&handler_));
  ASSERT_TRUE(PostQueuedCompletionStatus(port_, 123, key, &contexts[0]));
  // The lowest key bit marks a packet without a valid I/O context; the handler is the same.
  ASSERT_TRUE(PostQueuedCompletionStatus(port_, 7, key | 1, &contexts[1]));

  for (int i = 0; i < 2; ++i) {
    Handler::Completion c;
    ASSERT_TRUE(handler_.Next(&c));
    EXPECT_EQ(&contexts[i], c.context);
    EXPECT_EQ(i == 0 ? 123u : 7u, c.bytes);
    EXPECT_EQ(0u, c.error);
    EXPECT_EQ(thread_.thread_id(), c.thread);
  }
}

class Notes {
 public:
  void Signal(WaitableEvent* event) { event->Signal(); }
};

TEST_F(IoPumpTest, TasksAndDelayedTasksRunBetweenCompletions) {
  Notes notes;
  WaitableEvent immediate(false, false), delayed(false, false);
  const TimeTicks posted = TimeTicks::Now();
  thread_.message_loop()->PostDelayedTask(NewMethodTask(new UnretainedWrapper<Notes>(&notes), &Notes::Signal, &delayed),
                                          TimeDelta::FromMilliseconds(100));
  thread_.message_loop()->PostTask(NewMethodTask(new UnretainedWrapper<Notes>(&notes), &Notes::Signal, &immediate));
  EXPECT_TRUE(immediate.TimedWait(10000));
  EXPECT_TRUE(delayed.TimedWait(10000));
  EXPECT_GE((TimeTicks::Now() - posted).InMicroseconds(), 100000);
}

TEST_F(IoPumpTest, PipeOperationsCompleteThroughThePortAndAFailureCarriesItsError) {
  const std::wstring name = L"\\\\.\\pipe\\pindle_runtime_io_" + std::to_wstring(GetCurrentProcessId());
  HANDLE server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE, 1, 0, 4096,
                                   0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, server);
  HANDLE client = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, client);
  ASSERT_EQ(port_,
            CreateIoCompletionPort(
                server, port_, reinterpret_cast<ULONG_PTR>(static_cast<MessagePumpForIO::IOHandler*>(&handler_)), 0));

  char buffer[64];
  OVERLAPPED read = {};
  BOOL started = ReadFile(server, buffer, sizeof(buffer), nullptr, &read);
  ASSERT_TRUE(started || GetLastError() == ERROR_IO_PENDING);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(client, "hello", 5, &written, nullptr));
  Handler::Completion c;
  ASSERT_TRUE(handler_.Next(&c));
  EXPECT_EQ(&read, c.context);
  EXPECT_EQ(5u, c.bytes);
  EXPECT_EQ(0u, c.error);
  EXPECT_EQ(0, memcmp(buffer, "hello", 5));

  OVERLAPPED second = {};
  started = ReadFile(server, buffer, sizeof(buffer), nullptr, &second);
  ASSERT_TRUE(!started && GetLastError() == ERROR_IO_PENDING);
  CloseHandle(client);  // the pending read fails: its packet still arrives, with the error
  ASSERT_TRUE(handler_.Next(&c));
  EXPECT_EQ(&second, c.context);
  EXPECT_EQ(0u, c.bytes);
  EXPECT_EQ(static_cast<DWORD>(ERROR_BROKEN_PIPE), c.error);
  CloseHandle(server);
}

}  // namespace
}  // namespace base
