// URLFetcher over real WinINet against tools/fault_server.py: every request kind, its failures,
// the byte-exact ranged writes, and the promise that a stopped fetcher says nothing more.
#include "net/url_fetcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fault_server.h"
#include "runtime/ref_ptr.h"
#include "scratch_folder.h"
#include "test_loops.h"

namespace {

namespace fs = std::filesystem;
using base::RefPtr;
using net::FetchRequest;
using net::URLFetcher;

class Recorder : public URLFetcher::URLFetcherDelegate {
 public:
  void OnFetchComplete(URLFetcher* source) override {
    ++completions;
    on_ui_loop = base::MessageLoop::current() == base::GetThreadLoop(base::kUiLoop);
    success = source->success();
    error = source->error();
    response = source->response();
    position = source->position();
    content_length = source->content_length();
  }
  void OnFetchProgress(URLFetcher* source, float fraction) override {
    (void)source;
    progress.push_back(fraction);
  }

  int completions = 0;
  bool on_ui_loop = false;
  bool success = false;
  int error = -1;
  std::string response;
  uint32_t position = 0;
  uint32_t content_length = 0;
  std::vector<float> progress;
};

class URLFetcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(loops_.ok());
    ASSERT_TRUE(server_.Start());
  }

  // Runs one fetch to its completion (or the time-out).
  void RunToCompletion(URLFetcher* fetcher, Recorder* recorder, int64_t timeout_ms = 60000) {
    fetcher->Start();
    ASSERT_TRUE(loops_.RunUntil([&] { return recorder->completions > 0; }, timeout_ms));
  }

  void Script(const std::string& json) { ASSERT_TRUE(server_.Script(json)); }

  // The information service answers `repeat` times the 16 bytes of kAnswerPiece; one text
  // fetch of it runs to its end.
  static constexpr const char* kAnswerPiece = "0123456789abcdef";
  void FetchRepeatedAnswer(uint32_t repeat, Recorder* recorder) {
    Script(R"({"info": {"answer": "raw", "body": ")" + std::string(kAnswerPiece) + R"(", "repeat": )" +
           std::to_string(repeat) + "}}");
    RefPtr<URLFetcher> fetcher(
        URLFetcher::Create(FetchRequest(server_.Base() + "/downloder/2.0/infoV2?channel=en"), recorder));
    RunToCompletion(fetcher.get(), recorder);
  }

  std::wstring PathOf(const std::string& name) const { return (folder_.path() / name).wstring(); }
  std::string NarrowPath(const std::string& name) const { return folder_.File(name); }

  // A file of `size` zero bytes, as the preallocation leaves it.
  void MakeZeroFile(const std::string& name, uint32_t size) {
    std::ofstream out(folder_.path() / name, std::ios::binary);
    out.seekp(size - 1);
    out.put('\0');
  }
  std::string ReadFile(const std::string& name) const { return test_support::ReadFile(folder_.path() / name); }
  // Requests for the package since the last script.
  std::vector<Json::Value> PackageRequests() {
    std::vector<Json::Value> out;
    for (const Json::Value& entry : server_.Log()) {
      if (entry["path"].asString().rfind("/pkg/", 0) == 0) out.push_back(entry);
    }
    return out;
  }

  TestLoops loops_;
  FaultServer server_;
  test_support::ScratchFolder folder_;
};

// Checks that [start, end) holds the package's bytes and everything else in `data` is zero.
void ExpectOnlyRangeWritten(const std::string& data, uint32_t start, uint32_t end) {
  for (uint32_t i = 0; i < data.size(); ++i) {
    const uint8_t expected = (i >= start && i < end) ? ExpectedPackageByte(i) : 0;
    if (static_cast<uint8_t>(data[i]) != expected) {
      ADD_FAILURE() << "byte " << i << " is " << int(static_cast<uint8_t>(data[i])) << ", expected " << int(expected)
                    << " (range " << start << "-" << end << ")";
      return;
    }
  }
}

