#include "uiframework/memory_button.h"

int CClrMemButton::GaugeFrameFor(const MemoryLoad& load) {
  if (load.total == 0) return 0;
  const uint64_t used = load.available < load.total ? load.total - load.available : 0;
  const int frame = static_cast<int>(used * 100 / load.total / 10 + 1);
  return frame < kGaugeFrames ? frame : kGaugeFrames - 1;
}

int CClrMemButton::IconFrame() {
  const bool held = (state_ == kHover || state_ == kDown) && cached_frame_ >= 0;
  if (!held && memory_) {
    cached_frame_ = GaugeFrameFor(memory_());
    recompute_ = false;
  }
  return cached_frame_ < 0 ? 0 : cached_frame_;
}
