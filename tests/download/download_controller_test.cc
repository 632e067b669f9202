// The download controller through its window interface, on the installer's real loops, with
// real WinINet and libcurl transfers against tools/fault_server.py: the information answers,
// the range probe, the four resumable parts, the whole-file fallback, the single-thread path,
// and the ways a download ends.
#include "download/download_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "download/info_answer.h"
#include "download/probe_judgement.h"
#include "fault_server.h"
#include "net/url_fetcher.h"
#include "runtime/ref_ptr.h"
#include "scratch_folder.h"
#include "test_loops.h"

namespace {

namespace fs = std::filesystem;

class FakeWindow : public DownloadWindow {
 public:
  void SetDownloadProgress(float value) override {
    progress.push_back(value);
    ++calls;
  }
  void SetDownloadSizeText(const std::string& text) override {
    sizes.push_back(text);
    ++calls;
  }
  void OnDownloadFatal(const std::string& fail_type, const std::string& prompt_key) override {
    fatals.emplace_back(fail_type, prompt_key);
    ++calls;
  }
  void OnDownloadFinished() override {
    ++finished;
    ++calls;
  }

  std::vector<float> progress;
  std::vector<std::string> sizes;
  std::vector<std::pair<std::string, std::string>> fatals;
  int finished = 0;
  int calls = 0;
};

class DownloadControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(loops_.ok());
    ASSERT_TRUE(server_.Start());
    global_.channel = "en";
    global_.player_version = "1.0.1.0000";
    global_.language_code = L"lan_en";
    global_.local_app_data = (folder_.path() / "PindlePackage1700000000").wstring();
    download::SetDownloadInfoHost(server_.Base());
    controller_.reset(new DownloadController(&window_, &global_));
  }
  void TearDown() override {
    if (controller_) controller_->Detach();
    controller_.reset();
    download::SetDownloadInfoHost("");
  }

  void Script(const std::string& json) { ASSERT_TRUE(server_.Script(json)); }
  std::string PackagePath() const { return fs::path(global_.local_app_data).string(); }
  // A given package: what "-url:" and "-size:" set.
  void GivePackage(uint32_t size) {
    global_.package_url = server_.PackageUrl();
    global_.package_size = std::to_string(size);
  }
  bool Done() const { return window_.finished > 0 || !window_.fatals.empty(); }

  std::vector<Json::Value> Requests(bool info) {
    std::vector<Json::Value> out;
    for (const Json::Value& entry : server_.Log()) {
      if (entry["info"].asBool() == info) out.push_back(entry);
    }
    return out;
  }

  TestLoops loops_;
  FaultServer server_;
  test_support::ScratchFolder folder_;
  app::CGlobal global_;
  FakeWindow window_;
  base::RefPtr<DownloadController> controller_;
};

// ---- the information answer ---------------------------------------------------------------

struct AnswerCase {
  const char* name;
  const char* info;        // the server's "info" script
  const char* fatal_type;  // nullptr: no fatal failure
  const char* prompt_key;
  int mode;                  // the download mode afterwards
  bool probe_request;        // the probe reached the package server
  const char* package_size;  // afterwards
  const wchar_t* language;   // product language afterwards
  int min_queries;
};

class InfoAnswerTest : public DownloadControllerTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(InfoAnswerTest, EachAnswerHasItsOutcome) {
  const AnswerCase& c = GetParam();
  Script(std::string(R"({"size": 4096, "info": )") + c.info + "}");
  const uint32_t started = NowMs();
  controller_->QueryDownloadInfo();
  // A silent stop is seen as nothing happening for a while.
  loops_.RunUntil(
      [&] {
        return !window_.fatals.empty() ||
               (controller_->download_mode() != download::kModeUnset && NowMs() - started > 300);
      },
      4000);
  if (c.fatal_type) {
    ASSERT_EQ(window_.fatals.size(), 1u);
    EXPECT_EQ(window_.fatals[0].first, c.fatal_type);
    EXPECT_EQ(window_.fatals[0].second, c.prompt_key);
  } else {
    EXPECT_TRUE(window_.fatals.empty());
  }
  EXPECT_EQ(controller_->download_mode(), c.mode);
  EXPECT_EQ(global_.package_size, c.package_size);
  EXPECT_EQ(controller_->product_language(), c.language);
  EXPECT_EQ(Requests(false).size(), c.probe_request ? 1u : 0u);
  const std::vector<Json::Value> queries = Requests(true);
  ASSERT_GE(queries.size(), static_cast<size_t>(c.min_queries));
  EXPECT_EQ(queries[0]["query"].asString(), "channel=en&clientVersion=1.0.1.0000&lan=lan_en");
  EXPECT_EQ(window_.finished, 0);
}

