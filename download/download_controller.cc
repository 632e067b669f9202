#include "download/download_controller.h"

#include <ctime>

#include "download/download_plan.h"
#include "download/info_answer.h"
#include "download/package_file.h"
#include "download/probe_judgement.h"
#include "download/restart_policy.h"
#include "log/log_assist.h"
#include "net/fetch_failure.h"
#include "runtime/message_loop.h"
#include "runtime/obj_wrapper.h"
#include "runtime/task.h"
#include "runtime/text_encoding.h"
#include "runtime/time_ticks.h"
#include "runtime/waitable_event.h"

namespace {

const char kLogSource[] = "UI\\UIMainWindowEx.cpp";

const int64_t kModeWaitMicroseconds = 200000;
const int64_t kRequeryMicroseconds = 1000000;
const int64_t kSingleRetryMicroseconds = 2000000;
const uint32_t kCurlProgressStep = 1009455;
const uint32_t kSingleRetryLimit = 3;
// How long the whole-file transfer waits for the stopped parts' transfers to end (each ends at
// its next read) before it replaces the file.
const int64_t kWindDownBudgetMs = 5000;

template <class T>
base::ObjWrapper<T>* Hold(T* target) {
  return new base::NormalWrapper<T>(target);
}

void PostTo(int slot, base::Task* task, int64_t delay_microseconds = 0) {
  base::MessageLoop* loop = base::GetThreadLoop(slot);
  if (!loop) {
    base::Task::Drop(task);
    return;
  }
  loop->PostDelayedTask(task, delay_microseconds);
}

}  // namespace

DownloadController::DownloadController(DownloadWindow* window, app::CGlobal* global)
    : window_(window),
      global_(global),
      fetch_url_(this, std::string()),
      fetch_file_(this, std::string(), std::wstring()),
      part1_(this, std::string(), std::wstring(), 0, 0),
      part2_(this, std::string(), std::wstring(), 0, 0),
      part3_(this, std::string(), std::wstring(), 0, 0),
      part4_(this, std::string(), std::wstring(), 0, 0),
      parts_{{&part1_, &part2_, &part3_, &part4_}},
      fetch_apk_(this, std::string(), std::wstring(), 0, 0),
      probe_(this, std::string()),
      upload_(this, std::string(), net::kFetchPost),
      download_mode_(download::kModeUnset),
      download_start_time_(0),
      overall_progress_(0.0f),
      info_query_started_(false),
      download_requested_(false),
      fallback_started_(false),
      parts_started_(false),
      single_started_(false),
      single_retry_count_(0),
      curl_bytes_reported_(0.0),
      fatal_popup_shown_(false),
      closing_(false),
      finished_(false),
      fatal_reported_(false),
      restart_count_(0),
      fallback_count_(0),
      test_pause_ms_(-1),
      random_(static_cast<uint32_t>(base::SystemMillisecondCounter()) ^
              static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this))) {}

DownloadController::~DownloadController() {}

void DownloadController::Log(int line, bool always, const std::string& message) const {
  simlog::LogAssist::GetInstance().Log(kLogSource, line, simlog::kLogLineLevel, message, always || global_->debug);
}

std::string DownloadController::InfoQuery() const {
  return download::BuildInfoQuery(global_->channel, global_->player_version, base::WideToAnsi(global_->language_code));
}

uint32_t DownloadController::NextPauseMs() {
  if (test_pause_ms_ >= 0) return static_cast<uint32_t>(test_pause_ms_);
  return download::RestartPauseMs(static_cast<uint32_t>(random_()));
}

// ---- download information ---------------------------------------------------------------

void DownloadController::QueryDownloadInfo() {
  if (info_query_started_) return;
  info_query_started_ = true;
  Log(__LINE__, false, "start to query json");
  if (!global_->package_url.empty() && !global_->package_size.empty()) {
    Log(__LINE__, true, "has download param.");
    StartProbe();
    return;
  }
  global_->download_info_url = download::BuildInfoUrl(download::DownloadInfoHost(), InfoQuery());
  fetch_url_.fetcher()->url = global_->download_info_url;
  fetch_url_.Start();
  Log(__LINE__, false, simlog::LogAssist::FormatString("test URL:%s", global_->download_info_url.c_str()));
}

