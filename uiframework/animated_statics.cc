#include "uiframework/animated_statics.h"

void CDUIGoRound::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  background_ = attributes.Image("background");
  icon_ = attributes.Image("icon");
  colour_ = attributes.ColourValue("color");
}

void CDUIGoRound::Paint(ICanvas& canvas) {
  if (!visible_) return;
  if (advance_) {
    frame_ = (frame_ + 1) % kFrames;
    advance_ = false;
  }
  // The static's icon and text, without its background.
  const UiImage background = background_;
  background_ = UiImage{};
  CStaticCtl::Paint(canvas);
  background_ = background;
  if (!background_.valid()) return;
  const int frame_width = background_.width / kFrames;
  canvas.BlendImage(background_, GetRect(), MakeRect(frame_ * frame_width, 0, frame_width, background_.height));
}

void CGifAnim::LoadFromXml(const ElementAttributes& attributes) {
  CStaticCtl::LoadFromXml(attributes);
  image_ = attributes.Image("image");
}

int CGifAnim::OnTimer(uint32_t timer_id) {
  if (timer_id != kTimerId || frame_count_ == 0) return 0;
  frame_ = (frame_ + 1) % frame_count_;
  Invalidate(true);
  return 1;
}
