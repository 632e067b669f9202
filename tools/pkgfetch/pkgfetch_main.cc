// pkgfetch.exe URL SIZE OUTFILE [LOGFOLDER]
//
// Downloads a package the way the installer does, on the same loops with the same controller:
// the range probe, the file preallocated on the file loop, four ranged parts that resume after
// failures, and the libcurl whole-file transfer when ranges keep failing. Prints one JSON line
//   {"ok":true,"bytes":536870912,"seconds":4.215,"mode":"multi-part","fallback":false,"restarts":0}
// and exits with 0 only when OUTFILE holds all SIZE bytes. The peak working set goes to the
// standard error stream. With LOGFOLDER the installer's log ("PindleDownloaderLog0.log") is
// written there, so that a failed download can be read as a user's log would show it.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "app/global.h"
#include "download/download_controller.h"
#include "download/download_plan.h"
#include "download/package_file.h"
#include "download/probe_judgement.h"
#include "log/log_assist.h"
#include "net/curl_global.h"
#include "runtime/message_loop.h"
#include "runtime/ref_ptr.h"
#include "runtime/text_encoding.h"
#include "runtime/thread.h"
#include "runtime/time_ticks.h"

namespace {

// Ends the UI loop when the download is over; nothing is drawn.
class ConsoleWindow : public DownloadWindow {
 public:
  void SetDownloadProgress(float value) override { (void)value; }
  void SetDownloadSizeText(const std::string& text) override { (void)text; }
  void OnDownloadFatal(const std::string& fail_type, const std::string& prompt_key) override {
    failure = fail_type + " (" + prompt_key + ")";
    base::MessageLoop::current()->Quit();
  }
  void OnDownloadFinished() override {
    finished = true;
    base::MessageLoop::current()->Quit();
  }

  bool finished = false;
  std::string failure;
};

const char* ModeName(int mode) {
  switch (mode) {
    case download::kModeMultiPart: return "multi-part";
    case download::kModeSingle: return "single";
    default: return "unset";
  }
}

int Usage() {
  std::fprintf(stderr, "usage: pkgfetch URL SIZE OUTFILE [LOGFOLDER]\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Before any thread: the whole-file fallback runs libcurl on the file loop.
  net::CurlGlobalScope curl_global;
  if (argc != 4 && argc != 5) return Usage();
  const std::string url = base::WideToUtf8(argv[1]);
  const std::string size_text = base::WideToUtf8(argv[2]);
  const uint32_t size = download::ParsePackageSize(size_text);
  if (size == 0 || size == download::kSizeOutOfRange) return Usage();
  wchar_t full_path[MAX_PATH];
  const DWORD length = GetFullPathNameW(argv[3], MAX_PATH, full_path, nullptr);
  if (length == 0 || length >= MAX_PATH) return Usage();

  // The output is replaced; a file left from an earlier run must not count for this one.
  download::DeletePackageFile(full_path);

  app::CGlobal global;
  global.package_url = url;
  global.package_size = size_text;
  global.local_app_data = full_path;
  global.channel = "en";

  // The installer's loops: the UI loop here, then "io_thread" and "file_thread".
  std::unique_ptr<base::MessageLoop> ui(new base::MessageLoop(base::MessageLoop::TYPE_UI));
  ui->set_thread_name("ui_thread");
  base::SetThreadLoop(base::kUiLoop, ui.get());
  base::Thread io_thread("io_thread");
  base::Thread file_thread("file_thread");
  if (!io_thread.StartWithOptions(base::Thread::Options(base::MessageLoop::TYPE_IO, 0)) || !file_thread.Start()) {
    std::fprintf(stderr, "cannot start the worker threads\n");
    return 1;
  }
  base::SetThreadLoop(base::kIoLoop, io_thread.message_loop());
  base::SetThreadLoop(base::kFileLoop, file_thread.message_loop());

  simlog::LogAssist& log = simlog::LogAssist::GetInstance();
  if (argc == 5) {
    log.SetLogName("PindleDownloaderLog");
    log.Init(3, base::WideToAnsi(argv[4]));
  }

  ConsoleWindow window;
  base::RefPtr<DownloadController> controller(new DownloadController(&window, &global));
  const uint32_t started = base::SystemMillisecondCounter();
  controller->QueryDownloadInfo();
  controller->StartDownload();
  ui->Run();
  const uint32_t elapsed_ms = base::SystemMillisecondCounter() - started;

  const int mode = controller->download_mode();
  const bool fallback = controller->fallback_started();
  const uint32_t restarts = controller->restart_count();
  controller->Detach();
  controller.reset();
  log.StopThread();
  io_thread.Stop();
  base::SetThreadLoop(base::kIoLoop, nullptr);
  file_thread.Stop();
  base::SetThreadLoop(base::kFileLoop, nullptr);
  base::SetThreadLoop(base::kUiLoop, nullptr);
  ui.reset();

  const int64_t bytes = download::PackageFileSize(full_path);
  const bool ok = window.finished && bytes == static_cast<int64_t>(size);
  std::printf(
      "{\"ok\":%s,\"bytes\":%lld,\"seconds\":%.3f,\"mode\":\"%s\",\"fallback\":%s,"
      "\"restarts\":%u}\n",
      ok ? "true" : "false", static_cast<long long>(bytes < 0 ? 0 : bytes), elapsed_ms / 1000.0, ModeName(mode),
      fallback ? "true" : "false", restarts);
  std::fflush(stdout);
  if (!window.failure.empty()) std::fprintf(stderr, "failed: %s\n", window.failure.c_str());
  PROCESS_MEMORY_COUNTERS counters;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    std::fprintf(stderr, "peak_working_set_bytes=%llu\n", static_cast<unsigned long long>(counters.PeakWorkingSetSize));
  }
  return ok ? 0 : 1;
}