void DownloadController::RequeryInfo() {
  if (closing_) return;
  global_->download_info_url = download::BuildInfoUrl(download::DownloadInfoHost(), InfoQuery());
  fetch_url_.ReplaceFetcher(net::FetchRequest(global_->download_info_url));
  fetch_url_.Start();
}

void DownloadController::OnFetchURL(std::string body) {
  if (closing_) return;
  if (!global_->package_url.empty() && !global_->package_size.empty()) {
    Log(__LINE__, true, "has download param.");
    StartProbe();
    return;
  }
  if (body.empty()) {
    Log(__LINE__, true, "Query Json Failed");
    fetch_url_.Stop();
    PostTo(base::kUiLoop, base::NewMethodTask(Hold(this), &DownloadController::RequeryInfo), kRequeryMicroseconds);
    return;
  }
  Log(__LINE__, false, simlog::LogAssist::FormatString("%s", body.c_str()));
  const download::InfoAnswer answer = download::JudgeInfoAnswer(body);
  switch (answer.outcome) {
    case download::kInfoRequery: return;  // not reached: an empty body was handled above
    case download::kInfoMalformed:
      Log(__LINE__, true, "request download info failed.");
      Fatal("Server_Error", "ServiceError");
      return;
    case download::kInfoRefused:
      // Nothing will come after a refusal: waiting would leave the user before a window that
      // never moves again.
      Log(__LINE__, true, simlog::LogAssist::FormatString("request download info failed, code %d", answer.code));
      Fatal("Server_Error", "ServiceError");
      return;
    case download::kInfoNoData:
      Log(__LINE__, true, "request download info failed and data is null.");
      Fatal("Server_Error", "pstrDownloaderUp");
      return;
    case download::kInfoProbe: break;
  }
  if (answer.has_file_info) {
    global_->package_size = answer.package_size;
    global_->package_url = answer.package_url;
    // The package is checked against it before unpacking; an answer without one leaves the
    // caller's "-md5:" in place.
    if (!answer.md5.empty()) global_->package_md5 = answer.md5;
  }
  if (!answer.lan.empty()) product_language_ = base::Utf8ToWide(answer.lan);
  StartProbe();
}

// ---- range probe -------------------------------------------------------------------------

void DownloadController::StartProbe() {
  probe_.fetcher()->url = global_->package_url;
  probe_.Start();
}

void DownloadController::OnTestBreakPoint(bool success, const FetchResult* result) {
  if (closing_) return;
  const uint32_t length = result ? result->position : 0;
  if (!success) {
    Log(__LINE__, true, simlog::LogAssist::FormatString("range probe failed, error %d", result ? result->error : 0));
  }
  switch (download::JudgeProbe(success, result ? result->error : 0, length, global_->package_size, global_->file_url)) {
    case download::kProbeMultiPart:
      if (success) Log(__LINE__, false, "Server supports multi-threaded download");
      download_mode_ = download::kModeMultiPart;
      return;
    case download::kProbeSingle:
      Log(__LINE__, true, "the package server ignores ranges: single thread download");
      download_mode_ = download::kModeSingle;
      return;
    case download::kProbeReplaceSize:
      global_->package_size = std::to_string(length);
      download_mode_ = download::kModeMultiPart;
      return;
    case download::kProbeSizeMismatch:
      Log(__LINE__, false, "The server returned an error, the file size is not consistent");
      Fatal("Server_Error", "ServiceError");
      return;
  }
}

// ---- download start ----------------------------------------------------------------------

void DownloadController::StartDownload() {
  if (download_requested_) return;
  download_requested_ = true;
  ContinueDownload();
}