const AnswerCase kAnswerCases[] = {
    {"valid", R"({"answer": "valid", "lan": "lan_jp"})", nullptr, nullptr, download::kModeMultiPart, true, "4096",
     L"lan_jp", 1},
    {"no answer twice, then valid: asked again every second", R"({"answer": "valid", "fail_first": 2})", nullptr,
     nullptr, download::kModeMultiPart, true, "4096", L"", 3},
    {"malformed JSON", R"({"answer": "malformed"})", "Server_Error", "ServiceError", download::kModeUnset, false, "",
     L"", 1},
    {"code not 0: the installer ends", R"({"answer": "code", "code": 5})", "Server_Error", "ServiceError",
     download::kModeUnset, false, "", L"", 1},
    {"data null", R"({"answer": "null_data"})", "Server_Error", "pstrDownloaderUp", download::kModeUnset, false, "",
     L"", 1},
    {"no fileInfo: probe with no URL", R"({"answer": "no_fileinfo", "lan": "lan_kr"})", nullptr, nullptr,
     download::kModeMultiPart, false, "", L"lan_kr", 1},
};

INSTANTIATE_TEST_SUITE_P(Answers, InfoAnswerTest, ::testing::ValuesIn(kAnswerCases),
                         [](const ::testing::TestParamInfo<AnswerCase>& info) {
                           return "Case" + std::to_string(info.index);
                         });

TEST_F(DownloadControllerTest, RequeriesComeNoEarlierThanASecondApart) {
  Script(R"({"size": 4096, "info": {"answer": "valid", "fail_first": 2}})");
  const uint32_t started = NowMs();
  controller_->QueryDownloadInfo();
  ASSERT_TRUE(loops_.RunUntil([&] { return controller_->download_mode() != download::kModeUnset; }, 15000));
  EXPECT_GE(NowMs() - started, 2000u);
  EXPECT_EQ(Requests(true).size(), 3u);
}

TEST_F(DownloadControllerTest, GivenUrlAndSizeSkipTheQueryAndProbeAtOnce) {
  Script(R"({"size": 4096})");
  GivePackage(4096);
  controller_->QueryDownloadInfo();
  ASSERT_TRUE(loops_.RunUntil([&] { return controller_->download_mode() != download::kModeUnset; }, 15000));
  EXPECT_EQ(Requests(true).size(), 0u);
  const std::vector<Json::Value> probes = Requests(false);
  ASSERT_EQ(probes.size(), 1u);
  EXPECT_EQ(probes[0]["range_header"].asString(), "bytes=0-0");
}

TEST_F(DownloadControllerTest, OnlyAGivenUrlStillQueriesAndTheAnswerReplacesIt) {
  Script(R"({"size": 4096, "info": {"answer": "valid"}})");
  global_.package_url = "http://127.0.0.1:1/given.7z";
  global_.package_md5 = "0123456789abcdef0123456789abcdef";
  controller_->QueryDownloadInfo();
  ASSERT_TRUE(loops_.RunUntil([&] { return controller_->download_mode() != download::kModeUnset; }, 15000));
  EXPECT_EQ(Requests(true).size(), 1u);
  EXPECT_EQ(global_.package_url, server_.PackageUrl());
  EXPECT_EQ(global_.package_size, "4096");
  EXPECT_EQ(global_.package_md5, std::string(32, '0'));  // the answer's data.fileInfo.md5
}

// ---- the range probe --------------------------------------------------------------------

struct ProbeCase {
  const char* name;
  const char* script;
  const char* given_size;
  bool file_url;
  const char* fatal_type;
  int mode;
  const char* size_after;
};

class ProbeTest : public DownloadControllerTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbeTest, TheProbeSetsTheModeOrEndsTheInstaller) {
  const ProbeCase& c = GetParam();
  Script(c.script);
  global_.package_url = server_.PackageUrl();
  global_.package_size = c.given_size;
  global_.file_url = c.file_url;
  controller_->QueryDownloadInfo();
  ASSERT_TRUE(loops_.RunUntil([&] { return controller_->download_mode() != download::kModeUnset || Done(); }, 15000));
  if (c.fatal_type) {
    ASSERT_EQ(window_.fatals.size(), 1u);
    EXPECT_EQ(window_.fatals[0].first, c.fatal_type);
    EXPECT_EQ(window_.fatals[0].second, "ServiceError");
  } else {
    EXPECT_TRUE(window_.fatals.empty());
  }
  EXPECT_EQ(controller_->download_mode(), c.mode);
  EXPECT_EQ(global_.package_size, c.size_after);
}

