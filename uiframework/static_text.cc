#include "uiframework/static_text.h"

#include "uiframework/attribute_values.h"

void CStaticCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  background_ = attributes.Image("background");
  colour_ = attributes.ColourValue("color");
  icon_ = attributes.Image("icon");
  if (attributes.Flag("bigfont")) font_ = FontKind::kBig;
  if (attributes.Flag("samllfont")) font_ = FontKind::kSmall;
  if (attributes.Flag("msgboxtitlefont")) font_ = FontKind::kMessageBoxTitle;
  if (attributes.Flag("samllerfont")) font_ = FontKind::kSmaller;
  if (attributes.Flag("titlefount")) font_ = FontKind::kTitle;
  viewport_ = attributes.Flag("viewport");
  format_ = layout_values::ParseTextAlignment(attributes.Raw("textAlignment"));
}

void CStaticCtl::OnLButtonDown(uint32_t, int, int) {
  if (visible_) armed_ = true;
}

void CStaticCtl::OnLButtonUp(uint32_t, int, int) {
  if (visible_ && armed_) NotifyClick();
  armed_ = false;
}

uint32_t CStaticCtl::EffectiveFormat() const {
  if (format_ != 0) return format_;
  return icon_.valid() ? (text_format::kEndEllipsis | text_format::kSingleLine | text_format::kVerticalCentre) : 0;
}

UiRect CStaticCtl::TextRect() const {
  UiRect rect = GetRect();
  if (icon_.valid()) rect.left += icon_.width + 2;
  if (viewport_) rect.bottom += scroll_offset_;  // the scrolled text is drawn lower by the offset
  return rect;
}

void CStaticCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  const UiRect rect = GetRect();
  if (icon_.valid()) {
    const int y = rect.top + (rect.height() - icon_.height) / 2;
    canvas.BlendImage(icon_, MakeRect(rect.left, y, icon_.width, icon_.height),
                      MakeRect(0, 0, icon_.width, icon_.height));
  }
  if (!text_.empty()) canvas.DrawString(text_, TextRect(), font_, colour_, EffectiveFormat(), layered_);
  if (background_.valid()) {
    canvas.BlendImage(background_, rect, MakeRect(0, 0, background_.width, background_.height));
  }
}
