#include "runtime/message_pump_win.h"

#include <climits>
#include <cmath>
#include <cwchar>

namespace base {

namespace {

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// MessagePumpWin

MessagePumpWin::MessagePumpWin() : keep_running_(true), have_work_(0) {}

MessagePumpWin::~MessagePumpWin() {}

void MessagePumpWin::AddObserver(MessagePumpObserver* observer) {
  observers_.AddObserver(observer);
}

void MessagePumpWin::RemoveObserver(MessagePumpObserver* observer) {
  observers_.RemoveObserver(observer);
}

void MessagePumpWin::Quit() {
  keep_running_ = false;
}

int MessagePumpWin::GetCurrentDelay() const {
  if (delayed_work_time_.is_null()) return -1;
  const double ms = std::ceil(static_cast<double>((delayed_work_time_ - TimeTicks::Now()).InMicroseconds()) / 1000.0);
  if (ms < 0) return 0;
  // A wait of INT_MAX ms (24 days) is as good as a longer one: the cycle computes it again.
  if (ms > INT_MAX) return INT_MAX;
  return static_cast<int>(ms);
}

void MessagePumpWin::WillProcessMessage(const MSG& msg) {
  ObserverListBase<MessagePumpObserver>::Iterator it(observers_);
  while (MessagePumpObserver* observer = it.GetNext()) observer->WillProcessMessage(msg);
}

void MessagePumpWin::DidProcessMessage(const MSG& msg) {
  ObserverListBase<MessagePumpObserver>::Iterator it(observers_);
  while (MessagePumpObserver* observer = it.GetNext()) observer->DidProcessMessage(msg);
}

// ---------------------------------------------------------------------------------------------
// MessagePumpForUI

MessagePumpForUI::MessagePumpForUI(bool create_window)
    : atom_(0),
      message_hwnd_(nullptr),
      delegate_(nullptr),
      host_pump_(nullptr),
      dispatching_own_wakeup_(false),
      quit_pending_(false),
      quit_code_(0) {
  if (!create_window) return;
  wchar_t class_name[64];
  swprintf(class_name, sizeof(class_name) / sizeof(class_name[0]), L"MessagePumpWindow_%p", static_cast<void*>(this));
  HMODULE module = ThisModule();
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &MessagePumpForUI::WndProcThunk;
  wc.hInstance = module;
  wc.lpszClassName = class_name;
  atom_ = RegisterClassExW(&wc);
  if (!atom_) return;
  message_hwnd_ =
      CreateWindowExW(0, MAKEINTATOM(atom_), nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
  if (message_hwnd_) SetWindowLongPtrW(message_hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessagePumpForUI::~MessagePumpForUI() {
  if (message_hwnd_) {
    KillTimer(message_hwnd_, reinterpret_cast<UINT_PTR>(this));
    SetWindowLongPtrW(message_hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(message_hwnd_);
  }
  if (atom_) UnregisterClassW(MAKEINTATOM(atom_), ThisModule());
}

void MessagePumpForUI::ScheduleWork() {
  if (InterlockedExchange(&have_work_, 1)) return;  // a wake-up is already on its way
  if (!message_hwnd_ || !PostMessageW(message_hwnd_, kWakeUpMessage, reinterpret_cast<WPARAM>(this), 0)) {
    InterlockedExchange(&have_work_, 0);  // so the next post tries again
  }
}

void MessagePumpForUI::ScheduleDelayedWork(const TimeTicks& delayed_work_time) {
  delayed_work_time_ = delayed_work_time;
  if (!message_hwnd_) return;
  // The timer only matters while Windows runs a modal loop of its own (menus, message boxes,
  // window moves); otherwise the wait in Run wakes up in time. Windows clamps shorter timers.
  int delay = GetCurrentDelay();
  if (delay < 10) delay = 10;
  const UINT_PTR timer_id = reinterpret_cast<UINT_PTR>(this);
  KillTimer(message_hwnd_, timer_id);
  SetTimer(message_hwnd_, timer_id, static_cast<UINT>(delay), nullptr);
}

LRESULT CALLBACK MessagePumpForUI::WndProcThunk(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  MessagePumpForUI* pump = reinterpret_cast<MessagePumpForUI*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (pump) {
    if (message == kWakeUpMessage)
      pump->HandleWorkMessage();
    else if (message == WM_TIMER && wparam == reinterpret_cast<UINT_PTR>(pump))
      pump->HandleTimerMessage();
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void MessagePumpForUI::HandleWorkMessage() {
  const bool from_own_run = dispatching_own_wakeup_;
  dispatching_own_wakeup_ = false;
  // Cleared before DoWork, so a post made from now on sends a new wake-up: none is lost.
  InterlockedExchange(&have_work_, 0);
  if (!delegate_) return;
  const bool more = delegate_->DoWork();
  // Our own Run calls DoWork again right after this message. A modal loop of Windows (or
  // another message loop) only brings us here, so without a new wake-up the remaining tasks
  // would wait until that loop ends.
  if (more && !from_own_run) ScheduleWork();
}

void MessagePumpForUI::HandleTimerMessage() {
  KillTimer(message_hwnd_, reinterpret_cast<UINT_PTR>(this));
  if (!delegate_) return;
  delegate_->DoDelayedWork(&delayed_work_time_);
  if (!delayed_work_time_.is_null()) ScheduleDelayedWork(delayed_work_time_);
}

bool MessagePumpForUI::ProcessNextWindowsMessage(MessagePumpForUI* caller) {
  // Sent messages are handled inside PeekMessage and leave nothing to return, but they were
  // work all the same.
  const bool sent_messages_in_queue = (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0;
  MSG msg;
  if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return ProcessMessageHelper(msg, caller);
  return sent_messages_in_queue;
}

bool MessagePumpForUI::ProcessMessageHelper(const MSG& msg, MessagePumpForUI* caller) {
  if (msg.message == WM_QUIT) {
    keep_running_ = false;
    if (caller == this) {
      // Posted again so that an enclosing loop sees it too.
      PostQuitMessage(static_cast<int>(msg.wParam));
    } else {
      // A nested pump keeps running until its own Quit; re-posting now would hand the same
      // WM_QUIT straight back to it and spin. It re-posts when it ends.
      caller->quit_pending_ = true;
      caller->quit_code_ = static_cast<int>(msg.wParam);
    }
    return false;
  }
  WillProcessMessage(msg);
  TranslateMessage(&msg);
  const bool own_wakeup = msg.message == kWakeUpMessage && msg.hwnd == message_hwnd_ && message_hwnd_;
  if (own_wakeup) dispatching_own_wakeup_ = true;
  DispatchMessageW(&msg);
  dispatching_own_wakeup_ = false;
  DidProcessMessage(msg);
  return true;
}

void MessagePumpForUI::WaitForWork() {
  const int delay = GetCurrentDelay();
  const DWORD timeout = delay < 0 ? INFINITE : static_cast<DWORD>(delay);
  const DWORD result = MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (result == WAIT_OBJECT_0) {
    // A mouse message another peek has already seen keeps reporting input; wait for a new one
    // instead of spinning.
    MSG msg;
    if ((HIWORD(GetQueueStatus(QS_MOUSE)) & QS_MOUSE) &&
        !PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
      WaitMessage();
    }
  }
}

void MessagePumpForUI::Run(Delegate* delegate) {
  delegate_ = delegate;
  quit_pending_ = false;
  MessagePumpForUI* source = host_pump_ ? host_pump_ : this;
  for (;;) {
    // A nested pump works for its host's delegate (the UI loop) once the host has one.
    Delegate* work = (host_pump_ && host_pump_->delegate_) ? host_pump_->delegate_ : delegate;
    bool more = source->ProcessNextWindowsMessage(this);
    if (!keep_running_) break;
    more |= work->DoWork();
    if (!keep_running_) break;
    more |= work->DoDelayedWork(&source->delayed_work_time_);
    if (!keep_running_) break;
    if (more) continue;
    more = work->DoIdleWork();
    if (!keep_running_) break;
    if (more) continue;
    source->WaitForWork();
  }
  if (quit_pending_) {
    quit_pending_ = false;
    PostQuitMessage(quit_code_);
  }
}

// ---------------------------------------------------------------------------------------------
// MessagePumpForIO

MessagePumpForIO::MessagePumpForIO()
    : port_(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0)), delegate_(nullptr) {}

MessagePumpForIO::~MessagePumpForIO() = default;

void MessagePumpForIO::ScheduleWork() {
  if (InterlockedExchange(&have_work_, 1)) return;
  if (!port_.valid() || !PostQueuedCompletionStatus(port_.get(), 0, reinterpret_cast<ULONG_PTR>(this),
                                                    reinterpret_cast<OVERLAPPED*>(this))) {
    InterlockedExchange(&have_work_, 0);
  }
}

void MessagePumpForIO::ScheduleDelayedWork(const TimeTicks& delayed_work_time) {
  delayed_work_time_ = delayed_work_time;  // the wait's time-out takes care of it
}

bool MessagePumpForIO::GetIOItem(DWORD timeout, IOItem* item) {
  DWORD bytes = 0;
  ULONG_PTR key = 0;
  OVERLAPPED* overlapped = nullptr;
  if (!port_.valid()) return false;
  if (GetQueuedCompletionStatus(port_.get(), &bytes, &key, &overlapped, timeout)) {
    item->bytes_transferred = bytes;
    item->error = 0;
  } else {
    if (!overlapped) return false;  // nothing dequeued (time-out or closed port)
    // A failed operation still delivers its packet.
    item->bytes_transferred = 0;
    item->error = GetLastError();
  }
  // The lowest bit of the key only marks a packet without a valid I/O context.
  item->handler = reinterpret_cast<IOHandler*>(key & ~static_cast<ULONG_PTR>(1));
  item->context = overlapped;
  return true;
}

bool MessagePumpForIO::WaitForIOCompletion(DWORD timeout) {
  IOItem item;
  if (!GetIOItem(timeout, &item)) return false;
  if (reinterpret_cast<void*>(item.handler) == static_cast<void*>(this) &&
      reinterpret_cast<void*>(item.context) == static_cast<void*>(this)) {
    InterlockedExchange(&have_work_, 0);  // our wake-up: the cycle calls DoWork next
    return true;
  }
  if (item.handler) item.handler->OnIOCompleted(item.context, item.bytes_transferred, item.error);
  return true;
}

void MessagePumpForIO::Run(Delegate* delegate) {
  delegate_ = delegate;
  for (;;) {
    bool more = delegate->DoWork();
    if (!keep_running_) break;
    more |= WaitForIOCompletion(0);
    if (!keep_running_) break;
    more |= delegate->DoDelayedWork(&delayed_work_time_);
    if (!keep_running_) break;
    if (more) continue;
    more = delegate->DoIdleWork();
    if (!keep_running_) break;
    if (more) continue;
    const int delay = GetCurrentDelay();
    WaitForIOCompletion(delay < 0 ? INFINITE : static_cast<DWORD>(delay));
  }
}

}  // namespace base
