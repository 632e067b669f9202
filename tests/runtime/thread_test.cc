// Real worker threads running real default loops.
#include "runtime/thread.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/message_loop.h"
#include "runtime/ref_counted.h"
#include "runtime/waitable_event.h"

namespace base {
namespace {

// Collects what tasks saw, from whichever thread they ran on.
class Sink {
 public:
  void Add(int value) {
    std::lock_guard<std::mutex> hold(mutex_);
    values_.push_back(value);
  }
  void AddAndSignal(int value, WaitableEvent* done) {
    Add(value);
    done->Signal();
  }
  void RecordCurrentLoop(MessageLoop** out, WaitableEvent* done) {
    *out = MessageLoop::current();
    done->Signal();
  }
  void Block(WaitableEvent* release) { release->Wait(); }
  void QuitCurrentLoop() { MessageLoop::current()->Quit(); }
  std::vector<int> values() {
    std::lock_guard<std::mutex> hold(mutex_);
    return values_;
  }

 private:
  std::mutex mutex_;
  std::vector<int> values_;
};

Task* AddTask(Sink* sink, int value) {
  return NewMethodTask(new UnretainedWrapper<Sink>(sink), &Sink::Add, value);
}

Task* SignalTask(Sink* sink, int value, WaitableEvent* done) {
  return NewMethodTask(new UnretainedWrapper<Sink>(sink), &Sink::AddAndSignal, value, done);
}

TEST(ThreadTest, StartGivesARunningNamedLoopAndStopEndsIt) {
  Thread thread("file_thread");
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(nullptr, thread.message_loop());
  ASSERT_TRUE(thread.StartWithOptions(Thread::Options(0, 256 * 1024)));
  EXPECT_FALSE(thread.StartWithOptions(Thread::Options()));  // already started
  ASSERT_NE(nullptr, thread.message_loop());
  EXPECT_TRUE(thread.IsRunning());
  EXPECT_EQ("file_thread", thread.message_loop()->thread_name());

  Sink sink;
  MessageLoop* seen = nullptr;
  WaitableEvent done(false, false);
  thread.message_loop()->PostTask(
      NewMethodTask(new UnretainedWrapper<Sink>(&sink), &Sink::RecordCurrentLoop, &seen, &done));
  done.Wait();
  EXPECT_EQ(thread.message_loop(), seen);

  thread.Stop();
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(nullptr, thread.message_loop());
}

TEST(ThreadTest, StopIsHarmlessWhenNeverStartedOrRepeatedAndAThreadCanRestart) {
  Thread never("never");
  never.Stop();
  never.Stop();

  Thread thread("worker");
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(thread.Start()) << round;
    Sink sink;
    WaitableEvent done(false, false);
    thread.message_loop()->PostTask(SignalTask(&sink, round, &done));
    done.Wait();
    thread.Stop();
    thread.Stop();
    EXPECT_EQ(std::vector<int>{round}, sink.values());
  }
}

TEST(ThreadTest, StopAfterTheLoopQuitItselfReleasesTheThread) {
  Thread thread("self_quitting");
  ASSERT_TRUE(thread.Start());
  Sink sink;
  thread.message_loop()->PostTask(NewMethodTask(new UnretainedWrapper<Sink>(&sink), &Sink::QuitCurrentLoop));
  while (thread.IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  thread.Stop();
  // It can start again, which needs the old thread joined and forgotten.
  ASSERT_TRUE(thread.Start());
  WaitableEvent done(false, false);
  thread.message_loop()->PostTask(SignalTask(&sink, 1, &done));
  done.Wait();
  thread.Stop();
}

class Counted : public RefCountedThreadSafe<Counted> {
 public:
  explicit Counted(std::atomic<int>* freed) : freed_(freed) {}
  void Run() { ++runs; }
  std::atomic<int> runs{0};

 private:
  friend struct DefaultRefCountedThreadSafeTraits<Counted>;
  ~Counted() { ++*freed_; }
  std::atomic<int>* freed_;
};

TEST(ThreadTest, TasksQueuedBehindTheQuitAreDroppedAndReleaseTheirTargets) {
  Thread thread("stopping");
  ASSERT_TRUE(thread.Start());
  MessageLoop* loop = thread.message_loop();
  Sink sink;
  WaitableEvent release(false, false);
  loop->PostTask(NewMethodTask(new UnretainedWrapper<Sink>(&sink), &Sink::Block, &release));
  std::atomic<int> freed(0);
  Counted* target = new Counted(&freed);
  target->AddRef();
  loop->PostCleanupTask(AddTask(&sink, 99));

  std::thread stopper([&thread] { thread.Stop(); });  // posts the quit behind the blocker
  // Give Stop a moment to post; the tasks below land behind the quit either way once it has,
  // and are dropped with the loop if they do not run before it.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  loop->PostDelayedTask(NewMethodTask(new NormalWrapper<Counted>(target), &Counted::Run), TimeDelta::FromSeconds(30));
  release.Signal();
  stopper.join();

  EXPECT_EQ(0, target->runs.load());
  EXPECT_TRUE(target->HasOneRef());  // the dropped task let go of its reference
  target->Release();
  EXPECT_EQ(1, freed.load());
  EXPECT_EQ(std::vector<int>{99}, sink.values());  // the cleanup task ran
}

TEST(ThreadTest, TasksFromSeveralThreadsKeepEachPostersOrder) {
  Thread thread("target");
  ASSERT_TRUE(thread.Start());
  MessageLoop* loop = thread.message_loop();
  Sink sink;
  const int kPerPoster = 2000;
  std::vector<std::thread> posters;
  for (int p = 0; p < 3; ++p) {
    posters.emplace_back([loop, &sink, p] {
      for (int i = 0; i < kPerPoster; ++i) loop->PostTask(AddTask(&sink, p * kPerPoster + i));
    });
  }
  for (std::thread& t : posters) t.join();
  WaitableEvent done(false, false);
  loop->PostTask(SignalTask(&sink, -1, &done));
  done.Wait();
  thread.Stop();

  const std::vector<int> values = sink.values();
  ASSERT_EQ(static_cast<size_t>(3 * kPerPoster + 1), values.size());
  int last[3] = {-1, -1, -1};
  for (size_t i = 0; i + 1 < values.size(); ++i) {
    const int poster = values[i] / kPerPoster;
    EXPECT_GT(values[i], last[poster]) << "poster " << poster << " out of order";
    last[poster] = values[i];
  }
  EXPECT_EQ(-1, values.back());
}

TEST(ThreadTest, APostThatHappensAfterAnotherOnAnotherThreadRunsAfterIt) {
  Thread thread("target");
  ASSERT_TRUE(thread.Start());
  MessageLoop* loop = thread.message_loop();
  Sink sink;
  for (int round = 0; round < 200; ++round) {
    WaitableEvent first_posted(false, false);
    std::thread a([&] {
      loop->PostTask(AddTask(&sink, 2 * round));
      first_posted.Signal();
    });
    std::thread b([&] {
      first_posted.Wait();
      loop->PostTask(AddTask(&sink, 2 * round + 1));
    });
    a.join();
    b.join();
  }
  WaitableEvent done(false, false);
  loop->PostTask(SignalTask(&sink, -1, &done));
  done.Wait();
  thread.Stop();
  std::vector<int> values = sink.values();
  values.pop_back();
  for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(static_cast<int>(i), values[i]);
}

// A task bouncing between two loops: each hop finds the other loop asleep or about to sleep,
// so a lost wake-up would stop the ball (and the test would hang until its time-out).
class PingPong {
 public:
  PingPong(MessageLoop* a, MessageLoop* b, int hits) : a_(a), b_(b), remaining_(hits) {}
  void Hit(bool to_a) {
    if (--remaining_ == 0) {
      done.Signal();
      return;
    }
    (to_a ? a_ : b_)->PostTask(NewMethodTask(new UnretainedWrapper<PingPong>(this), &PingPong::Hit, !to_a));
  }
  WaitableEvent done{false, false};

 private:
  MessageLoop* a_;
  MessageLoop* b_;
  std::atomic<int> remaining_;
};

TEST(ThreadTest, NoWakeUpIsLostBetweenLoops) {
#ifdef _WIN32
  const int kTypes[] = {MessageLoop::TYPE_DEFAULT, MessageLoop::TYPE_IO};  // the I/O pump too
#else
  const int kTypes[] = {MessageLoop::TYPE_DEFAULT};
#endif
  for (int type : kTypes) {
    Thread a("a"), b("b");
    ASSERT_TRUE(a.StartWithOptions(Thread::Options(type, 0)));
    ASSERT_TRUE(b.StartWithOptions(Thread::Options(MessageLoop::TYPE_DEFAULT, 0)));
    PingPong game(a.message_loop(), b.message_loop(), 5000);
    a.message_loop()->PostTask(NewMethodTask(new UnretainedWrapper<PingPong>(&game), &PingPong::Hit, false));
    game.done.Wait();
    a.Stop();
    b.Stop();
  }
}

// When each task ran, on a clock independent of the loop's.
class Timing {
 public:
  void Record(int which) {
    std::lock_guard<std::mutex> hold(mutex_);
    order.push_back(which);
    at.push_back(std::chrono::steady_clock::now());
  }
  std::mutex mutex_;
  std::vector<int> order;
  std::vector<std::chrono::steady_clock::time_point> at;
};

TEST(ThreadTest, DelayedTaskRunsAfterLaterImmediateOneAndNoEarlierThanItsDelay) {
  Thread thread("timing");
  ASSERT_TRUE(thread.Start());
  MessageLoop* loop = thread.message_loop();
  Timing timing;
  Sink sink;
  WaitableEvent done(false, false);
  const auto posted = std::chrono::steady_clock::now();
  loop->PostDelayedTask(NewMethodTask(new UnretainedWrapper<Timing>(&timing), &Timing::Record, 2),
                        TimeDelta::FromMilliseconds(500));
  loop->PostDelayedTask(NewMethodTask(new UnretainedWrapper<Timing>(&timing), &Timing::Record, 1),
                        TimeDelta::FromMilliseconds(100));  // earlier than the first: the wait shortens
  loop->PostTask(NewMethodTask(new UnretainedWrapper<Timing>(&timing), &Timing::Record, 0));
  loop->PostDelayedTask(SignalTask(&sink, 0, &done), TimeDelta::FromMilliseconds(600));
  done.Wait();
  thread.Stop();

  ASSERT_EQ((std::vector<int>{0, 1, 2}), timing.order);
  // The loop's clock counts whole milliseconds, so a post made late in one millisecond is
  // timed from its start: allow that one millisecond, no more.
  using std::chrono::milliseconds;
  EXPECT_GE(timing.at[1] - posted, milliseconds(100 - 1));
  EXPECT_GE(timing.at[2] - posted, milliseconds(500 - 1));
}

}  // namespace
}  // namespace base
