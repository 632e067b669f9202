// CLayeredEditCtl: the text box of layered windows (element `layedit`). It paints its box and
// text into the window's bitmap itself; a click opens a native edit in a pop-up window laid
// exactly over its text rectangle (IPopupEdit, made by the owner window), which takes the
// typing until it loses the keyboard focus. While the pop-up is open the element's text follows
// the edit's, so GetText() gives what is being typed, and the box keeps its "down" look.
#ifndef UIFRAMEWORK_LAYERED_EDIT_H_
#define UIFRAMEWORK_LAYERED_EDIT_H_

#include <memory>
#include <string>

#include "uiframework/base_element.h"
#include "uiframework/popup_edit.h"

class CLayeredEditCtl : public CBaseElementCtl, private IPopupEditClient {
 public:
  enum State { kNormal = 0, kDown = 1, kHover = 2, kDisabled = 3 };
  // Characters the pop-up edit accepts from typing and pasting.
  static constexpr int kMaxTextLength = 5000;

  explicit CLayeredEditCtl(IElementOwner* owner);
  ~CLayeredEditCtl() override;

  void LoadFromXml(const ElementAttributes& attributes) override;
  // Stores and repaints; while editing, the pop-up's edit gets the text too.
  void SetText(const std::wstring& text) override;
  // Stores only; hiding also ends an edit in progress, whose pop-up would otherwise stand over
  // whatever shows in the box's place.
  void SetVisible(bool visible) override { ApplyVisible(visible); }
  void ApplyVisible(bool visible) override;
  // Disabling shows the disabled state (the colours of the last other state); enabling, normal.
  void SetEnabled(bool enabled) override;
  // Stores and recomputes the text rectangle.
  void MoveTo(int x, int y, int width, int height) override;
  // Keeps the position it was given (inside a panel the panel moves it).
  void Relayout(int, int, int, int) override {}
  // With a non-zero `tab`: 0x1424, lParam = `index`.
  void NotifyTab() override;
  void Paint(ICanvas& canvas) override;

  void OnLButtonDown(uint32_t flags, int x, int y) override;
  void OnMouseMove(uint32_t flags, int x, int y) override;
  void OnMouseLeave() override;
  void OnLButtonUp(uint32_t flags, int x, int y) override;

  // True while the pop-up edit is open.
  bool editing() const { return popup_ && popup_->IsOpen(); }
  int state() const { return state_; }
  const UiRect& text_rect() const { return text_rect_; }
  int check_path() const { return check_path_; }
  bool password() const { return password_; }

 private:
  // IPopupEditClient.
  void OnPopupEditChar(uint32_t character) override;
  void OnPopupEditText(const std::wstring& text) override;
  void OnPopupEditClosed(const std::wstring& text) override;

  void UpdateTextRect(int vertical_inset);
  // A changed state repaints; while editing the state stays as it is.
  void SetState(int state);
  void OpenPopupEdit();
  bool disabled() const { return state_ == kDisabled; }

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
  bool pressed_ = false;
  bool tracking_ = false;
  int state_ = kNormal;
  // Made on the first click and kept; its window exists only while editing.
  std::unique_ptr<IPopupEdit> popup_;
};

#endif  // UIFRAMEWORK_LAYERED_EDIT_H_
