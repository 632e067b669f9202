#include "uiframework/base_element.h"

#include "uiframework/attribute_values.h"

const wchar_t kTagDirectButton[] = L"DirectButton";
const wchar_t kTagPanel[] = L"Panel";
const wchar_t kTagOptionLine[] = L"DUIOptionLine";
const wchar_t kTagTree[] = L"DUITree";

void CWindowCtlStyle::LoadAlignment(const ElementAttributes& attributes) {
  x_alignment_ = layout_values::ParseAlignment(attributes.Raw("xAlignment"), layout_values::kAlignLeft);
  y_alignment_ = layout_values::ParseAlignment(attributes.Raw("yAlignment"), layout_values::kAlignTop);
  x_stretch_ = layout_values::ParseStretch(attributes.Raw("xStretch"));
  y_stretch_ = layout_values::ParseStretch(attributes.Raw("yStretch"));
}

void CBaseElementCtl::LoadCommonAttributes(const ElementAttributes& attributes) {
  id_ = attributes.Text("id");
  name_ = attributes.Text("name");
  text_ = attributes.Text("title");
  tip_ = attributes.Text("tip");
  style_ = attributes.Integer("style");
  style_ex_ = attributes.Integer("style_ex");
  const int left = ClampCoordinate(attributes.Integer("left"));
  const int top = ClampCoordinate(attributes.Integer("top"));
  const int width = ClampCoordinate(attributes.Integer("width"));
  const int height = ClampCoordinate(attributes.Integer("height"));
  StoreRect(left, top, width, height);
  SetDesignRect(left, top, width, height);
  LoadAlignment(attributes);
}

void CBaseElementCtl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Invalidate(true);
}

void CBaseElementCtl::StoreRect(int x, int y, int width, int height) {
  x_ = ClampCoordinate(x);
  y_ = ClampCoordinate(y);
  width_ = ClampCoordinate(width);
  height_ = ClampCoordinate(height);
}

void CBaseElementCtl::SetDesignRect(int x, int y, int width, int height) {
  design_x_ = ClampCoordinate(x);
  design_y_ = ClampCoordinate(y);
  design_width_ = ClampCoordinate(width);
  design_height_ = ClampCoordinate(height);
}

void CBaseElementCtl::Invalidate(bool repaint) {
  if (!owner_ || !repaint) return;
  if (layered_) {
    owner_->RequestRender();
  } else {
    owner_->InvalidateArea(GetRect());
  }
}

void CBaseElementCtl::Post(uint32_t message) {
  if (owner_) owner_->PostElementMessage(message, this);
}

void CBaseElementCtl::NotifyPress() {
  Post(element_message::kPress);
}
void CBaseElementCtl::NotifyClick() {
  Post(element_message::kClick);
}
void CBaseElementCtl::NotifyEnter() {
  Post(element_message::kEnter);
}

void CBaseElementCtl::OnLButtonDown(uint32_t, int, int) {}
void CBaseElementCtl::OnMouseDoubleClick(uint32_t, int, int) {
  NotifyPress();
}
void CBaseElementCtl::OnLButtonUp(uint32_t, int, int) {}
void CBaseElementCtl::OnRButtonUp(uint32_t, int, int) {
  Post(element_message::kRightClick);
}
void CBaseElementCtl::OnMouseMove(uint32_t, int, int) {
  hover_.Fire(id_);
}
void CBaseElementCtl::OnMouseLeave() {
  leave_.Fire(id_);
}
void CBaseElementCtl::OnMouseWheel(uint32_t, int, int, int) {}

int CBaseElementCtl::ScrollBy(int dy) {
  y_ += dy;
  return dy;
}

namespace {

// One axis of the placement rules. `far_rule` is right or bottom.
void PlaceAxis(int alignment, int far_rule, int stretch, int design_offset, int old_size, int new_size, int* position,
               int* size) {
  if (alignment == far_rule) {
    *position = new_size - design_offset;
  } else if (alignment == layout_values::kAlignCenter) {
    *position = (new_size - *size) / 2;
  }
  if (stretch == layout_values::kStretchScale) {
    // The product is a 32-bit integer (it wraps like the original's), the division is in double.
    if (old_size != 0) {
      const int32_t product = static_cast<int32_t>(static_cast<uint32_t>(*size) * static_cast<uint32_t>(new_size));
      *size = static_cast<int>(static_cast<double>(product) / old_size);
    }
  } else if (stretch == layout_values::kStretchFill) {
    *size = new_size + *size - old_size;
  }
}

}  // namespace

UiRect CBaseElementCtl::PlacementFor(int old_parent_width, int old_parent_height, int new_parent_width,
                                     int new_parent_height) const {
  // Positions use the size from before the stretch.
  int x = x_, y = y_, width = width_, height = height_;
  PlaceAxis(x_alignment_, layout_values::kAlignRight, x_stretch_, design_x_, old_parent_width, new_parent_width, &x,
            &width);
  PlaceAxis(y_alignment_, layout_values::kAlignBottom, y_stretch_, design_y_, old_parent_height, new_parent_height, &y,
            &height);
  return MakeRect(x, y, width, height);
}

void CBaseElementCtl::Relayout(int old_parent_width, int old_parent_height, int new_parent_width,
                               int new_parent_height) {
  const UiRect placed = PlacementFor(old_parent_width, old_parent_height, new_parent_width, new_parent_height);
  StoreRect(placed.left, placed.top, placed.width(), placed.height());
}

bool CBaseElementCtl::HitTest(int x, int y) const {
  const UiRect rect = GetRect();
  return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
}
