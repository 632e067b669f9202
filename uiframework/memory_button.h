// CClrMemButton: a button whose icon is an 11-frame memory gauge, the frame chosen from the
// share of physical memory in use (type tag "DirectButton"). The memory figures come from a
// source the owner sets (GlobalMemoryStatusEx on Windows).
#ifndef UIFRAMEWORK_MEMORY_BUTTON_H_
#define UIFRAMEWORK_MEMORY_BUTTON_H_

#include <cstdint>
#include <functional>

#include "uiframework/button.h"

struct MemoryLoad {
  uint64_t total = 0;
  uint64_t available = 0;
};

class CClrMemButton : public CButtonCtl {
 public:
  static constexpr int kGaugeFrames = 11;

  CClrMemButton(IElementOwner* owner, bool layered) : CButtonCtl(owner, layered) {}

  void SetMemorySource(std::function<MemoryLoad()> source) { memory_ = std::move(source); }
  // The next paint reads the memory again.
  void RequestRecompute() { recompute_ = true; }
  // (total - available) x 100 / total / 10 + 1, held at the strip's last frame (a full memory
  // would ask for frame 11 of 0-10); 0 when the total is unknown.
  static int GaugeFrameFor(const MemoryLoad& load);
  int cached_frame() const { return cached_frame_; }

 protected:
  int IconFrameCount() const override { return kGaugeFrames; }
  // Kept while the button is hovered or down and a value is cached.
  int IconFrame() override;
  bool SmallIconAtLeftEdge() const override { return true; }

 private:
  std::function<MemoryLoad()> memory_;
  int cached_frame_ = -1;
  bool recompute_ = true;
};

#endif  // UIFRAMEWORK_MEMORY_BUTTON_H_