const ProbeCase kProbeCases[] = {
    {"length matches", R"({"size": 5000})", "5000", false, nullptr, download::kModeMultiPart, "5000"},
    {"length differs", R"({"size": 5000})", "4000", false, "Server_Error", download::kModeUnset, "4000"},
    {"length differs with -fileurl:", R"({"size": 5000})", "4000", true, nullptr, download::kModeMultiPart, "5000"},
    {"200 to the range: one whole-file transfer", R"({"size": 5000, "ranges": "200"})", "4000", false, nullptr,
     download::kModeSingle, "4000"},
};

INSTANTIATE_TEST_SUITE_P(Probes, ProbeTest, ::testing::ValuesIn(kProbeCases),
                         [](const ::testing::TestParamInfo<ProbeCase>& info) {
                           return "Case" + std::to_string(info.index);
                         });

// ---- the four parts ---------------------------------------------------------------------

// Requests for the package per part (the quarter its start lies in), in arrival order; the
// probe (the first ranged request, before the download starts) is left out.
std::map<int, std::vector<Json::Value>> PartRequests(const std::vector<Json::Value>& requests, uint32_t size) {
  std::map<int, std::vector<Json::Value>> parts;
  const uint32_t q = size / 4;
  for (size_t i = 1; i < requests.size(); ++i) {
    if (requests[i]["range_start"].isNull()) continue;
    const uint32_t start = requests[i]["range_start"].asUInt();
    parts[std::min<uint32_t>(start / q, 3)].push_back(requests[i]);
  }
  return parts;
}

TEST_F(DownloadControllerTest, FourPartsSurviveDroppedConnectionsAndTheFileIsByteExact) {
  const uint32_t size = 64u << 20;
  Script(R"({"size": 67108864, "drop_parts": {"count": 2, "seed": 20240611, "spare_first": 1}})");
  GivePackage(size);
  controller_->QueryDownloadInfo();
  controller_->StartDownload();
  ASSERT_TRUE(loops_.RunUntil([&] { return Done(); }, 170000));
  ASSERT_TRUE(window_.fatals.empty()) << window_.fatals[0].first;
  EXPECT_EQ(window_.finished, 1);
  EXPECT_FALSE(controller_->fallback_started());

  uint64_t bad = 0;
  EXPECT_TRUE(FileMatchesPackage(PackagePath(), size, &bad)) << "first bad byte " << bad;

  // Every part was cut twice and each resumed where its bytes on disk ended, never at its start.
  const std::map<int, std::vector<Json::Value>> parts = PartRequests(Requests(false), size);
  ASSERT_EQ(parts.size(), 4u);
  for (const auto& part : parts) {
    SCOPED_TRACE("part " + std::to_string(part.first + 1));
    const std::vector<Json::Value>& requests = part.second;
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0]["range_start"].asUInt(), static_cast<uint32_t>(part.first) * (size / 4));
    for (size_t i = 0; i + 1 < requests.size(); ++i) {
      EXPECT_TRUE(requests[i]["dropped"].asBool());
      EXPECT_EQ(requests[i + 1]["range_start"].asUInt(),
                requests[i]["range_start"].asUInt() + requests[i]["sent"].asUInt());
    }
    EXPECT_FALSE(requests.back()["dropped"].asBool());
  }
  EXPECT_EQ(controller_->restart_count(), 8u);

  // The bar only moves forward and stays within the download's 80 %.
  ASSERT_FALSE(window_.progress.empty());
  for (size_t i = 1; i < window_.progress.size(); ++i) {
    EXPECT_GE(window_.progress[i], window_.progress[i - 1]) << "report " << i;
  }
  EXPECT_LE(window_.progress.back(), 0.8f);
  EXPECT_GT(window_.progress.back(), 0.7f);
  ASSERT_FALSE(window_.sizes.empty());
  EXPECT_NE(window_.sizes.back().find("M/64.0M"), std::string::npos) << window_.sizes.back();
}