void DownloadController::ContinueDownload() {
  if (Idle()) return;
  if (download_mode_ == download::kModeUnset) {
    PostTo(base::kUiLoop, base::NewMethodTask(Hold(this), &DownloadController::ContinueDownload),
           kModeWaitMicroseconds);
    return;
  }
  download_start_time_ = base::SystemMillisecondCounter();
  if (download_mode_ == download::kModeSingle) {
    Log(__LINE__, true, "Single thread download start");
    net::URLFetcher* fetcher = fetch_file_.fetcher();
    fetcher->file_path = package_path();
    fetcher->url = package_url();
    single_started_ = true;
    fetch_file_.Start();
    return;
  }
  Log(__LINE__, true, "Start Multi thread Download");
  const uint32_t size = download::ParsePackageSize(global_->package_size);
  PostTo(base::kFileLoop,
         base::NewMethodTask(Hold(this), &DownloadController::PreallocateOnFileLoop, size, package_path()));
}

void DownloadController::PreallocateOnFileLoop(uint32_t size, std::wstring path) {
  Log(__LINE__, false, simlog::LogAssist::FormatString("install pack save path:%s", base::WideToAnsi(path).c_str()));
  // A size that is unknown (0: the size text was empty or not a number) or out of range cannot
  // make a package: an empty file must not pass for a finished download.
  const bool size_known = size != 0 && size != download::kSizeOutOfRange;
  if (!size_known) {
    Log(__LINE__, true,
        simlog::LogAssist::FormatString("package size \"%s\" is no usable size", global_->package_size.c_str()));
  }
  const bool ok = size_known && download::PreallocatePackageFile(path, size);
  PostTo(base::kUiLoop, base::NewMethodTask(Hold(this), &DownloadController::StartParts, ok));
}

void DownloadController::StartParts(bool preallocated) {
  if (Idle() || parts_started_) return;
  if (!preallocated) {
    Fatal("Server_Error", "ServiceError");
    return;
  }
  const uint32_t size = download::ParsePackageSize(global_->package_size);
  const std::array<download::PartRange, download::kPartCount> plan = download::SplitPackage(size);
  for (int i = 0; i < download::kPartCount; ++i) {
    net::URLFetcher* fetcher = parts_[i]->fetcher();
    fetcher->range_start = plan[i].start;
    fetcher->range_end = plan[i].end;
    fetcher->tag = plan[i].tag;
    fetcher->file_size = size;
    fetcher->url = package_url();
    fetcher->file_path = package_path();
  }
  download_start_time_ = base::SystemMillisecondCounter();
  parts_started_ = true;
  for (CBreakPointFetch* part : parts_) part->Start();
}

// ---- the four parts ----------------------------------------------------------------------

void DownloadController::OnBreakPointFetch(bool success, const FetchResult* result, CBreakPointFetch* part) {
  // Once the whole-file transfer has taken over, the parts are wound down: their results no
  // longer count, so the file is never finished twice nor fetched whole twice.
  if (Idle() || fallback_started_) return;
  if (success) {
    part->done = true;
    bool all_done = true;
    for (CBreakPointFetch* each : parts_) all_done = all_done && each->done;
    if (all_done) {
      Log(__LINE__, true, "File download successfully");
      Finish();
    } else {
      Log(__LINE__, true, "There is no download end of the film");
    }
    return;
  }
  // Which part failed, where and why is the fetcher's line, written where the run failed.
  Log(__LINE__, true, "HTTP download failed");
  if (download::RecordPartFailure(&part->fail_count)) {
    Log(__LINE__, true, "download failed,try another!");
    StartFallback();
    return;
  }
  const uint32_t pause_ms = NextPauseMs();
  PostTo(base::kUiLoop,
         base::NewMethodTask(Hold(this), &DownloadController::RestartPart, part, result->position, result->end,
                             result->tag),
         static_cast<int64_t>(pause_ms) * 1000);
}