TEST_F(URLFetcherTest, MemoryKindReturnsTheTextCutAtItsFirstZeroByteOnTheUiLoop) {
  Script(R"({"info": {"answer": "raw", "body": "{\"code\": 0}\u0000trailing junk"}})");
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(
      URLFetcher::Create(FetchRequest(server_.Base() + "/downloder/2.0/infoV2?channel=en"), &recorder));
  RunToCompletion(fetcher.get(), &recorder);
  EXPECT_TRUE(recorder.success);
  EXPECT_TRUE(recorder.on_ui_loop);
  EXPECT_EQ(recorder.response, "{\"code\": 0}");
}

TEST_F(URLFetcherTest, MemoryKindFailsOnAnErrorStatusOrNoServer) {
  struct Case {
    const char* name;
    bool server;
  } const cases[] = {{"status 500", true}, {"nothing listens", false}};
  // One loop run per test: both fetches run side by side.
  Script(R"({"info": {"answer": "status500"}})");
  Recorder recorders[2];
  std::vector<RefPtr<URLFetcher>> fetchers;
  for (int i = 0; i < 2; ++i) {
    const std::string base = cases[i].server ? server_.Base() : std::string("http://127.0.0.1:1");
    fetchers.emplace_back(URLFetcher::Create(FetchRequest(base + "/downloder/2.0/infoV2?x=1"), &recorders[i]));
    fetchers.back()->Start();
  }
  ASSERT_TRUE(loops_.RunUntil([&] { return recorders[0].completions > 0 && recorders[1].completions > 0; }, 60000));
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_FALSE(recorders[i].success);
    EXPECT_EQ(recorders[i].completions, 1);
  }
}

TEST_F(URLFetcherTest, MemoryKindKeepsAnAnswerOfExactlyTheLimit) {
  Recorder recorder;
  FetchRepeatedAnswer(net::kMemoryAnswerLimit / 16, &recorder);
  EXPECT_TRUE(recorder.success);
  ASSERT_EQ(recorder.response.size(), net::kMemoryAnswerLimit);
  EXPECT_EQ(recorder.response.substr(recorder.response.size() - 16), kAnswerPiece);
}

TEST_F(URLFetcherTest, MemoryKindRefusesAnAnswerLongerThanTheLimit) {
  Recorder recorder;
  FetchRepeatedAnswer(net::kMemoryAnswerLimit / 16 + 1, &recorder);
  EXPECT_FALSE(recorder.success);
  EXPECT_EQ(recorder.error, net::kErrorTooLong);
  EXPECT_LE(recorder.response.size(), net::kMemoryAnswerLimit);
}

TEST_F(URLFetcherTest, FileKindWritesTheWholeFileAndEndsWithFullProgress) {
  const uint32_t size = 3 * 1024 * 1024 + 7;
  Script(R"({"size": )" + std::to_string(size) + "}");
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("whole.bin")), &recorder));
  RunToCompletion(fetcher.get(), &recorder);
  ASSERT_TRUE(recorder.success);
  EXPECT_EQ(recorder.position, size);
  uint64_t bad = 0;
  EXPECT_TRUE(FileMatchesPackage(NarrowPath("whole.bin"), size, &bad)) << "first bad byte " << bad;
  ASSERT_FALSE(recorder.progress.empty());
  EXPECT_FLOAT_EQ(recorder.progress.back(), 1.0f);
  for (size_t i = 1; i < recorder.progress.size(); ++i) EXPECT_GE(recorder.progress[i], recorder.progress[i - 1]);
}

TEST_F(URLFetcherTest, FileKindTreatsAConnectionClosedEarlyAsAFailedRun) {
  // The server announces the full length but closes after 300000 bytes: the file is not
  // complete, so the run must not pass for a finished download.
  Script(R"({"size": 1048576, "drops": [{"on": "full", "nth": 1, "after": 300000}]})");
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("short.bin")), &recorder));
  RunToCompletion(fetcher.get(), &recorder);
  EXPECT_FALSE(recorder.success);
  EXPECT_EQ(recorder.position, 300000u);
  for (float fraction : recorder.progress) EXPECT_LT(fraction, 1.0f);
}

