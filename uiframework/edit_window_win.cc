#include "uiframework/edit_window.h"

#include <commctrl.h>

#include "log/log_assist.h"
#include "runtime/scoped_handle_win.h"
#include "uiframework/gdi_resource.h"
#include "uiframework/native_edit_rules.h"

const wchar_t kEditWindowClass[] = L"CEditWindow";
const wchar_t kEditWindowText[] = L"EditWindow";

namespace {

const char kLogSource[] = "uiframework\\edit_window.cpp";
constexpr UINT_PTR kNumEditSubclassId = 1;

COLORREF ToColorRef(Colour colour) {
  return RGB(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

CEditWindow* AttachedTo(HWND window) {
  return reinterpret_cast<CEditWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

// The digits-only EDIT of the pop-up: a subclass that swallows every typed character but the
// ones native_edit_rules::NumberEditTakes lets through.
class CNumEdit {
 public:
  // An edit child of `parent` at `area` holding `text`, or null (logged).
  static HWND Create(HWND parent, const RECT& area, const std::wstring& text) {
    HWND edit = CreateWindowExW(0, WC_EDITW, text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                area.left, area.top, area.right - area.left, area.bottom - area.top, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!edit) {
      SIMLOG(kLogSource, true, "CreateWindowExW of the edit window's edit failed, error %lu", GetLastError());
      return nullptr;
    }
    if (!SetWindowSubclass(edit, &CNumEdit::Procedure, kNumEditSubclassId, 0)) {
      SIMLOG(kLogSource, true, "SetWindowSubclass of the edit window's edit failed, error %lu", GetLastError());
      DestroyWindow(edit);
      return nullptr;
    }
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetGDIResource().GetDefaultFont()), FALSE);
    return edit;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR && !native_edit_rules::NumberEditTakes(static_cast<uint32_t>(wparam))) return 0;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, &CNumEdit::Procedure, kNumEditSubclassId);
    return DefSubclassProc(edit, message, wparam, lparam);
  }
};

std::unique_ptr<CEditWindow> CEditWindow::Create(HWND owner, const NativeEditOptions& options,
                                                 INativeEditClient* client) {
  if (!owner || !IsWindow(owner)) {
    SIMLOG(kLogSource, true, "the edit window has no owner window");
    return nullptr;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!native_window::RegisterEditClass(instance, kEditWindowClass, &CEditWindow::WindowProc)) return nullptr;
  std::unique_ptr<CEditWindow> self(new CEditWindow(owner, client));
  const RECT screen = self->ScreenArea(options.area);
  // Made hidden and then shown without activation: a window that appears must not take the
  // keyboard from the window being built. It carries WS_VISIBLE from then on.
  const DWORD style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  HWND created =
      CreateWindowExW(0, kEditWindowClass, kEditWindowText, style, screen.left, screen.top, screen.right - screen.left,
                      screen.bottom - screen.top, owner, nullptr, instance, self.get());
  if (!created) {
    SIMLOG(kLogSource, true, "CreateWindowExW of the edit window failed, error %lu", GetLastError());
    return nullptr;
  }
  if (!self->edit_) return nullptr;  // logged where it failed; the window goes with the object
  SetWindowTextW(self->edit_, options.text.c_str());
  ShowWindow(created, SW_SHOWNA);
  return self;
}

CEditWindow::~CEditWindow() {
  // The last messages of the window find no object.
  client_ = nullptr;
  if (window_.valid()) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  edit_ = nullptr;
  window_.reset();
}

RECT CEditWindow::ScreenArea(const UiRect& area) const {
  POINT origin = {area.left, area.top};
  ClientToScreen(owner_, &origin);
  return RECT{origin.x, origin.y, origin.x + area.width(), origin.y + area.height()};
}

void CEditWindow::Place(const UiRect& area) {
  if (!IsOpen()) return;
  const RECT screen = ScreenArea(area);
  SetWindowPos(window_.get(), nullptr, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditWindow::Show(bool visible) {
  if (IsOpen()) ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE);
}

void CEditWindow::BringToFront() {
  if (IsOpen()) SetWindowPos(window_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CEditWindow::SetText(const std::wstring& text) {
  if (IsOpen() && edit_) SetWindowTextW(edit_, text.c_str());
}

LRESULT CALLBACK CEditWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<CEditWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(hwnd);
  }
  CEditWindow* self = AttachedTo(hwnd);
  return self ? self->HandleMessage(hwnd, message, wparam, lparam) : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CEditWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: {
      RECT client = {};
      GetClientRect(hwnd, &client);
      const UiRect inner = native_edit_rules::NumberEditArea(client.right, client.bottom);
      edit_ = CNumEdit::Create(hwnd, RECT{inner.left, inner.top, inner.right, inner.bottom}, std::wstring());
      return 0;
    }
    case WM_SIZE:
      if (edit_) {
        const UiRect inner = native_edit_rules::NumberEditArea(LOWORD(lparam), HIWORD(lparam));
        MoveWindow(edit_, inner.left, inner.top, inner.width(), inner.height(), TRUE);
      }
      return 0;
    case WM_SETFOCUS:
      // Activating the pop-up hands the keyboard on to its edit.
      if (edit_) SetFocus(edit_);
      return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_CTLCOLOREDIT:
      SetBkColor(reinterpret_cast<HDC>(wparam), ToColorRef(native_edit_rules::kBoxFill));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_COMMAND:
      if (HIWORD(wparam) == EN_CHANGE && edit_ && reinterpret_cast<HWND>(lparam) == edit_ && client_) {
        client_->OnNativeEditText(native_window::WindowText(edit_));
      }
      return 0;
    case WM_NCDESTROY:
      // Destroyed with its owner, before this object.
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      window_.release();
      edit_ = nullptr;
      break;
    default: break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void CEditWindow::Paint(HWND hwnd) {
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(hwnd, &paint);
  if (!dc) return;
  RECT client = {};
  GetClientRect(hwnd, &client);
  // Drawn off-screen and copied in one piece: the box never flickers through an empty frame.
  base::ScopedMemoryDc memory(CreateCompatibleDC(dc));
  base::ScopedGdiObject bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  base::ScopedGdiObject pen(CreatePen(PS_SOLID, 1, ToColorRef(native_edit_rules::kBoxBorder)));
  base::ScopedGdiObject brush(CreateSolidBrush(ToColorRef(native_edit_rules::kBoxFill)));
  if (memory.valid() && bitmap.valid() && pen.valid() && brush.valid()) {
    base::ScopedSelectObject select_bitmap(memory.get(), bitmap.get());
    base::ScopedSelectObject select_pen(memory.get(), pen.get());
    base::ScopedSelectObject select_brush(memory.get(), brush.get());
    Rectangle(memory.get(), 0, 0, client.right, client.bottom);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
  } else {
    SIMLOG(kLogSource, true, "the edit window's paint objects could not be made, error %lu", GetLastError());
  }
  EndPaint(hwnd, &paint);
}
