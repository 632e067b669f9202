// CEditWindow: the pop-up of `richedit` on Windows. A window of its own (class "CEditWindow",
// text "EditWindow", WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN) owned by the
// element's window and laid over the element on the screen, painting a white box outlined in
// (60, 152, 208) around a digits-only EDIT child (CNumEdit) in the default font. It shows
// without taking the activation from its owner. The window goes with this object, or earlier
// with its owner. UI thread only. Windows only.
#ifndef UIFRAMEWORK_EDIT_WINDOW_H_
#define UIFRAMEWORK_EDIT_WINDOW_H_

#include <windows.h>

#include <memory>
#include <string>

#include "uiframework/native_edit.h"
#include "uiframework/native_window.h"

extern const wchar_t kEditWindowClass[];  // "CEditWindow"
extern const wchar_t kEditWindowText[];   // "EditWindow"

class CEditWindow : public INativeEdit {
 public:
  // The pop-up over `options.area` (client coordinates of `owner`) with `options.text` in its
  // edit; null (logged) when it cannot be made.
  static std::unique_ptr<CEditWindow> Create(HWND owner, const NativeEditOptions& options, INativeEditClient* client);
  ~CEditWindow() override;
  CEditWindow(const CEditWindow&) = delete;
  CEditWindow& operator=(const CEditWindow&) = delete;

  bool IsOpen() const override { return window_.valid(); }
  void Place(const UiRect& area) override;
  void Show(bool visible) override;
  void BringToFront() override;
  void SetText(const std::wstring& text) override;

  HWND window() const { return window_.get(); }
  HWND edit() const { return edit_; }

 private:
  CEditWindow(HWND owner, INativeEditClient* client) : owner_(owner), client_(client) {}
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void Paint(HWND hwnd);
  // The owner's client rectangle `area` on the screen.
  RECT ScreenArea(const UiRect& area) const;

  HWND owner_;
  INativeEditClient* client_;
  native_window::ScopedWindow window_;
  HWND edit_ = nullptr;  // a child of window_, destroyed with it
};

#endif  // UIFRAMEWORK_EDIT_WINDOW_H_
