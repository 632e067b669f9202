// The whole road of a log line: the call, the hop to the UI loop and its checks, the log thread
// and the file, with a real UI loop on the test thread and a real log thread.
#include "log/log_assist.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "log/log_flags.h"
#include "log/log_line.h"
#include "log_test_files.h"
#include "runtime/message_loop.h"

namespace simlog {
namespace {

using namespace testing_files;

const char kName[] = "TestLog";
const char kUiSource[] = "UI\\UIMainWindowEx.cpp";

#ifdef _WIN32
const int kUiLoopType = base::MessageLoop::TYPE_UI;
#else
const int kUiLoopType = base::MessageLoop::TYPE_DEFAULT;
#endif

// Splits a line into its timestamp and the rest; false when the stamp is not exactly
// "%d.%d.%d %02d:%02d:%02d:%03d ".
bool SplitStamp(const std::string& line, std::string* rest) {
  LocalTime t;
  int consumed = -1;
  if (std::sscanf(line.c_str(), "%d.%d.%d %2d:%2d:%2d:%3d %n", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second,
                  &t.millisecond, &consumed) != 7 ||
      consumed < 0)
    return false;
  const std::string stamp = FormatLogTimestamp(t);
  if (line.compare(0, stamp.size(), stamp) != 0) return false;
  *rest = line.substr(stamp.size());
  return true;
}

// A logger of its own with a UI loop registered in kUiLoop on the test thread, a private log
// folder, and the means to let queued work run.
class LogSession {
 public:
  LogSession() {
    NewUiLoop();
    log.SetLogName(kName);
  }
  ~LogSession() { base::SetThreadLoop(base::kUiLoop, nullptr); }

  // Runs every task queued on the UI loop so far (and what they queue behind them). A loop runs
  // once, so a fresh one takes its place afterwards.
  void RunUiTasks() {
    ui_loop->PostQuit();
    ui_loop->Run();
    NewUiLoop();
  }

  // Lets the UI loop pass everything on, then stops the log thread, which writes what it was
  // handed before it ends.
  void Finish() {
    RunUiTasks();
    log.StopThread();
  }

  std::string FilePath(int index = 0) const {
    return folder.Narrow(std::string(kName) + std::to_string(index) + ".log");
  }

  // The lines of a log file without their timestamps; a line without a valid stamp is kept
  // whole behind a "BAD STAMP: " marker so the comparison shows it.
  std::vector<std::string> Lines(int index = 0) const {
    std::vector<std::string> lines;
    const std::string content = ReadWholeFile(FilePath(index));
    size_t start = 0;
    while (start < content.size()) {
      size_t end = content.find('\n', start);
      if (end == std::string::npos) end = content.size();
      const std::string line = content.substr(start, end - start);
      std::string rest;
      lines.push_back(SplitStamp(line, &rest) ? rest : "BAD STAMP: " + line);
      start = end + 1;
    }
    return lines;
  }

  bool FolderIsEmpty() const { return std::filesystem::is_empty(folder.path()); }

  TempFolder folder;
  LogAssist log;
  std::unique_ptr<base::MessageLoop> ui_loop;

