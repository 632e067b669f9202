// The whole-file fallback: one plain GET of the package over libcurl, written from the start of
// a new file. It runs on the file loop and blocks it until the transfer ends.
//
// Certificates are checked (peer and host name): this transfer is reached exactly when ranged
// requests keep failing, which an attacker on the network can arrange, and the installer runs
// what it downloads with administrator rights. On Windows libcurl uses Schannel and the system
// certificate store.
#ifndef DOWNLOAD_CURL_FILE_DOWNLOADER_H_
#define DOWNLOAD_CURL_FILE_DOWNLOADER_H_

#include <atomic>
#include <cstdint>
#include <string>

#include "download/package_file.h"

// Told about the transfer's progress, on the thread that runs Download().
class CLibcurlCallback {
 public:
  virtual void OnCurlProgress(int tag, double total_bytes, double received_bytes) = 0;

 protected:
  virtual ~CLibcurlCallback() {}
};

class CurlFileDownloader {
 public:
  CurlFileDownloader();
  CurlFileDownloader(const CurlFileDownloader&) = delete;
  CurlFileDownloader& operator=(const CurlFileDownloader&) = delete;

  void set_sink(CLibcurlCallback* sink) { sink_ = sink; }
  void set_tag(int tag) { tag_ = tag; }
  // Extra certificates to trust besides the system's (a PEM file); empty for none.
  void set_ca_file(const std::string& path) { ca_file_ = path; }
  // How long a transfer may move no byte before it is given up (libcurl's low-speed limit):
  // 60 s; tests shorten it.
  void set_stall_seconds(long seconds) { stall_seconds_ = seconds; }

  // Replaces `file` with the body of `url`. True only when libcurl finished the transfer, the
  // final answer was 200 (redirects are followed, http and https only), and every byte reached
  // the file. A connection that moves nothing for a minute (set_stall_seconds) ends the transfer
  // as failed. With
  // `max_bytes` (0: no limit) a body announced or grown beyond it ends the transfer as failed,
  // so an endless answer cannot fill the disk.
  bool Download(const std::string& url, const std::wstring& file, uint64_t max_bytes = 0);

  // Any thread: ends a running transfer at its next progress check, as a failure.
  void Cancel() { cancel_.store(true, std::memory_order_release); }

  // Bytes written by the last Download().
  uint64_t bytes_written() const { return bytes_written_; }
  // libcurl's text for the last failure, or a short reason; empty after success.
  const std::string& last_error() const { return last_error_; }

 private:
  static size_t WriteThunk(char* data, size_t size, size_t count, void* self);
  static int ProgressThunk(void* self, int64_t total, int64_t received, int64_t up_total, int64_t up_received);

  download::PackageFileWriter file_;
  std::atomic<int> running_;
  int tag_;
  CLibcurlCallback* sink_;
  std::atomic<bool> cancel_;
  uint64_t bytes_written_;
  uint64_t max_bytes_;
  long stall_seconds_;
  std::string ca_file_;
  std::string last_error_;
};

#endif  // DOWNLOAD_CURL_FILE_DOWNLOADER_H_
