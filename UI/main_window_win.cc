#include "UI/main_window.h"

#include <utility>
#include <vector>

#include "UI/folder_dialog.h"
#include "UI/install_path.h"
#include "UI/install_system.h"
#include "UI/installer_reports.h"
#include "UI/panel_states.h"
#include "UI/popup_dialog.h"
#include "UI/previous_install.h"
#include "UI/start_sequence.h"
#include "analytics/analytics_reporter.h"
#include "app/global.h"
#include "app/language.h"
#include "app/prompt_texts.h"
#include "app/startup.h"
#include "extract/installer_extract_environment.h"
#include "log/log_assist.h"
#include "runtime/layer_loop.h"
#include "runtime/message_loop.h"
#include "runtime/scoped_handle_win.h"
#include "runtime/task.h"
#include "runtime/text_encoding.h"
#include "runtime/waitable_event.h"
#include "system/device_id.h"
#include "system/file_delete.h"
#include "system/os_version.h"
#include "uiframework/button.h"
#include "uiframework/check_box.h"
#include "uiframework/gdi_resource.h"

namespace {

const char kLogSource[] = "UI\\UIMainWindowEx.cpp";

// Desktop shortcuts of earlier products that this one replaces, in the order they are tried.
const wchar_t* const kOldShortcutNames[] = {L"Vesk\u6A21\u62DF\u5668.lnk", L"Vesk\u591A\u5F00\u5668.lnk", L"Vesk.lnk",
                                            L"Tandem.lnk"};

void Log(int line, bool enabled, const std::string& message) {
  simlog::LogAssist::GetInstance().Log(kLogSource, line, simlog::kLogLineLevel, message, enabled);
}

void RunClosure(std::function<void()> run) {
  run();
}

// Posts `run` to the loop in `slot`; false (logged) when that loop is not running.
bool PostToLoop(base::LoopSlot slot, std::function<void()> run, int64_t delay_microseconds = 0) {
  base::MessageLoop* loop = base::GetThreadLoop(slot);
  if (!loop) {
    Log(__LINE__, true, simlog::LogAssist::FormatString("no loop %d for a posted step", static_cast<int>(slot)));
    return false;
  }
  base::Task* task = base::NewFunctionTask(&RunClosure, std::move(run));
  if (delay_microseconds > 0) {
    loop->PostDelayedTask(task, delay_microseconds);
  } else {
    loop->PostTask(task);
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The start sequence's steps on the file loop. It reads and fills the shared state there, as the
// start-up checks always have; what the window shows is posted back to the UI loop.
class CWebGameWindowEx::StartSteps : public installer::StartSequenceSteps {
 public:
  StartSteps(base::RefPtr<WindowLink> link, app::CGlobal* global, AnalyticsReporter* reporter)
      : link_(std::move(link)), global_(global), reporter_(reporter) {}

  void SetWindowsBitness() override {
    bool query_ok = false;
    if (IsWow64(&query_ok) && query_ok) global_->is_64bit_windows = true;
  }
  bool InitTracker() override {
    installer::TrackerFacts facts;
    facts.mac_address = GetDeviceId();
    facts.app_version = global_->player_version;
    facts.os_version = GetOsName();
    facts.language = base::WideToAnsi(global_->language_code);
    facts.install_kind = global_->install_kind;
    return installer::InitTracker(reporter_, facts);
  }
  installer::CheckOutcome RunChecks() override {
    installer::SystemCheckSource source(global_);
    return installer::RunChecks(&source);
  }
  void ReportExit(const char* reason) override { installer::ReportExit(reporter_, reason); }
  void PostLaunchEvent() override { installer::PostFixedEvent(reporter_, installer::FixedEvent::kLaunch); }
  std::wstring DetectPreviousInstall(bool* query_ok) override {
    return installer::DetectPreviousInstall(global_, query_ok);
  }
  std::wstring PromptText(const char* key) override { return installer::PromptTextOf(*global_, key); }
  void ChoosePackagePath() override {
    installed_version_ = installer::ReadInstalledVersion(*global_);
    installer::ChoosePackagePath(global_);
  }
  void PostStartResults(const std::wstring& previous_install_folder) override {
    const std::wstring version = installed_version_;
    PostToWindow(link_, [previous_install_folder, version](CWebGameWindowEx* window) {
      window->OnStartResults(previous_install_folder, version);
    });
  }
  void PostFatalMessage(const std::wstring& text) override {
    PostToWindow(link_, [text](CWebGameWindowEx* window) { window->flow_.OnStartChecksFailed(text); });
  }
  void PostGpuToolDeletion(int64_t delay) override {
    const std::wstring tool = global_->gpu_check_tool_path;
    if (tool.empty()) return;
    PostToLoop(
        base::kFileLoop, [tool] { DeleteFileRobust(tool); }, delay);
  }

 private:
  base::RefPtr<WindowLink> link_;
  app::CGlobal* global_;
  AnalyticsReporter* reporter_;
  std::wstring installed_version_;
};

// ---------------------------------------------------------------------------------------------
// What the install steps report, from whichever loop runs them: events go out at once, what
// the window shows is posted to it.
class CWebGameWindowEx::StepReport : public installer::InstallReport {
 public:
  // How long the file loop waits for the reports ahead of "Downloader_Install_Finish": a send
  // to a collector that does not answer gives up well within it.
  static constexpr int64_t kEarlierReportsWaitMs = 30000;

  StepReport(base::RefPtr<WindowLink> link, AnalyticsReporter* reporter)
      : link_(std::move(link)), reporter_(reporter) {}

  void ReportInstallFail(const std::string& error_code) override {
    installer::DoLogger(reporter_, installer::kTrackerEvent,
                        {{"action", "Downloader_Install_Fail"}, {"error_code", error_code}});
  }
  void ReportDownloadFail(const std::string& fail_type) override {
    installer::ReportDownloadFail(reporter_, fail_type);
  }
  void ShowFatalMessage(const std::string& prompt_key) override {
    PostToWindow(link_, [prompt_key](CWebGameWindowEx* window) {
      window->ShowFatalMessage(installer::PromptTextOf(*window->global_, prompt_key.c_str()));
    });
  }
  void InstallersDone() override {
    PostToWindow(link_, [](CWebGameWindowEx* window) {
      window->flow_.set_install_done(true);
      window->SetProgress(1.0f);
    });
  }
  bool TrackInstallFinish() override {
    // The tracker shuts down after this event: a report posted to the I/O loop before it (the
    // engine installer's "109") must be sent first, or it would be dropped unsent.
    WaitForEarlierReports();
    const bool tracked = reporter_->Track(installer::kTrackerEvent, {{"action", "Downloader_Install_Finish"}});
    reporter_->Shutdown();
    return tracked;
  }

 private:
  static void WaitForEarlierReports() {
    auto done = std::make_shared<base::WaitableEvent>(true, false);
    if (!PostToLoop(base::kIoLoop, [done] { done->Signal(); })) return;
    if (!done->TimedWait(kEarlierReportsWaitMs)) {
      Log(__LINE__, true, "the reports before Downloader_Install_Finish are still being sent");
    }
  }

  base::RefPtr<WindowLink> link_;
  AnalyticsReporter* reporter_;
};

// ---------------------------------------------------------------------------------------------

CWebGameWindowEx::CWebGameWindowEx(app::CGlobal* global)
    : global_(global),
      flow_(global),
      link_(new WindowLink(this)),
      restart_seam_(&system_restart_),
      reporter_(&AnalyticsReporter::Instance()) {
  base::RefPtr<WindowLink> link = link_;
  services_.reset(new installer::ProgramServices(global, nullptr, [link] {
    // Posted back after the old shortcuts are handled on the file loop.
    return base::NewFunctionTask(&RunClosure, std::function<void()>([link] {
      if (CWebGameWindowEx* window = link->window()) window->flow_.StartDownload();
    }));
  }));
  services_->set_install_settings_source([this] { return CurrentInstallSettings(); });
  services_->set_install_steps([this] { StartInstallSteps(); });
  flow_.Bind(this, services_.get());
  app::LoadPromptTexts(global_, app::Process().language_group);
}

CWebGameWindowEx::~CWebGameWindowEx() {
  link_->Cut();
  if (download_) download_->Detach();
  if (hwnd_) DestroyWindow(hwnd_);
}

void CWebGameWindowEx::set_reporter(AnalyticsReporter* reporter) {
  reporter_ = reporter;
  services_->set_reporter(reporter);
}

bool CWebGameWindowEx::PostToWindow(const base::RefPtr<WindowLink>& link, std::function<void(CWebGameWindowEx*)> run,
                                    int64_t delay_microseconds) {
  base::RefPtr<WindowLink> held = link;
  return PostToLoop(
      base::kUiLoop,
      [held, run] {
        if (CWebGameWindowEx* window = held->window()) run(window);
      },
      delay_microseconds);
}

bool CWebGameWindowEx::Create() {
  return CreateFromLayout(app::LanguageForIndex(global_->language_index).main_layout);
}

bool CWebGameWindowEx::CreateFromLayout(const std::wstring& layout) {
  // The controller's fetchers exist from the start; the information query waits for the
  // start sequence.
  download_ = base::RefPtr<DownloadController>(new DownloadController(this, global_));
  services_->set_download(download_.get());
  if (!LoadLayout(nullptr, layout)) return false;  // logged by the layout loader
  SetForegroundWindow(hwnd_);
  global_->flow_window = hwnd_;
  if (switch_display_mode_) SwitchDisplayModeTo32Bits();
  ShowAnimated(SW_SHOW);
  return true;
}

void CWebGameWindowEx::SwitchDisplayModeTo32Bits() {
  DEVMODEW mode = {};
  mode.dmSize = sizeof(mode);
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) || mode.dmBitsPerPel == 32) return;
  Log(__LINE__, true,
      simlog::LogAssist::FormatString("display %lu bits per pixel: switching to 32", mode.dmBitsPerPel));
  mode.dmBitsPerPel = 32;
  mode.dmFields |= DM_BITSPERPEL;
  const LONG result = ChangeDisplaySettingsW(&mode, 0);
  if (result != DISP_CHANGE_SUCCESSFUL) {
    Log(__LINE__, true, simlog::LogAssist::FormatString("ChangeDisplaySettingsW failed: %ld", result));
  }
}

void CWebGameWindowEx::Activate() {
  if (!hwnd_) return;
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  SetForegroundWindow(hwnd_);
  RequestRender();
}

void CWebGameWindowEx::OnPathEditClosed() {
  if (hwnd_) flow_.OnInstallPathBoxClosed();
}

// --- Creation and the window's own messages ---------------------------------------------------

void CWebGameWindowEx::Handle(const wchar_t* id, std::function<void()> run, bool on_press) {
  CBaseElementCtl* element = FindElement(id);
  if (!element) return;  // a document without it: skipped
  const ElementHandler handler(std::move(run));
  if (on_press) {
    element->SetPressHandler(handler);
  } else {
    element->SetClickHandler(handler);
  }
}

void CWebGameWindowEx::BindControls() {
  panel_states::MainTexts texts;
  texts.main_title = global_->main_title;
  texts.player_version = base::AnsiToWide(global_->player_version);
  texts.install_folder = global_->install_folder;
  panel_states::ApplyInitialState(elements(), texts);

  installer::InstallerFlow* flow = &flow_;
  Handle(L"id_close", [flow] { flow->OnCloseClick(); });
  Handle(L"id_btn_min", [this] { ShowWindow(hwnd_, SW_MINIMIZE); });
  Handle(L"id_install", [flow] { flow->OnInstallClick(); });
  Handle(
      L"id_checkbox", [flow] { flow->OnAgreementPressed(); }, true);
  Handle(L"id_userinstall", [flow] { flow->ShowCustomPanel(); });
  Handle(L"id_btn_arrowdown", [flow] { flow->ShowCustomPanel(); });
  Handle(L"id_install_custom", [flow] { flow->OnCustomInstallClick(); });
  Handle(
      L"id_checkbox_custom", [flow] { flow->OnCustomAgreementPressed(); }, true);
  Handle(L"id_userfold", [flow] { flow->ShowMainPanel(); });
  Handle(L"id_btn_arrowup", [flow] { flow->ShowMainPanel(); });
  Handle(L"id_btn_installdir", [this] { ChooseFolder(); });
  Handle(L"id_btn_usenow", [this] { StartProduct(); });
}

void CWebGameWindowEx::OnCloseWindow() {
  DestroyWindow(hwnd_);
  PostQuitMessage(0);
}

void CWebGameWindowEx::OnDestroyWindow() {
  KillTimer(hwnd_, installer::kShakeTimerId);
  // Nothing may reach a window that is gone: the download stops talking to it and every step
  // still on its way finds the link cut.
  if (download_) download_->Detach();
  link_->Cut();
  if (global_->flow_window == hwnd_) global_->flow_window = nullptr;
}

bool CWebGameWindowEx::HandleKindMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  if (message == WM_SYSCOMMAND) {
    bool pass_on = true;
    OnSysCommand(static_cast<UINT>(wparam), &pass_on);
    if (!pass_on) {
      *result = 0;
      return true;
    }
    *result = DefWindowProcW(hwnd_, message, wparam, lparam);
    return true;
  }
  if (message != 0 && message == app::Process().taskbar_button_created) {
    *result = 0;
    return true;
  }
  if (message == element_message::kPathEdited) {
    flow_.OnInstallPathEdited();
    *result = 0;
    return true;
  }
  return CTransWindowEx::HandleKindMessage(message, wparam, lparam, result);
}

