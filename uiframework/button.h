// CButtonCtl: the push button (type tag "DirectButton"): a four-state machine (normal, hover,
// down, disabled) driven by the pointer, a click posted when a press is released over it, and
// its look: a frame of its image strip (blended, or nine-sliced when the element is larger), or
// without an image a rounded fill, then icons and the caption.
#ifndef UIFRAMEWORK_BUTTON_H_
#define UIFRAMEWORK_BUTTON_H_

#include "uiframework/base_element.h"

class CButtonCtl : public CBaseElementCtl {
 public:
  // Visual states; also the order of the strips' frames is normal, hover, down, disabled.
  enum State { kNormal = 0, kDown = 1, kHover = 2, kDisabled = 3 };

  CButtonCtl(IElementOwner* owner, bool layered);

  void LoadFromXml(const ElementAttributes& attributes) override;

  // state := enabled ? normal : disabled, repainting when it changed.
  void EnableButton(bool enabled);
  void SetIcon(const UiImage& icon) { icon_ = icon; }
  void ShowAlertBorder() override;
  void HideAlertBorder() override;

  void OnLButtonDown(uint32_t flags, int x, int y) override;
  void OnMouseMove(uint32_t flags, int x, int y) override;
  void OnMouseLeave() override;
  void OnLButtonUp(uint32_t flags, int x, int y) override;
  void Paint(ICanvas& canvas) override;

  int state() const { return state_; }
  bool pressed() const { return pressed_; }
  bool alert_border() const { return alert_border_; }
  FontKind text_font() const { return font_; }
  // The frame of the strip that `state` shows: normal 0, hover 1, down 2, disabled 3.
  static int FrameIndexOf(int state);
  // The corner margins a nine-slice of the image uses (all zero becomes 3, 6, 3, 6).
  Margins NineSliceCorners() const;

 protected:
  // Changes the visual state; repaints when it changed.
  void SetState(int state);
  bool disabled() const { return state_ == kDisabled; }
  // Source rectangle of frame `index` of a four-frame strip.
  UiRect StripFrame(const UiImage& image, int index) const;
  void PaintImageBackground(ICanvas& canvas, const UiRect& rect, int frame) const;
  // The icons and the caption (the part after the background).
  void PaintContent(ICanvas& canvas, const UiRect& rect, Colour text_colour);
  // The icon strip: how many frames side by side, and the one to draw (the state's by default).
  virtual int IconFrameCount() const { return 4; }
  virtual int IconFrame() { return FrameIndexOf(state_); }
  // Where the small icon goes: centred with the caption (buttons) or at the left edge.
  virtual bool SmallIconAtLeftEdge() const { return false; }
  Colour StateTextColour() const;

  bool tracking_ = false;
  bool pressed_ = false;
  int state_ = kNormal;
  UiImage image_;
  UiImage icon_;
  UiImage small_icon_;
  Colour text_colour_ = 0;
  Colour hover_colour_ = 0;
  Colour down_colour_ = 0;
  Colour disabled_colour_ = 0;
  int frame_orientation_ = 0;  // 0 side by side, 1 stacked
  int text_width_after_icon_ = 0;
  Margins corner_;
  FontKind font_ = FontKind::kDefault;
  int hdelta_ = 0;
  Colour normal_border_ = 0;
  Colour normal_brush_ = 0;
  Colour hover_border_ = 0;
  Colour hover_brush_ = 0;
  Colour down_brush_ = 0;
  Colour down_border_ = 0;
  bool alert_border_ = false;
};

#endif  // UIFRAMEWORK_BUTTON_H_
