#include "uiframework/edit_ctl.h"

#include "uiframework/native_edit_rules.h"

using native_edit_rules::kBoxBorder;
using native_edit_rules::kBoxFill;

CEditCtl::CEditCtl(IElementOwner* owner) : CBaseElementCtl(owner, false) {}

// The edit goes first: its window must not report to an element that is being taken apart.
CEditCtl::~CEditCtl() {
  native_.reset();
}

void CEditCtl::LoadFromXml(const ElementAttributes& attributes) {
  ReadAttributes(attributes);
  CreateNativeEdit();
}

void CEditCtl::ReadAttributes(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  tab_ = attributes.Integer("tab");
  border_ = attributes.ColourValue("border");
  normal_back_ = attributes.Image("normalBack");
  hover_back_ = attributes.Image("hoverBack");
  icon_ = attributes.Image("icon");
  password_ = attributes.Flag("pWd");
  read_only_ = attributes.Flag("readonly");
  control_id_ = attributes.Integer("id");
}

void CEditCtl::CreateNativeEdit() {
  if (!owner_) return;
  NativeEditOptions options;
  options.area = EditArea();
  options.control_id = control_id_;
  options.text = text_;
  options.password = password_;
  options.read_only = read_only_;
  options.max_length = max_length_;
  options.cue_banner = cue_banner_;
  native_ = owner_->CreateChildEdit(options, this);
  if (native_ && !visible_) native_->Show(false);
}

UiRect CEditCtl::EditArea() const {
  return native_edit_rules::ChildEditArea(GetRect(), icon_.valid() ? icon_.width : 0, right_margin_);
}

void CEditCtl::SetText(const std::wstring& text) {
  text_ = text;
  if (native_) native_->SetText(text);
}

void CEditCtl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  ApplyVisible(visible);
  Invalidate(true);
}

void CEditCtl::ApplyVisible(bool visible) {
  visible_ = visible;
  if (native_) native_->Show(visible);
}

void CEditCtl::MoveTo(int x, int y, int width, int height) {
  StoreRect(x, y, width, height);
  // The icon keeps its place left of the edit wherever the box goes.
  if (native_) native_->Place(EditArea());
}

void CEditCtl::Relayout(int old_parent_width, int old_parent_height, int new_parent_width, int new_parent_height) {
  const UiRect placed = PlacementFor(old_parent_width, old_parent_height, new_parent_width, new_parent_height);
  MoveTo(placed.left, placed.top, placed.width(), placed.height());
  // Over whatever else the window holds at that place.
  if (native_) native_->BringToFront();
}

void CEditCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  const UiRect rect = GetRect();
  canvas.RoundRect(rect, kBoxBorder, kBoxFill, false);
  const UiImage& back = hovered_ ? hover_back_ : normal_back_;
  if (back.valid()) canvas.BlendImage(back, rect, MakeRect(0, 0, back.width, back.height));
  if (icon_.valid()) {
    canvas.BlendImage(icon_, native_edit_rules::IconArea(rect), MakeRect(0, 0, icon_.width, icon_.height));
  }
}

void CEditCtl::OnMouseMove(uint32_t flags, int x, int y) {
  CBaseElementCtl::OnMouseMove(flags, x, y);
  if (hovered_) return;
  hovered_ = true;
  if (hover_back_.valid() || normal_back_.valid()) Invalidate(true);
}

void CEditCtl::OnMouseLeave() {
  CBaseElementCtl::OnMouseLeave();
  if (!hovered_) return;
  hovered_ = false;
  if (hover_back_.valid() || normal_back_.valid()) Invalidate(true);
}

void CEditCtl::OnNativeEditChar(uint32_t character) {
  if (character == '\t' && tab_ != 0 && owner_) owner_->SendElementMessage(element_message::kEditTab, this);
}

void CEditCtl::OnNativeEditText(const std::wstring& text) {
  // No repaint: the edit shows its own text.
  text_ = text;
}

CSimEditCtl::CSimEditCtl(IElementOwner* owner) : CEditCtl(owner) {
  max_length_ = native_edit_rules::kSimEditMaxLength;
  cue_banner_ = native_edit_rules::kSimEditCueBanner;
}

void CSimEditCtl::LoadFromXml(const ElementAttributes& attributes) {
  ReadAttributes(attributes);
  right_margin_ = ClampCoordinate(attributes.Integer("rightmargin"));
  CreateNativeEdit();
}
