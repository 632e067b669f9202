#include "uiframework/layered_edit.h"

CLayeredEditCtl::CLayeredEditCtl(IElementOwner* owner) : CBaseElementCtl(owner, true) {}

// The pop-up goes first: its window must not report to an element that is being taken apart.
CLayeredEditCtl::~CLayeredEditCtl() {
  popup_.reset();
}

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
  // Otherwise the edit's text would overwrite this one when the pop-up closes.
  if (editing()) popup_->SetText(text);
  Invalidate(true);
}

void CLayeredEditCtl::ApplyVisible(bool visible) {
  visible_ = visible;
  if (!visible && editing()) popup_->Close();
}

void CLayeredEditCtl::SetEnabled(bool enabled) {
  CBaseElementCtl::SetEnabled(enabled);
  if (!enabled) {
    SetState(kDisabled);
  } else if (state_ == kDisabled) {
    SetState(kNormal);
  }
}

void CLayeredEditCtl::NotifyTab() {
  if (tab_ != 0 && owner_) {
    owner_->PostWindowMessage(element_message::kTab, reinterpret_cast<uintptr_t>(static_cast<CBaseElementCtl*>(this)),
                              index_);
  }
}

void CLayeredEditCtl::SetState(int state) {
  if (editing() || state_ == state) return;
  state_ = state;
  Invalidate(true);
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

void CLayeredEditCtl::OnLButtonDown(uint32_t, int, int) {
  if (disabled()) return;
  pressed_ = true;
  SetState(kDown);
  OpenPopupEdit();
}

void CLayeredEditCtl::OnMouseMove(uint32_t, int, int) {
  if (disabled()) return;
  tracking_ = true;
  SetState(pressed_ ? kDown : kHover);
}

void CLayeredEditCtl::OnMouseLeave() {
  pressed_ = false;
  tracking_ = false;
  if (!disabled()) SetState(kNormal);
}

void CLayeredEditCtl::OnLButtonUp(uint32_t, int, int) {
  if (!visible_ || disabled()) return;
  const int old_state = state_;
  SetState(kHover);
  if (pressed_ && old_state == kDown) NotifyClick();
  pressed_ = false;
}

void CLayeredEditCtl::OpenPopupEdit() {
  if (!popup_ && owner_) popup_ = owner_->CreatePopupEdit(this);
  // Editing is in progress already: the click lands in the same edit.
  if (!popup_ || popup_->IsOpen()) return;
  PopupEditOptions options;
  options.area = text_rect_;
  options.text = text_;
  options.max_length = kMaxTextLength;
  options.password = password_;
  // A failure is logged where it happens; the box stays idle and the next click tries again.
  popup_->Open(options);
}

void CLayeredEditCtl::OnPopupEditChar(uint32_t character) {
  if (character == L'\r') {
    NotifyTab();
    NotifyEnter();
  } else if (character == L'\t') {
    NotifyTab();
  }
  if (check_path_ != 0 && owner_) {
    owner_->PostWindowMessage(element_message::kPathEdited, static_cast<uintptr_t>(check_path_), 0);
  }
}

void CLayeredEditCtl::OnPopupEditText(const std::wstring& text) {
  // No repaint: the pop-up covers the painted text while it is open.
  text_ = text;
}

void CLayeredEditCtl::OnPopupEditClosed(const std::wstring& text) {
  text_ = text;
  // The press that opened the pop-up never sees its release (that went to the edit).
  pressed_ = false;
  state_ = kNormal;
  Invalidate(true);
}
