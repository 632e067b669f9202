#include "uiframework/button.h"

#include <algorithm>

CButtonCtl::CButtonCtl(IElementOwner* owner, bool layered) : CBaseElementCtl(owner, layered) {
  type_tag_ = kTagDirectButton;
}

void CButtonCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  image_ = attributes.Image("image");
  icon_ = attributes.Image("icon");
  small_icon_ = attributes.Image("smallicon");
  text_colour_ = attributes.ColourValue("textcolor");
  hover_colour_ = attributes.ColourValue("hovercolor");
  down_colour_ = attributes.ColourValue("downcolor");
  disabled_colour_ = attributes.ColourValue("discolor");
  const Margins corner = attributes.MarginsValue("corner");
  corner_ = Margins{ClampCoordinate(corner.left), ClampCoordinate(corner.top), ClampCoordinate(corner.right),
                    ClampCoordinate(corner.bottom)};
  hdelta_ = ClampCoordinate(attributes.Integer("hdelta"));
  normal_border_ = attributes.ColourValue("bgnormalborder");
  normal_brush_ = attributes.ColourValue("bgnormalbrush");
  hover_border_ = attributes.ColourValue("bghoverborder");
  hover_brush_ = attributes.ColourValue("bghoverbrush");
  down_brush_ = attributes.ColourValue("bgdownbrush");
  down_border_ = attributes.ColourValue("bgdownborder");
  if (attributes.Flag("bigfont")) font_ = FontKind::kBig;
}

void CButtonCtl::SetState(int state) {
  if (state_ == state) return;
  state_ = state;
  Invalidate(true);
}

void CButtonCtl::EnableButton(bool enabled) {
  SetState(enabled ? kNormal : kDisabled);
}

void CButtonCtl::ShowAlertBorder() {
  alert_border_ = true;
  Invalidate(true);
}

void CButtonCtl::HideAlertBorder() {
  alert_border_ = false;
  Invalidate(true);
}

void CButtonCtl::OnLButtonDown(uint32_t, int, int) {
  if (disabled()) return;
  pressed_ = true;
  SetState(kDown);
  FirePress();  // at once, not through a message
}

void CButtonCtl::OnMouseMove(uint32_t, int, int) {
  if (disabled()) return;
  tracking_ = true;
  SetState(pressed_ ? kDown : kHover);
}

void CButtonCtl::OnMouseLeave() {
  // Leaving forgets the press: coming back and releasing gives no click.
  pressed_ = false;
  tracking_ = false;
  if (!disabled()) SetState(kNormal);
}

void CButtonCtl::OnLButtonUp(uint32_t, int, int) {
  if (!visible_ || disabled()) return;
  const int old_state = state_;
  SetState(kHover);  // the repaint request goes out before the click
  if (pressed_ && old_state == kDown) NotifyClick();
  pressed_ = false;
}

int CButtonCtl::FrameIndexOf(int state) {
  switch (state) {
    case kHover: return 1;
    case kDown: return 2;
    case kDisabled: return 3;
    default: return 0;
  }
}

Margins CButtonCtl::NineSliceCorners() const {
  return corner_.IsZero() ? Margins{3, 6, 3, 6} : corner_;
}

UiRect CButtonCtl::StripFrame(const UiImage& image, int index) const {
  if (frame_orientation_ == 1) {
    const int frame_height = image.height / 4;
    return MakeRect(0, index * frame_height, image.width, frame_height);
  }
  const int frame_width = image.width / 4;
  return MakeRect(index * frame_width, 0, frame_width, image.height);
}

Colour CButtonCtl::StateTextColour() const {
  switch (state_) {
    case kHover: return hover_colour_;
    case kDown: return down_colour_;
    case kDisabled: return disabled_colour_;
    default: return text_colour_;
  }
}

void CButtonCtl::PaintImageBackground(ICanvas& canvas, const UiRect& rect, int frame) const {
  const UiRect source = StripFrame(image_, frame);
  if (source.width() < rect.width() || source.height() < rect.height()) {
    canvas.NineSlice(image_, rect, source, NineSliceCorners());
  } else {
    canvas.BlendImage(image_, rect, source);  // scaled down when the frame is larger
  }
}

void CButtonCtl::PaintContent(ICanvas& canvas, const UiRect& rect, Colour text_colour) {
  int text_width = 0;
  int content_left = -1;  // right edge of the icon the caption follows
  if (icon_.valid() || small_icon_.valid()) text_width = canvas.MeasureText(text_, FontKind::kDefault);
  if (icon_.valid()) {
    const int frame_width = icon_.width / IconFrameCount();
    const int gap_width = text_width > 0 ? text_width + 5 : text_width;
    const int x = rect.left + std::max(0, (rect.width() - frame_width - gap_width) / 2);
    const int y = rect.top + std::max(0, (rect.height() - icon_.height) / 2);
    const UiRect source = MakeRect(IconFrame() * frame_width, 0, frame_width, icon_.height);
    canvas.BlendImage(icon_, MakeRect(x, y, frame_width, icon_.height), source);
    content_left = x + frame_width;
  }
  if (small_icon_.valid()) {
    const int x =
        SmallIconAtLeftEdge() ? rect.left + 5 : rect.left + (rect.width() - text_width - small_icon_.width - 5) / 2;
    const int y = rect.top + (rect.height() - small_icon_.height) / 2;
    canvas.BlendImage(small_icon_, MakeRect(x, y, small_icon_.width, small_icon_.height),
                      MakeRect(0, 0, small_icon_.width, small_icon_.height));
    content_left = x + small_icon_.width;
  }
  if (text_.empty()) return;
  UiRect text_rect = rect;
  text_rect.top += hdelta_;
  uint32_t format = text_format::kEndEllipsis | text_format::kSingleLine | text_format::kVerticalCentre;
  if (content_left >= 0) {
    text_rect.left = content_left + 5;
    if (text_width_after_icon_ > 0) text_rect.right = text_rect.left + text_width_after_icon_;
  } else {
    format |= text_format::kCentre;
  }
  canvas.DrawString(text_, text_rect, font_, text_colour, format, layered_);
}

void CButtonCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  const UiRect rect = GetRect();
  if (image_.valid()) {
    PaintImageBackground(canvas, rect, FrameIndexOf(state_));
  } else {
    Colour border = normal_border_, brush = normal_brush_;
    if (state_ == kHover) border = hover_border_, brush = hover_brush_;
    if (state_ == kDown) border = down_border_, brush = down_brush_;
    if (alert_border_) border = MakeColour(255, 0, 0);
    canvas.RoundRect(rect, border, brush, layered_);
  }
  PaintContent(canvas, rect, StateTextColour());
}
