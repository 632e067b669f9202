// The UI pump on the test's main thread: real window messages, real timers, a real message box.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/message_loop.h"
#include "runtime/message_pump_win.h"
#include "runtime/waitable_event.h"

namespace base {
namespace {

class Journal {
 public:
  void Note(const std::string& what) {
    std::lock_guard<std::mutex> hold(mutex_);
    events_.push_back(what);
  }
  void NoteAndQuit(const std::string& what) {
    Note(what);
    MessageLoop::current()->Quit();
  }
  Task* NoteTask(const std::string& what) {
    return NewMethodTask(new UnretainedWrapper<Journal>(this), &Journal::Note, what);
  }
  Task* NoteAndQuitTask(const std::string& what) {
    return NewMethodTask(new UnretainedWrapper<Journal>(this), &Journal::NoteAndQuit, what);
  }
  std::vector<std::string> events() {
    std::lock_guard<std::mutex> hold(mutex_);
    return events_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> events_;
};

class WakeUpCounter : public MessagePumpWin::MessagePumpObserver {
 public:
  void WillProcessMessage(const MSG& msg) override {
    if (msg.message == MessagePumpForUI::kWakeUpMessage) ++seen;
  }
  void DidProcessMessage(const MSG&) override {}
  int seen = 0;
};

// Removes the wake-up messages still queued for `window` and counts them.
int DrainWakeUps(HWND window) {
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, window, MessagePumpForUI::kWakeUpMessage, MessagePumpForUI::kWakeUpMessage, PM_REMOVE))
    ++count;
  return count;
}

MessagePumpForUI* UiPumpOf(MessageLoop& loop) {
  return static_cast<MessagePumpForUI*>(loop.pump());
}

TEST(UiPumpTest, HasAMessageOnlyWindowOfItsOwnClass) {
  MessageLoop loop(MessageLoop::TYPE_UI);
  HWND window = UiPumpOf(loop)->message_window();
  ASSERT_TRUE(IsWindow(window));
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  EXPECT_EQ(0, wcsncmp(name, L"MessagePumpWindow_", 18));
  // Message-only windows are found only under HWND_MESSAGE.
  EXPECT_EQ(window, FindWindowExW(HWND_MESSAGE, nullptr, name, nullptr));
  EXPECT_FALSE(IsWindowVisible(window));
  MessageLoop second(MessageLoop::TYPE_UI);  // a second pump registers a class of its own
  EXPECT_NE(window, UiPumpOf(second)->message_window());
  EXPECT_TRUE(IsWindow(UiPumpOf(second)->message_window()));
}

TEST(UiPumpTest, TenPostsToAnIdleLoopSendOneWakeUpMessage) {
  MessageLoop loop(MessageLoop::TYPE_UI);
  HWND window = UiPumpOf(loop)->message_window();
  WakeUpCounter counter;
  UiPumpOf(loop)->AddObserver(&counter);
  Journal journal;
  for (int i = 0; i < 9; ++i) loop.PostTask(journal.NoteTask(std::to_string(i)));
  loop.PostTask(journal.NoteAndQuitTask("9"));
  loop.Run();
  UiPumpOf(loop)->RemoveObserver(&counter);

  EXPECT_EQ(10u, journal.events().size());
  EXPECT_EQ(1, counter.seen + DrainWakeUps(window));
}

TEST(UiPumpTest, WindowMessagesAndTasksTakeTurns) {
  MessageLoop loop(MessageLoop::TYPE_UI);
  Journal journal;
  struct Window {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
      if (message == WM_APP)
        reinterpret_cast<Journal*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))->Note("m" + std::to_string(wparam));
      return DefWindowProcW(hwnd, message, wparam, lparam);
    }
  };
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &Window::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PindleRuntimeTurnsTest";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND window =
      CreateWindowExW(0, wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&journal));
  for (int i = 1; i <= 3; ++i) PostMessageW(window, WM_APP, i, 0);
  loop.PostTask(journal.NoteTask("t1"));
  loop.PostTask(journal.NoteTask("t2"));
  loop.PostTask(journal.NoteAndQuitTask("t3"));
  loop.Run();
  DestroyWindow(window);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
  EXPECT_EQ((std::vector<std::string>{"m1", "t1", "m2", "t2", "m3", "t3"}), journal.events());
}

