// PindleDownloader.exe: the entry sequence and the application run, in their fixed order.
#include "DoApp.h"

#include <commctrl.h>

#include <string>

#include "UI/main_window.h"
#include "app/command_line.h"
#include "app/global.h"
#include "app/global_setup.h"
#include "app/prompt_texts.h"
#include "app/startup.h"
#include "app/worker_threads.h"
#include "log/log_assist.h"
#include "net/curl_global.h"
#include "runtime/at_exit.h"
#include "runtime/message_loop.h"
#include "runtime/text_encoding.h"
#include "system/file_version.h"
#include "uiframework/utility_window.h"

namespace {

const char kSource[] = "DoApp.cpp";

void LogLine(int line, const std::string& message, bool enabled) {
  simlog::LogAssist::GetInstance().Log(kSource, line, simlog::kLogLineLevel, message, enabled);
}

std::wstring EnvironmentValue(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return std::wstring();
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, &value[0], size);
  value.resize(length < size ? length : 0);
  return value;
}

std::wstring OwnProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// "%s程序启动,版本为%s" with the edition words, as narrow text of the ANSI code page.
std::string StartLineWithVersion(const app::CGlobal& global) {
  const std::wstring edition = std::wstring(global.external_edition ? L"\u5B98\u7F51\u7248" : L"\u5185\u7F51\u7248") +
                               (global.international_edition ? L"\u56FD\u9645\u7248" : L"\u56FD\u5185\u7248");
  return base::WideToAnsi(edition + L"\u7A0B\u5E8F\u542F\u52A8,\u7248\u672C\u4E3A") + global.downloader_version;
}

}  // namespace

int RunApplication(HINSTANCE instance) {
  app::CGlobal& global = app::Global();

  // 1. Workers first: nothing posts to them before the UI loop exists.
  app::StartWorkerThreads();

  // 2. The UI loop of the main thread.
  base::MessageLoop ui_loop(base::MessageLoop::TYPE_UI);
  ui_loop.set_thread_name("ui_thread");
  base::SetThreadLoop(base::kUiLoop, &ui_loop);

  // 3-6. Folders and log, then the start-up lines.
  app::PrepareFolders();
  LogLine(270,
          simlog::LogAssist::FormatString("downloader start:OS language:%d    %d", global.system_language_id,
                                          app::Process().language_group),
          true);
  global.downloader_version = base::WideToAnsi(GetFileVersionText(OwnProgramPath()));
  LogLine(279, StartLineWithVersion(global), global.debug);
  LogLine(282, "Param Path:" + base::WideToAnsi(global.install_path_argument), global.debug);

  // 7-8. The utility window creates the main window; the UI loop runs until the installer ends.
  InstallMainWindowHost();
  CUtilityWindow utility_window;
  if (utility_window.Create(instance, global.utility_window_class)) {
    ui_loop.Run();
    utility_window.Destroy();
  } else {
    // Without a main window the loop never runs, yet the start-up lines are queued on it:
    // let it run what is queued so they reach the log before the threads stop.
    ui_loop.PostQuit();
    ui_loop.Run();
  }

  // 9. Stop the workers, the log last. 10. The UI loop goes with this scope (cleanup tasks).
  app::StopWorkerThreads();
  simlog::LogAssist::GetInstance().StopThread();
  return 1;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  app::CGlobal& global = app::Global();
  // 1. This build is the international edition; its channel is "en".
  global.international_edition = true;
  global.channel = "en";
  // 2. Built-in custom settings.
  app::ReadCustomSettings();
  // 3. A copy already running is woken instead, before any thread, window or log exists.
  if (NotifyRunningCopy(global.utility_window_class)) return 0;
  // libcurl's process-wide set-up: on the main thread, before any thread that sends, and
  // cleaned up after the singletons that may still hold its handles.
  net::CurlGlobalScope curl_global;
  // 4. Lazily made singletons are deleted when this goes, last made first.
  base::AtExitManager at_exit_manager;
  // 5-6.
  app::Process().instance = instance;
  app::Process().taskbar_button_created = RegisterWindowMessageW(L"TaskbarButtonCreated");
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  // 7. Command line, then the debug environment variable.
  app::ApplyCommandLine(app::ParseCommandLineOptions(app::SplitCommandLine(GetCommandLineW())),
                        EnvironmentValue(L"DravelDebug9527"), &global);
  simlog::LogAssist::GetInstance().set_debug(global.debug);
  // 8-11. Language, its prompt texts, identifiers (shortcut names are set with the language).
  app::ChooseLanguageAtStartup();
  app::WritePromptTextFile(&global);
  app::StoreDeviceIdAndToken();
  // 12-14.
  return RunApplication(instance);
}
