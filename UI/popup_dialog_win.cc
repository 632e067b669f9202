#include "UI/popup_dialog.h"

#include <shellapi.h>

#include <functional>

#include "UI/panel_states.h"
#include "app/global.h"
#include "app/language.h"
#include "app/prompt_fallback.h"
#include "runtime/layer_loop.h"

bool CUIUpDate::Create(HWND owner) {
  const app::LanguageEntry& language = app::LanguageForIndex(app::Global().language_index);
  return CreateFromLayout(owner, language.cannot_down_layout);
}

bool CUIUpDate::CreateFromLayout(HWND owner, const std::wstring& layout) {
  return LoadLayout(owner, layout);
}

void CUIUpDate::BindControls() {
  const struct {
    const wchar_t* id;
    int result;  // -1: the popup stays open
  } answers[] = {{L"id_btn_close", 0}, {L"id_btn_ok", 1},    {L"id_btn_cancal", 0}, {L"id_btn_quit", 1},
                 {L"id_btn_goon", 1},  {L"id_btn_later", 0}, {L"id_btn_reboot", 1}, {L"id_btn_backup", -1}};
  for (const auto& answer : answers) {
    CBaseElementCtl* button = FindElement(answer.id);
    if (!button) continue;
    const int result = answer.result;
    button->SetClickHandler(ElementHandler(std::function<void()>([this, result] {
      if (result >= 0) Answer(result);
    })));
  }
  if (CBaseElementCtl* faq = FindElement(L"id_btn_faq")) {
    faq->SetClickHandler(ElementHandler(std::function<void()>([this] { OpenHelpPage(); })));
  }
  panel_states::ApplyPopupKind(elements(), popup_kind_);
}

void CUIUpDate::Answer(int result) {
  result_ = result;
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void CUIUpDate::OpenHelpPage() {
  const int index = PromptKeyIndex("FAQUrl");
  if (index >= 0 && !app::Global().prompts[index].empty()) OpenUrl(app::Global().prompts[index]);
}

void CUIUpDate::SetTip1Text(const std::wstring& text) {
  if (CBaseElementCtl* tip = hwnd_ ? FindElement(L"id_static_tip1") : nullptr) tip->SetText(text);
}

void CUIUpDate::SetTip2Text(const std::wstring& text) {
  if (CBaseElementCtl* tip = hwnd_ ? FindElement(L"id_static_tip2") : nullptr) tip->SetText(text);
}

int CUIUpDate::RunModal() {
  if (!hwnd_) return 0;
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  // The first image is in place before the window shows, so it never shows unpainted.
  RenderBeforeShow();
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  if (owner) EnableWindow(owner, FALSE);
  // Enables and focuses the owner again when it returns.
  base::RunLayerLoop(owner);
  return result_;
}

void CUIUpDate::OnCloseWindow() {
  // The handler that posted WM_CLOSE has returned: the elements can go.
  ShowWindow(hwnd_, SW_HIDE);
  elements().Clear();
  DestroyWindow(hwnd_);
  base::QuitInnermostLayerLoop();
}
