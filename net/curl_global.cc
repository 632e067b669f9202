#include "net/curl_global.h"

#include <curl/curl.h>

#include <atomic>
#include <cstdio>

namespace net {

const char kCurlNotInitialised[] = "libcurl is not initialised";

namespace {

// Scopes alive that initialised libcurl; libcurl counts its own initialisations the same way.
std::atomic<int> g_ready_scopes{0};

}  // namespace

CurlGlobalScope::CurlGlobalScope() : ok_(false) {
  const CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (code != CURLE_OK) {
    std::fprintf(stderr, "curl_global_init failed: %s\n", curl_easy_strerror(code));
    return;
  }
  ok_ = true;
  g_ready_scopes.fetch_add(1, std::memory_order_release);
}

CurlGlobalScope::~CurlGlobalScope() {
  if (!ok_) return;
  g_ready_scopes.fetch_sub(1, std::memory_order_acq_rel);
  curl_global_cleanup();
}

bool CurlGlobalReady() {
  return g_ready_scopes.load(std::memory_order_acquire) > 0;
}

}  // namespace net
