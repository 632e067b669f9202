// The controller side of the package download: the download-information query and its answer,
// the range probe and the download mode, preallocation, the four resumable parts with their
// restarts, the whole-file fallback over libcurl, the single-thread path, and the progress the
// window shows. The main window owns one (by reference) and talks to it on the UI loop; the
// controller talks back through DownloadWindow.
//
//   scoped: base::RefPtr<DownloadController> download(new DownloadController(window, &app::Global()));
//   download->QueryDownloadInfo();   // once the package path is chosen
//   download->StartDownload();       // on the install click; waits for the probe's answer
//   ...
//   download->Detach();              // before the window goes away
//
// Tasks posted to the controller hold a reference to it, so it outlives every pending step;
// after Detach (or StopDownload) those steps do nothing.
#ifndef DOWNLOAD_DOWNLOAD_CONTROLLER_H_
#define DOWNLOAD_DOWNLOAD_CONTROLLER_H_

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "app/global.h"
#include "download/curl_file_downloader.h"
#include "download/fetch_result.h"
#include "download/fetch_tasks.h"
#include "download/progress_meter.h"
#include "runtime/ref_ptr.h"
#include "runtime/ref_counted.h"

// What the download needs from the main window. Every call comes on the UI loop.
class DownloadWindow {
 public:
  // The shared progress bar ("id_progress_download"), 0 to 1; the download fills up to 0.8.
  virtual void SetDownloadProgress(float value) = 0;
  // The size label ("id_static_downing_size"), "received/total" in megabytes.
  virtual void SetDownloadSizeText(const std::string& text) = 0;
  // A failure that ends the installer: send the failed-download event with `fail_type`
  // ("Server_Error", "Net_ERROR"), show one popup with the prompt text `prompt_key`
  // ("ServiceError", "pstrDownloaderUp", "DownloadFail"), then close. At most once.
  virtual void OnDownloadFatal(const std::string& fail_type, const std::string& prompt_key) = 0;
  // The package is complete on disk (the window's FinishDownload). At most once.
  virtual void OnDownloadFinished() = 0;

 protected:
  virtual ~DownloadWindow() {}
};

