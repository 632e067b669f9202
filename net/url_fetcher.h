// One HTTP request over WinINet that never blocks the UI thread.
//
// The UI thread creates and starts a fetcher; the I/O loop queues the transfer on the system
// thread pool; the pool thread runs it and posts a completion packet to the I/O loop's port;
// the I/O loop hands the completion to the UI loop, where the delegate hears it. Progress also
// reaches the delegate on the UI loop.
//
//   base::RefPtr<net::URLFetcher> fetcher(net::URLFetcher::Create(net::FetchRequest(url), this));
//   fetcher->Start();
//   ...  // later, on the UI loop: OnFetchComplete(fetcher) reads success(), response() ...
//   fetcher->Stop();  // no further calls reach the delegate
//
// A fetcher can run again after a run has ended; each run reads the request fields as they are
// then. A stopped fetcher stays stopped: owners replace it with a new one.
//
// References: the owner's, one per pending task that targets the fetcher, and two per run (the
// transfer's and the completion's). The last release deletes it, on whatever thread.
#ifndef NET_URL_FETCHER_H_
#define NET_URL_FETCHER_H_

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "net/fetch_request.h"
#include "net/notification_observer.h"
#include "runtime/message_loop.h"
#include "runtime/message_pump_win.h"
#include "runtime/ref_counted.h"
#include "runtime/waitable_event.h"

namespace net {

class URLFetcher : public base::MessagePumpForIO::IOHandler,
                   public base::MessageLoop::DestructionObserver,
                   public NotificationObserver,
                   public base::RefCountedThreadSafe<URLFetcher> {
 public:
  class URLFetcherDelegate {
   public:
    // Once per run, on the UI loop, unless the fetcher was stopped.
    virtual void OnFetchComplete(URLFetcher* source) = 0;
    // Zero or more times per run, before the completion, on the UI loop.
    virtual void OnFetchProgress(URLFetcher* source, float fraction) {
      (void)source;
      (void)fraction;
    }
    virtual ~URLFetcherDelegate() {}
  };

  // A new fetcher with no reference yet: the caller takes the first one (RefPtr does). Reads
  // the I/O loop's completion port, so the I/O loop must be registered by then.
  static URLFetcher* Create(const FetchRequest& request, URLFetcherDelegate* delegate);

  // UI thread. Posts the start of a run to the I/O loop.
  void Start();
  // UI thread (safe from any). Clears the delegate and asks the transfer to end at its next
  // check; does not wait.
  void Stop();

  // Blocks until the run that the last Start() began has ended, or `timeout_ms` has passed;
  // true when it ended. Only meaningful for a fetcher that has been started. A run ends before
  // its completion is posted, so a run started from a completion is never taken for ended.
  bool WaitForRunEnd(int64_t timeout_ms);

  // Every run gives up a connection that delivers nothing for 40 s (the send, receive and
  // answer time-outs). Tests shorten that here; 0 restores it. Any thread, between runs.
  static void SetReceiveTimeoutForTesting(uint32_t milliseconds);

  // MessagePumpForIO::IOHandler: the completion packet of a run, on the I/O loop.
  void OnIOCompleted(OVERLAPPED* context, DWORD bytes_transferred, DWORD error) override;
  // MessageLoop::DestructionObserver: the I/O loop ends while a run is registered.
  void WillDestroyCurrentMessageLoop() override;
  // NotificationObserver: kNotificationStop acts like Stop().
  void Observe(int type, const void* source, const void* details) override;

  // Results of the last run, for the delegate in OnFetchComplete.
  bool success() const { return success_; }
  int error() const { return error_; }
  const std::string& response() const { return response_; }    // kind 0; appended, never cleared
  uint32_t position() const { return position_; }              // kinds 1 and 2: next offset
  uint32_t content_length() const { return content_length_; }  // kind 4
  float progress() const { return progress_; }
  bool range_allowed() const { return range_allowed_; }
  bool stopped() const { return cancel_.load(std::memory_order_acquire); }
  URLFetcherDelegate* delegate() const { return delegate_.load(std::memory_order_acquire); }
  int kind() const { return kind_; }

  // Request fields. The owner may change them while no run is active.
  std::wstring file_path;
  std::string url;
  uint32_t range_start;
  uint32_t range_end;
  uint32_t tag;              // the part's first offset: base of range progress
  uint32_t file_size;        // kind 2: the whole file's size; 0 when not known. An answer for
                             // a file of another size fails the run: the file has changed.
  std::wstring post_server;  // kind 5: host name, optionally followed by ":port" (default 80)
  std::wstring post_object;
  std::string post_body;

 private:
  friend struct base::DefaultRefCountedThreadSafeTraits<URLFetcher>;

  // What the completion packet points at: an overlapped record followed by its handler.
  struct IOContext {
    OVERLAPPED overlapped;
    URLFetcher* handler;
  };

  URLFetcher(const FetchRequest& request, URLFetcherDelegate* delegate);
  ~URLFetcher() override;

  // I/O loop.
  void StartOnIoLoop();
  void CompleteOnIoLoop();
  // UI loop.
  void CompleteOnUiLoop();
  void ProgressOnUiLoop(float fraction);
  // Any thread.
  void PostCompletionToUi();
  void PostProgress(float fraction);
  bool cancelled() const { return cancel_.load(std::memory_order_acquire); }

  // Pool thread: one run, then the end step. (url_fetcher_transfer_win.cc)
  struct RunHandles;  // the WinINet handles of one run, closed after its completion is posted
  static DWORD WINAPI TransferThunk(LPVOID fetcher);
  void RunTransfer();
  bool Transfer(RunHandles* handles);
  bool TransferToMemory(RunHandles* handles);
  bool TransferToFile(RunHandles* handles);
  bool TransferRange(RunHandles* handles);
  bool TransferOpenOnly(RunHandles* handles);
  bool TransferProbeRange(RunHandles* handles);
  bool TransferPost(RunHandles* handles);

  std::string response_;
  HANDLE io_port_;
  IOContext io_context_;
  // Written by the UI thread, read by the I/O loop and the pool thread: atomics, not plain
  // fields, so a stop is seen without a data race.
  std::atomic<URLFetcherDelegate*> delegate_;
  bool success_;
  int kind_;
  std::atomic<bool> cancel_;
  base::WaitableEvent done_event_;         // manual reset; signalled when a run's results are final
  base::WaitableEvent completion_posted_;  // manual reset; signalled once that run's completion is posted
  NotificationRegistrar registrar_;
  float progress_;
  bool range_allowed_;  // cleared when a range run gets an answer other than 206
  int error_;
  uint32_t position_;
  uint32_t content_length_;
};

}  // namespace net

#endif  // NET_URL_FETCHER_H_