 private:
  void NewUiLoop() {
    base::SetThreadLoop(base::kUiLoop, nullptr);
    ui_loop.reset();
    ui_loop.reset(new base::MessageLoop(kUiLoopType));
    base::SetThreadLoop(base::kUiLoop, ui_loop.get());
  }
};

TEST(LogAssist, StartsWithTheDocumentedDefaults) {
  LogAssist log;
  EXPECT_EQ(kDefaultLogFlags, log.flags());
  EXPECT_FALSE(log.debug());
  EXPECT_EQ(&LogAssist::GetInstance(), &LogAssist::GetInstance());
}

TEST(LogAssist, NothingIsWrittenOrPrintedBeforeInit) {
  LogSession session;
  session.log.set_flags(kDefaultLogFlags | kLogToStdout);
  ::testing::internal::CaptureStdout();
  session.log.Log(kUiSource, 1, 3, "too early", true);
  session.RunUiTasks();
  const std::string console = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ("", console);
  EXPECT_TRUE(session.FolderIsEmpty());

  // Early lines were dropped, not held back until the log existed.
  session.log.set_flags(kDefaultLogFlags);
  session.log.Init(3, session.folder.Narrow());
  session.log.Log(kUiSource, 2, 3, "in time", true);
  session.Finish();
  EXPECT_EQ(std::vector<std::string>({"in time"}), session.Lines());
}

TEST(LogAssist, CallsWithoutARegisteredUiLoopAreDropped) {
  LogSession session;
  base::SetThreadLoop(base::kUiLoop, nullptr);
  session.log.Init(3, session.folder.Narrow());
  session.log.Log(kUiSource, 1, 3, "no ui loop", true);
  base::SetThreadLoop(base::kUiLoop, session.ui_loop.get());
  session.log.Log(kUiSource, 2, 3, "not initialised", true);
  session.RunUiTasks();
  EXPECT_TRUE(session.FolderIsEmpty());

  session.log.Init(3, session.folder.Narrow());
  session.log.Log(kUiSource, 3, 3, "initialised", true);
  session.Finish();
  EXPECT_EQ(std::vector<std::string>({"initialised"}), session.Lines());
}

TEST(LogAssist, EmptyFolderDoesNotInitialiseAndSecondInitIsIgnored) {
  LogSession session;
  TempFolder other;
  session.log.Init(3, "");
  session.log.Log(kUiSource, 1, 3, "after empty init", true);
  session.RunUiTasks();
  EXPECT_TRUE(session.FolderIsEmpty());

  session.log.Init(3, session.folder.Narrow());
  session.log.Init(1, other.Narrow());  // ignored: neither its folder nor its threshold counts
  session.log.Log(kUiSource, 2, 3, "first init wins", true);
  session.Finish();
  EXPECT_EQ(std::vector<std::string>({"first init wins"}), session.Lines());
  EXPECT_TRUE(std::filesystem::is_empty(other.path()));
}

TEST(LogAssist, ThresholdDecidesWhichLevelsAreWritten) {
  struct Case {
    int threshold;
    std::vector<std::string> written;
  } cases[] = {
      {3, {"level 1", "level 2", "level 3"}},
      {2, {"level 1", "level 2"}},
      {0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.threshold);
    LogSession session;
    session.log.Init(c.threshold, session.folder.Narrow());
    for (int level = 1; level <= 4; ++level)
      session.log.Log(kUiSource, level, level, LogAssist::FormatString("level %d", level), true);
    session.Finish();
    EXPECT_EQ(c.written, session.Lines());
  }
}

TEST(LogAssist, DebugModeAddsSourceSuffixAndEnablesDebugOnlyLines) {
  struct Case {
    bool debug;
    std::vector<std::string> written;
  } cases[] = {
      {false, {"always", "net always"}},
      {true,
       {"always\tUIMainWindowEx.cpp(1484)", "debug only\tUIMainWindowEx.cpp(1485)", "net always\turl_fetcher.cc(77)",
        "app always\tDoApp.cpp(9)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.debug);
    LogSession session;
    session.log.set_debug(c.debug);
    session.log.Init(3, session.folder.Narrow());
    session.log.Log(kUiSource, 1484, 3, LogAssist::FormatString("always"), true);
    session.log.Log(kUiSource, 1485, 3, LogAssist::FormatString("debug only"), session.log.debug());
    session.log.Log("net\\url_fetcher.cc", 77, 3, "net always", true);
    session.log.Log("DoApp.cpp", 9, 3, "app always", session.log.debug());
    session.Finish();
    EXPECT_EQ(c.written, session.Lines());
  }
}

TEST(LogAssist, OverlongMessageGivesTheFirst2048BytesWithoutNewline) {
  LogSession session;
  session.log.Init(3, session.folder.Narrow());
  const std::string message(5000, 'x');
  session.log.Log(kUiSource, 1, 3, message, true);
  session.Finish();
  const std::string content = ReadWholeFile(session.FilePath());
  ASSERT_EQ(kLogLineCapacity, content.size());
  std::string rest;
  ASSERT_TRUE(SplitStamp(content, &rest));
  EXPECT_EQ(message.substr(0, rest.size()), rest);
  EXPECT_NE('\n', content.back());
}

TEST(LogAssist, ManyLinesFromOneThreadKeepTheirOrder) {
  LogSession session;
  session.log.Init(3, session.folder.Narrow());
  std::vector<std::string> expected;
  for (int i = 0; i < 1000; ++i) {
    expected.push_back("line " + std::to_string(i));
    session.log.Log("DoApp.cpp", i, 3, LogAssist::FormatString("line %d", i), true);
  }
  session.Finish();
  EXPECT_EQ(expected, session.Lines());
}

TEST(LogAssist, LinesFromSeveralThreadsInterleaveButKeepEachThreadsOrder) {
  const int kThreads = 4;
  const int kLinesEach = 400;
  LogSession session;
  session.log.Init(3, session.folder.Narrow());

  // The workers log while the UI loop runs and passes their lines on; the loop stops once all of
  // them are done.
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&session, t] {
      for (int i = 0; i < kLinesEach; ++i)
        session.log.Log("net\\url_fetcher.cc", i, 3, LogAssist::FormatString("t%d %d", t, i), true);
    });
  }
  base::MessageLoop* ui_loop = session.ui_loop.get();
  std::thread closer([&workers, ui_loop] {
    for (std::thread& worker : workers) worker.join();
    ui_loop->PostQuit();
  });
  ui_loop->Run();
  closer.join();
  session.Finish();

