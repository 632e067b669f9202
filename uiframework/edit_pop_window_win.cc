#include "uiframework/edit_pop_window.h"

#include <commctrl.h>

#include "app/global.h"
#include "log/log_assist.h"
#include "uiframework/gdi_resource.h"
#include "uiframework/native_window.h"
#include "uiframework/utility_window.h"

const wchar_t kEditPopWindowClass[] = L"PindleEditPopWindow";

namespace {

const char kLogSource[] = "uiframework\\edit_pop_window.cpp";
constexpr UINT_PTR kEditSubclassId = 1;
const COLORREF kEditBrushColour = RGB(40, 39, 43);
const COLORREF kEditTextBackground = RGB(45, 41, 85);
const COLORREF kEditTextColour = RGB(255, 255, 255);

EditPopWindow* AttachedTo(HWND window) {
  return reinterpret_cast<EditPopWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

// The EDIT of the pop-up, subclassed so that its characters and its loss of focus reach the
// pop-up before the control's own handling. It finds the pop-up through its parent window, which
// stops pointing at it once the pop-up has been cut loose.
class CMyEditEx {
 public:
  // An edit filling `parent`'s client area, or null (logged).
  static HWND Create(HWND parent, bool password) {
    RECT client = {};
    GetClientRect(parent, &client);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    if (password) style |= ES_PASSWORD;
    HWND edit = CreateWindowExW(0, WC_EDITW, L"", style, 0, 0, client.right, client.bottom, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!edit) {
      SIMLOG(kLogSource, true, "CreateWindowExW of the pop-up's edit failed, error %lu", GetLastError());
      return nullptr;
    }
    if (!SetWindowSubclass(edit, &CMyEditEx::Procedure, kEditSubclassId, 0)) {
      SIMLOG(kLogSource, true, "SetWindowSubclass of the pop-up's edit failed, error %lu", GetLastError());
      DestroyWindow(edit);
      return nullptr;
    }
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetGDIResource().GetDefaultFont()), FALSE);
    return edit;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    switch (message) {
      case WM_CHAR:
        if (EditPopWindow* pop = AttachedTo(GetParent(edit))) pop->OnEditChar(wparam);
        break;
      case WM_KILLFOCUS: {
        const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
        if (EditPopWindow* pop = AttachedTo(GetParent(edit))) pop->OnEditLostFocus();
        return result;
      }
      case WM_NCDESTROY: RemoveWindowSubclass(edit, &CMyEditEx::Procedure, kEditSubclassId); break;
      default: break;
    }
    return DefSubclassProc(edit, message, wparam, lparam);
  }
};

EditPopWindow::EditPopWindow(HWND owner, IPopupEditClient* client) : owner_(owner), client_(client) {}

EditPopWindow::~EditPopWindow() {
  // A window still open goes now, telling no one: the client is being taken apart.
  client_ = nullptr;
  if (window_.valid()) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  window_.reset();
  edit_ = nullptr;
}

bool EditPopWindow::Open(const PopupEditOptions& options) {
  if (IsOpen()) return true;
  if (!owner_ || !IsWindow(owner_)) {
    SIMLOG(kLogSource, true, "the pop-up edit has no owner window");
    return false;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!native_window::RegisterEditClass(instance, kEditPopWindowClass, &EditPopWindow::WindowProc)) return false;
  if (!brush_.valid()) {
    brush_.reset(CreateSolidBrush(kEditBrushColour));
    // Without it the edit keeps the system's colours; the editing itself still works.
    if (!brush_.valid()) SIMLOG(kLogSource, true, "CreateSolidBrush failed, error %lu", GetLastError());
  }
  // The area is in the owner's client coordinates; the pop-up stands on the screen.
  POINT origin = {options.area.left, options.area.top};
  ClientToScreen(owner_, &origin);
  password_ = options.password;
  create_failure_logged_ = false;
  opening_ = true;
  HWND created = CreateWindowExW(0, kEditPopWindowClass, L"", WS_POPUP | WS_VISIBLE, origin.x, origin.y,
                                 options.area.width(), options.area.height(), owner_, nullptr, instance, this);
  if (!created) {
    opening_ = false;
    // Whatever creation got as far as is gone with it.
    window_.release();
    edit_ = nullptr;
    if (!create_failure_logged_) {
      SIMLOG(kLogSource, true, "CreateWindowExW of the pop-up edit failed, error %lu", GetLastError());
    }
    return false;
  }
  SendMessageW(edit_, EM_SETLIMITTEXT, static_cast<WPARAM>(options.max_length), 0);
  SetWindowTextW(edit_, options.text.c_str());
  // The caret after the text, where a correction of a path usually begins.
  const LPARAM end = static_cast<LPARAM>(options.text.size());
  SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(end), end);
  opening_ = false;
  if (GetFocus() != edit_) SetFocus(edit_);
  return IsOpen();
}

