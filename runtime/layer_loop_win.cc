#include "runtime/layer_loop.h"

#include <vector>

namespace base {

namespace {

// The running layer loops, innermost last. Only the main thread touches it.
std::vector<MessageLoop::LayerLoop*>& LayerStack() {
  static std::vector<MessageLoop::LayerLoop*>* stack = new std::vector<MessageLoop::LayerLoop*>;
  return *stack;
}

MessagePumpForUI* UiPump() {
  MessageLoop* ui = GetThreadLoop(kUiLoop);
  if (!ui) {
    ui = MessageLoop::current();
    if (ui && ui->type() != MessageLoop::TYPE_UI) ui = nullptr;
  }
  return ui ? dynamic_cast<MessagePumpForUI*>(ui->pump()) : nullptr;
}

}  // namespace

MessageLoop::LayerLoop::LayerLoop() : pump_(false) {}

MessageLoop::LayerLoop::~LayerLoop() {}

bool MessageLoop::LayerLoop::DoDelayedWork(TimeTicks* next_delayed_work_time) {
  *next_delayed_work_time = TimeTicks();
  return false;
}

void RunLayerLoop(HWND owner) {
  MessageLoop::LayerLoop* layer = new MessageLoop::LayerLoop;
  layer->pump()->set_host_pump(UiPump());
  LayerStack().push_back(layer);
  layer->Run();
  LayerStack().pop_back();
  if (owner && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
    SetFocus(owner);
  }
  delete layer;
}

void QuitInnermostLayerLoop() {
  if (!LayerStack().empty()) LayerStack().back()->Quit();
}

int LayerLoopDepth() {
  return static_cast<int>(LayerStack().size());
}

}  // namespace base
