#include "uiframework/option_line.h"

void COptionLineCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  text_colour_ = attributes.ColourValue("textcolor");
  line_colour_ = attributes.ColourValue("linecolor");
}

void COptionLineCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  int line_start = x_;
  if (!text_.empty()) {
    const int caption = canvas.MeasureText(text_, FontKind::kDefault) + 10;
    canvas.DrawString(text_, MakeRect(x_, y_, caption, height_), FontKind::kDefault, text_colour_, 0, layered_);
    line_start = x_ + caption;
  }
  const int middle = y_ + height_ / 2;
  canvas.Line(line_start, middle, x_ + width_, middle, line_colour_, layered_);
}
