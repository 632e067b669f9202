// The life of a URLFetcher run: start on the I/O loop, completion through the I/O loop's port,
// delivery on the UI loop. The transfer itself is in url_fetcher_transfer_win.cc.
#include "net/url_fetcher.h"

#include "log/log_assist.h"
#include "net/fetch_failure.h"
#include "runtime/obj_wrapper.h"
#include "runtime/os_error.h"
#include "runtime/task.h"
#include "runtime/text_encoding.h"

namespace net {

namespace {

const char kLogSource[] = "net\\url_fetcher.cc";

HANDLE IoLoopPort() {
  base::MessageLoop* io = base::GetThreadLoop(base::kIoLoop);
  if (!io) return nullptr;
  base::MessagePumpWin* pump = dynamic_cast<base::MessagePumpWin*>(io->pump());
  return pump ? pump->port() : nullptr;
}

}  // namespace

URLFetcher* URLFetcher::Create(const FetchRequest& request, URLFetcherDelegate* delegate) {
  return new URLFetcher(request, delegate);
}

URLFetcher::URLFetcher(const FetchRequest& request, URLFetcherDelegate* delegate)
    : file_path(request.file_path),
      url(request.url),
      range_start(request.range_start),
      range_end(request.range_end),
      tag(0),
      file_size(0),
      io_port_(IoLoopPort()),
      delegate_(delegate),
      success_(false),
      kind_(request.kind),
      cancel_(false),
      done_event_(true, false),
      completion_posted_(true, false),
      progress_(0.0f),
      range_allowed_(true),
      error_(kErrorNone),
      position_(request.kind == kFetchRange ? request.range_start : 0),
      content_length_(0) {
  ZeroMemory(&io_context_.overlapped, sizeof io_context_.overlapped);
  io_context_.handler = this;
}

URLFetcher::~URLFetcher() {
  registrar_.RemoveAll();
  delegate_.store(nullptr, std::memory_order_release);
  cancel_.store(true, std::memory_order_release);
}

void URLFetcher::Start() {
  // Reset here, not on the pool thread, so a wait that follows this call waits for this run.
  done_event_.Reset();
  completion_posted_.Reset();
  // A ranged run that fails before its transfer begins must still report where the part
  // resumes, never offset 0.
  if (kind_ == kFetchRange) position_ = range_start;
  base::MessageLoop* io = base::GetThreadLoop(base::kIoLoop);
  if (!io) {
    // Nobody could run the transfer: tell the delegate it failed rather than leave it waiting.
    success_ = false;
    done_event_.Signal();
    completion_posted_.Signal();
    PostCompletionToUi();
    return;
  }
  io->PostTask(base::NewMethodTask(new base::NormalWrapper<URLFetcher>(this), &URLFetcher::StartOnIoLoop));
}

void URLFetcher::Stop() {
  delegate_.store(nullptr, std::memory_order_release);
  cancel_.store(true, std::memory_order_release);
}

bool URLFetcher::WaitForRunEnd(int64_t timeout_ms) {
  return done_event_.TimedWait(timeout_ms);
}

void URLFetcher::StartOnIoLoop() {
  AddRef();  // the transfer's
  AddRef();  // the completion's
  base::MessageLoop::current()->AddDestructionObserver(this);
  if (QueueUserWorkItem(&URLFetcher::TransferThunk, this, WT_EXECUTEDEFAULT)) return;
  FetchFailure failure;
  failure.url = url;
  failure.cause = "QueueUserWorkItem: " + base::OsErrorText(GetLastError());
  simlog::LogAssist::GetInstance().Log(kLogSource, __LINE__, simlog::kLogLineLevel, DescribeFetchFailure(failure),
                                       true);
  Release();  // no transfer
  base::MessageLoop::current()->RemoveDestructionObserver(this);
  success_ = false;
  done_event_.Signal();
  completion_posted_.Signal();
  PostCompletionToUi();
  Release();  // no completion packet either; the running task still holds a reference
}

void URLFetcher::OnIOCompleted(OVERLAPPED* context, DWORD bytes_transferred, DWORD error) {
  (void)context;
  (void)bytes_transferred;
  (void)error;
  CompleteOnIoLoop();
}

void URLFetcher::CompleteOnIoLoop() {
  base::MessageLoop::current()->RemoveDestructionObserver(this);
  if (delegate()) PostCompletionToUi();
  Release();  // the completion's
}

void URLFetcher::WillDestroyCurrentMessageLoop() {
  cancel_.store(true, std::memory_order_release);
  // The run ends, then posts its completion packet: this loop and its port must outlast both.
  done_event_.Wait();
  completion_posted_.Wait();
  if (delegate()) PostCompletionToUi();
  Release();  // the completion's: its packet will never be read
}

void URLFetcher::Observe(int type, const void* source, const void* details) {
  (void)source;
  (void)details;
  if (type != kNotificationStop) return;
  Stop();
  registrar_.RemoveAll();
}

void URLFetcher::PostCompletionToUi() {
  base::MessageLoop* ui = base::GetThreadLoop(base::kUiLoop);
  if (!ui) return;
  ui->PostTask(base::NewMethodTask(new base::NormalWrapper<URLFetcher>(this), &URLFetcher::CompleteOnUiLoop));
}

void URLFetcher::PostProgress(float fraction) {
  base::MessageLoop* ui = base::GetThreadLoop(base::kUiLoop);
  if (!ui) return;
  ui->PostTask(base::NewMethodTask(new base::NormalWrapper<URLFetcher>(this), &URLFetcher::ProgressOnUiLoop, fraction));
}

void URLFetcher::CompleteOnUiLoop() {
  if (base::MessageLoop::current() != base::GetThreadLoop(base::kUiLoop)) {
    simlog::LogAssist& log = simlog::LogAssist::GetInstance();
    log.Log(kLogSource, __LINE__, simlog::kLogLineLevel, base::WideToAnsi(L"错误，FetchComplete 没在UI线程运行"),
            log.debug());
  }
  if (URLFetcherDelegate* d = delegate()) d->OnFetchComplete(this);
}

void URLFetcher::ProgressOnUiLoop(float fraction) {
  progress_ = fraction;
  if (URLFetcherDelegate* d = delegate()) d->OnFetchProgress(this, fraction);
}

}  // namespace net
