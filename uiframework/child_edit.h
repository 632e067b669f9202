// CMEditEx: the native edit of `edit` and `simedit` on Windows, an EDIT child of the owner
// window in the default font, subclassed so that its characters reach the element before the
// control handles them. Its owner reflects the edit's WM_COMMAND notifications back to it
// (kMsgReflectedCommand), and EN_CHANGE keeps the element's text the edit's. The child goes with
// this object, or earlier with its parent. UI thread only. Windows only.
#ifndef UIFRAMEWORK_CHILD_EDIT_H_
#define UIFRAMEWORK_CHILD_EDIT_H_

#include <windows.h>

#include <memory>
#include <string>

#include "uiframework/native_edit.h"
#include "uiframework/native_window.h"

// A child control's WM_COMMAND, sent back to the control by its parent (wParam and lParam as
// WM_COMMAND's): the value the common reflection schemes use (0x2000 + WM_COMMAND).
constexpr UINT kMsgReflectedCommand = 0x2000 + WM_COMMAND;

class CMEditEx : public INativeEdit {
 public:
  // An edit child of `parent` at `options.area` with the options' control id, text, styles
  // (ES_PASSWORD, ES_READONLY), limit and cue banner; null (logged) when it cannot be made.
  static std::unique_ptr<CMEditEx> Create(HWND parent, const NativeEditOptions& options, INativeEditClient* client);
  ~CMEditEx() override;
  CMEditEx(const CMEditEx&) = delete;
  CMEditEx& operator=(const CMEditEx&) = delete;

  bool IsOpen() const override { return window_.valid(); }
  void Place(const UiRect& area) override;
  void Show(bool visible) override;
  void BringToFront() override;
  void SetText(const std::wstring& text) override;

  HWND window() const { return window_.get(); }

 private:
  explicit CMEditEx(INativeEditClient* client) : client_(client) {}
  static LRESULT CALLBACK Procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR self);

  INativeEditClient* client_;
  native_window::ScopedWindow window_;
};

#endif  // UIFRAMEWORK_CHILD_EDIT_H_
