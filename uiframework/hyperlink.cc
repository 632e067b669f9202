#include "uiframework/hyperlink.h"

#include "uiframework/attribute_values.h"

CHyperLinkCtl::CHyperLinkCtl(IElementOwner* owner, bool layered) : CButtonCtl(owner, layered) {
  type_tag_.clear();
}

void CHyperLinkCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  link_colour_ = attributes.ColourValue("linkcolor");
  visited_colour_ = attributes.ColourValue("visitedcolor");
  link_hover_colour_ = attributes.ColourValue("hovercolor");
  if (attributes.Flag("samllfont")) font_ = FontKind::kSmall;
  if (attributes.Flag("samllerfont")) font_ = FontKind::kSmaller;
  format_ = layout_values::ParseTextAlignment(attributes.Raw("textAlignment"));
  url_ = attributes.Text("url");
}

void CHyperLinkCtl::FireClick() {
  if (!click_.takes_id()) click_.Fire(id_);
  if (!url_.empty() && owner_) owner_->OpenUrl(url_);
}

void CHyperLinkCtl::OnMouseMove(uint32_t flags, int x, int y) {
  if (!disabled()) cursor_ = PointerShape::kHand;
  CButtonCtl::OnMouseMove(flags, x, y);
}

void CHyperLinkCtl::OnMouseLeave() {
  CButtonCtl::OnMouseLeave();
  cursor_ = PointerShape::kArrow;
}

Colour CHyperLinkCtl::ColourFor(int state) const {
  switch (state) {
    case kDown: return visited_colour_;
    case kHover: return link_hover_colour_;
    case kDisabled: return MakeColour(153, 153, 153);
    default: return link_colour_;
  }
}

void CHyperLinkCtl::Paint(ICanvas& canvas) {
  if (!visible_ || text_.empty()) return;
  canvas.DrawString(text_, GetRect(), font_, ColourFor(state_), format_, layered_);
}
