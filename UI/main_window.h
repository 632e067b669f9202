// CWebGameWindowEx: the installer's main window and the controller's hands. The decisions are
// InstallerFlow's (UI/installer_flow.h, which also lists how each message reaches it); this
// window owns the flow, the download controller and the install steps, draws what the flow
// asks for, and carries work between the loops.
//
// Work crosses loops only as posted tasks. A task that must come back to the window holds a
// WindowLink, which the window cuts when its native window goes, so a step that arrives after
// the close finds no window and does nothing; the window itself is never shared with another
// thread, and the file loop works on copies of the settings it needs.
//
// UI thread only. Windows only.
#ifndef UI_MAIN_WINDOW_H_
#define UI_MAIN_WINDOW_H_

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "UI/install_schedules.h"
#include "UI/install_steps.h"
#include "UI/installer_flow.h"
#include "UI/installer_services.h"
#include "app/global.h"
#include "download/download_controller.h"
#include "runtime/ref_counted.h"
#include "runtime/ref_ptr.h"
#include "uiframework/trans_window.h"
#include "uiframework/utility_window.h"

class AnalyticsReporter;
class CWebGameWindowEx;

// What a posted task holds to find the window again: null once the window has gone. Read and
// cut on the UI thread only; held (not read) by tasks on any thread.
class WindowLink : public base::RefCountedThreadSafe<WindowLink> {
 public:
  explicit WindowLink(CWebGameWindowEx* window) : window_(window) {}
  CWebGameWindowEx* window() const { return window_; }
  void Cut() { window_ = nullptr; }

 private:
  friend struct base::DefaultRefCountedThreadSafeTraits<WindowLink>;
  ~WindowLink() = default;
  CWebGameWindowEx* window_;
};

class CWebGameWindowEx : public CTransWindowEx, public installer::InstallerView, public DownloadWindow {
 public:
  // Loads the prompt texts of the chosen language into `global`.
  explicit CWebGameWindowEx(app::CGlobal* global);
  ~CWebGameWindowEx() override;

  // Creates the window from the chosen language's main layout (or `layout`), brings it to the
  // front, stores its handle, switches a display below 32 bits per pixel to 32 and shows the
  // window with its opening animation. UI thread with the worker loops running. False when the
  // window cannot be made.
  bool Create();
  bool CreateFromLayout(const std::wstring& layout);

  // Messages the utility window passes on: a second copy asked for the window (70157), the
  // install-path box's pop-up closed (70156).
  void Activate();
  void OnPathEditClosed();

  installer::InstallerFlow& flow() { return flow_; }
  // The machine's restart behind the restart question; tests give a stand-in.
  void set_restart_seam(installer::RestartSeam* seam) { restart_seam_ = seam; }
  // A display below 32 bits per pixel is switched to 32 before the window shows; tests turn it off.
  void set_switch_display_mode(bool on) { switch_display_mode_ = on; }
  // The reporter of every event (the process's by default). Its shutdown after the installation
  // is final, so tests that run the window more than once give each run its own. It must
  // outlive the worker loops.
  void set_reporter(AnalyticsReporter* reporter);
  // How long the mirror installer may run before it is given up; tests shorten it.
  void set_mirror_time_limit_ms(int limit_ms) { mirror_time_limit_ms_ = limit_ms; }

  // InstallerView.
  void ShowPanel(panel_states::MainState state) override;
  void SetVisible(const wchar_t* id, bool visible) override;
  bool IsVisible(const wchar_t* id) override;
  void EnableButton(const wchar_t* id, bool enabled) override;
  void SetText(const wchar_t* id, const std::wstring& text) override;
  std::wstring GetText(const wchar_t* id) override;
  int GetCheck(const wchar_t* id) override;
  void SetCheck(const wchar_t* id, bool checked) override;
  void SetProgress(float value) override;
  int RunPopup(int kind, const std::wstring* text) override;
  void ShowFatalMessage(const std::wstring& text) override;
  void PostClose() override;
  void Hide() override;
  void Repaint() override;
  bool IsEnabled() override;
  void StartShake() override;
  void Post(installer::FlowStep step, int64_t delay_microseconds, float value) override;

  // DownloadWindow.
  void SetDownloadProgress(float value) override;
  void SetDownloadSizeText(const std::string& text) override;
  void OnDownloadFatal(const std::string& fail_type, const std::string& prompt_key) override;
  void OnDownloadFinished() override;

  // Runs `run` on the UI loop with the window, after `delay` microseconds, unless the window has
  // gone by then. Callable from any thread; false when there is no UI loop.
  static bool PostToWindow(const base::RefPtr<WindowLink>& link, std::function<void(CWebGameWindowEx*)> run,
                           int64_t delay_microseconds = 0);

 protected:
  void BindControls() override;
  void OnCloseWindow() override;
  void OnDestroyWindow() override;
  bool HandleKindMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
  bool OnOwnTimer(UINT_PTR timer) override;
  void OnShowAnimationDone() override;
  void PaintBackground(ICanvas& canvas) override;

 private:
  class StartSteps;
  class StepReport;

  void Handle(const wchar_t* id, std::function<void()> run, bool on_press = false);
  void OnSysCommand(UINT command, bool* pass_on);
  void ChooseFolder();
  void SwitchDisplayModeTo32Bits();
  void ShowPendingProgress();
  void StartInstallFlow();
  void OnStartResults(const std::wstring& previous_install_folder, const std::wstring& installed_version);

  // The install steps: the digest and unpacking on the file loop, the installers, the files,
  // then the registry, the shortcut and the complete panel here.
  installer::InstallSettings CurrentInstallSettings() const;
  void StartInstallSteps();
  void OnExtracted(bool success, const installer::InstallSettings& settings,
                   const std::shared_ptr<installer::InstallReport>& report);
  void OnInstallersRun(const installer::InstallersResult& result, const installer::InstallSettings& settings);
  void ShowCompletePanel();
  void AskReboot(const std::wstring& text);
  void StartProduct();

  app::CGlobal* global_;
  installer::InstallerFlow flow_;
  std::unique_ptr<installer::ProgramServices> services_;
  base::RefPtr<DownloadController> download_;
  base::RefPtr<WindowLink> link_;
  installer::SystemRestart system_restart_;
  installer::RestartSeam* restart_seam_;
  AnalyticsReporter* reporter_;
  int mirror_time_limit_ms_ = installer::kMirrorTimeLimitMs;
  bool switch_display_mode_ = true;
  bool reboot_needed_ = false;
  bool fatal_message_shown_ = false;
  // The download's progress, shown at most this often (see SetDownloadProgress).
  static constexpr uint64_t kProgressIntervalMs = 100;
  float pending_progress_ = 0;
  bool progress_step_posted_ = false;
  uint64_t last_progress_shown_ms_ = 0;
  std::wstring installed_version_;
  installer::Shake shake_;
};

// The utility window's main-window host: makes the CWebGameWindowEx and passes it the
// messages of the utility window. Installed before the utility window is created.
void InstallMainWindowHost();

#endif  // UI_MAIN_WINDOW_H_