  const std::vector<std::string> lines = session.Lines();
  ASSERT_EQ(static_cast<size_t>(kThreads * kLinesEach), lines.size());
  std::vector<int> next(kThreads, 0);
  for (const std::string& line : lines) {
    int t = -1, i = -1;
    ASSERT_EQ(2, std::sscanf(line.c_str(), "t%d %d", &t, &i)) << line;
    ASSERT_TRUE(t >= 0 && t < kThreads) << line;
    ASSERT_EQ(next[t], i) << "thread " << t << " out of order";
    ++next[t];
  }
}

TEST(LogAssist, LinesAfterTheLogThreadStoppedAreDropped) {
  LogSession session;
  session.log.Init(3, session.folder.Narrow());
  session.log.Log(kUiSource, 1, 3, "before stop", true);
  session.Finish();
  session.log.Log(kUiSource, 2, 3, "after stop", true);
  session.RunUiTasks();
  session.log.StopThread();  // stopping again is harmless
  EXPECT_EQ(std::vector<std::string>({"before stop"}), session.Lines());
}

int format_calls = 0;
const char* CountedFormat() {
  ++format_calls;
  return "shorthand %d";
}

TEST(LogAssist, ShorthandFillsInTheLineAndFormatsOnlyEnabledLines) {
  // The shorthand goes to the process-wide logger, which can be initialised once per process.
  static bool ran = false;
  if (ran) GTEST_SKIP() << "the process-wide logger was used up by an earlier repetition";
  ran = true;
  format_calls = 0;
  LogSession session;  // for its UI loop and folder
  LogAssist& global = LogAssist::GetInstance();
  global.SetLogName(kName);
  global.set_debug(true);
  global.Init(3, session.folder.Narrow());

  SIMLOG("DoApp.cpp", false, CountedFormat(), 1);
  EXPECT_EQ(0, format_calls);
  const int line = __LINE__ + 1;
  SIMLOG("DoApp.cpp", true, CountedFormat(), 2);
  EXPECT_EQ(1, format_calls);

  session.RunUiTasks();
  global.StopThread();
  EXPECT_EQ(std::vector<std::string>({"shorthand 2\tDoApp.cpp(" + std::to_string(line) + ")"}), session.Lines());
}

}  // namespace
}  // namespace simlog
