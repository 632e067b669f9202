// Nested layer loops over a real UI loop on the test's main thread.
#include "runtime/layer_loop.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/message_loop.h"

namespace base {
namespace {

// Counts the pump's calls, to tell a waiting loop from a spinning one.
class CountingLoop : public MessageLoop {
 public:
  CountingLoop() : MessageLoop(TYPE_UI) {}
  bool DoWork() override {
    ++do_work_calls;
    return MessageLoop::DoWork();
  }
  int do_work_calls = 0;
};

class Dialog {
 public:
  explicit Dialog(CountingLoop* loop) : loop_(loop) {}

  Task* Call(void (Dialog::*method)()) { return NewMethodTask(new UnretainedWrapper<Dialog>(this), method); }
  void Note(const std::string& what) { events.push_back(what + " depth " + std::to_string(LayerLoopDepth())); }

  // A modal dialog: its loop runs while the UI loop's tasks go on.
  void ShowModal() {
    Note("show");
    loop_->PostTask(Call(&Dialog::Immediate));
    loop_->PostDelayedTask(Call(&Dialog::CloseAfterDelay), TimeDelta::FromMilliseconds(100));
    RunLayerLoop();
    Note("closed");
    loop_->PostTask(Call(&Dialog::AfterDialog));
  }
  void Immediate() { Note("immediate"); }
  void CloseAfterDelay() {
    Note("delayed");
    if (nested) {
      nested = false;
      loop_->PostDelayedTask(Call(&Dialog::CloseAfterDelay), TimeDelta::FromMilliseconds(20));
      RunLayerLoop();  // a dialog over the dialog
      Note("inner closed");
    }
    QuitInnermostLayerLoop();
  }
  void AfterDialog() {
    Note("after");
    loop_->Quit();
  }

  // WM_QUIT arrives while the dialog is up.
  void ShowModalThenQuitMessage() {
    loop_->PostTask(Call(&Dialog::PostWmQuit));
    loop_->PostDelayedTask(Call(&Dialog::CloseLater), TimeDelta::FromMilliseconds(200));
    RunLayerLoop();
    Note("closed");
    loop_->PostTask(Call(&Dialog::AfterDialog));  // must not run: the UI loop ends
  }
  void PostWmQuit() {
    Note("wm_quit");
    PostQuitMessage(3);
    calls_at_quit = loop_->do_work_calls;
  }
  void CloseLater() {
    Note("delayed");
    calls_until_close = loop_->do_work_calls - calls_at_quit;
    QuitInnermostLayerLoop();
  }

  bool nested = false;
  int calls_at_quit = 0;
  int calls_until_close = 0;
  std::vector<std::string> events;

 private:
  CountingLoop* loop_;
};

TEST(LayerLoopTest, UiTasksRunInsideAndQuittingTheLayerKeepsTheUiLoop) {
  CountingLoop loop;
  SetThreadLoop(kUiLoop, &loop);
  Dialog dialog(&loop);
  loop.PostTask(dialog.Call(&Dialog::ShowModal));
  QuitInnermostLayerLoop();  // none runs: nothing happens
  loop.Run();
  SetThreadLoop(kUiLoop, nullptr);
  EXPECT_EQ((std::vector<std::string>{"show depth 0", "immediate depth 1", "delayed depth 1", "closed depth 0",
                                      "after depth 0"}),
            dialog.events);
}

TEST(LayerLoopTest, NestedLayersEndInnermostFirst) {
  CountingLoop loop;
  SetThreadLoop(kUiLoop, &loop);
  Dialog dialog(&loop);
  dialog.nested = true;
  loop.PostTask(dialog.Call(&Dialog::ShowModal));
  loop.Run();
  SetThreadLoop(kUiLoop, nullptr);
  EXPECT_EQ((std::vector<std::string>{"show depth 0", "immediate depth 1", "delayed depth 1", "delayed depth 2",
                                      "inner closed depth 1", "closed depth 0", "after depth 0"}),
            dialog.events);
}

TEST(LayerLoopTest, WmQuitDuringTheLayerEndsTheUiLoopAfterIt) {
  CountingLoop loop;
  SetThreadLoop(kUiLoop, &loop);
  Dialog dialog(&loop);
  loop.PostTask(dialog.Call(&Dialog::ShowModalThenQuitMessage));
  loop.Run();
  SetThreadLoop(kUiLoop, nullptr);

  EXPECT_EQ((std::vector<std::string>{"wm_quit depth 1", "delayed depth 1", "closed depth 0"}), dialog.events);
  // While the WM_QUIT waits for the dialog to end, the loop sleeps instead of taking the same
  // message again and again (a few wake-ups for the timer, not thousands).
  EXPECT_LT(dialog.calls_until_close, 50);
  // It is still there for whatever encloses the UI loop.
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(3u, msg.wParam);
}

}  // namespace
}  // namespace base
