// The installer's flow, decided without a window: the stages, the install click and its
// checks, the panels, the agreement boxes, closing by stage, the URL wait before a download and
// the hand-over to the install stage. `InstallerFlow` holds the controller's state and makes
// every decision; the main window implements `InstallerView` (elements, popups, posting on the
// UI loop) and the program's services implement `InstallerServices` (download, reports, files).
//
// How the main window (CWebGameWindowEx) wires it, message by message:
//   create:                    panel_states::ApplyInitialState; flow_.Bind(this, &services_)
//   end of opening animation:  flow_.OnOpeningAnimationEnded()  (posts StartInstallFlow to the file loop)
//   file loop, StartInstallFlow: RunStartSequence (start_sequence.h) over the window's
//                              StartSequenceSteps (SystemCheckSource, DetectPreviousInstall,
//                              ChoosePackagePath, InitTracker, PostFixedEvent); its UI-loop posts
//                              call OnPreviousInstall(folder), DownloadController::QueryDownloadInfo
//                              and OnStartSequenceDone(), or OnStartChecksFailed(text)
//   click "id_install", "id_install_custom":  OnInstallClick() / OnCustomInstallClick()
//   click "id_userinstall", "id_btn_arrowdown":  ShowCustomPanel();  "id_userfold", "id_btn_arrowup": ShowMainPanel()
//   press "id_checkbox", "id_checkbox_custom":  OnAgreementPressed() / OnCustomAgreementPressed()
//   click "id_btn_installdir": ChooseInstallFolder (folder_dialog.h); on a choice
//                              OnInstallPathChosen(AppendProductFolder(folder, vesk), FAT32 or not)
//   message 12002:             OnInstallPathEdited();  message 70156: OnInstallPathBoxClosed()
//   click "id_close":          OnCloseClick()
//   WM_SYSCOMMAND:             SysCommandSwallowed(cmd) swallows; SC_CLOSE: OnSysClose(LayerLoopDepth() > 0)
//                              passes on when true
//   WM_TIMER 16:               ShakeTick (install_schedules.h)
//   a posted FlowStep:         RunStep(step, value)
//   DownloadWindow::OnDownloadFinished: OnDownloadFinished();  OnDownloadFatal: OnDownloadFatal()
// Before the window goes it calls DownloadController::Detach; a popup opened from a controller
// call runs its nested loop inside that call, so the controller is never released from one.
#ifndef UI_INSTALLER_FLOW_H_
#define UI_INSTALLER_FLOW_H_

#include <cstdint>
#include <string>

#include "UI/install_schedules.h"
#include "UI/installer_reports.h"
#include "UI/panel_states.h"
#include "app/global.h"

