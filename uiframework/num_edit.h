// CDUINumEdit: the numeric entry (element `numedit`). It draws its own text and, while focused, a
// blinking bar caret; a click focuses it, and while focused its keys follow NumberEntry's rules
// (digits, one decimal point, Backspace, Delete, Left, Right). No document of the installer uses
// it.
#ifndef UIFRAMEWORK_NUM_EDIT_H_
#define UIFRAMEWORK_NUM_EDIT_H_

#include "uiframework/base_element.h"
#include "uiframework/number_entry.h"

class CDUINumEdit : public CBaseElementCtl {
 public:
  CDUINumEdit(IElementOwner* owner, bool layered);

  // `border`, `textcolor` (colours), `frame` (image: its first quarter unfocused, its third
  // focused); the title is the starting text.
  void LoadFromXml(const ElementAttributes& attributes) override;
  void SetText(const std::wstring& text) override;
  void Paint(ICanvas& canvas) override;

  void OnLButtonDown(uint32_t flags, int x, int y) override;
  void OnKeyDown(uint32_t key) override;
  void OnBlink() override;

  size_t caret() const { return entry_.caret(); }

 private:
  bool takes_keys() const { return focused_ && enabled_; }

  Colour border_ = 0;
  Colour text_colour_ = 0;
  UiImage frame_;
  NumberEntry entry_;
  bool caret_on_ = false;
};

#endif  // UIFRAMEWORK_NUM_EDIT_H_
