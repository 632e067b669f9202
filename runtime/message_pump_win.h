// The Windows pumps: one merges a loop with the thread's window messages, one waits on an I/O
// completion port.
#ifndef RUNTIME_MESSAGE_PUMP_WIN_H_
#define RUNTIME_MESSAGE_PUMP_WIN_H_

#include <windows.h>

#include "runtime/message_pump.h"
#include "runtime/observer_list.h"
#include "runtime/scoped_handle_win.h"
#include "runtime/time_ticks.h"

namespace base {

class MessagePumpWin : public MessagePump {
 public:
  // Told before and after every window message the pump dispatches.
  class MessagePumpObserver {
   public:
    virtual void WillProcessMessage(const MSG& msg) = 0;
    virtual void DidProcessMessage(const MSG& msg) = 0;

   protected:
    virtual ~MessagePumpObserver() {}
  };

  MessagePumpWin();
  ~MessagePumpWin() override;

  void AddObserver(MessagePumpObserver* observer);
  void RemoveObserver(MessagePumpObserver* observer);

  void Quit() override;
  // The completion port of the I/O pump; null for the others.
  virtual HANDLE port() const { return nullptr; }

 protected:
  // Milliseconds until the delayed work time, rounded up and never negative; -1 when none.
  int GetCurrentDelay() const;
  void WillProcessMessage(const MSG& msg);
  void DidProcessMessage(const MSG& msg);

  ObserverListBase<MessagePumpObserver> observers_;
  TimeTicks delayed_work_time_;
  bool keep_running_;
  // 1 while a wake-up is outstanding; only changed by atomic exchange.
  volatile LONG have_work_;
};

class MessagePumpForUI : public MessagePumpWin {
 public:
  static const UINT kWakeUpMessage = WM_USER + 1;

  // A pump without a window serves only as a nested (layer) loop's pump over a host pump.
  explicit MessagePumpForUI(bool create_window = true);
  ~MessagePumpForUI() override;

  void Run(Delegate* delegate) override;
  void ScheduleWork() override;
  void ScheduleDelayedWork(const TimeTicks& delayed_work_time) override;

  // With a host, Run takes window messages, delegate calls and waits from the host; only this
  // pump's own Quit ends it.
  void set_host_pump(MessagePumpForUI* host) { host_pump_ = host; }
  HWND message_window() const { return message_hwnd_; }

 private:
  static LRESULT CALLBACK WndProcThunk(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void HandleWorkMessage();
  void HandleTimerMessage();
  // `caller` is the pump whose Run asked: a nested pump defers the WM_QUIT re-post to its end.
  bool ProcessNextWindowsMessage(MessagePumpForUI* caller);
  bool ProcessMessageHelper(const MSG& msg, MessagePumpForUI* caller);
  void WaitForWork();

  ATOM atom_;
  HWND message_hwnd_;
  Delegate* delegate_;
  MessagePumpForUI* host_pump_;
  // True while our own Run dispatches our wake-up message (see HandleWorkMessage).
  bool dispatching_own_wakeup_;
  // A WM_QUIT this nested pump took through its host, re-posted when it ends.
  bool quit_pending_;
  int quit_code_;
};

class MessagePumpForIO : public MessagePumpWin {
 public:
  class IOHandler {
   public:
    virtual ~IOHandler() {}
    // `error` is 0 on success, else the system error code (then `bytes_transferred` is 0).
    virtual void OnIOCompleted(OVERLAPPED* context, DWORD bytes_transferred, DWORD error) = 0;
  };

  MessagePumpForIO();
  ~MessagePumpForIO() override;

  void Run(Delegate* delegate) override;
  void ScheduleWork() override;
  void ScheduleDelayedWork(const TimeTicks& delayed_work_time) override;

  // Post completions here with the handler as key (lowest bit set when the packet carries no
  // valid I/O context) and the context as overlapped pointer.
  HANDLE port() const override { return port_.get(); }

 private:
  struct IOItem {
    IOHandler* handler;
    OVERLAPPED* context;
    DWORD bytes_transferred;
    DWORD error;
  };
  bool GetIOItem(DWORD timeout, IOItem* item);
  bool WaitForIOCompletion(DWORD timeout);

  ScopedHandle port_;
  Delegate* delegate_;
};

}  // namespace base

#endif  // RUNTIME_MESSAGE_PUMP_WIN_H_
