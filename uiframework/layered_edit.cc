#include "uiframework/layered_edit.h"

CLayeredEditCtl::CLayeredEditCtl(IElementOwner* owner) : CBaseElementCtl(owner, true) {}

void CLayeredEditCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  tab_ = attributes.Integer("tab");
  index_ = attributes.Integer("index");
  normal_back_ = attributes.Image("normalBack");
  hover_back_ = attributes.Image("hoverBack");
  image_ = attributes.Image("image");
  icon_ = attributes.Image("icon");
  password_ = attributes.Flag("pWd");
  read_only_ = attributes.Flag("readonly");
  normal_text_ = attributes.ColourValue("textcolor");
  hover_text_ = attributes.ColourValue("hovertext");
  down_text_ = attributes.ColourValue("downtext");
  check_path_ = attributes.Integer("checkpath");
  normal_border_ = attributes.ColourValue("bgnormalborder");
  normal_brush_ = attributes.ColourValue("bgnormalbrush");
  hover_border_ = attributes.ColourValue("bghoverborder");
  hover_brush_ = attributes.ColourValue("bghoverbrush");
  down_brush_ = attributes.ColourValue("bgdownbrush");
  down_border_ = attributes.ColourValue("bgdownborder");
  UpdateTextRect(12);  // right after reading, before any move
}

void CLayeredEditCtl::UpdateTextRect(int vertical_inset) {
  const UiRect rect = GetRect();
  if (icon_.valid()) {
    text_rect_ = UiRect{rect.left + icon_.width + 10, rect.top + 10, rect.right - 10, rect.bottom - 2};
  } else {
    text_rect_ = UiRect{rect.left + 10, rect.top + vertical_inset, rect.right - 10, rect.bottom - vertical_inset};
  }
}

void CLayeredEditCtl::MoveTo(int x, int y, int width, int height) {
  StoreRect(x, y, width, height);
  UpdateTextRect(8);
}

void CLayeredEditCtl::SetText(const std::wstring& text) {
  text_ = text;
  Invalidate(true);
}

void CLayeredEditCtl::NotifyTab() {
  if (tab_ != 0) Post(element_message::kTab);
}

void CLayeredEditCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  // Disabled keeps the colours of the last other state.
  if (state_ == kNormal) text_colour_ = normal_text_, border_ = normal_border_, fill_ = normal_brush_;
  if (state_ == kDown) text_colour_ = down_text_, border_ = down_border_, fill_ = down_brush_;
  if (state_ == kHover) text_colour_ = hover_text_, border_ = hover_border_, fill_ = hover_brush_;
  const UiRect rect = GetRect();
  if (image_.valid()) {
    canvas.BlendImage(image_, rect, MakeRect(0, 0, image_.width, image_.height));
  } else {
    canvas.Rectangle(rect, border_, fill_, true);
  }
  if (text_.empty()) return;
  const std::wstring shown = password_ ? std::wstring(text_.size(), L'\x25CF') : text_;
  canvas.DrawString(shown, text_rect_, FontKind::kDefault, text_colour_,
                    text_format::kSingleLine | text_format::kVerticalCentre, true);
}