TEST_F(URLFetcherTest, FileKindWithoutContentLengthFailsBeforeCreatingTheFile) {
  Script(R"({"size": 100000, "length": "missing"})");
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("nolength.bin")), &recorder));
  RunToCompletion(fetcher.get(), &recorder);
  EXPECT_FALSE(recorder.success);
  EXPECT_EQ(recorder.error, net::kErrorNoLength);
  EXPECT_FALSE(fs::exists(folder_.path() / "nolength.bin"));
}

TEST_F(URLFetcherTest, RangeKindFillsOnlyItsRangeThoughTheAnswerRunsToTheEndOfTheFile) {
  const uint32_t size = 2 * 1024 * 1024;
  const uint32_t q = size / 4;
  Script(R"({"size": )" + std::to_string(size) + "}");
  MakeZeroFile("part.bin", size);
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(
      URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("part.bin"), q, 2 * q), &recorder));
  fetcher->tag = q;
  RunToCompletion(fetcher.get(), &recorder);
  ASSERT_TRUE(recorder.success);
  EXPECT_EQ(recorder.position, 2 * q);
  ExpectOnlyRangeWritten(ReadFile("part.bin"), q, 2 * q);
  // Progress is this part's share of the whole file.
  ASSERT_FALSE(recorder.progress.empty());
  for (float fraction : recorder.progress) {
    EXPECT_GT(fraction, 0.0f);
    EXPECT_LE(fraction, 0.25f);
  }
  const std::vector<Json::Value> requests = PackageRequests();
  ASSERT_EQ(requests.size(), 1u);
  // A closed range: the server stops at the part's end.
  EXPECT_EQ(requests[0]["range_header"].asString(), "bytes=" + std::to_string(q) + "-" + std::to_string(2 * q - 1));
}

TEST_F(URLFetcherTest, RangeKindCutShortFailsAndItsPositionIsWhereTheNextRunStarts) {
  const uint32_t size = 1024 * 1024;
  Script(R"({"size": 1048576, "drops": [{"on": "range", "nth": 1, "after": 100000}]})");
  MakeZeroFile("resume.bin", size);
  Recorder first;
  RefPtr<URLFetcher> fetcher(
      URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("resume.bin"), 0, size / 2), &first));
  RunToCompletion(fetcher.get(), &first);
  EXPECT_FALSE(first.success);
  EXPECT_EQ(first.position, 100000u);
  ExpectOnlyRangeWritten(ReadFile("resume.bin"), 0, first.position);
}

TEST_F(URLFetcherTest, RangeKindResumedFromThePositionCompletesThePart) {
  const uint32_t size = 1024 * 1024;
  const uint32_t resume_at = 123457;
  Script(R"({"size": 1048576})");
  MakeZeroFile("resume.bin", size);
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(
      URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("resume.bin"), resume_at, size / 2), &recorder));
  RunToCompletion(fetcher.get(), &recorder);
  ASSERT_TRUE(recorder.success);
  ExpectOnlyRangeWritten(ReadFile("resume.bin"), resume_at, size / 2);
  const std::vector<Json::Value> requests = PackageRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["range_start"].asUInt(), resume_at);
}

