// COptionLineCtl (type tag "DUIOptionLine"): a caption followed by a horizontal rule to the
// element's right edge, as a heading over a group of options.
#ifndef UIFRAMEWORK_OPTION_LINE_H_
#define UIFRAMEWORK_OPTION_LINE_H_

#include "uiframework/base_element.h"

class COptionLineCtl : public CBaseElementCtl {
 public:
  COptionLineCtl(IElementOwner* owner, bool layered) : CBaseElementCtl(owner, layered) { type_tag_ = kTagOptionLine; }
  // Common attributes, `textcolor`, `linecolor`.
  void LoadFromXml(const ElementAttributes& attributes) override;
  void Paint(ICanvas& canvas) override;

 private:
  Colour text_colour_ = 0;
  Colour line_colour_ = 0;
};

#endif  // UIFRAMEWORK_OPTION_LINE_H_
