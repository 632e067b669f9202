// The nested loop a modal dialog runs on the main thread: window messages keep flowing and the
// UI loop keeps running its tasks and delayed tasks until the dialog quits it.
//
//   EnableWindow(owner, FALSE);           // the dialog shows itself and disables its owner
//   base::RunLayerLoop(owner);            // returns after QuitInnermostLayerLoop()
//
// A WM_QUIT that arrives meanwhile is left for the enclosing loop: the UI loop ends once the
// dialog's loop has ended.
#ifndef RUNTIME_LAYER_LOOP_H_
#define RUNTIME_LAYER_LOOP_H_

#include <windows.h>

#include "runtime/message_loop.h"
#include "runtime/message_pump_win.h"

namespace base {

// Its own delegate operations do nothing: the work is the UI loop's, reached through the host.
class MessageLoop::LayerLoop : public MessagePump::Delegate {
 public:
  LayerLoop();
  ~LayerLoop() override;
  LayerLoop(const LayerLoop&) = delete;
  LayerLoop& operator=(const LayerLoop&) = delete;

  MessagePumpForUI* pump() { return &pump_; }
  void Run() { pump_.Run(this); }
  void Quit() { pump_.Quit(); }

  bool DoWork() override { return false; }
  bool DoDelayedWork(TimeTicks* next_delayed_work_time) override;
  bool DoIdleWork() override { return false; }

 private:
  MessagePumpForUI pump_;  // made without a message window
};

// Runs a layer loop over the UI loop's pump (the loop in slot kUiLoop, or this thread's loop if
// the slot is empty) until QuitInnermostLayerLoop. Afterwards a non-null `owner` is enabled
// again and given the focus. Main thread only.
void RunLayerLoop(HWND owner = nullptr);
// Ends the innermost running layer loop; nothing when none runs.
void QuitInnermostLayerLoop();
// How many layer loops are running.
int LayerLoopDepth();

}  // namespace base

#endif  // RUNTIME_LAYER_LOOP_H_
