// CLayeredEditCtl: the text box of layered windows (element `layedit`). This part reads its
// attributes and paints its box and text; the pop-up edit that takes the typing is opened by
// the windows side.
#ifndef UIFRAMEWORK_LAYERED_EDIT_H_
#define UIFRAMEWORK_LAYERED_EDIT_H_

#include "uiframework/base_element.h"

class CLayeredEditCtl : public CBaseElementCtl {
 public:
  enum State { kNormal = 0, kDown = 1, kHover = 2, kDisabled = 3 };

  explicit CLayeredEditCtl(IElementOwner* owner);

  void LoadFromXml(const ElementAttributes& attributes) override;
  // Stores and repaints.
  void SetText(const std::wstring& text) override;
  // Stores only.
  void SetVisible(bool visible) override { visible_ = visible; }
  void MoveTo(int x, int y, int width, int height) override;
  // Keeps the position it was given (inside a panel the panel moves it).
  void Relayout(int, int, int, int) override {}
  void NotifyTab() override;
  void Paint(ICanvas& canvas) override;

  const UiRect& text_rect() const { return text_rect_; }
  int check_path() const { return check_path_; }
  bool password() const { return password_; }

 private:
  void UpdateTextRect(int vertical_inset);

  UiRect text_rect_;
  Colour border_ = MakeColour(102, 102, 102);
  Colour fill_ = MakeColour(40, 39, 43);
  Colour text_colour_ = MakeColour(204, 204, 204);
  Colour normal_text_ = 0, hover_text_ = 0, down_text_ = 0;
  Colour normal_border_ = 0, normal_brush_ = 0, hover_border_ = 0, hover_brush_ = 0, down_brush_ = 0, down_border_ = 0;
  UiImage normal_back_;
  UiImage hover_back_;
  UiImage icon_;
  UiImage image_;
  bool password_ = false;
  int tab_ = 0;
  bool read_only_ = false;
  int index_ = 0;
  int check_path_ = 0;
  int state_ = kNormal;
};

#endif  // UIFRAMEWORK_LAYERED_EDIT_H_