TEST(UiPumpTest, WmQuitEndsRunAndIsPostedAgainForAnEnclosingLoop) {
  MessageLoop loop(MessageLoop::TYPE_UI);
  Journal journal;
  loop.PostTask(journal.NoteTask("before quit"));
  PostQuitMessage(7);
  loop.Run();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(7u, msg.wParam);
  EXPECT_FALSE(loop.running());
}

// Shows a message box from a task; Windows' own modal loop then runs the thread's messages.
class ModalScenario {
 public:
  static constexpr const wchar_t* kTitle = L"PindleRuntimeModalTest";

  void ShowBox() {
    MessageLoop* loop = MessageLoop::current();
    // The long delay is scheduled first; the short one must pull the timer earlier.
    loop->PostDelayedTask(NewMethodTask(new UnretainedWrapper<ModalScenario>(this), &ModalScenario::Late),
                          TimeDelta::FromSeconds(5));
    posted_ = std::chrono::steady_clock::now();
    loop->PostDelayedTask(NewMethodTask(new UnretainedWrapper<ModalScenario>(this), &ModalScenario::Delayed),
                          TimeDelta::FromMilliseconds(150));
    journal.Note("box shown");
    MessageBoxW(nullptr, L"modal loop of the system", kTitle, MB_OK);
    journal.Note("box closed");
    loop->Quit();
  }
  void Delayed() {
    delayed_ran_ = std::chrono::steady_clock::now();
    journal.Note("delayed");
    done_.fetch_add(1);
  }
  void Late() { journal.Note("late"); }
  void Posted(int i) {
    journal.Note("posted " + std::to_string(i));
    done_.fetch_add(1);
  }

  Journal journal;
  std::atomic<int> done_{0};
  std::chrono::steady_clock::time_point posted_, delayed_ran_;
};

HWND WaitForWindow(const wchar_t* title) {
  for (int i = 0; i < 1000; ++i) {
    if (HWND box = FindWindowW(nullptr, title)) return box;
    Sleep(10);
  }
  return nullptr;
}

TEST(UiPumpTest, TasksAndDelayedTasksRunWhileTheSystemRunsAModalLoop) {
  MessageLoop loop(MessageLoop::TYPE_UI);
  ModalScenario scenario;
  loop.PostTask(NewMethodTask(new UnretainedWrapper<ModalScenario>(&scenario), &ModalScenario::ShowBox));

  std::thread helper([&] {
    HWND box = WaitForWindow(ModalScenario::kTitle);
    if (!box) return;
    // Three posts from another thread while the box is up: each must run, not just the first.
    for (int i = 0; i < 3; ++i)
      loop.PostTask(NewMethodTask(new UnretainedWrapper<ModalScenario>(&scenario), &ModalScenario::Posted, i));
    for (int i = 0; i < 1000 && scenario.done_.load() < 4; ++i) Sleep(10);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  loop.Run();
  helper.join();

  const std::vector<std::string> events = scenario.journal.events();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ("box shown", events.front());
  EXPECT_EQ("box closed", events.back());
  EXPECT_EQ(6u, events.size()) << "everything but the 5-second task runs inside the box's loop";
  for (const char* name : {"delayed", "posted 0", "posted 1", "posted 2"})
    EXPECT_NE(events.end(), std::find(events.begin(), events.end(), name)) << name;
  // Timers cannot fire sooner than 10 ms, and the task not before its own delay (the loop's
  // clock counts whole milliseconds: one of slack).
  EXPECT_GE(scenario.delayed_ran_ - scenario.posted_, std::chrono::milliseconds(150 - 1));
}

}  // namespace
}  // namespace base