void EditPopWindow::SetText(const std::wstring& text) {
  if (!IsOpen()) return;
  SetWindowTextW(edit_, text.c_str());
  const LPARAM end = static_cast<LPARAM>(text.size());
  SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(end), end);
}

std::wstring EditPopWindow::EditText() const {
  return native_window::WindowText(edit_);
}

LRESULT CALLBACK EditPopWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<EditPopWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(hwnd);
  }
  // A window cut loose (or never attached) is a plain window: WM_CLOSE destroys it.
  EditPopWindow* self = AttachedTo(hwnd);
  return self ? self->HandleMessage(hwnd, message, wparam, lparam) : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT EditPopWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      edit_ = CMyEditEx::Create(hwnd, password_);
      if (!edit_) {
        create_failure_logged_ = true;
        return -1;
      }
      SetFocus(edit_);
      return 0;
    case WM_SETFOCUS:
      // Activating the pop-up itself hands the focus on to its edit.
      if (edit_) SetFocus(edit_);
      return 0;
    case WM_CTLCOLOREDIT:
      if (!brush_.valid()) break;
      SetBkColor(reinterpret_cast<HDC>(wparam), kEditTextBackground);
      SetTextColor(reinterpret_cast<HDC>(wparam), kEditTextColour);
      return reinterpret_cast<LRESULT>(brush_.get());
    case WM_COMMAND:
      if (HIWORD(wparam) == EN_CHANGE && reinterpret_cast<HWND>(lparam) == edit_ && edit_ && client_) {
        client_->OnPopupEditText(EditText());
      }
      return 0;
    case WM_DESTROY:
      if (opening_) {
        // WM_CREATE failed: the window never became a pop-up, and the element keeps its text.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window_.release();
        edit_ = nullptr;
      } else {
        // Destroyed while editing (its owner went): the text is copied back all the same.
        Close(false);
      }
      return 0;
    case WM_NCDESTROY:
      // A creation that failed may end here without WM_DESTROY.
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      if (window_.get() == hwnd) window_.release();
      edit_ = nullptr;
      break;
    default: break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void EditPopWindow::OnEditChar(WPARAM character) {
  if (client_) client_->OnPopupEditChar(static_cast<uint32_t>(character));
}

void EditPopWindow::OnEditLostFocus() {
  if (opening_) return;
  Close(true);
}

void EditPopWindow::Close(bool hand_over) {
  if (!IsOpen()) return;
  const std::wstring text = edit_ ? EditText() : std::wstring();
  HWND closing = window_.release();
  edit_ = nullptr;
  // From here on the window no longer reaches this object.
  SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
  if (hand_over) ShowWindow(closing, SW_HIDE);
  if (client_) client_->OnPopupEditClosed(text);
  if (!hand_over) return;
  HWND utility = static_cast<HWND>(app::Global().utility_window);
  if (utility && IsWindow(utility) && PostMessageW(utility, kMsgPathEditClosed, 0, reinterpret_cast<LPARAM>(closing))) {
    return;
  }
  // Without a utility window (a window shown on its own) the pop-up closes itself.
  PostMessageW(closing, WM_CLOSE, 0, 0);
}
