#include "uiframework/utility_window.h"

#include "app/global.h"
#include "uiframework/gdi_resource.h"

const wchar_t kUtilityWindowTitle[] = L"2907A16F9AC14024BC6D4DDA369011CD";

namespace {

MainWindowHostFactory g_main_window_factory = nullptr;

}  // namespace

void SetMainWindowHostFactory(MainWindowHostFactory factory) {
  g_main_window_factory = factory;
}

CUtilityWindow::~CUtilityWindow() {
  Destroy();
}

bool CUtilityWindow::Create(HINSTANCE instance, const std::wstring& class_name) {
  instance_ = instance;
  class_name_ = class_name;
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = &CUtilityWindow::WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = class_name_.c_str();
  if (!RegisterClassExW(&window_class)) return false;
  // The windows it hosts draw through GDI+ from their first message on.
  gdiplus_started_ = GetGDIResource().StartGdiplus(L"CUtilityWindow");
  // WM_CREATE finds this object through the creation parameter.
  HWND hwnd = CreateWindowExW(0, class_name_.c_str(), kUtilityWindowTitle, WS_POPUP, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                              instance, this);
  if (!hwnd) {
    main_window_.reset();
    UnregisterClassW(class_name_.c_str(), instance_);
    StopGdiplus();
    return false;
  }
  return true;
}

void CUtilityWindow::Destroy() {
  main_window_.reset();
  if (hwnd_) {
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    UnregisterClassW(class_name_.c_str(), instance_);
  }
  StopGdiplus();
}

void CUtilityWindow::StopGdiplus() {
  if (!gdiplus_started_) return;
  gdiplus_started_ = false;
  GetGDIResource().ReleaseCaches();
  GetGDIResource().StopGdiplus();
}

LRESULT CALLBACK CUtilityWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  CUtilityWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<CUtilityWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    // The user data slot holds the single-instance magic, so the object lives in a property.
    // The magic is in place before WM_CREATE builds the main window: a second copy started
    // while the main layout loads must already find it.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, kUtilityWindowMagic);
    SetPropW(hwnd, L"CUtilityWindow", self);
  } else {
    self = static_cast<CUtilityWindow*>(GetPropW(hwnd, L"CUtilityWindow"));
  }
  if (message == WM_NCDESTROY) {
    RemovePropW(hwnd, L"CUtilityWindow");
    if (self) self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return self ? self->HandleMessage(message, wparam, lparam) : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CUtilityWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      app::Global().utility_window = hwnd_;
      if (!g_main_window_factory) return -1;
      main_window_ = g_main_window_factory();
      if (!main_window_ || !main_window_->Create(hwnd_)) {
        main_window_.reset();
        return -1;
      }
      return 0;
    case kMsgPathEditClosed: {
      HWND edit = reinterpret_cast<HWND>(lparam);
      if (edit && IsWindow(edit)) DestroyWindow(edit);
      if (main_window_) main_window_->OnPathEditClosed();
      return 0;
    }
    case kMsgActivateRunningCopy:
      if (main_window_) main_window_->Activate();
      return 0;
    default: return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

bool NotifyRunningCopy(const std::wstring& class_name) {
  // The marker window is message-only, which a plain top-level search never finds; look among
  // message-only windows too, so a second copy really sees the first.
  HWND found = FindWindowW(class_name.c_str(), kUtilityWindowTitle);
  if (!found) found = FindWindowExW(HWND_MESSAGE, nullptr, class_name.c_str(), kUtilityWindowTitle);
  if (!found || !IsWindow(found)) return false;
  if (GetWindowLongPtrW(found, GWLP_USERDATA) != kUtilityWindowMagic) return false;
  PostMessageW(found, kMsgActivateRunningCopy, 0, 0);
  return true;
}
