// CStaticCtl: text and pictures: an optional icon at the left, the text in its font, colour and
// alignment, and last its background image over the whole element. A press and release on it
// posts a click; unlike buttons it keeps the base hover and leave handlers.
#ifndef UIFRAMEWORK_STATIC_TEXT_H_
#define UIFRAMEWORK_STATIC_TEXT_H_

#include "uiframework/base_element.h"

class CStaticCtl : public CBaseElementCtl {
 public:
  CStaticCtl(IElementOwner* owner, bool layered) : CBaseElementCtl(owner, layered) {}

  // Common attributes, `background`, `color`, `icon`, the font flags (`bigfont`, `samllfont`,
  // `msgboxtitlefont`, `samllerfont`, `titlefount`; the later ones win), `viewport`,
  // `textAlignment`.
  void LoadFromXml(const ElementAttributes& attributes) override;

  void OnLButtonDown(uint32_t flags, int x, int y) override;
  void OnLButtonUp(uint32_t flags, int x, int y) override;
  void Paint(ICanvas& canvas) override;

  FontKind font() const { return font_; }
  Colour colour() const { return colour_; }
  uint32_t text_format() const { return format_; }
  // The format the text is drawn with: the alignment's, or for "LeftTop" 0x8024 beside an icon.
  uint32_t EffectiveFormat() const;
  // Where the text goes: the element, right of the icon when there is one.
  UiRect TextRect() const;

 protected:
  UiImage background_;
  UiImage icon_;
  FontKind font_ = FontKind::kDefault;
  Colour colour_ = 0;
  uint32_t format_ = text_format::kVerticalCentre;
  bool viewport_ = false;
  int scroll_offset_ = 0;
  bool armed_ = false;
};

#endif  // UIFRAMEWORK_STATIC_TEXT_H_