TEST_F(URLFetcherTest, RangeKindAnswered200FailsAndSwitchesRangesOffForThatFetcher) {
  Script(R"({"size": 65536, "ranges": "200"})");
  MakeZeroFile("norange.bin", 65536);
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(
      URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("norange.bin"), 100, 65536), &recorder));
  int runs = 0;
  fetcher->Start();
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        // After the first failure, run the same fetcher again: it must fail without a request.
        if (recorder.completions == 1 && runs == 0) {
          runs = 1;
          EXPECT_FALSE(recorder.success);
          EXPECT_EQ(recorder.error, net::kErrorNoRange);
          EXPECT_FALSE(fetcher->range_allowed());
          recorder.error = -1;
          fetcher->Start();
        }
        return recorder.completions == 2;
      },
      60000));
  EXPECT_FALSE(recorder.success);
  EXPECT_EQ(recorder.error, net::kErrorNoRange);
  EXPECT_EQ(PackageRequests().size(), 1u);
  EXPECT_EQ(ReadFile("norange.bin"), std::string(65536, '\0'));
}

// A 206 whose bytes cannot be placed, or that belongs to another file, writes nothing: taking
// it would corrupt the package. (One loop run per test, hence one case per test.)
struct RefusedRangeCase {
  const char* name;
  const char* script;
  uint32_t file_size;  // what the fetcher knows of the whole file (0: not known)
  int error;
  bool ranges_still_allowed;
};

class URLFetcherRefusedRangeTest : public URLFetcherTest, public ::testing::WithParamInterface<RefusedRangeCase> {};

TEST_P(URLFetcherRefusedRangeTest, NothingIsWritten) {
  const RefusedRangeCase& c = GetParam();
  Script(c.script);
  MakeZeroFile("refused.bin", 65536);
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(
      URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("refused.bin"), 1000, 30000), &recorder));
  fetcher->file_size = c.file_size;
  RunToCompletion(fetcher.get(), &recorder);
  EXPECT_FALSE(recorder.success);
  EXPECT_EQ(recorder.error, c.error);
  EXPECT_EQ(recorder.position, 1000u);
  EXPECT_EQ(fetcher->range_allowed(), c.ranges_still_allowed);
  EXPECT_EQ(ReadFile("refused.bin"), std::string(65536, '\0'));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, URLFetcherRefusedRangeTest,
    ::testing::Values(
        // A server that answers 206 but starts 100 bytes later than asked.
        RefusedRangeCase{"shifted", R"({"size": 65536, "range_offset": 100})", 0, net::kErrorNoRange, false},
        // A 206 that does not say which bytes it carries.
        RefusedRangeCase{"no_content_range", R"({"size": 65536, "content_range": "missing"})", 0, net::kErrorNoRange,
                         false},
        // The package was replaced by one of another size since its size was learnt.
        RefusedRangeCase{"other_file", R"({"size": 70000})", 65536, net::kErrorOtherFile, true}),
    [](const ::testing::TestParamInfo<RefusedRangeCase>& info) { return std::string(info.param.name); });

TEST_F(URLFetcherTest, RangeKindEdgeCases) {
  struct Case {
    const char* name;
    uint32_t start;
    uint32_t end;
    bool make_file;
    bool success;
    int error;
    size_t requests;
  } const cases[] = {
      {"empty range succeeds without a request", 5000, 5000, true, true, net::kErrorNone, 0},
      {"start past end succeeds without a request", 6000, 5000, true, true, net::kErrorNone, 0},
      {"missing target file", 0, 5000, false, false, net::kErrorOpenFile, 1},
  };
  Script(R"({"size": 65536})");
  std::vector<Recorder> recorders(3);
  std::vector<RefPtr<URLFetcher>> fetchers;
  for (size_t i = 0; i < 3; ++i) {
    const std::string name = "edge" + std::to_string(i) + ".bin";
    if (cases[i].make_file) MakeZeroFile(name, 65536);
    fetchers.emplace_back(URLFetcher::Create(
        FetchRequest(server_.PackageUrl(), PathOf(name), cases[i].start, cases[i].end), &recorders[i]));
    fetchers.back()->Start();
  }
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        for (const Recorder& r : recorders) {
          if (r.completions == 0) return false;
        }
        return true;
      },
      60000));
  size_t requests = 0;
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(recorders[i].success, cases[i].success);
    EXPECT_EQ(recorders[i].error, cases[i].error);
    requests += cases[i].requests;
  }
  EXPECT_EQ(PackageRequests().size(), requests);
}

