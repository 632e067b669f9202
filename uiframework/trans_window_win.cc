#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "system/embedded_program.h"
#include "runtime/text_encoding.h"
#include "log/log_assist.h"
#include "runtime/scoped_handle_win.h"
#include "uiframework/child_edit.h"
#include "uiframework/edit_pop_window.h"
#include "uiframework/edit_window.h"
#include "uiframework/gdi_canvas.h"
#include "uiframework/trans_window.h"
#include "uiframework/window_paint.h"

namespace {

const char kLogSource[] = "uiframework\\trans_window.cpp";
const wchar_t kWindowClass[] = L"PindleTransWindow";
constexpr int kTooltipMaxWidth = 260;
constexpr int kIconResource = 128;

void LogFailure(int line, const std::string& message) {
  simlog::LogAssist::GetInstance().Log(kLogSource, line, simlog::kLogLineLevel, message, true);
}

int DisplayColourDepth() {
  DEVMODEW mode = {};
  mode.dmSize = sizeof(mode);
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 0;
  return static_cast<int>(mode.dmBitsPerPel);
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kWindowClass, &existing)) return true;
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = kWindowClass;
  if (RegisterClassExW(&window_class)) return true;
  LogFailure(__LINE__, simlog::LogAssist::FormatString("RegisterClassExW failed, error %lu", GetLastError()));
  return false;
}

bool ReadXmlResource(const std::wstring& name, std::string* bytes) {
  return ReadOwnResource(name.c_str(), L"XML", bytes);
}

