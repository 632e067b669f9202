#include "uiframework/rich_edit.h"

CRichEditCtl::CRichEditCtl(IElementOwner* owner) : CBaseElementCtl(owner, false) {}

// The pop-up goes with the element, and before it: it must not report to an element that is
// being taken apart.
CRichEditCtl::~CRichEditCtl() {
  window_.reset();
}

void CRichEditCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  if (!owner_) return;
  NativeEditOptions options;
  options.area = GetRect();
  options.text = text_;
  window_ = owner_->CreateEditWindow(options, this);
}

void CRichEditCtl::SetText(const std::wstring& text) {
  text_ = text;
  if (window_) window_->SetText(text);
}

void CRichEditCtl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  ApplyVisible(visible);
  Invalidate(true);
}

void CRichEditCtl::ApplyVisible(bool visible) {
  visible_ = visible;
  if (!window_) return;
  // Moves of the owner reach only visible, enabled elements: the pop-up catches up first.
  if (visible) window_->Place(GetRect());
  // A pop-up stands on the screen by itself: left alone it would stay up over a hidden panel.
  window_->Show(visible);
}

void CRichEditCtl::SetEnabled(bool enabled) {
  CBaseElementCtl::SetEnabled(enabled);
  if (enabled && window_) window_->Place(GetRect());
}

void CRichEditCtl::MoveTo(int x, int y, int width, int height) {
  StoreRect(x, y, width, height);
  if (window_) window_->Place(GetRect());
}

void CRichEditCtl::Relayout(int old_parent_width, int old_parent_height, int new_parent_width, int new_parent_height) {
  const UiRect placed = PlacementFor(old_parent_width, old_parent_height, new_parent_width, new_parent_height);
  MoveTo(placed.left, placed.top, placed.width(), placed.height());
}

void CRichEditCtl::OnOwnerMoved() {
  if (window_) window_->Place(GetRect());
}
