// CProgressCtl: the progress bar: a background, a fill of trunc(progress_width x position) px and
// a "%.1f%%" label under the right end of the bar. It takes no pointer input.
#ifndef UIFRAMEWORK_PROGRESS_H_
#define UIFRAMEWORK_PROGRESS_H_

#include <string>

#include "uiframework/base_element.h"

class CProgressCtl : public CBaseElementCtl {
 public:
  CProgressCtl(IElementOwner* owner, bool layered);

  // Common attributes, `background`, `progress`, `progress_width`, `image`, `lightpointdela`.
  void LoadFromXml(const ElementAttributes& attributes) override;
  // Stores the fraction (0.0 to 1.0) and repaints.
  void SetProgress(float position);
  float position() const { return position_; }
  int progress_width() const { return progress_width_; }
  void Paint(ICanvas& canvas) override;

  // The filled width for the current position.
  int FillWidth() const;
  // "33.3%" for 0.333.
  std::wstring Label() const;
  // The label's rectangle; its x coordinates are window coordinates as they stand (they are not
  // offset by the bar's x), which puts the label under the right end of the main window's bar.
  UiRect LabelRect() const;

 private:
  UiImage background_;
  UiImage progress_image_;
  UiImage light_point_;  // kept, not drawn
  Colour background_colour_ = MakeColour(53, 53, 61);
  Colour fill_colour_ = MakeColour(144, 197, 38);
  int light_point_delta_ = 0;  // kept, not drawn
  int progress_width_ = 0;
  float position_ = 0.0f;
};

#endif  // UIFRAMEWORK_PROGRESS_H_
