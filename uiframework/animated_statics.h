// The two animated statics: CDUIGoRound (a static whose background is a 10-frame strip that
// steps on request) and CGifAnim (a static that shows an animation file, advanced by window
// timer 101). This program gives CGifAnim no animation file, so it shows nothing.
#ifndef UIFRAMEWORK_ANIMATED_STATICS_H_
#define UIFRAMEWORK_ANIMATED_STATICS_H_

#include "uiframework/static_text.h"

class CDUIGoRound : public CStaticCtl {
 public:
  static constexpr int kFrames = 10;
  CDUIGoRound(IElementOwner* owner, bool layered) : CStaticCtl(owner, layered) {}

  // `background`, `icon`, `color`.
  void LoadFromXml(const ElementAttributes& attributes) override;
  // The next paint shows the next frame (after the tenth, the first).
  void Advance() { advance_ = true; }
  int frame() const { return frame_; }
  // Icon and text as a static, then the current frame stretched over the element.
  void Paint(ICanvas& canvas) override;

 private:
  int frame_ = 0;
  bool advance_ = false;
};

class CGifAnim : public CStaticCtl {
 public:
  static constexpr uint32_t kTimerId = 101;
  CGifAnim(IElementOwner* owner, bool layered) : CStaticCtl(owner, layered) {}

  // The static's attributes; `image` is kept too.
  void LoadFromXml(const ElementAttributes& attributes) override;
  // Frames of the loaded animation: none, as no animation file is given.
  int frame_count() const { return frame_count_; }
  // Timer 101 steps the frame (wrapping) and repaints.
  int OnTimer(uint32_t timer_id) override;
  // Only the animation, which is empty here.
  void Paint(ICanvas&) override {}

 private:
  UiImage image_;
  int frame_count_ = 0;
  int frame_ = 0;
};

#endif  // UIFRAMEWORK_ANIMATED_STATICS_H_
