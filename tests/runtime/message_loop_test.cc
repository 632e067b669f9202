// The loop's queues driven by hand over a recording pump and a hand-set clock.
#include "runtime/message_loop.h"

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/ref_counted.h"
#include "tests/runtime/recording_pump.h"
#include "tests/runtime/test_clock.h"

namespace base {
namespace {

const uint32_t kStartMs = 50000;

class Journal {
 public:
  void Note(const std::string& what) { events.push_back(what); }
  Task* NoteTask(const std::string& what) {
    return NewMethodTask(new UnretainedWrapper<Journal>(this), &Journal::Note, what);
  }
  std::vector<std::string> events;
};

// Records its own destruction, so a test sees when a dropped task let go of it.
class Tracked : public RefCountedThreadSafe<Tracked> {
 public:
  Tracked(Journal* journal, std::string name) : journal_(journal), name_(std::move(name)) {}
  void Run() { journal_->Note("ran " + name_); }

 private:
  friend struct DefaultRefCountedThreadSafeTraits<Tracked>;
  ~Tracked() { journal_->Note("freed " + name_); }
  Journal* journal_;
  std::string name_;
};

Task* TrackedTask(Journal* journal, const std::string& name) {
  Tracked* target = new Tracked(journal, name);
  return NewMethodTask(new NormalWrapper<Tracked>(target), &Tracked::Run);
}

class MessageLoopTest : public ::testing::Test {
 protected:
  MessageLoopTest() : clock_(kStartMs), loop_(new MessageLoop(0, new testing::RecordingPump(&pump_))) {}

  TimeTicks At(int64_t ms_after_start) const {
    return TimeTicks::FromInternalValue((kStartMs + ms_after_start) * 1000);
  }