TEST_F(DownloadControllerTest, AServerIgnoringRangesIsServedByOneWholeFileTransferAtOnce) {
  const uint32_t size = 3u << 20;
  Script(R"({"size": 3145728, "ranges": "200"})");
  GivePackage(size);
  controller_->QueryDownloadInfo();
  controller_->StartDownload();
  ASSERT_TRUE(loops_.RunUntil([&] { return Done(); }, 150000));
  ASSERT_TRUE(window_.fatals.empty()) << window_.fatals[0].first;
  EXPECT_EQ(window_.finished, 1);
  EXPECT_EQ(controller_->download_mode(), download::kModeSingle);
  // No part ever asked for a range, so none had to fail its way to the fallback.
  EXPECT_FALSE(controller_->fallback_started());
  EXPECT_EQ(controller_->restart_count(), 0u);
  uint64_t bad = 0;
  EXPECT_TRUE(FileMatchesPackage(PackagePath(), size, &bad)) << "first bad byte " << bad;
  // The probe, then the file once.
  const std::vector<Json::Value> requests = Requests(false);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0]["range_header"].asString(), "bytes=0-0");
  EXPECT_TRUE(requests[1]["range_header"].isNull());
  EXPECT_EQ(requests[1]["sent"].asUInt(), size);
}

// Every part's first request goes silent after 64 KiB without closing: each is given up after
// the receive time-out (shortened here) and resumed from its last byte on disk.
TEST_F(DownloadControllerTest, SilentPartsAreGivenUpAndResumedAndTheFileIsByteExact) {
  net::URLFetcher::SetReceiveTimeoutForTesting(3000);
  const uint32_t size = 8u << 20;
  Script(R"({"size": 8388608, "stall_parts": {"count": 1, "after": 65536, "seconds": 600, "spare_first": 1}})");
  GivePackage(size);
  controller_->set_restart_pause_for_testing(0);
  controller_->QueryDownloadInfo();
  controller_->StartDownload();
  const bool done = loops_.RunUntil([&] { return Done(); }, 120000);
  net::URLFetcher::SetReceiveTimeoutForTesting(0);
  server_.Release();
  ASSERT_TRUE(done);
  ASSERT_TRUE(window_.fatals.empty()) << window_.fatals[0].first;
  EXPECT_EQ(window_.finished, 1);
  EXPECT_FALSE(controller_->fallback_started());
  uint64_t bad = 0;
  EXPECT_TRUE(FileMatchesPackage(PackagePath(), size, &bad)) << "first bad byte " << bad;
  const std::map<int, std::vector<Json::Value>> parts = PartRequests(Requests(false), size);
  ASSERT_EQ(parts.size(), 4u);
  for (const auto& part : parts) {
    SCOPED_TRACE("part " + std::to_string(part.first + 1));
    ASSERT_EQ(part.second.size(), 2u);
    EXPECT_TRUE(part.second[0]["stalled"].asBool());
    EXPECT_EQ(part.second[1]["range_start"].asUInt(), part.second[0]["range_start"].asUInt() + 65536);
  }
}

TEST_F(DownloadControllerTest, ASecondStartIsIgnored) {
  // A second start would preallocate the file again under the running parts and run every
  // part twice at once.
  const uint32_t size = 2u << 20;
  Script(R"({"size": 2097152})");
  GivePackage(size);
  controller_->QueryDownloadInfo();
  controller_->QueryDownloadInfo();
  controller_->StartDownload();
  controller_->StartDownload();
  ASSERT_TRUE(loops_.RunUntil([&] { return Done(); }, 60000));
  ASSERT_TRUE(window_.fatals.empty()) << window_.fatals[0].first;
  EXPECT_EQ(window_.finished, 1);
  uint64_t bad = 0;
  EXPECT_TRUE(FileMatchesPackage(PackagePath(), size, &bad)) << "first bad byte " << bad;
  // One probe and one request per part.
  EXPECT_EQ(Requests(false).size(), 5u);
}

TEST_F(DownloadControllerTest, APackageReplacedAfterTheProbeIsNeverReportedComplete) {
  const uint32_t size = 1u << 20;
  Script(R"({"size": 1048576})");
  GivePackage(size);
  controller_->set_restart_pause_for_testing(0);
  controller_->QueryDownloadInfo();
  // Once the probe has learnt the size, a new release of another size takes the old one's
  // place on the server, and the install click comes. (One loop run per test.)
  bool replaced = false;
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        if (!replaced && controller_->download_mode() != download::kModeUnset) {
          replaced = true;
          EXPECT_TRUE(server_.Script(R"({"size": 1310720})"));
          controller_->StartDownload();
        }
        return Done();
      },
      120000));
  EXPECT_EQ(window_.finished, 0);
  ASSERT_EQ(window_.fatals.size(), 1u);
  // The parts refused the other file's bytes, and the whole-file transfer refused its size.
  EXPECT_EQ(controller_->fallback_count(), 1u);
}

