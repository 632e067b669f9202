// CRadioButtonCtl: a check box that only turns on: a press on an unselected one selects it and
// sends 12000 to the owner window. Its strip holds four half-width frames.
#ifndef UIFRAMEWORK_RADIO_BUTTON_H_
#define UIFRAMEWORK_RADIO_BUTTON_H_

#include "uiframework/check_box.h"

class CRadioButtonCtl : public CCheckBoxCtl {
 public:
  CRadioButtonCtl(IElementOwner* owner, bool layered) : CCheckBoxCtl(owner, layered) {}

  // Common attributes and `image` only.
  void LoadFromXml(const ElementAttributes& attributes) override;
  void OnLButtonDown(uint32_t flags, int x, int y) override;
  bool selected() const { return checked_; }

 protected:
  int FrameCount() const override { return 2; }
  // Down 1, the extra states 4 and 5 frames 2 and 3, anything else 0.
  int FrameFor(int state) const override;
};

#endif  // UIFRAMEWORK_RADIO_BUTTON_H_