void DownloadController::RestartPart(CBreakPointFetch* part, uint32_t position, uint32_t end, uint32_t tag) {
  if (fatal_popup_shown_ || Idle() || fallback_started_) return;
  net::URLFetcher* fetcher = part->ReplaceFetcher(net::FetchRequest(package_url(), package_path(), position, end));
  fetcher->tag = tag;
  fetcher->file_size = download::ParsePackageSize(global_->package_size);
  ++restart_count_;
  part->Start();
}

void DownloadController::OnBreakPointProgress(float fraction) {
  (void)fraction;
  if (closing_ || fallback_started_) return;
  if (!thinner_.Take()) return;
  float overall = 0.0f;
  for (CBreakPointFetch* part : parts_) overall += part->progress;
  overall_progress_ = overall;
  if (!window_) return;
  window_->SetDownloadProgress(overall * download::kDownloadBarShare);
  window_->SetDownloadSizeText(download::SizeLabel(overall, download::ParsePackageSize(global_->package_size)));
}

// ---- whole-file fallback -----------------------------------------------------------------

void DownloadController::StartFallback() {
  if (fallback_started_ || Idle()) return;
  fallback_started_ = true;
  ++fallback_count_;
  // Only fetchers that were started have a run to wait for.
  FetcherList stopped;
  for (CBreakPointFetch* part : parts_) {
    part->Stop();
    if (parts_started_) stopped.push_back(base::RefPtr<net::URLFetcher>(part->fetcher()));
  }
  fetch_file_.Stop();
  if (single_started_) stopped.push_back(base::RefPtr<net::URLFetcher>(fetch_file_.fetcher()));
  PostTo(base::kFileLoop,
         base::NewMethodTask(Hold(this), &DownloadController::FallbackOnFileLoop, package_url(), package_path(),
                             download::ParsePackageSize(global_->package_size), stopped));
}

void DownloadController::FallbackOnFileLoop(std::string url, std::wstring path, uint32_t size, FetcherList parts) {
  // The stopped transfers end at their next read; let them finish writing before the file is
  // replaced.
  const uint32_t started = base::SystemMillisecondCounter();
  for (base::RefPtr<net::URLFetcher>& fetcher : parts) {
    const int64_t spent = static_cast<int64_t>(base::SystemMillisecondCounter() - started);
    if (spent >= kWindDownBudgetMs) break;
    fetcher->WaitForRunEnd(kWindDownBudgetMs - spent);
  }
  parts.clear();
  curl_.set_sink(this);
  curl_.set_tag(0);
  // With a known size, nothing else makes a complete package, and nothing longer is written.
  const bool size_known = size != 0 && size != download::kSizeOutOfRange;
  bool ok = curl_.Download(url, path, size_known ? size : 0);
  if (!ok) {
    Log(__LINE__, true, "whole-file transfer of " + net::UrlHostAndPath(url) + " failed: " + curl_.last_error());
  } else if (size_known && curl_.bytes_written() != size) {
    Log(__LINE__, true,
        simlog::LogAssist::FormatString("whole-file transfer gave %u bytes, the package has %u",
                                        static_cast<unsigned>(curl_.bytes_written()), size));
    ok = false;
  }
  PostTo(base::kUiLoop, base::NewMethodTask(Hold(this), &DownloadController::FallbackDone, ok));
}

void DownloadController::FallbackDone(bool success) {
  if (Idle()) return;
  if (success) {
    Log(__LINE__, true, "Other type file download successfully");
    Finish();
    return;
  }
  Fatal("Net_ERROR", "ServiceError");
}

void DownloadController::OnCurlProgress(int tag, double total_bytes, double received_bytes) {
  (void)tag;
  if (total_bytes == 0 || received_bytes - curl_bytes_reported_ <= kCurlProgressStep) return;
  const float fraction = static_cast<float>(received_bytes / total_bytes);
  PostTo(base::kUiLoop, base::NewMethodTask(Hold(this), &DownloadController::OnFetchFileProgress, fraction));
  curl_bytes_reported_ = received_bytes;
}

void DownloadController::OnFetchFileProgress(float fraction) {
  if (closing_ || !window_) return;
  window_->SetDownloadProgress(fraction * download::kDownloadBarShare);
}