namespace installer {

enum Stage { kStageChoose = 1, kStageDownloading = 2, kStageInstalling = 3, kStageComplete = 4 };

// What "id_close" does in a stage (the stage when the click comes).
enum class CloseAction {
  kAskQuit,             // quit question; quit reports "Downloader_Exit" "Quit"
  kAskQuitDownloading,  // quit question with "Downloading"; quit stops the download, "Downloader_Download_Fail" "Quit"
  kShake,               // the installation goes on
  kCloseNow,            // after completion: close without a question
};
CloseAction CloseActionForStage(int stage);

// What the system close command (Alt+F4, the taskbar) does.
enum class SysCloseAction {
  kPassOn,  // a popup's modal loop runs: the default handling has it
  kAsk,     // quit question; quit stops the download and closes, nothing is reported
  kShake,
  kPostCompletionClose,
};
SysCloseAction SysCloseActionFor(int stage, bool popup_loop_running);

// SC_MAXIMIZE is always swallowed (the window has one size per panel).
constexpr unsigned kScMaximize = 0xF030;
constexpr unsigned kScRestore = 0xF120;
constexpr unsigned kScClose = 0xF060;
bool SysCommandSwallowed(unsigned command);

// The install click over a previous installation: the main panel's hidden box
// "id_checkbox_savedata" (Russian document only) carries the answer.
enum class OverlayChoice {
  kNotOverlay,  // no previous installation
  kKeepData,    // box set: go on, old shortcuts removed first
  kAskOldData,  // box cleared: kind-2 popup "Installed", 1 goes on, 0 cancels
  kNoBox,       // every selectable language: go on
};
// `savedata_check`: 1 set, 0 cleared, -1 missing from the document.
OverlayChoice ChooseOverlay(bool overlay_install, int savedata_check);

// Steps the window posts to its own UI loop and hands back to RunStep when they come.
enum class FlowStep { kUrlWait, kStartInstallStage, kSimulatedProgress, kHeaderPicture, kCompletionClose };

constexpr int64_t kUrlWaitDelay = 200000;  // microseconds

// The main window, as the flow sees it. Element ids are the layout's; a missing one is skipped.
class InstallerView {
 public:
  // Applies the panel's element changes (panel_states) and its window size.
  virtual void ShowPanel(panel_states::MainState state) = 0;
  virtual void SetVisible(const wchar_t* id, bool visible) = 0;
  virtual bool IsVisible(const wchar_t* id) = 0;
  virtual void EnableButton(const wchar_t* id, bool enabled) = 0;
  virtual void SetText(const wchar_t* id, const std::wstring& text) = 0;
  virtual std::wstring GetText(const wchar_t* id) = 0;
  // 1 checked, 0 cleared, -1 no such check box.
  virtual int GetCheck(const wchar_t* id) = 0;
  virtual void SetCheck(const wchar_t* id, bool checked) = 0;
  virtual void SetProgress(float value) = 0;
  // A modal popup of `kind` owned by the window; `text` (may be null: the layout's own text)
  // goes into the kind's message static. Returns its result (1 the first button, 0 otherwise).
  virtual int RunPopup(int kind, const std::wstring* text) = 0;
  // A kind-1 popup with `text`, then WM_CLOSE is posted.
  virtual void ShowFatalMessage(const std::wstring& text) = 0;
  virtual void PostClose() = 0;
  virtual void Hide() = 0;
  virtual void Repaint() = 0;
  // False while a modal popup is open.
  virtual bool IsEnabled() = 0;
  virtual void StartShake() = 0;
  virtual void Post(FlowStep step, int64_t delay_microseconds, float value) = 0;

 protected:
  virtual ~InstallerView() {}
};

// Everything the flow starts outside the window.
class InstallerServices {
 public:
  virtual std::wstring PromptText(const char* key) = 0;
  virtual void ReportExit(const char* reason) = 0;
  virtual void ReportDownloadFail(const char* type) = 0;
  virtual void PostFixedEvent(FixedEvent event) = 0;
  // Total free bytes of a drive ("D:").
  virtual uint64_t FreeBytesOfDrive(const std::wstring& drive) = 0;
  // The install-path rules' questions (install_path.h).
  virtual bool IsInstallPathWrong(const std::wstring& text) = 0;
  virtual bool ValidateInstallPath(const std::wstring& path) = 0;
  virtual bool IsPackageUrlKnown() = 0;
  // File loop: creates the install folder ("\" appended, CreateParentFolders).
  virtual void CombineRealInstallPath(const std::wstring& install_folder) = 0;
  // Deletes the file the backup-package record names, if there is one.
  virtual void DeleteBackupPackage() = 0;
  // File loop: the old desktop shortcuts; with `then_start_download` the download is posted
  // back to the UI loop afterwards (the flow's StartDownload).
  virtual void RemoveOldShortcuts(bool remove_data, bool then_start_download) = 0;
  // DownloadController::StartDownload / StopDownload (every transfer stopped).
  virtual void StartPackageDownload() = 0;
  virtual void StopPackageDownload() = 0;
  // The package folder's removal as a cleanup task of the current loop.
  virtual void QueueLeftoverRemoval() = 0;
  // The install steps (extraction, the product's installers, registry, shortcuts).
  virtual void StartInstallSteps() = 0;

