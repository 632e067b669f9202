#include "uiframework/check_box.h"

CCheckBoxCtl::CCheckBoxCtl(IElementOwner* owner, bool layered) : CButtonCtl(owner, layered) {
  type_tag_.clear();
}

void CCheckBoxCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  image_ = attributes.Image("image");
  box_text_colour_ = attributes.ColourValue("textcolor");
}

void CCheckBoxCtl::SetCheck(bool checked) {
  checked_ = checked;
  if (disabled()) return;
  pressed_ = checked;
  state_ = checked ? kDown : kNormal;
}

void CCheckBoxCtl::OnLButtonDown(uint32_t, int, int) {
  if (disabled()) return;
  checked_ = !checked_;
  pressed_ = checked_;
  SetState(checked_ ? kDown : kNormal);
  NotifyPress();
}

void CCheckBoxCtl::OnMouseMove(uint32_t, int, int) {
  if (disabled()) return;
  tracking_ = true;
  SetState(checked_ ? kDown : kHover);
}

void CCheckBoxCtl::OnMouseLeave() {
  tracking_ = false;
  if (!disabled() && !checked_) SetState(kNormal);
}

void CCheckBoxCtl::OnLButtonUp(uint32_t, int, int) {
  if (!disabled()) NotifyClick();
}

int CCheckBoxCtl::CheckFrameOf(int state) {
  if (state == kDown || state == 4 || state == 5) return 2;
  if (state == kHover) return 1;
  return 0;
}

void CCheckBoxCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  const UiRect rect = GetRect();
  int frame_width = 0;
  if (image_.valid()) {
    frame_width = image_.width / FrameCount();
    const int y = rect.top + (rect.height() - image_.height) / 2;
    canvas.BlendImage(image_, MakeRect(rect.left, y, frame_width, image_.height),
                      MakeRect(FrameFor(state_) * frame_width, 0, frame_width, image_.height));
  }
  if (text_.empty()) return;
  const UiRect text_rect{rect.left + frame_width + 5, rect.top, rect.right + 4, rect.bottom};
  canvas.DrawString(text_, text_rect, FontKind::kDefault, box_text_colour_,
                    text_format::kSingleLine | text_format::kVerticalCentre, layered_);
}
