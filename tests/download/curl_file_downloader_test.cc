// The whole-file fallback over libcurl against tools/fault_server.py: a complete download,
// every way it must fail, cancellation, and (host tree) the certificate checks.
#include "download/curl_file_downloader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "fault_server.h"
#include "scratch_folder.h"

namespace {

class ProgressLog : public CLibcurlCallback {
 public:
  void OnCurlProgress(int tag, double total, double received) override {
    tags.push_back(tag);
    last_total = total;
    last_received = received;
    ++calls;
  }
  std::vector<int> tags;
  double last_total = 0;
  double last_received = 0;
  int calls = 0;
};

class CurlFileDownloaderTest : public ::testing::Test {
 protected:
  std::wstring Path(const char* name) const { return (folder_.path() / name).wstring(); }
  std::string NarrowPath(const char* name) const { return folder_.File(name); }

  test_support::ScratchFolder folder_;
};

TEST_F(CurlFileDownloaderTest, DownloadsTheWholeFileAndReportsProgress) {
  FaultServer server;
  ASSERT_TRUE(server.Start());
  const uint32_t size = 5 * 1024 * 1024 + 3;
  ASSERT_TRUE(server.Script(R"({"size": )" + std::to_string(size) + "}"));
  ProgressLog progress;
  CurlFileDownloader downloader;
  downloader.set_sink(&progress);
  downloader.set_tag(7);
  ASSERT_TRUE(downloader.Download(server.PackageUrl(), Path("pkg"))) << downloader.last_error();
  EXPECT_EQ(downloader.bytes_written(), size);
  uint64_t bad = 0;
  EXPECT_TRUE(FileMatchesPackage(NarrowPath("pkg"), size, &bad)) << "first bad byte " << bad;
  ASSERT_GT(progress.calls, 0);
  EXPECT_EQ(progress.tags.front(), 7);
  EXPECT_EQ(progress.last_total, size);
  EXPECT_EQ(progress.last_received, size);
}

TEST_F(CurlFileDownloaderTest, AnythingButTheWholeBodyOf200IsAFailure) {
  FaultServer server;
  ASSERT_TRUE(server.Start());
  struct Case {
    const char* name;
    const char* script;
    const char* path;
    const char* cause;  // part of the error text the log gets
  } const cases[] = {
      {"error page", R"({"size": 1000})", "/missing", "HTTP status 404"},
      {"connection closed early", R"({"size": 1048576, "drops": [{"on": "full", "nth": 1, "after": 4096}]})", "/pkg/p",
       "partial file"},
      {"nothing listens", R"({})", nullptr, "127.0.0.1 port 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(server.Script(c.script));
    CurlFileDownloader downloader;
    const std::string url = c.path ? server.Base() + c.path : "http://127.0.0.1:1/pkg/p";
    EXPECT_FALSE(downloader.Download(url, Path("pkg")));
    EXPECT_NE(downloader.last_error().find(c.cause), std::string::npos) << downloader.last_error();
  }
}

TEST_F(CurlFileDownloaderTest, AnAnswerLongerThanThePackageFailsWithoutFillingTheDisk) {
  FaultServer server;
  ASSERT_TRUE(server.Start());
  const uint64_t package = 1024 * 1024;
  struct Case {
    const char* name;
    const char* script;
  } const cases[] = {
      {"announced longer", R"({"size": 3145728})"},
      {"no length, body runs on", R"({"size": 3145728, "length": "missing"})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(server.Script(c.script));
    CurlFileDownloader downloader;
    EXPECT_FALSE(downloader.Download(server.PackageUrl(), Path("pkg"), package));
    EXPECT_LE(downloader.bytes_written(), package);
    EXPECT_FALSE(downloader.last_error().empty());
  }
  // Exactly the expected size passes.
  ASSERT_TRUE(server.Script(R"({"size": 1048576})"));
  CurlFileDownloader downloader;
  EXPECT_TRUE(downloader.Download(server.PackageUrl(), Path("pkg"), package)) << downloader.last_error();
  EXPECT_EQ(downloader.bytes_written(), package);
}

TEST_F(CurlFileDownloaderTest, CancelEndsAStalledTransferAsAFailure) {
  FaultServer server;
  ASSERT_TRUE(server.Start());
  ASSERT_TRUE(server.Script(R"({"size": 4194304, "stall": {"on": "full", "nth": 1, "after": 65536, "seconds": 60}})"));
  CurlFileDownloader downloader;
  std::atomic<bool> done{false};
  bool result = true;
  std::thread transfer([&] {
    result = downloader.Download(server.PackageUrl(), Path("pkg"));
    done = true;
  });
  // Cancel once the server holds the request.
  for (int i = 0; i < 500 && !done; ++i) {
    const Json::Value log = server.Log();
    if (log.size() == 1 && log[0]["stalled"].asBool()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  downloader.Cancel();
  transfer.join();
  server.Release();
  EXPECT_FALSE(result);
  EXPECT_LT(downloader.bytes_written(), 4194304u);
}

// A peer that stops sending without closing is given up once nothing has moved for the stall
// time, both before the answer and in the middle of the body; what arrived stays counted.
TEST_F(CurlFileDownloaderTest, ASilentServerIsGivenUpAfterTheStallTime) {
  FaultServer server;
  ASSERT_TRUE(server.Start());
  struct Case {
    const char* name;
    const char* stall;
    uint64_t written;
  } const cases[] = {
      {"before the answer", R"({"on": "full", "nth": 1, "at": "headers", "seconds": 300, "then": "close"})", 0},
      {"inside the body", R"({"on": "full", "nth": 1, "after": 65536, "seconds": 300, "then": "close"})", 65536},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(server.Script(std::string(R"({"size": 4194304, "stall": )") + c.stall + "}"));
    CurlFileDownloader downloader;
    downloader.set_stall_seconds(2);
    EXPECT_FALSE(downloader.Download(server.PackageUrl(), Path("pkg")));
    EXPECT_EQ(downloader.bytes_written(), c.written);
    EXPECT_NE(downloader.last_error().find("Timeout"), std::string::npos) << downloader.last_error();
    const Json::Value log = server.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(log[0]["stalled"].asBool());
  }
  server.Release();
}

#ifndef _WIN32
// The fallback is exactly what an attacker who breaks ranged requests would reach, so its TLS
// checks must hold: a certificate nobody vouches for, or one for another name, is refused.
TEST_F(CurlFileDownloaderTest, CertificatesAreCheckedForPeerAndHostName) {
  FaultServer right_name;
  FaultServer wrong_name;
  ASSERT_TRUE(right_name.Start("IP:127.0.0.1"));
  ASSERT_TRUE(wrong_name.Start("DNS:wrong.example"));
  ASSERT_TRUE(right_name.Script(R"({"size": 100000})"));
  ASSERT_TRUE(wrong_name.Script(R"({"size": 100000})"));
  struct Case {
    const char* name;
    FaultServer* server;
    bool trust_its_certificate;
    bool ok;
  } const cases[] = {
      {"self-signed, not trusted", &right_name, false, false},
      {"trusted, for this address", &right_name, true, true},
      {"trusted, for another name", &wrong_name, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CurlFileDownloader downloader;
    if (c.trust_its_certificate) downloader.set_ca_file(c.server->cert_file());
    ASSERT_EQ(c.server->PackageUrl().rfind("https://", 0), 0u);
    EXPECT_EQ(downloader.Download(c.server->PackageUrl(), Path("pkg")), c.ok) << downloader.last_error();
    if (!c.ok) {
      EXPECT_EQ(downloader.bytes_written(), 0u);
    }
  }
  // The refused transfers never reached the package.
  EXPECT_EQ(wrong_name.Log().size(), 0u);
}
#endif

}  // namespace