// ---- single-thread path ------------------------------------------------------------------

void DownloadController::OnFetchFile(bool success, const FetchResult* result) {
  if (Idle() || fallback_started_) return;
  if (success) {
    Log(__LINE__, false, "File download success");
    Finish();
    return;
  }
  Log(__LINE__, false, base::WideToAnsi(L"File download failed！"));
  if (result && result->error == net::kErrorPreallocate) {
    Log(__LINE__, false, "Cause of failure:the space is suddenly not enough");
    PostTo(base::kFileLoop, base::NewMethodTask(Hold(this), &DownloadController::RemoveFolderOnFileLoop,
                                                download::FolderOf(package_path())));
    Fatal("Net_ERROR", "DownloadFail");
    return;
  }
  if (single_retry_count_ < kSingleRetryLimit) {
    ++single_retry_count_;
    // Only the failed file goes: the next try writes a new file into the same folder.
    PostTo(base::kFileLoop, base::NewMethodTask(Hold(this), &DownloadController::RemoveFileOnFileLoop, package_path()));
    PostTo(base::kUiLoop, base::NewMethodTask(Hold(this), &DownloadController::RetrySingle), kSingleRetryMicroseconds);
    return;
  }
  Log(__LINE__, true, "single download failed,try another!");
  StartFallback();
}

void DownloadController::RetrySingle() {
  if (Idle() || fallback_started_) return;
  Log(__LINE__, false, "retry download");
  const std::string url = package_url() + "?" + InfoQuery();
  global_->local_app_data =
      download::FolderOf(package_path()) + L"VeskPackZip" + std::to_wstring(static_cast<long long>(std::time(nullptr)));
  fetch_file_.ReplaceFetcher(net::FetchRequest(url, package_path()));
  ++restart_count_;
  fetch_file_.Start();
}

void DownloadController::RemoveFileOnFileLoop(std::wstring path) {
  base::WaitableEvent pause(true, false);
  pause.TimedWait(500);
  download::DeletePackageFile(path);
}

void DownloadController::RemoveFolderOnFileLoop(std::wstring folder) {
  base::WaitableEvent pause(true, false);
  pause.TimedWait(500);
  download::RemovePackageFolder(folder);
}

// ---- the end -----------------------------------------------------------------------------

void DownloadController::Finish() {
  if (finished_ || fatal_reported_) return;
  finished_ = true;
  if (window_) window_->OnDownloadFinished();
}

void DownloadController::Fatal(const char* fail_type, const char* prompt_key) {
  if (fatal_reported_ || finished_) return;
  fatal_reported_ = true;
  fatal_popup_shown_ = true;
  StopAllFetchers();
  curl_.Cancel();
  if (window_) window_->OnDownloadFatal(fail_type, prompt_key);
}

void DownloadController::StopAllFetchers() {
  fetch_url_.Stop();
  fetch_file_.Stop();
  for (CBreakPointFetch* part : parts_) part->Stop();
  fetch_apk_.Stop();
  probe_.Stop();
  upload_.Stop();
}

void DownloadController::StopDownload() {
  closing_ = true;
  StopAllFetchers();
  curl_.Cancel();
}

void DownloadController::Detach() {
  StopDownload();
  window_ = nullptr;
}

// ---- transfers no flow starts ------------------------------------------------------------

void DownloadController::OnBreakFetchApk(bool success, const FetchResult* result, CBreakPointFetchApk* part) {
  (void)success;
  (void)result;
  (void)part;
}

void DownloadController::OnBreakFetchApkProgress(float fraction) {
  (void)fraction;
}

void DownloadController::OnPostDataServer(bool success) {
  (void)success;
}

void DownloadController::OnUpLoadByGet(bool success) {
  if (success) Log(__LINE__, false, "UpLoadByGet Successful");
}

void DownloadController::OnUpLoadErrorByGet(bool success) {
  (void)success;
}

void DownloadController::OnBreakFetchRcPack(bool success) {
  (void)success;
}
