// CHotkeyCtl: the hot-key entry (element `hotkey`). A click focuses it; while focused, a key-down
// records the modifiers held and the key, and the box shows them as text ("Ctrl + Shift + F5",
// hotkey_text.h) followed by a bar caret. No document of the installer uses it.
#ifndef UIFRAMEWORK_HOTKEY_CTL_H_
#define UIFRAMEWORK_HOTKEY_CTL_H_

#include "uiframework/base_element.h"
#include "uiframework/hotkey_text.h"

class CHotkeyCtl : public CBaseElementCtl {
 public:
  enum State { kNormal = 0, kHover = 1, kDown = 2, kDisabled = 3 };

  CHotkeyCtl(IElementOwner* owner, bool layered);

  // `border`, `textcolor` (colours), `frame` (image: four quarter-width states).
  void LoadFromXml(const ElementAttributes& attributes) override;
  void Paint(ICanvas& canvas) override;

  void OnLButtonDown(uint32_t flags, int x, int y) override;
  void OnMouseMove(uint32_t flags, int x, int y) override;
  void OnMouseLeave() override;
  void OnKeyDown(uint32_t key) override;
  void OnKeyUp(uint32_t key) override;
  void OnBlink() override;

  const HotkeyPress& press() const { return press_; }
  // The text the box shows now (a key without a name is dropped on the way).
  std::wstring Text() { return HotkeyText(&press_); }

 private:
  bool takes_keys() const { return focused_ && enabled_; }
  void SetState(int state);
  void Record(uint32_t key);

  Colour border_ = 0;
  Colour text_colour_ = 0;
  UiImage frame_;
  HotkeyPress press_;
  int state_ = kNormal;
  bool caret_on_ = false;
};

#endif  // UIFRAMEWORK_HOTKEY_CTL_H_