  testing::ScopedManualClock clock_;
  testing::RecordingPump::Log pump_;
  std::unique_ptr<MessageLoop> loop_;
  Journal journal_;
};

TEST_F(MessageLoopTest, RunsOneImmediateTaskPerDoWorkInPostingOrder) {
  for (const char* name : {"a", "b", "c"}) loop_->PostTask(journal_.NoteTask(name));
  EXPECT_EQ(3, pump_.schedule_work.load());
  EXPECT_TRUE(journal_.events.empty());  // nothing runs before the pump asks

  for (const char* expected : {"a", "b", "c"}) {
    EXPECT_TRUE(loop_->DoWork());
    EXPECT_EQ(expected, journal_.events.back());
  }
  EXPECT_EQ(3u, journal_.events.size());
  EXPECT_FALSE(loop_->DoWork());
  EXPECT_FALSE(loop_->DoIdleWork());
}

TEST_F(MessageLoopTest, DelayedTasksRunByTimeThenInPostingOrder) {
  loop_->PostDelayedTask(journal_.NoteTask("late"), TimeDelta::FromMilliseconds(30));
  loop_->PostDelayedTask(journal_.NoteTask("x1"), 10000);  // microseconds
  loop_->PostDelayedTask(journal_.NoteTask("x2"), TimeDelta::FromMilliseconds(10));
  loop_->PostDelayedTask(journal_.NoteTask("x3"), TimeDelta::FromMilliseconds(10));
  loop_->PostTask(journal_.NoteTask("now"));
  EXPECT_EQ(5, pump_.schedule_work.load());  // delayed posts wake the loop too

  // DoWork moves the delayed entries into the heap and runs the immediate one.
  EXPECT_TRUE(loop_->DoWork());
  EXPECT_EQ(std::vector<std::string>{"now"}, journal_.events);
  // The pump was told each time the earliest run time moved earlier, and only then.
  EXPECT_EQ((std::vector<TimeTicks>{At(30), At(10)}), pump_.delayed);

  TimeTicks next;
  EXPECT_FALSE(loop_->DoDelayedWork(&next));
  EXPECT_EQ(At(10), next);

  clock_.Advance(9);
  EXPECT_FALSE(loop_->DoDelayedWork(&next));  // not yet due
  clock_.Advance(1);
  EXPECT_TRUE(loop_->DoDelayedWork(&next));
  EXPECT_EQ(At(10), next);  // x2 is next
  EXPECT_TRUE(loop_->DoDelayedWork(&next));
  EXPECT_TRUE(loop_->DoDelayedWork(&next));
  EXPECT_EQ(At(30), next);
  EXPECT_FALSE(loop_->DoDelayedWork(&next));
  EXPECT_EQ(At(30), next);
  EXPECT_EQ((std::vector<std::string>{"now", "x1", "x2", "x3"}), journal_.events);

  clock_.Advance(25);
  EXPECT_TRUE(loop_->DoDelayedWork(&next));
  EXPECT_EQ("late", journal_.events.back());
  EXPECT_FALSE(loop_->DoDelayedWork(&next));
  EXPECT_TRUE(next.is_null());
}

TEST_F(MessageLoopTest, LaterDelayDoesNotRescheduleThePump) {
  loop_->PostDelayedTask(journal_.NoteTask("first"), TimeDelta::FromMilliseconds(100));
  EXPECT_FALSE(loop_->DoWork());
  loop_->PostDelayedTask(journal_.NoteTask("later"), TimeDelta::FromMilliseconds(500));
  loop_->PostDelayedTask(journal_.NoteTask("same"), TimeDelta::FromMilliseconds(100));
  EXPECT_FALSE(loop_->DoWork());
  loop_->PostDelayedTask(journal_.NoteTask("earlier"), TimeDelta::FromMilliseconds(20));
  EXPECT_FALSE(loop_->DoWork());
  EXPECT_EQ((std::vector<TimeTicks>{At(100), At(20)}), pump_.delayed);
}

TEST_F(MessageLoopTest, ManyDelayedTasksComeOutSortedByTimeThenSequence) {
  std::mt19937 random(12345);
  std::vector<std::pair<int, int>> expected;  // (delay ms, posting index)
  for (int i = 0; i < 300; ++i) {
    const int delay = 1 + static_cast<int>(random() % 40);  // many equal times
    expected.push_back(std::make_pair(delay, i));
    loop_->PostDelayedTask(journal_.NoteTask(std::to_string(i)), TimeDelta::FromMilliseconds(delay));
    if (i % 7 == 0) loop_->DoWork();  // move some into the heap while others wait
  }
  loop_->DoWork();
  std::sort(expected.begin(), expected.end());
  clock_.Advance(100);
  TimeTicks next;
  while (loop_->DoDelayedWork(&next)) {
  }
  ASSERT_EQ(expected.size(), journal_.events.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(std::to_string(expected[i].second), journal_.events[i]) << "position " << i;
}

class RecordingObserver : public MessageLoop::DestructionObserver {
 public:
  RecordingObserver(Journal* journal, std::string name) : journal_(journal), name_(std::move(name)) {}
  void WillDestroyCurrentMessageLoop() override {
    journal_->Note("notified " + name_ + (MessageLoop::current() ? " (current)" : ""));
    if (remove_self) MessageLoop::current()->RemoveDestructionObserver(this);
    if (post_to) post_to->PostTask(journal_->NoteTask("posted by " + name_));
  }
  bool remove_self = false;
  MessageLoop* post_to = nullptr;

 private:
  Journal* journal_;
  std::string name_;
};

class CleanupPoster {
 public:
  CleanupPoster(Journal* journal, MessageLoop* loop) : journal_(journal), loop_(loop) {}
  void Run() {
    journal_->Note(std::string("cleanup poster") + (MessageLoop::current() ? " (current)" : ""));
    loop_->PostCleanupTask(journal_->NoteTask("cleanup added late"));
    loop_->PostTask(journal_->NoteTask("task posted by cleanup"));
  }

 private:
  Journal* journal_;
  MessageLoop* loop_;
};

TEST_F(MessageLoopTest, DestructionDropsQueuedTasksNotifiesObserversThenRunsCleanupTasks) {
  MessageLoop* loop = loop_.get();
  loop->PostDelayedTask(TrackedTask(&journal_, "delayed"), TimeDelta::FromMilliseconds(5));
  loop->PostTask(TrackedTask(&journal_, "first"));
  loop->PostTask(TrackedTask(&journal_, "queued"));
  EXPECT_TRUE(loop->DoWork());  // heap: delayed; work queue: queued
  loop->PostTask(TrackedTask(&journal_, "incoming"));
  CleanupPoster poster(&journal_, loop);
  loop->PostCleanupTask(journal_.NoteTask("cleanup 1"));
  loop->PostCleanupTask(NewMethodTask(new UnretainedWrapper<CleanupPoster>(&poster), &CleanupPoster::Run));
  loop->PostCleanupTask(journal_.NoteTask("cleanup 3"));

  RecordingObserver a(&journal_, "a"), b(&journal_, "b"), c(&journal_, "c");
  b.remove_self = true;
  b.post_to = loop;
  loop->AddDestructionObserver(&a);
  loop->AddDestructionObserver(&b);
  loop->AddDestructionObserver(&c);
  SetThreadLoop(kFileLoop, loop);
  EXPECT_EQ(loop, MessageLoop::current());

  loop_.reset();

  const std::vector<std::string> expected = {
      "ran first",
      "freed first",
      "freed queued",
      "freed delayed",   // dropped unrun: work queue, then heap
      "freed incoming",  // posted but not yet moved to the work queue
      "notified a (current)",
      "notified b (current)",
      "notified c (current)",
      "cleanup 1",
      "cleanup poster",  // the thread's loop slot is clear by now
      "cleanup 3",
      "cleanup added late",
  };
  EXPECT_EQ(expected, journal_.events);
  EXPECT_EQ(nullptr, MessageLoop::current());
  EXPECT_EQ(nullptr, GetThreadLoop(kFileLoop));
  EXPECT_TRUE(pump_.destroyed);
}

TEST_F(MessageLoopTest, PostQuitStopsThePumpFromATask) {
  loop_->PostQuit();
  EXPECT_FALSE(pump_.quit);
  EXPECT_TRUE(loop_->DoWork());
  EXPECT_TRUE(pump_.quit);
}

TEST_F(MessageLoopTest, ThreadNameIsSetOnce) {
  loop_->set_thread_name("file_thread");
  loop_->set_thread_name("other");
  EXPECT_EQ("file_thread", loop_->thread_name());
}

TEST(MessageLoopSlotsTest, SlotsHoldWhatIsSetAndIgnoreUnknownSlots) {
  EXPECT_EQ(nullptr, GetThreadLoop(-1));
  EXPECT_EQ(nullptr, GetThreadLoop(3));
  MessageLoop loop;
  SetThreadLoop(kUiLoop, &loop);
  SetThreadLoop(7, &loop);
  EXPECT_EQ(&loop, GetThreadLoop(kUiLoop));
  EXPECT_EQ(nullptr, GetThreadLoop(kIoLoop));
  SetThreadLoop(kUiLoop, nullptr);
  EXPECT_EQ(nullptr, GetThreadLoop(kUiLoop));
}

TEST(MessageLoopUnknownTypeTest, HasNoPumpAndCannotRun) {
  Journal journal;
  {
    MessageLoop loop(9);
    EXPECT_EQ(nullptr, loop.pump());
    loop.PostTask(TrackedTask(&journal, "never"));
    loop.Run();  // returns at once
    EXPECT_FALSE(loop.running());
  }
  EXPECT_EQ(std::vector<std::string>{"freed never"}, journal.events);
}

}  // namespace
}  // namespace base
