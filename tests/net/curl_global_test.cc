// libcurl's process-wide set-up belongs to the program's entry, on the main thread: without it
// no libcurl transfer runs (it would make libcurl initialise itself on the transfer's thread,
// racing any other), and with it both do. This program links no test support, so it starts
// without the set-up.
#include "net/curl_global.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "analytics/http_post.h"
#include "download/curl_file_downloader.h"

namespace {

// Nothing listens on port 1: a transfer that runs fails to connect, one that is refused fails
// before it.
const char kNowhere[] = "http://127.0.0.1:1/x";

TEST(CurlGlobalTest, TransfersRunOnlyInsideTheProcessSetUp) {
  ASSERT_FALSE(net::CurlGlobalReady());
  {
    CurlFileDownloader downloader;
    EXPECT_FALSE(downloader.Download(kNowhere, L"curl_global_test.bin"));
    EXPECT_EQ(downloader.last_error(), net::kCurlNotInitialised);
    const event_analytics::HttpResponse response = event_analytics::HttpPost(kNowhere, "", "a=1", 3, {});
    EXPECT_EQ(response.status, -1);
    EXPECT_EQ(response.body, net::kCurlNotInitialised);
  }
  {
    net::CurlGlobalScope scope;
    ASSERT_TRUE(scope.ok());
    EXPECT_TRUE(net::CurlGlobalReady());
    CurlFileDownloader downloader;
    EXPECT_FALSE(downloader.Download(kNowhere, L"curl_global_test.bin"));
    EXPECT_NE(downloader.last_error(), net::kCurlNotInitialised);
    const event_analytics::HttpResponse response = event_analytics::HttpPost(kNowhere, "", "a=1", 3, {});
    EXPECT_EQ(response.status, -1);
    EXPECT_NE(response.body, net::kCurlNotInitialised);
  }
  EXPECT_FALSE(net::CurlGlobalReady());
  std::remove("curl_global_test.bin");
}

}  // namespace
