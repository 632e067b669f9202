#include "uiframework/progress.h"

#include <cstdio>

CProgressCtl::CProgressCtl(IElementOwner* owner, bool layered) : CBaseElementCtl(owner, layered) {
  enabled_ = false;
}

void CProgressCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  background_ = attributes.Image("background");
  progress_image_ = attributes.Image("progress");
  progress_width_ = ClampCoordinate(attributes.Integer("progress_width"));
  light_point_ = attributes.Image("image");
  light_point_delta_ = attributes.Integer("lightpointdela");
}

void CProgressCtl::SetProgress(float position) {
  position_ = position;
  Invalidate(true);
}

int CProgressCtl::FillWidth() const {
  return static_cast<int>(static_cast<float>(progress_width_) * position_);
}

std::wstring CProgressCtl::Label() const {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f%%", static_cast<double>(position_ * 100.0f));
  text[25] = '\0';  // the label holds at most 25 characters
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

UiRect CProgressCtl::LabelRect() const {
  return UiRect{progress_width_ - 12, y_ + 20, progress_width_ + 43, y_ + 44};
}

void CProgressCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  const UiRect bar = MakeRect(x_, y_, progress_width_, height_);
  if (background_.valid()) {
    // The bar rectangle, like every other part of the bar.
    canvas.BlendImage(background_, bar, MakeRect(0, 0, background_.width, background_.height));
  } else if (layered_) {
    canvas.RoundRect(bar, background_colour_, background_colour_, true);
  } else {
    canvas.Rectangle(bar, background_colour_, background_colour_, false);
  }
  const int fill = FillWidth();
  if (progress_image_.valid()) {
    if (fill > 0) {
      canvas.BlendImage(progress_image_, MakeRect(x_, y_, fill, progress_image_.height),
                        MakeRect(0, 0, progress_image_.width, progress_image_.height));
    }
  } else {
    canvas.FillRect(MakeRect(x_, y_, fill, height_), fill_colour_);
  }
  canvas.DrawString(Label(), LabelRect(), FontKind::kDefault, MakeColour(255, 255, 255),
                    text_format::kEndEllipsis | text_format::kSingleLine | text_format::kVerticalCentre, layered_);
}
