#include "UI/panel_states.h"

#include "uiframework/button.h"
#include "uiframework/check_box.h"
#include "uiframework/progress.h"

namespace panel_states {

const wchar_t* const kHeaderPictures[4] = {L"APP", L"APP1", L"APP2", L"APP3"};

namespace {

// An element the loaded document lacks is skipped.
void SetVisible(CElementList& elements, const wchar_t* id, bool visible) {
  if (CBaseElementCtl* element = elements.FindElement(id)) element->SetVisible(visible);
}

void EnableButton(CElementList& elements, const wchar_t* id, bool enabled) {
  if (auto* button = dynamic_cast<CButtonCtl*>(elements.FindElement(id))) button->EnableButton(enabled);
}

void SetCheck(CElementList& elements, const wchar_t* id, bool checked) {
  if (auto* box = dynamic_cast<CCheckBoxCtl*>(elements.FindElement(id))) {
    box->SetCheck(checked);
    box->Invalidate(true);
  }
}

void SetText(CElementList& elements, const wchar_t* id, const std::wstring& text) {
  if (CBaseElementCtl* element = elements.FindElement(id)) {
    element->SetText(text);
    element->Invalidate(true);
  }
}

}  // namespace

void ApplyInitialState(CElementList& elements, const MainTexts& texts) {
  SetVisible(elements, L"id_panel_main", true);
  EnableButton(elements, L"id_install", false);
  SetCheck(elements, L"id_checkbox_savedata", true);
  SetVisible(elements, L"id_checkbox_savedata", false);
  SetCheck(elements, L"id_checkbox", true);
  SetVisible(elements, L"id_panel_userdef", false);
  SetCheck(elements, L"id_checkbox_custom", true);
  SetVisible(elements, L"id_userfold", false);
  SetVisible(elements, L"id_btn_arrowup", false);
  SetCheck(elements, L"id_checkbox_shortcut", true);
  SetCheck(elements, L"id_checkbox_easymenu", true);
  SetCheck(elements, L"id_checkbox_autorun", false);
  SetText(elements, L"id_edit_installpath", texts.install_folder);
  for (const wchar_t* id :
       {L"id_panel_download", L"id_static_tryshutdown", L"id_static_installing", L"id_panel_complete"}) {
    SetVisible(elements, id, false);
  }
  if (CBaseElementCtl* version = elements.FindElement(L"id_static_version")) {
    if (!texts.main_title.empty()) {
      version->SetText(texts.main_title);
      const UiRect rect = version->GetRect();
      version->MoveTo(rect.left, rect.top, 340, rect.height());
    } else {
      version->SetText(version->GetText() + texts.player_version);
    }
    version->Invalidate(true);
  }
}

void EnableInstall(CElementList& elements) {
  EnableButton(elements, L"id_install", true);
}

void ShowCustomPanel(CElementList& elements) {
  SetVisible(elements, L"id_panel_main", false);
  SetVisible(elements, L"id_panel_userdef", true);
  SetVisible(elements, L"id_static_patherror", false);
}

void ShowMainPanel(CElementList& elements) {
  SetVisible(elements, L"id_panel_main", true);
  SetVisible(elements, L"id_panel_userdef", false);
  SetVisible(elements, L"id_checkbox_savedata", false);
}

void ShowDownloadPanel(CElementList& elements) {
  SetVisible(elements, L"id_panel_main", false);
  SetVisible(elements, L"id_panel_userdef", false);
  SetVisible(elements, L"id_panel_download", true);
  SetVisible(elements, L"id_static_tryshutdown", false);
  SetVisible(elements, L"id_static_downing", true);
  SetVisible(elements, L"id_static_installing", false);
}

void ShowInstallStage(CElementList& elements) {
  SetVisible(elements, L"id_static_downing", false);
  SetVisible(elements, L"id_static_installing", true);
  SetVisible(elements, L"id_static_downing_size", false);
  EnableButton(elements, L"id_close", false);
}

void ShowCompletePanel(CElementList& elements, int window_width) {
  SetVisible(elements, L"id_panel_download", false);
  SetVisible(elements, L"id_panel_complete", true);
  EnableButton(elements, L"id_close", true);
  if (CBaseElementCtl* start = elements.FindElement(L"id_btn_usenow")) {
    const UiRect rect = start->GetRect();
    if (rect.left < 0) start->MoveTo((window_width - rect.width()) / 2, rect.top, rect.width(), rect.height());
  }
}

void SetDownloadProgress(CElementList& elements, float position) {
  if (auto* bar = dynamic_cast<CProgressCtl*>(elements.FindElement(L"id_progress_download"))) {
    bar->SetProgress(position);
  }
}

float DownloadBarPosition(float downloaded_fraction) {
  return downloaded_fraction * 0.8f;
}

void ApplyMainState(CElementList& elements, MainState state, float downloaded_fraction, int window_width) {
  switch (state) {
    case MainState::kMain: break;
    case MainState::kCustom: ShowCustomPanel(elements); break;
    case MainState::kDownload:
      ShowDownloadPanel(elements);
      SetDownloadProgress(elements, DownloadBarPosition(downloaded_fraction));
      break;
    case MainState::kInstalling:
      ShowDownloadPanel(elements);
      ShowInstallStage(elements);
      SetDownloadProgress(elements, kFirstInstallProgress);
      break;
    case MainState::kComplete:
      ShowDownloadPanel(elements);
      ShowInstallStage(elements);
      SetDownloadProgress(elements, 0.999f);
      ShowCompletePanel(elements, window_width);
      break;
  }
}

void ApplyPopupKind(CElementList& elements, int kind) {
  static const wchar_t* const kHidden[kPopupKindCount][8] = {
      {L"id_btn_quit", L"id_btn_faq", L"id_static_tip2", L"id_btn_goon", L"id_btn_backup", L"id_btn_reboot",
       L"id_btn_later", nullptr},
      {L"id_btn_ok", L"id_btn_cancal", L"id_static_tip1", L"id_btn_close", L"id_btn_goon", L"id_btn_backup",
       L"id_btn_reboot", L"id_btn_later"},
      {L"id_btn_quit", L"id_btn_faq", L"id_static_tip1", L"id_btn_ok", L"id_btn_cancal", L"id_btn_reboot",
       L"id_btn_later", nullptr},
      {L"id_btn_ok", L"id_btn_cancal", L"id_static_tip1", L"id_btn_close", L"id_btn_goon", L"id_btn_backup",
       L"id_btn_quit", L"id_btn_faq"},
  };
  if (kind < 0 || kind >= kPopupKindCount) return;
  for (const wchar_t* id : kHidden[kind]) {
    if (id) SetVisible(elements, id, false);
  }
}

const wchar_t* PopupTextElement(int kind) {
  return kind == 0 ? L"id_static_tip1" : L"id_static_tip2";
}

const char* PopupDefaultPromptKey(int kind) {
  switch (kind) {
    case 1: return "ServiceError";
    case 2: return "Installed";
    case 3: return "Reboot";
    default: return nullptr;
  }
}

}  // namespace panel_states