class DownloadController : public base::RefCountedThreadSafe<DownloadController>,
                           public FetchURLDelegate,
                           public FetchFileDelegate,
                           public BreakPointFetchDelegate,
                           public BreakFetchApkDelegate,
                           public TestBreakPointDelegate,
                           public PostDataServerDelegate,
                           public UpLoadByGetDelegate,
                           public UpLoadErrorByGetDelegate,
                           public BreakFetchRcPackDelegate,
                           public CLibcurlCallback {
 public:
  // UI thread, with the I/O loop registered (the tasks create their fetchers at once). The
  // package URL, size and path live in `global` (package_url, package_size, local_app_data).
  DownloadController(DownloadWindow* window, app::CGlobal* global);

  // UI loop. Starts the download-information query, or the range probe at once when the
  // package URL and size are both known already. Later calls do nothing.
  void QueryDownloadInfo();
  // UI loop. Starts the download once the probe has set the mode (checked every 200 ms).
  // Later calls do nothing: a second start would preallocate the file under running parts.
  void StartDownload();
  // UI loop. The user quits: every fetcher is stopped, the whole-file transfer is cancelled,
  // and nothing more reaches the window.
  void StopDownload();
  // UI loop. StopDownload, and the window is forgotten.
  void Detach();

  void set_closing(bool closing) { closing_ = closing; }
  bool closing() const { return closing_; }
  // Set by the window when it shows a fatal popup of its own; pending restarts then do nothing.
  void set_fatal_popup_shown(bool shown) { fatal_popup_shown_ = shown; }
  int download_mode() const { return download_mode_; }
  // The probe chooses the single-thread mode for a server that ignores ranges; a window (or
  // tool) may also set it.
  void set_download_mode(int mode) { download_mode_ = mode; }
  const std::wstring& product_language() const { return product_language_; }
  float overall_progress() const { return overall_progress_; }
  uint32_t download_start_time() const { return download_start_time_; }

  // What happened, for tools and tests.
  uint32_t restart_count() const { return restart_count_; }
  uint32_t fallback_count() const { return fallback_count_; }
  bool fallback_started() const { return fallback_started_; }
  bool finished() const { return finished_; }
  bool fatal_reported() const { return fatal_reported_; }

  // Extra certificates the whole-file transfer trusts (a PEM file); for tests.
  void set_ca_file(const std::string& path) { curl_.set_ca_file(path); }
  // A fixed restart pause instead of the random 500-1999 ms; negative restores it. For tests.
  void set_restart_pause_for_testing(int milliseconds) { test_pause_ms_ = milliseconds; }

  // FetchURLDelegate
  void OnFetchURL(std::string body) override;
  // FetchFileDelegate (single-thread path; also the fallback's progress)
  void OnFetchFile(bool success, const FetchResult* result) override;
  void OnFetchFileProgress(float fraction) override;
  // BreakPointFetchDelegate
  void OnBreakPointFetch(bool success, const FetchResult* result, CBreakPointFetch* part) override;
  void OnBreakPointProgress(float fraction) override;
  // BreakFetchApkDelegate, PostDataServerDelegate, the GET upload and rc-pack interfaces: no
  // flow starts these transfers.
  void OnBreakFetchApk(bool success, const FetchResult* result, CBreakPointFetchApk* part) override;
  void OnBreakFetchApkProgress(float fraction) override;
  void OnPostDataServer(bool success) override;
  void OnUpLoadByGet(bool success) override;
  void OnUpLoadErrorByGet(bool success) override;
  void OnBreakFetchRcPack(bool success) override;
  // TestBreakPointDelegate
  void OnTestBreakPoint(bool success, const FetchResult* result) override;
  // CLibcurlCallback: on the file loop.
  void OnCurlProgress(int tag, double total_bytes, double received_bytes) override;

  // The four parts, in order (their tasks; for tests).
  CBreakPointFetch* part(int index) { return parts_[index]; }

 private:
  friend struct base::DefaultRefCountedThreadSafeTraits<DownloadController>;
  typedef std::vector<base::RefPtr<net::URLFetcher>> FetcherList;

  ~DownloadController() override;

  // UI loop.
  void RequeryInfo();
  void StartProbe();
  void ContinueDownload();
  void StartParts(bool preallocated);
  void RestartPart(CBreakPointFetch* part, uint32_t position, uint32_t end, uint32_t tag);
  void StartFallback();
  void FallbackDone(bool success);
  void RetrySingle();
  void Finish();
  void Fatal(const char* fail_type, const char* prompt_key);
  void StopAllFetchers();
  bool Idle() const { return closing_ || fatal_reported_ || finished_; }

  // File loop.
  void PreallocateOnFileLoop(uint32_t size, std::wstring path);
  void FallbackOnFileLoop(std::string url, std::wstring path, uint32_t size, FetcherList parts);
  void RemoveFileOnFileLoop(std::wstring path);
  void RemoveFolderOnFileLoop(std::wstring folder);

  std::string InfoQuery() const;
  std::string package_url() const { return global_->package_url; }
  // The package path shares its field with the local application-data folder it replaced.
  std::wstring package_path() const { return global_->local_app_data; }
  void Log(int line, bool always, const std::string& message) const;
  uint32_t NextPauseMs();

  DownloadWindow* window_;
  app::CGlobal* global_;

  // The fetch tasks, one of each kind and four parts; their fetchers exist from the start.
  CFetchUrl fetch_url_;
  CFetchFile fetch_file_;
  CBreakPointFetch part1_;
  CBreakPointFetch part2_;
  CBreakPointFetch part3_;
  CBreakPointFetch part4_;
  std::array<CBreakPointFetch*, 4> parts_;
  CBreakPointFetchApk fetch_apk_;
  CTestBreakPoint probe_;
  CUpLoadByPost upload_;
  CurlFileDownloader curl_;

  int download_mode_;
  uint32_t download_start_time_;
  float overall_progress_;
  download::ProgressThinner thinner_;
  bool info_query_started_;
  bool download_requested_;
  bool fallback_started_;
  bool parts_started_;
  bool single_started_;
  uint32_t single_retry_count_;
  double curl_bytes_reported_;  // file loop only
  bool fatal_popup_shown_;
  bool closing_;
  bool finished_;
  bool fatal_reported_;
  std::wstring product_language_;
  uint32_t restart_count_;
  uint32_t fallback_count_;
  int test_pause_ms_;
  std::minstd_rand random_;
};

#endif  // DOWNLOAD_DOWNLOAD_CONTROLLER_H_
