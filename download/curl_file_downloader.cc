#include "download/curl_file_downloader.h"

#include <curl/curl.h>

#include <memory>

#include "net/curl_global.h"
#include "runtime/os_error.h"
#include "runtime/text_encoding.h"

CurlFileDownloader::CurlFileDownloader()
    : running_(0), tag_(0), sink_(nullptr), cancel_(false), bytes_written_(0), max_bytes_(0), stall_seconds_(60) {}

size_t CurlFileDownloader::WriteThunk(char* data, size_t size, size_t count, void* self) {
  CurlFileDownloader* downloader = static_cast<CurlFileDownloader*>(self);
  // Returning less than was handed over makes libcurl end the transfer as failed.
  if (downloader->running_.load() != 1 || !downloader->file_.is_open()) return 0;
  const size_t bytes = size * count;
  if (downloader->max_bytes_ != 0 && downloader->bytes_written_ + bytes > downloader->max_bytes_) {
    downloader->last_error_ = "the answer is longer than the package";
    return 0;
  }
  if (!downloader->file_.Write(data, bytes)) {
    downloader->last_error_ = "cannot write the package file: " + base::OsErrorText(base::LastOsError());
    return 0;
  }
  downloader->bytes_written_ += bytes;
  return bytes;
}

int CurlFileDownloader::ProgressThunk(void* self, int64_t total, int64_t received, int64_t up_total,
                                      int64_t up_received) {
  (void)up_total;
  (void)up_received;
  CurlFileDownloader* downloader = static_cast<CurlFileDownloader*>(self);
  if (downloader->sink_) {
    downloader->sink_->OnCurlProgress(downloader->tag_, static_cast<double>(total), static_cast<double>(received));
  }
  return downloader->cancel_.load(std::memory_order_acquire) ? 1 : 0;
}

bool CurlFileDownloader::Download(const std::string& url, const std::wstring& file, uint64_t max_bytes) {
  bytes_written_ = 0;
  max_bytes_ = max_bytes;
  last_error_.clear();
  // libcurl must not initialise itself on this thread while another may do the same.
  if (!net::CurlGlobalReady()) {
    last_error_ = net::kCurlNotInitialised;
    return false;
  }
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) {
    last_error_ = "curl_easy_init failed";
    return false;
  }
  if (!file_.Create(file)) {
    const unsigned long error = base::LastOsError();
    last_error_ = "cannot create " + base::WideToAnsi(file) + ": " + base::OsErrorText(error);
    return false;
  }
  CURL* handle = curl.get();
  // libcurl's own account of a failure ("Failed to connect to ... port ...: Connection refused").
  char detail[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, detail);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &CurlFileDownloader::WriteThunk);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &CurlFileDownloader::ProgressThunk);
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!ca_file_.empty()) curl_easy_setopt(handle, CURLOPT_CAINFO, ca_file_.c_str());
  // An error page or a redirect body is not the package.
  curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 20L);
  // A peer that goes silent without closing: less than a byte a second for the stall time.
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, stall_seconds_);
  if (max_bytes != 0) {
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(max_bytes));
  }
  running_.store(1);
  const CURLcode result = curl_easy_perform(handle);
  running_.store(0);
  long status = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  file_.Close();
  if (result != CURLE_OK) {
    // A reason the write callback gave is more telling than libcurl's "failed writing".
    if (!last_error_.empty()) return false;
    if (result == CURLE_HTTP_RETURNED_ERROR) {
      last_error_ = "HTTP status " + std::to_string(status);
    } else {
      last_error_ = curl_easy_strerror(result);
      if (detail[0]) last_error_ += std::string(" (") + detail + ")";
    }
    return false;
  }
  if (status != 200) {
    last_error_ = "unexpected HTTP status " + std::to_string(status);
    return false;
  }
  return true;
}