TEST_F(DownloadControllerTest, WhenAllPartsGiveUpTogetherTheWholeFileIsFetchedAndFinishedOnce) {
  const uint32_t size = 1u << 20;
  // The probe learns the size, but every part is answered with bytes it did not ask for.
  Script(R"({"size": 1048576, "range_offset": 1})");
  GivePackage(size);
  controller_->set_restart_pause_for_testing(0);
  controller_->QueryDownloadInfo();
  controller_->StartDownload();
  uint32_t finished_at = 0;
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        if (!Done()) return false;
        if (!finished_at) finished_at = NowMs();
        return NowMs() - finished_at > 2000;  // anything late has had time to arrive
      },
      60000));
  ASSERT_TRUE(window_.fatals.empty());
  EXPECT_EQ(window_.finished, 1);
  EXPECT_EQ(controller_->fallback_count(), 1u);
  int whole = 0;
  for (const Json::Value& request : Requests(false)) {
    if (request["range_header"].isNull()) ++whole;
  }
  EXPECT_EQ(whole, 1);
  uint64_t bad = 0;
  EXPECT_TRUE(FileMatchesPackage(PackagePath(), size, &bad)) << "first bad byte " << bad;
}

TEST_F(DownloadControllerTest, AFailedWholeFileTransferEndsTheInstaller) {
  Script(R"({"size": 1048576, "range_offset": 1, "drops": [{"on": "plain", "nth": 1, "after": 5000}]})");
  GivePackage(1u << 20);
  controller_->set_restart_pause_for_testing(0);
  controller_->QueryDownloadInfo();
  controller_->StartDownload();
  ASSERT_TRUE(loops_.RunUntil([&] { return Done(); }, 60000));
  EXPECT_EQ(window_.finished, 0);
  ASSERT_EQ(window_.fatals.size(), 1u);
  EXPECT_EQ(window_.fatals[0].first, "Net_ERROR");
  EXPECT_EQ(window_.fatals[0].second, "ServiceError");
}

TEST_F(DownloadControllerTest, AnUnusableSizeIsAFailureNotAnEmptyFinishedPackage) {
  // Empty, not a number, zero, 4 GiB: nothing can be preallocated, so no part may start.
  const char* sizes[] = {"", "abc", "0", "4294967296"};
  Script(R"({"size": 4096})");
  size_t current = 0;
  auto begin = [&] {
    global_.package_url = server_.PackageUrl();
    global_.package_size = sizes[current];
    controller_->set_download_mode(download::kModeMultiPart);
    controller_->StartDownload();
  };
  begin();
  std::vector<base::RefPtr<DownloadController>> used;
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        if (!Done()) return false;
        EXPECT_EQ(window_.finished, 0) << '"' << sizes[current] << '"';
        EXPECT_EQ(window_.fatals.size(), 1u) << '"' << sizes[current] << '"';
        if (!window_.fatals.empty()) {
          EXPECT_EQ(window_.fatals[0].first, "Server_Error");
        }
        if (++current == sizeof sizes / sizeof sizes[0]) return true;
        window_ = FakeWindow();
        controller_->Detach();
        used.push_back(controller_);
        controller_.reset(new DownloadController(&window_, &global_));
        begin();
        return false;
      },
      60000));
  EXPECT_EQ(Requests(false).size(), 0u);
}

TEST_F(DownloadControllerTest, APackageTooBigForItsVolumeIsAServerError) {
  const char* volume = std::getenv("PINDLE_SMALL_VOLUME");
  if (!volume || !fs::exists(fs::path(volume) / ".small-volume"))
    GTEST_SKIP() << "no small volume mounted (needs root)";
  Script(R"({"size": 67108864})");
  global_.local_app_data = (fs::path(volume) / "PindlePackage1700000001").wstring();
  GivePackage(64u << 20);
  controller_->QueryDownloadInfo();
  controller_->StartDownload();
  ASSERT_TRUE(loops_.RunUntil([&] { return Done(); }, 30000));
  ASSERT_EQ(window_.fatals.size(), 1u);
  EXPECT_EQ(window_.fatals[0].first, "Server_Error");
  EXPECT_EQ(window_.fatals[0].second, "ServiceError");
  EXPECT_FALSE(fs::exists(global_.local_app_data));
  EXPECT_EQ(Requests(false).size(), 1u);  // the probe only; no part started
}