RECT ToRect(const UiRect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

UiRect FromRect(const RECT& rect) {
  return UiRect{rect.left, rect.top, rect.right, rect.bottom};
}

// ATL's rule: over the owner when it is visible and not minimised, otherwise over the work area
// of the nearest monitor; kept inside that work area.
void CenterWindow(HWND window, HWND owner) {
  RECT own = {};
  GetWindowRect(window, &own);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  const bool over_owner = owner && IsWindowVisible(owner) && !IsIconic(owner);
  HMONITOR handle = MonitorFromWindow(over_owner ? owner : window, MONITOR_DEFAULTTONEAREST);
  if (!GetMonitorInfoW(handle, &monitor)) return;
  const RECT area = monitor.rcWork;
  RECT centre_on = area;
  if (over_owner) GetWindowRect(owner, &centre_on);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  int left = (centre_on.left + centre_on.right) / 2 - width / 2;
  int top = (centre_on.top + centre_on.bottom) / 2 - height / 2;
  if (left + width > area.right) left = area.right - width;
  if (left < area.left) left = area.left;
  if (top + height > area.bottom) top = area.bottom - height;
  if (top < area.top) top = area.top;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Icon 128 of the executable at the system icon size, loaded once and shared by every window.
HICON WindowIcon() {
  static HICON icon =
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
  return icon;
}

bool ListHolds(CElementList& list, const CBaseElementCtl* element) {
  for (size_t i = 0; i < list.size(); ++i) {
    CBaseElementCtl* item = list.at(i);
    if (item == element) return true;
    if (CElementList* children = item->children()) {
      if (ListHolds(*children, element)) return true;
    }
  }
  return false;
}

}  // namespace

CUpdateWindowBase::CUpdateWindowBase(WindowKind kind) : kind_(kind), colour_depth_(&DisplayColourDepth) {}

CUpdateWindowBase::~CUpdateWindowBase() {
  if (!hwnd_) return;
  // The subclass is gone already: the last messages go to the default procedure. The tooltip,
  // an owned window, goes with its owner.
  HWND window = hwnd_;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  DestroyWindow(window);
}

bool CUpdateWindowBase::LoadLayout(HWND owner, const std::wstring& resource_name) {
  std::string document;
  if (!ReadXmlResource(resource_name, &document)) {
    LogFailure(__LINE__, simlog::LogAssist::FormatString("layout resource %s not found",
                                                         base::WideToUtf8(resource_name).c_str()));
    return false;
  }
  return LoadLayoutDocument(owner, document, resource_name);
}

bool CUpdateWindowBase::LoadLayoutDocument(HWND owner, const std::string& document, const std::wstring& name) {
  if (hwnd_) return false;
  resource_name_ = name;
  images_ = std::make_unique<CResourceImages>(&GetGDIResource(), GetModuleHandleW(nullptr));
  layout_ = std::make_unique<CLayoutWindow>(kind_, this, images_.get());
  std::string error;
  // The elements follow in WM_CREATE: native edits need the window to exist.
  if (!layout_->ReadRoot(document, &error)) {
    LogFailure(__LINE__, simlog::LogAssist::FormatString("layout %s is unusable: %s", base::WideToUtf8(name).c_str(),
                                                         error.c_str()));
    layout_.reset();
    return false;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(instance, &CUpdateWindowBase::WindowProc)) return false;
  const CWindowRoot& root = layout_->root();
  const UiRect rect = root.GetRect();
  DWORD style = static_cast<DWORD>(root.style());
  if (style == 0) style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  HWND created = CreateWindowExW(static_cast<DWORD>(root.style_ex()), kWindowClass, root.GetText().c_str(), style,
                                 rect.left, rect.top, rect.width(), rect.height(), owner, nullptr, instance, this);
  if (!created) {
    LogFailure(__LINE__, simlog::LogAssist::FormatString("CreateWindowExW of layout %s failed, error %lu",
                                                         base::WideToUtf8(name).c_str(), GetLastError()));
    hwnd_ = nullptr;
    layout_.reset();
    return false;
  }
  SetForegroundWindow(hwnd_);
  return true;
}

LRESULT CALLBACK CUpdateWindowBase::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  CUpdateWindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<CUpdateWindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CUpdateWindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

bool CUpdateWindowBase::OnCreate() {
  layout_->BuildElements();
  // The layered set-up: the first render waits until the creation messages are done.
  blend_.SourceConstantAlpha = 255;
  if (colour_depth_() == 32) {
    HMODULE user32 = GetModuleHandleW(L"User32.DLL");
    update_layered_ = user32 ? reinterpret_cast<UpdateLayeredWindowFunction>(
                                   reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")))
                             : nullptr;
    if (update_layered_) PostMessageW(hwnd_, element_message::kLayeredRepaint, 0, 100);
  }
  if (layout_->root().center()) CenterWindow(hwnd_, GetWindow(hwnd_, GW_OWNER));
  CreateTooltip();
  BindControls();
  SetWindowTextW(hwnd_, layout_->root().GetText().c_str());
  SetWindowIcon();
  return true;
}

void CUpdateWindowBase::CreateTooltip() {
  static bool controls_ready = false;
  if (!controls_ready) {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
    controls_ready = InitCommonControlsEx(&init) != FALSE;
  }
  tooltip_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) {
    LogFailure(__LINE__, simlog::LogAssist::FormatString("tooltip creation failed, error %lu", GetLastError()));
    return;
  }
  SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
}

void CUpdateWindowBase::SetWindowIcon() {
  HICON icon = WindowIcon();
  if (!icon) return;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

UiRect CUpdateWindowBase::WindowRect() const {
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  return FromRect(rect);
}

window_rules::HitTestFacts CUpdateWindowBase::HitFacts() const {
  window_rules::HitTestFacts facts;
  facts.window = WindowRect();
  facts.title_height = layout_->root().title_height();
  facts.maximised = IsZoomed(hwnd_) != FALSE;
  facts.resizable_borders = resizable_borders_;
  return facts;
}

bool CUpdateWindowBase::PaintInto(CDibSurface* surface) {
  const UiRect window = WindowRect();
  if (!surface->Create(window.width(), window.height())) return false;
  CGdiCanvas canvas(surface->dc(), &GetGDIResource());
  PaintBackground(canvas);
  PaintElements(canvas);
  GdiFlush();
  return true;
}

bool CUpdateWindowBase::UpdateLayered(HDC source, const UiRect& window, int opacity_percent) {
  blend_.SourceConstantAlpha = static_cast<BYTE>(window_rules::ConstantAlpha(opacity_percent));
  const LONG ex_style = GetWindowLongW(hwnd_, GWL_EXSTYLE);
  if (!(ex_style & WS_EX_LAYERED)) SetWindowLongW(hwnd_, GWL_EXSTYLE, ex_style | WS_EX_LAYERED);
  POINT position = {window.left, window.top};
  SIZE size = {window.width(), window.height()};
  POINT origin = {0, 0};
  HDC window_dc = GetDC(hwnd_);
  // A failure is not fatal: the next request draws again.
  const BOOL updated = update_layered_(hwnd_, window_dc, &position, &size, source, &origin, 0, &blend_, ULW_ALPHA);
  if (window_dc) ReleaseDC(hwnd_, window_dc);
  ++stats_.renders;
  stats_.last_constant_alpha = blend_.SourceConstantAlpha;
  if (frame_observer_) frame_observer_(Frame{window, blend_.SourceConstantAlpha});
  return updated != FALSE;
}

bool CUpdateWindowBase::Render(int opacity_percent) {
  if (!hwnd_ || !update_layered_) return false;
  CDibSurface surface;
  if (!PaintInto(&surface)) return false;
  return UpdateLayered(surface.dc(), WindowRect(), opacity_percent);
}

void CUpdateWindowBase::RenderBeforeShow() {
  if (!hwnd_ || !update_layered_) return;
  MSG pending;
  while (PeekMessageW(&pending, hwnd_, element_message::kLayeredRepaint, element_message::kLayeredRepaint, PM_REMOVE)) {
  }
  Render(100);
}

void CUpdateWindowBase::RenderOrInvalidate(int opacity_percent) {
  if (!update_layered_) {
    ++stats_.invalidations;
    InvalidateRect(hwnd_, nullptr, TRUE);
    return;
  }
  if (RenderAllowed()) Render(opacity_percent);
}

void CUpdateWindowBase::PaintBackground(ICanvas& canvas) {
  const UiRect window = WindowRect();
  ::PaintBackground(canvas, layout_->root(), window.width(), window.height());
}

void CUpdateWindowBase::PaintElements(ICanvas& canvas) {
  ::PaintElements(canvas, layout_->elements());
}

void CUpdateWindowBase::OnPaint() {
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(hwnd_, &paint);
  if (dc) {
    CGdiCanvas canvas(dc, &GetGDIResource());
    PaintBackground(canvas);
    PaintElements(canvas);
  }
  EndPaint(hwnd_, &paint);
}

LPCWSTR CUpdateWindowBase::CursorFor(PointerShape shape) const {
  switch (shape) {
    case PointerShape::kHand: return IDC_HAND;
    case PointerShape::kIBeam: return IDC_IBEAM;
    default: return IDC_ARROW;
  }
}

bool CUpdateWindowBase::HoldsElement(const CBaseElementCtl* element) {
  // A notification posted by an element that has been deleted since must find nothing.
  return element && layout_ && ListHolds(layout_->elements(), element);
}

LRESULT CUpdateWindowBase::OnHitTest(LPARAM lparam) {
  POINT point = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  POINT client = point;
  ScreenToClient(hwnd_, &client);
  if (layout_->elements().AnyElementAt(client.x, client.y)) return HTCLIENT;
  layout_->elements().DispatchMouseLeave();
  return HitTestFrame(point.x, point.y);
}

LRESULT CUpdateWindowBase::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!layout_) return DefWindowProcW(hwnd_, message, wparam, lparam);
  CElementList& elements = layout_->elements();
  LRESULT result = 0;
  if (HandleKindMessage(message, wparam, lparam, &result)) return result;
  switch (message) {
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case element_message::kLayeredRepaint: {
      ++stats_.repaint_requests;
      // Requests still queued behind this one would draw the same picture again: a panel switch
      // or a burst of progress changes becomes one render.
      MSG pending;
      while (PeekMessageW(&pending, hwnd_, element_message::kLayeredRepaint, element_message::kLayeredRepaint,
                          PM_REMOVE)) {
        ++stats_.repaint_requests;
      }
      RenderOrInvalidate(static_cast<int>(lparam));
      return 0;
    }
    case WM_PAINT:
      if (update_layered_) break;
      OnPaint();
      return 0;
    case WM_DESTROY:
      OnDestroyWindow();
      if (tooltip_) DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      return 0;
    case WM_MOVE: elements.DispatchOwnerMoved(); return 0;
    case WM_SIZE: {
      if (!SizeAllowed()) return 0;
      layout_->Resize(LOWORD(lparam), HIWORD(lparam));
      OnSized();
      return 0;
    }
    case WM_CLOSE: OnCloseWindow(); return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      RECT work = {};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      info->ptMinTrackSize = POINT{layout_->root().min_width(), layout_->root().min_height()};
      info->ptMaxSize = info->ptMaxTrackSize = POINT{work.right - work.left, work.bottom - work.top};
      info->ptMaxPosition = POINT{work.left, work.top};
      return 0;
    }
    case WM_GETICON:
      SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
      break;
    case WM_NCHITTEST: return OnHitTest(lparam);
    case WM_NCMOUSEMOVE: {
      const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
      if (IsZoomed(hwnd_)) {
        SetWindowLongW(hwnd_, GWL_STYLE, style | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
      } else if (style & WS_SYSMENU) {
        SetWindowLongW(hwnd_, GWL_STYLE, style & ~WS_SYSMENU);
      }
      break;
    }
    case WM_NCLBUTTONDBLCLK:
      if (maximise_on_double_click_) {
        PostMessageW(hwnd_, WM_SYSCOMMAND, IsZoomed(hwnd_) ? SC_RESTORE : SC_MAXIMIZE, 0);
        return 0;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: elements.DispatchKeyDown(static_cast<uint32_t>(wparam)); return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP: elements.DispatchKeyUp(static_cast<uint32_t>(wparam)); return 0;
    case WM_MOUSEMOVE: {
      if (tooltip_) {
        const DWORD position = GetMessagePos();
        MSG relay = {hwnd_,
                     WM_MOUSEMOVE,
                     wparam,
                     lparam,
                     static_cast<DWORD>(GetMessageTime()),
                     POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)}};
        SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
      }
      elements.DispatchMouseMove(static_cast<uint32_t>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd_, 0};
      TrackMouseEvent(&track);
      return 0;
    }
    case WM_MOUSELEAVE: elements.DispatchMouseLeave(); return 0;
    case WM_LBUTTONDOWN:
      elements.DispatchLButtonDown(static_cast<uint32_t>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case WM_LBUTTONUP:
      elements.DispatchLButtonUp(static_cast<uint32_t>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case WM_RBUTTONUP:
      elements.DispatchRButtonUp(static_cast<uint32_t>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case WM_RBUTTONDOWN: return 0;
    case WM_COMMAND:
      // A child control's notification goes back to the control (the native edits keep their
      // element's text with EN_CHANGE).
      if (lparam) SendMessageW(reinterpret_cast<HWND>(lparam), kMsgReflectedCommand, wparam, lparam);
      return 0;
    case WM_MOUSEWHEEL: {
      POINT point = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ScreenToClient(hwnd_, &point);
      elements.DispatchMouseWheel(GET_KEYSTATE_WPARAM(wparam), GET_WHEEL_DELTA_WPARAM(wparam), point.x, point.y);
      return 0;
    }
    case element_message::kTooltip:
      if (!tooltip_) return 0;
      if (wparam == 1 && lparam) {
        tip_text_ = reinterpret_cast<const wchar_t*>(lparam);
        TTTOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
        tool.lpszText = const_cast<wchar_t*>(tip_text_.c_str());
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip_, TTM_ACTIVATE, TRUE, 0);
      } else {
        SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
      }
      return 0;
    case element_message::kCursor:
      SetClassLongPtrW(hwnd_, GCLP_HCURSOR,
                       reinterpret_cast<LONG_PTR>(LoadCursorW(nullptr, CursorFor(static_cast<PointerShape>(wparam)))));
      return 0;
    case element_message::kFocus: elements.SetFocusElement(reinterpret_cast<CBaseElementCtl*>(wparam)); return 0;
    case element_message::kClick:
    case element_message::kRightClick: {
      auto* element = reinterpret_cast<CBaseElementCtl*>(wparam);
      if (!HoldsElement(element)) return 0;
      if (message == element_message::kClick) {
        element->FireClick();
      } else {
        element->FireRightClick();
      }
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void CUpdateWindowBase::PostElementMessage(uint32_t message, CBaseElementCtl* element) {
  if (hwnd_) PostMessageW(hwnd_, message, reinterpret_cast<WPARAM>(element), 0);
}

void CUpdateWindowBase::SendElementMessage(uint32_t message, CBaseElementCtl* element) {
  if (hwnd_) SendMessageW(hwnd_, message, reinterpret_cast<WPARAM>(element), 0);
}

void CUpdateWindowBase::RequestRender() {
  if (hwnd_) PostMessageW(hwnd_, element_message::kLayeredRepaint, 0, 100);
}

void CUpdateWindowBase::InvalidateArea(const UiRect& area) {
  if (!hwnd_) return;
  const RECT rect = ToRect(area);
  InvalidateRect(hwnd_, &rect, TRUE);
}

void CUpdateWindowBase::SendTooltip(bool show, const std::wstring& tip) {
  if (hwnd_) SendMessageW(hwnd_, element_message::kTooltip, show ? 1 : 0, reinterpret_cast<LPARAM>(tip.c_str()));
}

void CUpdateWindowBase::SendCursor(PointerShape shape) {
  if (hwnd_) SendMessageW(hwnd_, element_message::kCursor, static_cast<WPARAM>(shape), 0);
}

void CUpdateWindowBase::OpenUrl(const std::wstring& url) {
  ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOW);
}

void CUpdateWindowBase::PostWindowMessage(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  if (hwnd_) PostMessageW(hwnd_, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

uint32_t CUpdateWindowBase::HeldModifiers() const {
  uint32_t held = 0;
  if (GetKeyState(VK_CONTROL) & 0x8000) held |= held_key::kCtrl;
  if (GetKeyState(VK_SHIFT) & 0x8000) held |= held_key::kShift;
  if (GetKeyState(VK_MENU) & 0x8000) held |= held_key::kAlt;
  return held;
}

std::unique_ptr<IPopupEdit> CUpdateWindowBase::CreatePopupEdit(IPopupEditClient* client) {
  if (!hwnd_) return nullptr;
  return std::make_unique<EditPopWindow>(hwnd_, client);
}

std::unique_ptr<INativeEdit> CUpdateWindowBase::CreateChildEdit(const NativeEditOptions& options,
                                                                INativeEditClient* client) {
  if (!hwnd_) return nullptr;
  return CMEditEx::Create(hwnd_, options, client);
}

std::unique_ptr<INativeEdit> CUpdateWindowBase::CreateEditWindow(const NativeEditOptions& options,
                                                                 INativeEditClient* client) {
  if (!hwnd_) return nullptr;
  return CEditWindow::Create(hwnd_, options, client);
}

// ---- CTransWindow ----

bool CTransWindow::HandleKindMessage(UINT, WPARAM, LPARAM, LRESULT*) {
  return false;
}

int CTransWindow::HitTestFrame(int x, int y) {
  return window_rules::PopupHitTest(HitFacts(), x, y);
}

void CTransWindow::ApplyRoundCorners() {
  if (!layout_->root().round_corner()) {
    SetWindowRgn(hwnd_, nullptr, TRUE);
    return;
  }
  const UiRect window = WindowRect();
  const int width = window.width(), height = window.height();
  base::ScopedGdiObject rounded(CreateRoundRectRgn(0, 0, width + 1, height, 5, 5));
  base::ScopedGdiObject lower(CreateRectRgn(0, 5, width, height));
  if (!rounded.get() || !lower.get()) return;
  CombineRgn(static_cast<HRGN>(rounded.get()), static_cast<HRGN>(rounded.get()), static_cast<HRGN>(lower.get()),
             RGN_OR);
  // The system owns the region once it is set.
  if (SetWindowRgn(hwnd_, static_cast<HRGN>(rounded.get()), TRUE)) rounded.release();
}

// ---- CUpdateWindowBaseEx ----

void CUpdateWindowBaseEx::ShowAnimated(int show_command) {
  const UiRect window = WindowRect();
  if (!animate_ || window.width() < 150 || window.height() < 110 || !layered_output()) {
    ShowWindow(hwnd_, show_command);
    OnShowAnimationDone();
    return;
  }
  MSG pending;
  while (PeekMessageW(&pending, hwnd_, element_message::kLayeredRepaint, element_message::kLayeredRepaint, PM_REMOVE)) {
  }
  rest_rect_ = window;
  snapshot_ = std::make_unique<CDibSurface>();
  if (!PaintInto(snapshot_.get())) {
    snapshot_.reset();
    ShowWindow(hwnd_, show_command);
    Render(100);
    OnShowAnimationDone();
    return;
  }
  DrawAnimationFrame(animation_.Start(rest_rect_));
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetTimer(hwnd_, window_rules::ShowAnimation::kFirstTimer, window_rules::ShowAnimation::kPeriodMs, nullptr);
}

void CUpdateWindowBaseEx::DrawAnimationFrame(const window_rules::ShowAnimation::Action& action) {
  if (!snapshot_) return;
  CDibSurface canvas;
  if (!canvas.Create(action.window.width(), action.window.height())) return;
  const UiRect& content = action.content;
  BLENDFUNCTION copy = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(canvas.dc(), content.left - action.window.left, content.top - action.window.top, content.width(),
             content.height(), snapshot_->dc(), 0, 0, snapshot_->width(), snapshot_->height(), copy);
  GdiFlush();
  UpdateLayered(canvas.dc(), action.window, action.opacity);
}

bool CUpdateWindowBaseEx::OnAnimationTimer(UINT_PTR timer) {
  using window_rules::ShowAnimation;
  if (timer != ShowAnimation::kFirstTimer && timer != ShowAnimation::kSecondTimer) return false;
  const ShowAnimation::Action action = animation_.Tick(static_cast<unsigned>(timer));
  switch (action.kind) {
    case ShowAnimation::Kind::kDraw: DrawAnimationFrame(action); break;
    case ShowAnimation::Kind::kSwitchTimer:
      DrawAnimationFrame(action);
      KillTimer(hwnd_, ShowAnimation::kFirstTimer);
      SetTimer(hwnd_, ShowAnimation::kSecondTimer, ShowAnimation::kPeriodMs, nullptr);
      break;
    case ShowAnimation::Kind::kDrawAndMove:
      // UpdateLayeredWindow places the window at the frame's rectangle.
      DrawAnimationFrame(action);
      break;
    case ShowAnimation::Kind::kRest:
      SetWindowPos(hwnd_, nullptr, rest_rect_.left, rest_rect_.top, rest_rect_.width(), rest_rect_.height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      Render(100);
      break;
    case ShowAnimation::Kind::kFinish:
      KillTimer(hwnd_, ShowAnimation::kSecondTimer);
      Render(100);
      snapshot_.reset();
      OnShowAnimationDone();
      break;
    case ShowAnimation::Kind::kNone:
      if (timer == ShowAnimation::kFirstTimer && !animation_.running()) {
        // The safety stop: hand over to the second timer, which finishes.
        KillTimer(hwnd_, ShowAnimation::kFirstTimer);
        SetTimer(hwnd_, ShowAnimation::kSecondTimer, ShowAnimation::kPeriodMs, nullptr);
      }
      break;
  }
  return true;
}

// ---- CTransWindowEx ----

bool CTransWindowEx::HandleKindMessage(UINT message, WPARAM wparam, LPARAM, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_ACTIVATE: {
      active_ = LOWORD(wparam) == WA_ACTIVE || LOWORD(wparam) == WA_CLICKACTIVE;
      RECT title = {};
      GetClientRect(hwnd_, &title);
      title.bottom = layout_->root().title_height();
      InvalidateRect(hwnd_, &title, TRUE);
      return false;
    }
    case WM_TIMER: {
      const UINT_PTR timer = wparam;
      if (timer == 101) {
        layout_->elements().DispatchTimer(101);
      } else if (timer == 512) {
        layout_->elements().DispatchBlink();
      } else if (!OnAnimationTimer(timer)) {
        OnOwnTimer(timer);
      }
      return true;
    }
    case element_message::kEnter:
    case element_message::kPress: {
      auto* element = reinterpret_cast<CBaseElementCtl*>(wparam);
      if (element && HoldsElement(element)) {
        if (message == element_message::kEnter) {
          element->FireEnter();
        } else {
          element->FirePress();
        }
      }
      return true;
    }
    case element_message::kTab: return true;
    default: return false;
  }
}

int CTransWindowEx::HitTestFrame(int x, int y) {
  window_rules::HitTestFacts facts = HitFacts();
  facts.animating = animating();
  return window_rules::MainHitTest(facts, x, y);
}

LPCWSTR CTransWindowEx::CursorFor(PointerShape shape) const {
  return shape == PointerShape::kHand ? IDC_HAND : IDC_ARROW;
}
