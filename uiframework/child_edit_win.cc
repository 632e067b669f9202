#include "uiframework/child_edit.h"

#include <commctrl.h>

#include "log/log_assist.h"
#include "uiframework/gdi_resource.h"

namespace {

const char kLogSource[] = "uiframework\\child_edit.cpp";
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

std::unique_ptr<CMEditEx> CMEditEx::Create(HWND parent, const NativeEditOptions& options, INativeEditClient* client) {
  if (!parent || !IsWindow(parent)) {
    SIMLOG(kLogSource, true, "the edit %d has no owner window", options.control_id);
    return nullptr;
  }
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
  if (options.password) style |= ES_PASSWORD;
  if (options.read_only) style |= ES_READONLY;
  const UiRect& area = options.area;
  HWND created = CreateWindowExW(
      0, WC_EDITW, options.text.c_str(), style, area.left, area.top, area.width(), area.height(), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(options.control_id)), GetModuleHandleW(nullptr), nullptr);
  if (!created) {
    SIMLOG(kLogSource, true, "CreateWindowExW of the edit %d failed, error %lu", options.control_id, GetLastError());
    return nullptr;
  }
  std::unique_ptr<CMEditEx> edit(new CMEditEx(client));
  edit->window_.reset(created);
  if (!SetWindowSubclass(created, &CMEditEx::Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(edit.get()))) {
    SIMLOG(kLogSource, true, "SetWindowSubclass of the edit %d failed, error %lu", options.control_id, GetLastError());
    return nullptr;  // the window goes with the object
  }
  SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(GetGDIResource().GetDefaultFont()), FALSE);
  if (options.max_length > 0) SendMessageW(created, EM_LIMITTEXT, static_cast<WPARAM>(options.max_length), 0);
  // Only the edit of Common Controls 6 (the manifest's) shows a cue banner; without it the box
  // is simply empty.
  if (!options.cue_banner.empty() &&
      !SendMessageW(created, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(options.cue_banner.c_str()))) {
    SIMLOG(kLogSource, true, "EM_SETCUEBANNER of the edit %d was refused", options.control_id);
  }
  return edit;
}

CMEditEx::~CMEditEx() {
  // Nothing reaches this object from its last messages.
  if (window_.valid()) RemoveWindowSubclass(window_.get(), &CMEditEx::Procedure, kSubclassId);
  window_.reset();
}

void CMEditEx::Place(const UiRect& area) {
  if (!IsOpen()) return;
  SetWindowPos(window_.get(), nullptr, area.left, area.top, area.width(), area.height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMEditEx::Show(bool visible) {
  if (IsOpen()) ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE);
}

void CMEditEx::BringToFront() {
  if (IsOpen()) SetWindowPos(window_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMEditEx::SetText(const std::wstring& text) {
  if (IsOpen()) SetWindowTextW(window_.get(), text.c_str());
}

LRESULT CALLBACK CMEditEx::Procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<CMEditEx*>(data);
  switch (message) {
    case WM_CHAR:
      if (self->client_) self->client_->OnNativeEditChar(static_cast<uint32_t>(wparam));
      break;
    case kMsgReflectedCommand:
      if (HIWORD(wparam) == EN_CHANGE && self->client_) {
        self->client_->OnNativeEditText(native_window::WindowText(edit));
      }
      return 0;
    case WM_NCDESTROY:
      // The parent went first and took the edit with it.
      RemoveWindowSubclass(edit, &CMEditEx::Procedure, kSubclassId);
      self->window_.release();
      break;
    default: break;
  }
  return DefSubclassProc(edit, message, wparam, lparam);
}
