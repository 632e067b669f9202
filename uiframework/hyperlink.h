// CHyperLinkCtl: a text link. Input as a button; it shows its link, hover and visited colours
// by state, and its click opens its `url` with the shell after the bound handler.
#ifndef UIFRAMEWORK_HYPERLINK_H_
#define UIFRAMEWORK_HYPERLINK_H_

#include "uiframework/button.h"

class CHyperLinkCtl : public CButtonCtl {
 public:
  CHyperLinkCtl(IElementOwner* owner, bool layered);

  // Common attributes, `linkcolor`, `visitedcolor`, `hovercolor`, the font flags `samllfont`,
  // `samllerfont`, `textAlignment` and `url`.
  void LoadFromXml(const ElementAttributes& attributes) override;

  // Runs a no-argument click handler, then opens `url` when there is one.
  void FireClick() override;
  void OnMouseMove(uint32_t flags, int x, int y) override;
  void OnMouseLeave() override;
  void Paint(ICanvas& canvas) override;

  const std::wstring& url() const { return url_; }
  FontKind font() const { return font_; }
  uint32_t text_format() const { return format_; }
  // The text colour of a state.
  Colour ColourFor(int state) const;

 private:
  std::wstring url_;
  uint32_t format_ = text_format::kVerticalCentre;
  Colour link_colour_ = 0;
  Colour visited_colour_ = 0;
  Colour link_hover_colour_ = 0;
};

#endif  // UIFRAMEWORK_HYPERLINK_H_
