// CUIUpDate: the skinned modal popup of every question and error message, built from the
// cannot-download layout of the current language. One layout holds the buttons and message areas
// of all kinds; the kind keeps its own visible and decides what each button returns:
//   0 question (ok 1, cancel 0, close 0)      1 fatal message (quit 1; no close button)
//   2 old data (go on 1, close 0, backup -)   3 restart (reboot 1, later 0)
// RunModal blocks in a nested layer loop: window messages and the UI loop's tasks keep running.
//
//   CUIUpDate popup;
//   popup.SetKind(1);
//   if (popup.Create(main_window)) popup.SetTip2Text(text);
//   const int answer = popup.RunModal();  // 0 at once when Create failed
//
// UI thread only. Windows only.
#ifndef UI_POPUP_DIALOG_H_
#define UI_POPUP_DIALOG_H_

#include <windows.h>

#include <string>

#include "uiframework/trans_window.h"

class CUIUpDate : public CTransWindow {
 public:
  CUIUpDate() = default;

  void SetKind(int kind) { popup_kind_ = kind; }
  int kind() const { return popup_kind_; }
  int result() const { return result_; }

  // Creates the popup (hidden) from the current language's layout, owned by `owner`.
  bool Create(HWND owner);
  // The same from the layout resource `layout`.
  bool CreateFromLayout(HWND owner, const std::wstring& layout);
  // The message texts; shown with the first render once RunModal runs.
  void SetTip1Text(const std::wstring& text);
  void SetTip2Text(const std::wstring& text);
  // Shows the popup with its owner disabled until a button closes it; the owner is enabled and
  // focused again afterwards. 0 at once, the owner untouched, when there is no window.
  int RunModal();

 protected:
  void BindControls() override;
  // Hides, deletes the elements, destroys the window and ends the innermost layer loop.
  void OnCloseWindow() override;

 private:
  void Answer(int result);
  void OpenHelpPage();

  int popup_kind_ = 0;
  int result_ = 0;
};

#endif  // UI_POPUP_DIALOG_H_
