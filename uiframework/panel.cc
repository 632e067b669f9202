#include "uiframework/panel.h"

#include <tinyxml.h>

#include "uiframework/element_factory.h"

CPanelCtl::CPanelCtl(IElementOwner* owner, bool layered) : CBaseElementCtl(owner, layered), children_(owner) {
  type_tag_ = kTagPanel;
  blinking_ = true;
}

void CPanelCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  background_ = attributes.Image("background");
  // In a document an absent colour reads black, unlike a panel made in code.
  back_colour_ = attributes.ColourValue("backcolor");
  border_colour_ = attributes.ColourValue("bordercolor");
  border_ = attributes.Integer("border") == 1;
  const ElementPlace place = IsTabList() ? ElementPlace::kTabList : ElementPlace::kPanel;
  for (const TiXmlElement* child = attributes.element().FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    std::unique_ptr<CBaseElementCtl> element = CreateElement(child->ValueStr(), place, owner_, layered_);
    if (!element) continue;  // not accepted here: skipped with its subtree
    element->LoadFromXml(ElementAttributes(*child, attributes.images()));
    const UiRect rect = element->GetRect();
    element->MoveTo(x_ + rect.left, y_ + rect.top, rect.width(), rect.height());
    children_.Add(std::move(element));
  }
}

void CPanelCtl::ApplyVisible(bool visible) {
  visible_ = visible;
  for (size_t i = 0; i < children_.size(); ++i) children_.at(i)->ApplyVisible(visible);
}

void CPanelCtl::SetVisible(bool visible) {
  ApplyVisible(visible);
  Invalidate(true);
}

void CPanelCtl::MoveTo(int x, int y, int width, int height) {
  const int dx = x - x_;
  const int dy = y - y_;
  StoreRect(x, y, width, height);
  children_.Offset(dx, dy);
}

void CPanelCtl::Relayout(int old_parent_width, int old_parent_height, int new_parent_width, int new_parent_height) {
  const int old_x = x_, old_y = y_, old_width = width_, old_height = height_;
  children_.Offset(-old_x, -old_y);
  const UiRect placed = PlacementFor(old_parent_width, old_parent_height, new_parent_width, new_parent_height);
  StoreRect(placed.left, placed.top, placed.width(), placed.height());
  children_.Relayout(old_width, old_height, width_, height_);
  children_.Offset(x_, y_);
}

void CPanelCtl::SetFocusElement(CBaseElementCtl* element) {
  CBaseElementCtl::SetFocusElement(element);
  children_.SetFocusElement(element);
}

void CPanelCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  const UiRect rect = GetRect();
  const UiRect whole_image = MakeRect(0, 0, background_.width, background_.height);
  if (layered_) {
    if (background_.valid()) canvas.NineSlice(background_, rect, whole_image, Margins{10, 10, 10, 10});
    if (border_) canvas.Rectangle(rect, border_colour_, back_colour_, true);
  } else {
    canvas.Rectangle(rect, border_colour_, back_colour_, false);
    if (background_.valid()) canvas.BlendImage(background_, rect, whole_image);
  }
  children_.Paint(canvas);
}
