#include "uiframework/num_edit.h"

namespace {

const Colour kLayeredText = MakeColour(125, 125, 125);
const Colour kWhite = MakeColour(255, 255, 255);
const Margins kFrameCorners = {3, 3, 3, 3};
constexpr int kTextInset = 5;

}  // namespace

CDUINumEdit::CDUINumEdit(IElementOwner* owner, bool layered) : CBaseElementCtl(owner, layered) {
  blinking_ = true;
  cursor_ = PointerShape::kIBeam;
}

void CDUINumEdit::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  border_ = attributes.ColourValue("border");
  text_colour_ = attributes.ColourValue("textcolor");
  frame_ = attributes.Image("frame");
  entry_.SetText(text_);
}

void CDUINumEdit::SetText(const std::wstring& text) {
  text_ = text;
  entry_.SetText(text);
}

void CDUINumEdit::Paint(ICanvas& canvas) {
  if (!visible_) return;
  const UiRect rect = GetRect();
  if (frame_.valid()) {
    const int quarter = frame_.width / 4;
    canvas.NineSlice(frame_, rect, MakeRect(focused_ ? quarter * 2 : 0, 0, quarter, frame_.height), kFrameCorners);
  } else {
    canvas.RoundRect(rect, border_, kWhite, layered_);
  }
  std::wstring shown = text_;
  // The caret stands where the next digit goes (after the text until Left moves it).
  if (takes_keys() && caret_on_) shown.insert(entry_.caret(), 1, L'|');
  if (shown.empty()) return;
  const UiRect area = {rect.left + kTextInset, rect.top, rect.right - kTextInset, rect.bottom};
  canvas.DrawString(shown, area, FontKind::kDefault, layered_ ? kLayeredText : text_colour_,
                    text_format::kEndEllipsis | text_format::kSingleLine | text_format::kVerticalCentre, layered_);
}

void CDUINumEdit::OnLButtonDown(uint32_t, int, int) {
  if (!enabled_) return;
  focused_ = true;
  caret_on_ = true;
  Post(element_message::kFocus);
  Invalidate(true);
}

void CDUINumEdit::OnKeyDown(uint32_t key) {
  if (!takes_keys() || !entry_.OnKeyDown(key)) return;
  text_ = entry_.text();
  caret_on_ = true;  // a key shows the caret at once, as edits do
  Invalidate(true);
}

void CDUINumEdit::OnBlink() {
  if (!takes_keys()) return;
  caret_on_ = !caret_on_;
  Invalidate(true);
}