TEST_F(DownloadControllerTest, QuittingDuringARestartPauseLeavesThePartStopped) {
  Script(R"({"size": 1048576, "drops": [{"on": "range", "nth": 2, "after": 1000}]})");
  GivePackage(1u << 20);
  controller_->set_restart_pause_for_testing(1500);
  controller_->QueryDownloadInfo();
  controller_->StartDownload();
  uint32_t quit_at = 0;
  int calls_at_quit = 0;
  uint32_t resume_at = 0;
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        if (!quit_at) {
          int failed = -1;
          for (int i = 0; i < 4; ++i) {
            if (controller_->part(i)->fail_count > 0) failed = i;
          }
          if (failed < 0) return false;
          // The restart is pending now; it would ask for the bytes from here on.
          resume_at = controller_->part(failed)->fetcher()->position();
          controller_->StopDownload();
          quit_at = NowMs();
          calls_at_quit = window_.calls;
          return false;
        }
        return NowMs() - quit_at > 3000;
      },
      60000));
  EXPECT_EQ(window_.calls, calls_at_quit);
  EXPECT_EQ(window_.finished, 0);
  // Requests already on their way when the user quit may still arrive; a resumed part may not.
  ASSERT_GT(resume_at, 0u);
  for (const Json::Value& request : Requests(false)) {
    EXPECT_NE(request["range_start"].asUInt(), resume_at) << "the part was resumed after the quit";
  }
}

TEST_F(DownloadControllerTest, ReleasingTheControllerWhilePartsRunSilencesThem) {
  Script(R"({"size": 8388608, "stall": {"on": "range", "nth": 3, "after": 1000000, "seconds": 20}})");
  GivePackage(8u << 20);
  controller_->QueryDownloadInfo();
  controller_->StartDownload();
  uint32_t released_at = 0;
  int calls_at_release = 0;
  ASSERT_TRUE(loops_.RunUntil(
      [&] {
        if (!released_at) {
          bool stalled = false;
          for (const Json::Value& request : Requests(false)) stalled = stalled || request["stalled"].asBool();
          if (!stalled) return false;
          // The owner lets go without Detach: the tasks' destructors stop the fetchers.
          controller_.reset();
          released_at = NowMs();
          calls_at_release = window_.calls;
          server_.Release();
          return false;
        }
        return NowMs() - released_at > 3000;
      },
      60000));
  EXPECT_EQ(window_.calls, calls_at_release);
  EXPECT_EQ(window_.finished, 0);
}

// ---- the single-thread path -------------------------------------------------------------

TEST_F(DownloadControllerTest, SingleThreadPathRetriesWithANewFileAndTheQueryOnTheUrl) {
  const uint32_t size = 2u << 20;
  Script(R"({"size": 2097152, "drops": [{"on": "plain", "nth": 1, "after": 700000}]})");
  GivePackage(size);
  const std::wstring first_path = global_.local_app_data;
  controller_->set_download_mode(download::kModeSingle);
  const uint32_t started = NowMs();
  controller_->StartDownload();
  ASSERT_TRUE(loops_.RunUntil([&] { return Done(); }, 60000));
  ASSERT_TRUE(window_.fatals.empty());
  EXPECT_EQ(window_.finished, 1);
  EXPECT_GE(NowMs() - started, 2000u);  // the retry waits two seconds
  // The retry wrote a new file in the same folder; the failed one is gone.
  EXPECT_NE(global_.local_app_data, first_path);
  EXPECT_EQ(fs::path(global_.local_app_data).parent_path(), fs::path(first_path).parent_path());
  EXPECT_EQ(fs::path(global_.local_app_data).filename().string().rfind("VeskPackZip", 0), 0u);
  EXPECT_FALSE(fs::exists(first_path));
  uint64_t bad = 0;
  EXPECT_TRUE(FileMatchesPackage(PackagePath(), size, &bad)) << "first bad byte " << bad;
  const std::vector<Json::Value> requests = Requests(false);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1]["path"].asString(), "/pkg/package.7z?channel=en&clientVersion=1.0.1.0000&lan=lan_en");
}

}  // namespace