TEST_F(URLFetcherTest, ProbeReadsStatusAndLength) {
  struct Case {
    const char* name;
    const char* script;
    bool success;
    int error;
    uint32_t length;
  } const cases[] = {
      {"206 with length", R"({"size": 777777})", true, net::kErrorNone, 777777},
      {"200 to a range: ranges are ignored", R"({"size": 777777, "ranges": "200"})", false, net::kErrorNoRange, 0},
      {"no file size", R"({"size": 777777, "content_range": "missing"})", false, net::kErrorNoLength, 0},
  };
  // The server has one script at a time: the cases run one after another inside one loop run.
  size_t current = 0;
  Recorder recorder;
  RefPtr<URLFetcher> fetcher;
  auto begin = [&](size_t i) {
    ASSERT_TRUE(server_.Script(cases[i].script));
    recorder = Recorder();
    fetcher.reset(URLFetcher::Create(FetchRequest(server_.PackageUrl(), net::kFetchProbeRange), &recorder));
    fetcher->Start();
  };
  begin(0);
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        if (recorder.completions == 0) return false;
        SCOPED_TRACE(cases[current].name);
        EXPECT_EQ(recorder.success, cases[current].success);
        EXPECT_EQ(recorder.error, cases[current].error);
        if (cases[current].success) {
          EXPECT_EQ(recorder.content_length, cases[current].length);
        }
        if (++current == sizeof cases / sizeof cases[0]) return true;
        begin(current);
        return false;
      },
      90000));
}

TEST_F(URLFetcherTest, OpenOnlyAndPostKinds) {
  Script(R"({"size": 1000})");
  Recorder open_ok;
  Recorder open_refused;
  Recorder post;
  RefPtr<URLFetcher> a(URLFetcher::Create(FetchRequest(server_.PackageUrl(), net::kFetchOpenOnly), &open_ok));
  RefPtr<URLFetcher> b(URLFetcher::Create(FetchRequest("http://127.0.0.1:1/x", net::kFetchOpenOnly), &open_refused));
  RefPtr<URLFetcher> c(URLFetcher::Create(FetchRequest(std::string(), net::kFetchPost), &post));
  c->post_server = L"127.0.0.1:" + std::to_wstring(server_.port());
  c->post_object = L"/upload";
  c->post_body = "name=value&x=1";
  a->Start();
  b->Start();
  c->Start();
  ASSERT_TRUE(
      loops_.RunUntil([&] { return open_ok.completions && open_refused.completions && post.completions; }, 60000));
  EXPECT_TRUE(open_ok.success);
  EXPECT_FALSE(open_refused.success);
  EXPECT_TRUE(post.success);
  bool seen = false;
  for (const Json::Value& entry : server_.Log()) {
    if (entry["path"].asString() == "/upload") {
      seen = true;
      EXPECT_EQ(entry["method"].asString(), "POST");
      EXPECT_EQ(entry["body"].asString(), "name=value&x=1");
    }
  }
  EXPECT_TRUE(seen);
}

// ---- silent servers ----------------------------------------------------------------------

// A peer that stops sending without closing (no data, no FIN). Every kind of run must give it
// up after the receive time-out and report a failure, never block for ever; a ranged run
// reports the position its bytes on disk reach. The time-out is shortened to 3 s here;
// SilentRangeRunIsGivenUpAtTheDefaultTimeOut proves the real one.
class URLFetcherSilentServerTest : public URLFetcherTest {
 protected:
  void SetUp() override {
    URLFetcherTest::SetUp();
    URLFetcher::SetReceiveTimeoutForTesting(3000);
  }
  void TearDown() override {
    URLFetcher::SetReceiveTimeoutForTesting(0);
    server_.Release();
  }
};

