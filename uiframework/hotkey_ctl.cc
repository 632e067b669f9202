#include "uiframework/hotkey_ctl.h"

namespace {

const Colour kTextGrey = MakeColour(125, 125, 125);
const Colour kWhite = MakeColour(255, 255, 255);
const Margins kFrameCorners = {3, 3, 3, 3};

}  // namespace

CHotkeyCtl::CHotkeyCtl(IElementOwner* owner, bool layered) : CBaseElementCtl(owner, layered) {
  blinking_ = true;
}

void CHotkeyCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  border_ = attributes.ColourValue("border");
  text_colour_ = attributes.ColourValue("textcolor");
  frame_ = attributes.Image("frame");
}

void CHotkeyCtl::SetState(int state) {
  if (state_ == state) return;
  state_ = state;
  Invalidate(true);
}

void CHotkeyCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  const UiRect rect = GetRect();
  if (frame_.valid()) {
    const int quarter = frame_.width / 4;
    const int state = enabled_ ? state_ : kDisabled;
    canvas.NineSlice(frame_, rect, MakeRect(quarter * state, 0, quarter, frame_.height), kFrameCorners);
  } else {
    canvas.RoundRect(rect, border_, kWhite, layered_);
  }
  std::wstring text = Text();
  if (takes_keys() && caret_on_) text += L'|';
  const UiRect shifted = {rect.left + 10, rect.top + 7, rect.right + 10, rect.bottom + 7};
  canvas.DrawString(text, shifted, FontKind::kDefault, kTextGrey, text_format::kEndEllipsis | text_format::kSingleLine,
                    layered_);
}

void CHotkeyCtl::OnLButtonDown(uint32_t, int, int) {
  if (!enabled_) return;
  focused_ = true;
  caret_on_ = true;
  // The other elements of the window lose the focus.
  Post(element_message::kFocus);
  SetState(kDown);
  Invalidate(true);
}

void CHotkeyCtl::OnMouseMove(uint32_t flags, int, int) {
  if (!enabled_) return;
  SetState((flags & 0x1) ? kDown : kHover);  // MK_LBUTTON
}

void CHotkeyCtl::OnMouseLeave() {
  if (enabled_) SetState(kNormal);
}

void CHotkeyCtl::Record(uint32_t key) {
  const uint32_t held = owner_ ? owner_->HeldModifiers() : 0;
  press_ = RecordHotkeyPress((held & held_key::kCtrl) != 0, (held & held_key::kShift) != 0,
                             (held & held_key::kAlt) != 0, key);
}

void CHotkeyCtl::OnKeyDown(uint32_t key) {
  if (!takes_keys()) return;
  Record(key);
  Invalidate(true);
}

void CHotkeyCtl::OnKeyUp(uint32_t key) {
  if (!takes_keys() || press_.key != 0 || key < 16 || key > 18) return;
  // Only modifiers are recorded: the box follows the ones still held.
  Record(0);
  Invalidate(true);
}

void CHotkeyCtl::OnBlink() {
  if (!takes_keys()) return;
  caret_on_ = !caret_on_;
  Invalidate(true);
}