void CWebGameWindowEx::OnSysCommand(UINT command, bool* pass_on) {
  const UINT kind = command & 0xFFF0;
  if (installer::SysCommandSwallowed(command)) {
    *pass_on = false;
    return;
  }
  if (kind == installer::kScRestore) RequestRender();
  if (kind == installer::kScClose) *pass_on = flow_.OnSysClose(base::LayerLoopDepth() > 0);
}

bool CWebGameWindowEx::OnOwnTimer(UINT_PTR timer) {
  if (timer != installer::kShakeTimerId) return false;
  UiRect place;
  if (!installer::ShakeTick(&shake_, &place)) {
    SetVisible(L"id_static_tryshutdown", false);
    KillTimer(hwnd_, installer::kShakeTimerId);
  }
  SetWindowPos(hwnd_, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void CWebGameWindowEx::OnShowAnimationDone() {
  flow_.OnOpeningAnimationEnded();
  StartInstallFlow();
}

void CWebGameWindowEx::PaintBackground(ICanvas& canvas) {
  CTransWindowEx::PaintBackground(canvas);
  CResourceImages images(&GetGDIResource(), GetModuleHandleW(nullptr));
  const installer::HeaderPicture& picture = flow_.header_picture();
  const UiImage current = images.ImageNamed(installer::HeaderPictureName(picture.index));
  if (picture.fading) {
    const UiImage previous = images.ImageNamed(installer::PreviousHeaderPictureName(picture.index));
    if (previous.valid()) {
      canvas.BlendImage(previous, panel_states::kHeaderRect, MakeRect(0, 0, previous.width, previous.height));
    }
    if (current.valid()) {
      canvas.FadeImage(current, panel_states::kHeaderRect, MakeRect(0, 0, current.width, current.height),
                       picture.alpha);
    }
  } else if (current.valid()) {
    canvas.BlendImage(current, panel_states::kHeaderRect, MakeRect(0, 0, current.width, current.height));
  }
}

// --- The start sequence -----------------------------------------------------------------------

void CWebGameWindowEx::StartInstallFlow() {
  auto steps = std::make_shared<StartSteps>(link_, global_, reporter_);
  base::RefPtr<WindowLink> link = link_;
  PostToLoop(base::kFileLoop, [steps, link] {
    std::string exit_reason;
    installer::RunStartSequence(steps.get(), &exit_reason);
    if (exit_reason.empty()) return;
    PostToWindow(link, [exit_reason](CWebGameWindowEx* window) { window->flow_.set_exit_reason(exit_reason); });
  });
}

void CWebGameWindowEx::OnStartResults(const std::wstring& previous_install_folder,
                                      const std::wstring& installed_version) {
  installed_version_ = installed_version;
  flow_.OnPreviousInstall(previous_install_folder);
  download_->QueryDownloadInfo();
  flow_.OnStartSequenceDone();
}

// --- InstallerView ----------------------------------------------------------------------------

void CWebGameWindowEx::ShowPanel(panel_states::MainState state) {
  using panel_states::MainState;
  int height = panel_states::kMainHeight;
  switch (state) {
    case MainState::kMain: panel_states::ShowMainPanel(elements()); break;
    case MainState::kCustom:
      panel_states::ShowCustomPanel(elements());
      height = panel_states::kCustomHeight;
      break;
    case MainState::kDownload: panel_states::ShowDownloadPanel(elements()); break;
    case MainState::kInstalling: panel_states::ShowInstallStage(elements()); return;
    case MainState::kComplete: ShowCompletePanel(); return;
  }
  SetWindowPos(hwnd_, nullptr, 0, 0, panel_states::kMainWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(hwnd_);
  RequestRender();
}

void CWebGameWindowEx::SetVisible(const wchar_t* id, bool visible) {
  if (CBaseElementCtl* element = FindElement(id)) element->SetVisible(visible);
}

bool CWebGameWindowEx::IsVisible(const wchar_t* id) {
  CBaseElementCtl* element = FindElement(id);
  return element && element->IsVisible();
}

void CWebGameWindowEx::EnableButton(const wchar_t* id, bool enabled) {
  if (auto* button = dynamic_cast<CButtonCtl*>(FindElement(id))) button->EnableButton(enabled);
}

void CWebGameWindowEx::SetText(const wchar_t* id, const std::wstring& text) {
  if (CBaseElementCtl* element = FindElement(id)) {
    element->SetText(text);
    element->Invalidate(true);
  }
}

std::wstring CWebGameWindowEx::GetText(const wchar_t* id) {
  CBaseElementCtl* element = FindElement(id);
  return element ? element->GetText() : std::wstring();
}

int CWebGameWindowEx::GetCheck(const wchar_t* id) {
  auto* box = dynamic_cast<CCheckBoxCtl*>(FindElement(id));
  return box ? box->GetCheck() : -1;
}

void CWebGameWindowEx::SetCheck(const wchar_t* id, bool checked) {
  if (auto* box = dynamic_cast<CCheckBoxCtl*>(FindElement(id))) {
    box->SetCheck(checked);
    box->Invalidate(true);
  }
}

void CWebGameWindowEx::SetProgress(float value) {
  panel_states::SetDownloadProgress(elements(), value);
}

int CWebGameWindowEx::RunPopup(int kind, const std::wstring* text) {
  CUIUpDate popup;
  popup.SetKind(kind);
  if (popup.Create(hwnd_) && text) {
    if (kind == 0) {
      popup.SetTip1Text(*text);
    } else {
      popup.SetTip2Text(*text);
    }
  }
  return popup.RunModal();
}

void CWebGameWindowEx::ShowFatalMessage(const std::wstring& text) {
  // One ending message: a second failure arriving while the first popup is open (or after it)
  // has nothing more to tell the person.
  if (fatal_message_shown_) return;
  fatal_message_shown_ = true;
  if (download_) download_->set_fatal_popup_shown(true);
  RunPopup(1, &text);
  PostClose();
}

void CWebGameWindowEx::PostClose() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void CWebGameWindowEx::Hide() {
  ShowWindow(hwnd_, SW_HIDE);
}

void CWebGameWindowEx::Repaint() {
  RequestRender();
}

bool CWebGameWindowEx::IsEnabled() {
  return hwnd_ && IsWindowEnabled(hwnd_);
}

void CWebGameWindowEx::StartShake() {
  // A window of a background process may not take the foreground by itself: borrow the input
  // of the thread that has it.
  HWND foreground = GetForegroundWindow();
  const DWORD foreground_thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  const DWORD own_thread = GetCurrentThreadId();
  const bool attach = foreground_thread != 0 && foreground_thread != own_thread &&
                      AttachThreadInput(own_thread, foreground_thread, TRUE);
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
  if (attach) AttachThreadInput(own_thread, foreground_thread, FALSE);
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  installer::StartShake(&shake_, MakeRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
  KillTimer(hwnd_, installer::kShakeTimerId);
  SetTimer(hwnd_, installer::kShakeTimerId, installer::kShakePeriodMs, nullptr);
}

void CWebGameWindowEx::Post(installer::FlowStep step, int64_t delay_microseconds, float value) {
  PostToWindow(
      link_, [step, value](CWebGameWindowEx* window) { window->flow_.RunStep(step, value); }, delay_microseconds);
}

// --- DownloadWindow ---------------------------------------------------------------------------

void CWebGameWindowEx::SetDownloadProgress(float value) {
  // A fast download reports about once per megabyte, and each report repaints the whole window
  // (about 10 ms): shown at most every kProgressIntervalMs, the bar moves as smoothly to the eye
  // while the transfer keeps the processor.
  pending_progress_ = value;
  if (progress_step_posted_) return;
  const int64_t wait_ms =
      static_cast<int64_t>(last_progress_shown_ms_ + kProgressIntervalMs) - static_cast<int64_t>(GetTickCount64());
  if (wait_ms <= 0) {
    ShowPendingProgress();
    return;
  }
  progress_step_posted_ = true;
  PostToWindow(
      link_,
      [](CWebGameWindowEx* window) {
        window->progress_step_posted_ = false;
        window->ShowPendingProgress();
      },
      wait_ms * 1000);
}

void CWebGameWindowEx::ShowPendingProgress() {
  // A report that waited past the download's end must not move the install stage's bar back.
  if (flow_.stage() != installer::kStageDownloading) return;
  last_progress_shown_ms_ = GetTickCount64();
  SetProgress(pending_progress_);
}

void CWebGameWindowEx::SetDownloadSizeText(const std::string& text) {
  SetText(L"id_static_downing_size", base::AnsiToWide(text));
}

void CWebGameWindowEx::OnDownloadFatal(const std::string& fail_type, const std::string& prompt_key) {
  // Called from inside the controller: the popup's nested loop runs within its call, and the
  // controller stays alive with it (it is released only with this window).
  flow_.OnDownloadFatal(fail_type, prompt_key);
}

void CWebGameWindowEx::OnDownloadFinished() {
  flow_.OnDownloadFinished();
}

// --- Folder choice ----------------------------------------------------------------------------

void CWebGameWindowEx::ChooseFolder() {
  std::wstring folder;
  {
    // The dialog's new style needs COM on this thread.
    base::ScopedComInitialize com;
    if (!installer::ChooseInstallFolder(hwnd_, &folder)) return;
  }
  const std::wstring root = folder.size() >= 2 ? folder.substr(0, 2) + L"\\" : folder;
  flow_.OnInstallPathChosen(installer::AppendProductFolder(folder, global_->product_name),
                            installer::NeedsFat32Warning(installer::VolumeFileSystem(root)));
}

// --- Install steps ----------------------------------------------------------------------------

installer::InstallSettings CWebGameWindowEx::CurrentInstallSettings() const {
  installer::InstallSettings settings = installer::InstallSettingsFromGlobal(*global_);
  settings.installed_version = base::WideToAnsi(installed_version_);
  settings.overlay_install = flow_.overlay_install();
  settings.old_shortcut_names.assign(std::begin(kOldShortcutNames), std::end(kOldShortcutNames));
  settings.mirror_time_limit_ms = mirror_time_limit_ms_;
  return settings;
}

void CWebGameWindowEx::StartInstallSteps() {
  const installer::InstallSettings settings = CurrentInstallSettings();
  auto environment = std::make_shared<InstallerExtractEnvironment>(*global_);
  auto report = std::make_shared<StepReport>(link_, reporter_);
  base::RefPtr<WindowLink> link = link_;
  PostToLoop(base::kFileLoop, [settings, environment, report, link] {
    if (!installer::CheckPackageDigest(settings, *report)) return;
    const bool unpacked = installer::ExtractPackageStep(*environment, settings);
    PostToWindow(link, [unpacked, settings, report](CWebGameWindowEx* window) {
      window->OnExtracted(unpacked, settings, report);
    });
  });
}

void CWebGameWindowEx::OnExtracted(bool success, const installer::InstallSettings& settings,
                                   const std::shared_ptr<installer::InstallReport>& report) {
  if (!installer::OnExtractResult(success, settings, *report)) return;
  base::RefPtr<WindowLink> link = link_;
  PostToLoop(base::kFileLoop, [settings, report, link] {
    const installer::InstallersResult result = installer::RunInstallers(settings, *report);
    if (result.stopped) return;
    installer::FinishInstallFiles(settings, *report);
    PostToWindow(link, [result, settings](CWebGameWindowEx* window) { window->OnInstallersRun(result, settings); });
  });
}

void CWebGameWindowEx::OnInstallersRun(const installer::InstallersResult& result,
                                       const installer::InstallSettings& settings) {
  reboot_needed_ = result.reboot_needed;
  installer::FinishInstall(settings);
  flow_.OnInstallComplete();
  SetProgress(0.999f);
  ShowPanel(panel_states::MainState::kComplete);
}

void CWebGameWindowEx::ShowCompletePanel() {
  RECT window = {};
  GetWindowRect(hwnd_, &window);
  panel_states::ShowCompletePanel(elements(), window.right - window.left);
  ShowWindow(hwnd_, SW_RESTORE);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, panel_states::kMainWidth, panel_states::kMainHeight, SWP_NOMOVE);
  RequestRender();
  if (reboot_needed_) AskReboot(installer::PromptTextOf(*global_, "Reboot"));
}

void CWebGameWindowEx::AskReboot(const std::wstring& text) {
  const int answer = RunPopup(3, &text);
  PostClose();
  installer::AnswerRestartQuestion(answer, *restart_seam_);
  flow_.CloseAfterCompletion();
}

void CWebGameWindowEx::StartProduct() {
  const installer::InstallSettings settings = CurrentInstallSettings();
  // Closing, the leftovers queued and the window hidden; the close itself is posted, so it
  // comes after the product has been started (the step logs the click and the command line).
  flow_.CloseAfterCompletion();
  installer::StartProduct(settings);
}

// --- The utility window's host ------------------------------------------------------------------

namespace {

class MainWindowHost : public IMainWindowHost {
 public:
  bool Create(HWND) override {
    window_.reset(new CWebGameWindowEx(&app::Global()));
    if (window_->Create()) return true;
    Log(__LINE__, true, "the main window could not be created");
    window_.reset();
    return false;
  }
  void Activate() override {
    if (window_) window_->Activate();
  }
  void OnPathEditClosed() override {
    if (window_) window_->OnPathEditClosed();
  }

 private:
  std::unique_ptr<CWebGameWindowEx> window_;
};

std::unique_ptr<IMainWindowHost> MakeMainWindowHost() {
  return std::unique_ptr<IMainWindowHost>(new MainWindowHost);
}

}  // namespace

void InstallMainWindowHost() {
  SetMainWindowHostFactory(&MakeMainWindowHost);
}