TEST_F(URLFetcherSilentServerTest, EveryKindOfRunGivesUpAndReportsAFailure) {
  const uint32_t size = 4u << 20;
  MakeZeroFile("range.bin", size);
  struct Case {
    const char* name;
    const char* stall;
    int kind;
    uint32_t position;  // kinds 1 and 2: where the run stopped
  } const cases[] = {
      {"text answer, before its header", R"({"on": "info", "at": "headers"})", net::kFetchToMemory, 0},
      {"text answer, inside its body", R"({"on": "info", "after": 20})", net::kFetchToMemory, 0},
      {"range probe, before its header", R"({"on": "range", "at": "headers"})", net::kFetchProbeRange, 0},
      {"whole file, inside its body", R"({"on": "full", "after": 327680})", net::kFetchToFile, 327680},
      {"ranged part, before its header", R"({"on": "range", "at": "headers"})", net::kFetchRange, 0},
      {"ranged part, inside its body", R"({"on": "range", "after": 1048576})", net::kFetchRange, 1048576},
      {"bare open, before the header", R"({"on": "plain", "at": "headers"})", net::kFetchOpenOnly, 0},
      {"POST, no answer", R"({"on": "post"})", net::kFetchPost, 0},
  };
  size_t current = 0;
  Recorder recorder;
  RefPtr<URLFetcher> fetcher;
  auto begin = [&](size_t i) {
    // Held far longer than the test runs: only the client's time-out can end the request.
    ASSERT_TRUE(server_.Script(std::string(R"({"size": 4194304, "info": {"answer": "raw", "body": ")") +
                               std::string(100, 'x') + R"("}, "stall": )" +
                               std::string(cases[i].stall).insert(1, R"("seconds": 600, "then": "close", )") + "}"));
    recorder = Recorder();
    const Case& c = cases[i];
    if (c.kind == net::kFetchToMemory) {
      fetcher.reset(URLFetcher::Create(FetchRequest(server_.Base() + "/downloder/2.0/infoV2?x=1"), &recorder));
    } else if (c.kind == net::kFetchToFile) {
      fetcher.reset(URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("whole.bin")), &recorder));
    } else if (c.kind == net::kFetchRange) {
      fetcher.reset(URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("range.bin"), 0, size), &recorder));
    } else {
      fetcher.reset(URLFetcher::Create(FetchRequest(server_.PackageUrl(), c.kind), &recorder));
      fetcher->post_server = L"127.0.0.1:" + std::to_wstring(server_.port());
      fetcher->post_object = L"/upload";
      fetcher->post_body = "a=1";
    }
    fetcher->Start();
  };
  begin(0);
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        if (recorder.completions == 0) return false;
        SCOPED_TRACE(cases[current].name);
        EXPECT_FALSE(recorder.success);
        const Json::Value log = server_.Log();
        EXPECT_TRUE(log.size() == 1u && log[0]["stalled"].asBool()) << "the server never went silent";
        if (cases[current].kind == net::kFetchToFile || cases[current].kind == net::kFetchRange) {
          EXPECT_EQ(recorder.position, cases[current].position);
        }
        if (++current == sizeof cases / sizeof cases[0]) return true;
        begin(current);
        return false;
      },
      120000))
      << "stuck at: " << cases[current].name;
  // The part's bytes up to where the server went silent are on disk.
  ExpectOnlyRangeWritten(ReadFile("range.bin"), 0, 1048576);
}

// The real time-out, once: about 40 s without a byte ends a ranged run.
TEST_F(URLFetcherTest, SilentRangeRunIsGivenUpAtTheDefaultTimeOut) {
  const uint32_t size = 1u << 20;
  Script(R"({"size": 1048576, "stall": {"on": "range", "after": 65536, "seconds": 600, "then": "close"}})");
  MakeZeroFile("range.bin", size);
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(
      URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("range.bin"), 0, size), &recorder));
  RunToCompletion(fetcher.get(), &recorder, 150000);
  server_.Release();
  EXPECT_FALSE(recorder.success);
  EXPECT_EQ(recorder.position, 65536u);
}

