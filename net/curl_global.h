// libcurl's process-wide state. curl_global_init is not thread-safe, and an easy handle made
// before it runs makes libcurl initialise itself on that handle's thread: two threads doing so
// at once race. So a program's entry makes one CurlGlobalScope on the main thread, before it
// starts any thread that may use libcurl, and keeps it until those threads have stopped; the
// transfers refuse to run without it.
//
//   int wmain(...) {
//     net::CurlGlobalScope curl;   // first, on the main thread
//     ... start the worker threads, run, stop them ...
//   }                              // libcurl is cleaned up last
#ifndef NET_CURL_GLOBAL_H_
#define NET_CURL_GLOBAL_H_

namespace net {

class CurlGlobalScope {
 public:
  CurlGlobalScope();
  ~CurlGlobalScope();
  CurlGlobalScope(const CurlGlobalScope&) = delete;
  CurlGlobalScope& operator=(const CurlGlobalScope&) = delete;

  // False when curl_global_init failed (the reason went to the standard error stream).
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

// True while a CurlGlobalScope that initialised libcurl lives. Any thread.
bool CurlGlobalReady();

// The text a transfer fails with when no scope is ready.
extern const char kCurlNotInitialised[];

}  // namespace net

#endif  // NET_CURL_GLOBAL_H_
