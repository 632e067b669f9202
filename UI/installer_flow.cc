#include "UI/installer_flow.h"

#include "UI/install_checks.h"
#include "UI/install_path.h"
#include "log/log_assist.h"
#include "runtime/text_encoding.h"

namespace installer {
namespace {

const char kLogSource[] = "UI\\UIMainWindowEx.cpp";

}  // namespace

CloseAction CloseActionForStage(int stage) {
  if (stage < kStageDownloading) return CloseAction::kAskQuit;
  if (stage == kStageDownloading) return CloseAction::kAskQuitDownloading;
  if (stage == kStageInstalling) return CloseAction::kShake;
  return CloseAction::kCloseNow;
}

SysCloseAction SysCloseActionFor(int stage, bool popup_loop_running) {
  if (popup_loop_running) return SysCloseAction::kPassOn;
  if (stage == kStageInstalling) return SysCloseAction::kShake;
  if (stage > kStageInstalling) return SysCloseAction::kPostCompletionClose;
  return SysCloseAction::kAsk;
}

bool SysCommandSwallowed(unsigned command) {
  return (command & 0xFFF0) == kScMaximize;
}

OverlayChoice ChooseOverlay(bool overlay_install, int savedata_check) {
  if (!overlay_install) return OverlayChoice::kNotOverlay;
  if (savedata_check < 0) return OverlayChoice::kNoBox;
  return savedata_check ? OverlayChoice::kKeepData : OverlayChoice::kAskOldData;
}

InstallerFlow::InstallerFlow(app::CGlobal* global) : global_(global) {}

void InstallerFlow::Bind(InstallerView* view, InstallerServices* services) {
  view_ = view;
  services_ = services;
}

void InstallerFlow::Log(int line, bool always, const std::string& message) const {
  simlog::LogAssist::GetInstance().Log(kLogSource, line, simlog::kLogLineLevel, message, always || global_->debug);
}

void InstallerFlow::OnOpeningAnimationEnded() {
  not_ready_ = false;
}

void InstallerFlow::OnStartChecksFailed(const std::wstring& message_text) {
  message_text_ = message_text;
  view_->ShowFatalMessage(message_text_);
}

void InstallerFlow::OnPreviousInstall(const std::wstring& folder) {
  global_->previous_install_folder = folder;
  if (!folder.empty()) {
    global_->install_folder = folder;
    // An update goes into the same folder: there is no custom panel.
    view_->SetVisible(L"id_userinstall", false);
    view_->SetVisible(L"id_btn_arrowdown", false);
    view_->SetText(L"id_install", services_->PromptText("Repair"));
  }
  view_->EnableButton(L"id_install", true);
}

void InstallerFlow::OnStartSequenceDone() {
  if (!global_->auto_install) return;
  ShowDownloadPanel();
  Log(__LINE__, true, "upgrade install immediately");
  StartDownload();
}

bool InstallerFlow::RefuseWhileNotReady() {
  if (!not_ready_) return false;
  message_text_ = services_->PromptText("Resolution");
  exit_reason_ = exit_reason::kNotReady;
  services_->ReportExit(exit_reason::kNotReady);
  view_->ShowFatalMessage(message_text_);
  return true;
}

void InstallerFlow::OnInstallClick() {
  if (RefuseWhileNotReady()) return;
  if (custom_page_shown_) {
    ConfirmCustomInstall();
    return;
  }
  if (!global_->previous_install_folder.empty()) overlay_install_ = true;
  if (!CheckInstallDrive()) return;
  ContinueInstallClick();
}

void InstallerFlow::OnCustomInstallClick() {
  if (RefuseWhileNotReady()) return;
  ConfirmCustomInstall();
}

bool InstallerFlow::CheckInstallDrive() {
  const std::wstring drive = InstallDrive(global_->install_folder);
  const uint64_t free_bytes = services_->FreeBytesOfDrive(drive);
  Log(__LINE__, true,
      simlog::LogAssist::FormatString("installpath:%s free disk size:%d", base::WideToAnsi(drive).c_str(),
                                      static_cast<int>(Megabytes(free_bytes))));
  if (EnoughFreeSpace(free_bytes)) return true;
  exit_reason_ = exit_reason::kFreeDiskSize;
  services_->ReportExit(exit_reason::kFreeDiskSize);
  message_text_ = LowInstallDriveMessage(services_->PromptText("FREEDISK1"), global_->install_folder,
                                         services_->PromptText("FREEDISK2"));
  view_->ShowFatalMessage(message_text_);
  return false;
}

void InstallerFlow::ContinueInstallClick() {
  switch (ChooseOverlay(overlay_install_, view_->GetCheck(L"id_checkbox_savedata"))) {
    case OverlayChoice::kKeepData:
      ShowDownloadPanel();
      services_->RemoveOldShortcuts(true, true);
      return;
    case OverlayChoice::kAskOldData: {
      const std::wstring text = services_->PromptText("Installed");
      if (view_->RunPopup(2, &text) != 1) {
        Log(__LINE__, false, "User click Cancel delete old data");
        return;
      }
      ShowDownloadPanel();
      services_->RemoveOldShortcuts(false, true);
      return;
    }
    case OverlayChoice::kNoBox:
      services_->RemoveOldShortcuts(true, false);
      ShowDownloadPanel();
      Log(__LINE__, false, "User click to overlay installation");
      StartDownload();
      return;
    case OverlayChoice::kNotOverlay:
      ShowDownloadPanel();
      Log(__LINE__, false, "User click to install immediately");
      StartDownload();
      return;
  }
}

void InstallerFlow::ConfirmCustomInstall() {
  const std::wstring text = view_->GetText(L"id_edit_installpath");
  Log(__LINE__, false, base::WideToAnsi(L"Custom install path：" + text));
  bool dropped = false;
  global_->install_folder = CustomInstallFolder(text, &dropped);
  if (dropped) Log(__LINE__, false, base::WideToAnsi(L"用户输入的路径带\\，执行去掉\\操作"));
  if (!CheckInstallDrive()) return;
  ShowDownloadPanel();
  StartDownload();
}

void InstallerFlow::ShowCustomPanel() {
  if (RefuseWhileNotReady()) return;
  view_->ShowPanel(panel_states::MainState::kCustom);
  custom_page_shown_ = true;
}

void InstallerFlow::ShowMainPanel() {
  view_->ShowPanel(panel_states::MainState::kMain);
  custom_page_shown_ = false;
}

void InstallerFlow::EnableInstallButtons(bool enabled, bool custom_button) {
  view_->EnableButton(L"id_install", enabled);
  if (custom_button) view_->EnableButton(L"id_install_custom", enabled);
  // With a previous installation the custom entry is hidden and stays as it is.
  if (global_->previous_install_folder.empty()) view_->EnableButton(L"id_userinstall", enabled);
}

void InstallerFlow::OnAgreementPressed() {
  if (RefuseWhileNotReady()) return;
  EnableInstallButtons(view_->GetCheck(L"id_checkbox") == 1, false);
}

void InstallerFlow::OnCustomAgreementPressed() {
  if (RefuseWhileNotReady()) return;
  const bool checked = view_->GetCheck(L"id_checkbox_custom") == 1;
  view_->SetCheck(L"id_checkbox", checked);
  EnableInstallButtons(checked, true);
}

void InstallerFlow::OnInstallPathEdited() {
  if (!view_->IsVisible(L"id_panel_userdef")) return;
  const bool wrong = services_->IsInstallPathWrong(view_->GetText(L"id_edit_installpath"));
  view_->SetVisible(L"id_static_patherror", wrong);
  view_->EnableButton(L"id_install_custom", !wrong);
}

void InstallerFlow::OnInstallPathBoxClosed() {
  view_->SetText(L"id_edit_installpath",
                 AppendProductFolder(view_->GetText(L"id_edit_installpath"), global_->product_name));
}

void InstallerFlow::OnInstallPathChosen(const std::wstring& folder, bool fat32_volume) {
  view_->SetText(L"id_edit_installpath", folder);
  if (fat32_volume) {
    const std::wstring text = services_->PromptText("Fat");
    view_->RunPopup(1, &text);  // a warning: the installer goes on whatever the answer
  }
  const bool valid = services_->ValidateInstallPath(folder);
  view_->SetVisible(L"id_static_patherror", !valid);
  view_->EnableButton(L"id_install_custom", valid);
}

void InstallerFlow::OnCloseClick() {
  switch (CloseActionForStage(stage_)) {
    case CloseAction::kAskQuit:
      if (view_->RunPopup(0, nullptr) == 1) {
        exit_reason_ = exit_reason::kQuit;
        services_->ReportExit(exit_reason::kQuit);
        closing_ = true;
        view_->PostClose();
      } else {
        view_->Post(FlowStep::kStartInstallStage, 0, 0);
      }
      return;
    case CloseAction::kAskQuitDownloading: {
      const std::wstring text = services_->PromptText("Downloading");
      if (view_->RunPopup(0, &text) == 1) {
        StopDownload();
        services_->ReportDownloadFail(fail_type::kQuit);
        closing_ = true;
        view_->PostClose();
      } else {
        // A download that finished while the question was open starts its install stage now.
        view_->Post(FlowStep::kStartInstallStage, 0, 0);
      }
      return;
    }
    case CloseAction::kShake: view_->StartShake(); return;
    case CloseAction::kCloseNow: CloseAfterCompletion(); return;
  }
}

bool InstallerFlow::OnSysClose(bool popup_loop_running) {
  Log(__LINE__, true, "OnSysCommand()");
  switch (SysCloseActionFor(stage_, popup_loop_running)) {
    case SysCloseAction::kPassOn: return true;
    case SysCloseAction::kShake: view_->StartShake(); return false;
    case SysCloseAction::kPostCompletionClose: view_->Post(FlowStep::kCompletionClose, 0, 0); return false;
    case SysCloseAction::kAsk:
      if (view_->RunPopup(0, nullptr) == 1) {
        StopDownload();
        closing_ = true;
        return true;
      }
      view_->Post(FlowStep::kStartInstallStage, 0, 0);
      return false;
  }
  return false;
}

void InstallerFlow::CloseAfterCompletion() {
  closing_ = true;
  services_->QueueLeftoverRemoval();
  view_->Hide();
  view_->PostClose();
}

void InstallerFlow::ShowDownloadPanel() {
  view_->ShowPanel(panel_states::MainState::kDownload);
  stage_ = kStageDownloading;
  if (global_->rotational) view_->Post(FlowStep::kHeaderPicture, kFirstHeaderPictureDelay, 0);
}

void InstallerFlow::StartDownload() {
  if (!services_->IsPackageUrlKnown()) {
    view_->Post(FlowStep::kUrlWait, kUrlWaitDelay, 0);
    return;
  }
  ContinueDownload();
}

void InstallerFlow::ContinueDownload() {
  // The click and "-auto" can meet (and the shortcut removal posts a start back): one download.
  if (download_started_) return;
  download_started_ = true;
  Log(__LINE__, false, "start to CombineRealInstallPath");
  services_->CombineRealInstallPath(global_->install_folder);
  services_->DeleteBackupPackage();
  stage_ = kStageDownloading;
  services_->PostFixedEvent(FixedEvent::kStart);
  services_->StartPackageDownload();
}

void InstallerFlow::StopDownload() {
  Log(__LINE__, false, base::WideToAnsi(L"执行DownLoadingAUserQuit"));
  services_->StopPackageDownload();
  services_->QueueLeftoverRemoval();
}

void InstallerFlow::OnDownloadFinished() {
  services_->PostFixedEvent(FixedEvent::kFinish);
  download_finished_ = true;
  stage_ = kStageInstalling;
  StartInstallStage();
}

void InstallerFlow::OnDownloadFatal(const std::string& fail_type, const std::string& prompt_key) {
  if (fatal_popup_shown_ || closing_) return;
  fatal_popup_shown_ = true;
  closing_ = true;  // pending URL waits, picture steps and the install stage stop
  services_->ReportDownloadFail(fail_type.c_str());
  message_text_ = services_->PromptText(prompt_key.c_str());
  view_->ShowFatalMessage(message_text_);
}

void InstallerFlow::StartInstallStage() {
  if (!download_finished_ || !view_->IsEnabled() || install_stage_started_ || closing_) return;
  install_stage_started_ = true;
  stage_ = kStageInstalling;
  view_->ShowPanel(panel_states::MainState::kInstalling);
  view_->Post(FlowStep::kSimulatedProgress, kFirstSimulatedProgressDelay, kFirstSimulatedProgress);
  services_->StartInstallSteps();
}

void InstallerFlow::OnInstallComplete() {
  install_done_ = true;
  stage_ = kStageComplete;
}

void InstallerFlow::RunStep(FlowStep step, float value) {
  switch (step) {
    case FlowStep::kUrlWait:
      if (closing_) return;
      if (services_->IsPackageUrlKnown()) {
        ContinueDownload();
        return;
      }
      Log(__LINE__, true, "Download URL Empty");
      view_->Post(FlowStep::kUrlWait, kUrlWaitDelay, 0);
      return;
    case FlowStep::kStartInstallStage: StartInstallStage(); return;
    case FlowStep::kSimulatedProgress: {
      const ProgressStep next = SimulatedProgressStep(value, closing_, install_done_);
      if (next.show) view_->SetProgress(next.value);
      if (next.again) view_->Post(FlowStep::kSimulatedProgress, next.delay, next.next);
      return;
    }
    case FlowStep::kHeaderPicture:
      if (closing_) return;
      view_->Post(FlowStep::kHeaderPicture, StepHeaderPicture(&header_picture_), 0);
      view_->Repaint();
      return;
    case FlowStep::kCompletionClose: CloseAfterCompletion(); return;
  }
}

}  // namespace installer