// The end of a run is signalled before its completion is posted: an owner that starts the next
// run from the completion must see that run as running, never the old run's end.
TEST_F(URLFetcherTest, ARunStartedFromTheCompletionIsNotTakenForEnded) {
  const int kRounds = 20;
  // Every answer is held back for 400 ms, so each new run is still waiting when it is checked.
  Script(R"({"info": {"answer": "raw", "body": "ok"},
             "stall": {"on": "info", "nth": 0, "at": "headers", "seconds": 0.4}})");
  class Restarter : public URLFetcher::URLFetcherDelegate {
   public:
    void OnFetchComplete(URLFetcher* source) override {
      if (++completions >= kRounds) return;
      source->Start();
      started_at = NowMs();
    }
    int completions = 0;
    uint32_t started_at = 0;
  } restarter;
  RefPtr<URLFetcher> fetcher(
      URLFetcher::Create(FetchRequest(server_.Base() + "/downloder/2.0/infoV2?x=1"), &restarter));
  fetcher->Start();
  int checked = 0;
  int ended_early = 0;
  int last_checked_round = 0;
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        if (restarter.completions >= kRounds) return true;
        // Once per restarted run, well after the old run's pool thread is done with it.
        const uint32_t age = NowMs() - restarter.started_at;
        if (restarter.completions > last_checked_round && age >= 100 && age < 300) {
          last_checked_round = restarter.completions;
          ++checked;
          if (fetcher->WaitForRunEnd(0)) ++ended_early;
        }
        return false;
      },
      120000));
  EXPECT_EQ(ended_early, 0) << "of " << checked << " restarted runs";
  EXPECT_GT(checked, kRounds / 2);
}

// Stop() and the stop notification both silence the fetcher for good, even while its transfer
// is blocked in a read; the transfer itself ends at its next check.
class URLFetcherStopTest : public URLFetcherTest, public ::testing::WithParamInterface<bool> {};

TEST_P(URLFetcherStopTest, NothingReachesTheDelegateAfterAStop) {
  const bool by_notification = GetParam();
  const uint32_t size = 4 * 1024 * 1024;
  Script(R"({"size": 4194304, "stall": {"on": "range", "nth": 1, "after": 1500000, "seconds": 20}})");
  MakeZeroFile("stop.bin", size);
  Recorder recorder;
  RefPtr<URLFetcher> fetcher(
      URLFetcher::Create(FetchRequest(server_.PackageUrl(), PathOf("stop.bin"), 0, size), &recorder));
  fetcher->Start();
  size_t progress_at_stop = 0;
  uint32_t stopped_at = 0;
  bool released = false;
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        if (!stopped_at) {
          // Stop once the transfer is under way and the server holds it.
          if (recorder.progress.empty()) return false;
          const std::vector<Json::Value> requests = PackageRequests();
          if (requests.empty() || !requests[0]["stalled"].asBool()) return false;
          if (by_notification) {
            fetcher->Observe(net::kNotificationStop, nullptr, nullptr);
          } else {
            fetcher->Stop();
          }
          progress_at_stop = recorder.progress.size();
          stopped_at = NowMs();
          return false;
        }
        if (!released) {
          released = true;
          EXPECT_TRUE(server_.Release());
        }
        // Give late progress and the completion every chance to arrive.
        return NowMs() - stopped_at > 3000 && fetcher->WaitForRunEnd(0);
      },
      60000));
  EXPECT_TRUE(fetcher->stopped());
  EXPECT_EQ(fetcher->delegate(), nullptr);
  EXPECT_EQ(recorder.completions, 0);
  EXPECT_EQ(recorder.progress.size(), progress_at_stop);
  // The transfer gave up instead of reading the rest of the file.
  const std::vector<Json::Value> requests = PackageRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_LT(fetcher->position(), size);
}

INSTANTIATE_TEST_SUITE_P(StopAndNotification, URLFetcherStopTest, ::testing::Bool());

}  // namespace