 protected:
  virtual ~InstallerServices() {}
};

class InstallerFlow {
 public:
  // `global`: install folder, previous install folder, auto flag, debug, "Rotational", vesk.
  explicit InstallerFlow(app::CGlobal* global);
  void Bind(InstallerView* view, InstallerServices* services);

  // Start.
  void OnOpeningAnimationEnded();  // not ready cleared; the caller posts the start sequence
  void OnStartChecksFailed(const std::wstring& message_text);
  // The previous-installation step's element changes: `folder` is the earlier install folder
  // when it exists as a folder, else empty.
  void OnPreviousInstall(const std::wstring& folder);
  void OnStartSequenceDone();  // "-auto": the download panel and the download, no click

  // Clicks.
  void OnInstallClick();
  void OnCustomInstallClick();
  void ShowCustomPanel();
  void ShowMainPanel();
  void OnAgreementPressed();
  void OnCustomAgreementPressed();
  void OnInstallPathEdited();     // message 12002
  void OnInstallPathBoxClosed();  // message 70156
  // A folder from the dialog, product folder appended; `fat32_volume`: its volume is FAT32
  // (NeedsFat32Warning of VolumeFileSystem), shown as a warning before the path is checked.
  void OnInstallPathChosen(const std::wstring& folder, bool fat32_volume);
  void OnCloseClick();
  // True when the command goes on to the default handling.
  bool OnSysClose(bool popup_loop_running);

  // Download and install stage.
  void ShowDownloadPanel();
  void StartDownload();
  void StopDownload();
  void OnDownloadFinished();
  // A download failure that ends the installer (DownloadWindow::OnDownloadFatal): the event,
  // one popup with the prompt text `prompt_key`, the window closes. Later calls do nothing.
  void OnDownloadFatal(const std::string& fail_type, const std::string& prompt_key);
  void StartInstallStage();
  // The product's installers have run and the install steps are done: the complete stage.
  void OnInstallComplete();
  void RunStep(FlowStep step, float value);
  void CloseAfterCompletion();

  int stage() const { return stage_; }
  bool not_ready() const { return not_ready_; }
  bool closing() const { return closing_; }
  bool download_finished() const { return download_finished_; }
  bool fatal_popup_shown() const { return fatal_popup_shown_; }
  bool custom_page_shown() const { return custom_page_shown_; }
  bool overlay_install() const { return overlay_install_; }
  const std::wstring& message_text() const { return message_text_; }
  const std::string& exit_reason() const { return exit_reason_; }
  const HeaderPicture& header_picture() const { return header_picture_; }
  void set_install_done(bool done) { install_done_ = done; }
  // Set by a check of the start sequence that ends the installer (its exit reason is kept).
  void set_exit_reason(const std::string& reason) { exit_reason_ = reason; }

 private:
  bool RefuseWhileNotReady();
  bool CheckInstallDrive();
  void ContinueInstallClick();
  void ConfirmCustomInstall();
  void ContinueDownload();
  void EnableInstallButtons(bool enabled, bool custom_button);
  void Log(int line, bool always, const std::string& message) const;

  app::CGlobal* global_;
  InstallerView* view_ = nullptr;
  InstallerServices* services_ = nullptr;
  int stage_ = kStageChoose;
  bool not_ready_ = true;
  bool closing_ = false;
  bool download_finished_ = false;
  bool install_stage_started_ = false;
  bool install_done_ = false;
  bool custom_page_shown_ = false;
  bool overlay_install_ = false;
  bool download_started_ = false;
  bool fatal_popup_shown_ = false;
  std::wstring message_text_;
  std::string exit_reason_;
  HeaderPicture header_picture_;
};

}  // namespace installer

#endif  // UI_INSTALLER_FLOW_H_
