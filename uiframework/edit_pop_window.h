// EditPopWindow: the pop-up edit of the layered edit on Windows. A borderless pop-up window
// (WS_POPUP, owned by the layered window) placed in screen coordinates exactly over the element's
// text rectangle, holding one native single-line EDIT (CMyEditEx) in the default font. The
// window exists while editing: when the edit loses the keyboard focus the window is hidden, cut
// loose from this object and handed to the utility window (0x1120C, lParam = the window), which
// destroys it; this object can open a new window at once. UI thread only. Windows only.
#ifndef UIFRAMEWORK_EDIT_POP_WINDOW_H_
#define UIFRAMEWORK_EDIT_POP_WINDOW_H_

#include <windows.h>

#include <string>

#include "runtime/scoped_handle_win.h"
#include "uiframework/native_window.h"
#include "uiframework/popup_edit.h"

// The pop-up's window class.
extern const wchar_t kEditPopWindowClass[];  // "PindleEditPopWindow"

class EditPopWindow : public IPopupEdit {
 public:
  // `owner` is the layered window whose client coordinates the areas are given in.
  EditPopWindow(HWND owner, IPopupEditClient* client);
  ~EditPopWindow() override;
  EditPopWindow(const EditPopWindow&) = delete;
  EditPopWindow& operator=(const EditPopWindow&) = delete;

  bool Open(const PopupEditOptions& options) override;
  bool IsOpen() const override { return window_.valid(); }
  void SetText(const std::wstring& text) override;
  void Close() override { Close(true); }

  // The open pop-up and its edit, or null.
  HWND window() const { return window_.get(); }
  HWND edit() const { return edit_; }

 private:
  friend class CMyEditEx;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  // From the edit.
  void OnEditChar(WPARAM character);
  void OnEditLostFocus();
  // Copies the text back, cuts the window loose and tells the client. `hand_over`: post the
  // window to the utility window for destruction (false when it is being destroyed already).
  void Close(bool hand_over);
  std::wstring EditText() const;

  HWND owner_;
  IPopupEditClient* client_;
  native_window::ScopedWindow window_;  // made here and not handed over yet
  HWND edit_ = nullptr;                 // a child of window_, destroyed with it
  base::ScopedGdiObject brush_;
  bool password_ = false;
  // Focus changes while the window is being made do not end the editing.
  bool opening_ = false;
  bool create_failure_logged_ = false;
};

#endif  // UIFRAMEWORK_EDIT_POP_WINDOW_H_
