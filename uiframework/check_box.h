// CCheckBoxCtl: a button that toggles on the press (posting 0x1426 at once) and posts a click on
// the release; its three-frame strip shows unchecked, hover and checked.
#ifndef UIFRAMEWORK_CHECK_BOX_H_
#define UIFRAMEWORK_CHECK_BOX_H_

#include "uiframework/button.h"

class CCheckBoxCtl : public CButtonCtl {
 public:
  CCheckBoxCtl(IElementOwner* owner, bool layered);

  // Common attributes, `image` (three frames) and `textcolor`. A document that omits them leaves
  // no image and black text.
  void LoadFromXml(const ElementAttributes& attributes) override;

  int GetCheck() const { return checked_ ? 1 : 0; }
  // No repaint: the caller asks for Invalidate(true).
  void SetCheck(bool checked);

  void OnLButtonDown(uint32_t flags, int x, int y) override;
  void OnMouseMove(uint32_t flags, int x, int y) override;
  void OnMouseLeave() override;
  void OnLButtonUp(uint32_t flags, int x, int y) override;
  void Paint(ICanvas& canvas) override;

  // The strip frame a state shows: checked (down, and the extra states 4 and 5) 2, hover 1,
  // anything else 0.
  static int CheckFrameOf(int state);

 protected:
  // Frames in the strip (three for check boxes).
  virtual int FrameCount() const { return 3; }
  virtual int FrameFor(int state) const { return CheckFrameOf(state); }

  bool checked_ = false;
  Colour box_text_colour_ = MakeColour(67, 75, 94);
};

#endif  // UIFRAMEWORK_CHECK_BOX_H_
