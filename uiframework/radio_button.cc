#include "uiframework/radio_button.h"

void CRadioButtonCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  image_ = attributes.Image("image");
}

void CRadioButtonCtl::OnLButtonDown(uint32_t, int, int) {
  if (disabled() || checked_) return;
  pressed_ = true;
  checked_ = true;
  SetState(kDown);
  if (owner_) owner_->SendElementMessage(element_message::kRadioSelected, this);
}

int CRadioButtonCtl::FrameFor(int state) const {
  if (state == kDown) return 1;
  if (state == 4) return 2;
  if (state == 5) return 3;
  return 0;
}
