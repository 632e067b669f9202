// CBaseElementCtl: one UI element of a layout document: identity, text, rectangle, alignment
// rules, flags and the seven handler slots, with the virtual operations through which its
// element list places, paints, hit-tests and feeds it. Coordinates are window client
// coordinates once the element is placed. Platform-free: the owner window is an IElementOwner
// and painting goes to an ICanvas.
#ifndef UIFRAMEWORK_BASE_ELEMENT_H_
#define UIFRAMEWORK_BASE_ELEMENT_H_

#include <cstdint>
#include <string>

#include "uiframework/canvas.h"
#include "uiframework/element_attributes.h"
#include "uiframework/element_handler.h"
#include "uiframework/element_owner.h"
#include "uiframework/ui_types.h"

class CElementList;

// Type tags by which a few kinds are recognised at run time.
extern const wchar_t kTagDirectButton[];  // "DirectButton": buttons (their release ends the walk)
extern const wchar_t kTagPanel[];         // "Panel": searched by FindElement, no tooltip on hover
extern const wchar_t kTagOptionLine[];    // "DUIOptionLine"
extern const wchar_t kTagTree[];          // "DUITree"

// The placement rules, read by LoadAlignment.
class CWindowCtlStyle {
 public:
  virtual ~CWindowCtlStyle() = default;
  // Reads `xAlignment`, `yAlignment`, `xStretch`, `yStretch` (absent or unknown: left, top, none).
  virtual void LoadAlignment(const ElementAttributes& attributes);

  int x_alignment() const { return x_alignment_; }
  int y_alignment() const { return y_alignment_; }
  int x_stretch() const { return x_stretch_; }
  int y_stretch() const { return y_stretch_; }

 protected:
  int x_alignment_ = 1;
  int y_alignment_ = 2;
  int x_stretch_ = 0;
  int y_stretch_ = 0;
};

class CBaseElementCtl : public CWindowCtlStyle {
 public:
  CBaseElementCtl(IElementOwner* owner, bool layered) : owner_(owner), layered_(layered) {}
  CBaseElementCtl(const CBaseElementCtl&) = delete;
  CBaseElementCtl& operator=(const CBaseElementCtl&) = delete;

  // Kind-specific attributes; every kind reads the common ones first.
  virtual void LoadFromXml(const ElementAttributes& attributes) { LoadCommonAttributes(attributes); }
  // `id`, `name`, `title`, `tip`, `style`, `style_ex`, `left`, `top`, `width`, `height` (both the
  // current and the design rectangle), then the alignment rules.
  virtual void LoadCommonAttributes(const ElementAttributes& attributes);

  const std::wstring& GetId() const { return id_; }
  const std::wstring& GetName() const { return name_; }
  const std::wstring& GetText() const { return text_; }
  const std::wstring& GetTip() const { return tip_; }
  const std::wstring& GetTypeTag() const { return type_tag_; }
  // Stores only; the caller asks for Invalidate.
  virtual void SetText(const std::wstring& text) { text_ = text; }
  virtual void SetTip(const std::wstring& tip) { tip_ = tip; }
  virtual void SetId(const std::wstring& id) { id_ = id; }
  virtual void SetName(const std::wstring& name) { name_ = name; }
  int32_t style() const { return style_; }
  int32_t style_ex() const { return style_ex_; }

  virtual void SetEnabled(bool enabled) { enabled_ = enabled; }
  virtual bool IsEnabled() const { return enabled_; }
  virtual bool IsVisible() const { return visible_; }
  // Stores a changed value and repaints; panels cascade it to their children.
  virtual void SetVisible(bool visible);
  // Sets the flag without a repaint request; containers pass it on to their children.
  virtual void ApplyVisible(bool visible) { visible_ = visible; }
  virtual void SetBlinking(bool blinking) { blinking_ = blinking; }
  virtual bool IsBlinking() const { return blinking_; }
  virtual void SetFocusElement(CBaseElementCtl* element) { focused_ = element == this; }
  virtual void SetFocused(bool focused) { focused_ = focused; }
  virtual bool IsFocused() const { return focused_; }
  bool layered() const { return layered_; }
  IElementOwner* GetOwnerWindow() const { return owner_; }
  void SetOwnerWindow(IElementOwner* owner) { owner_ = owner; }

  // The current rectangle (panels move their children with them).
  virtual void SetBounds(int left, int top, int right, int bottom) { MoveTo(left, top, right - left, bottom - top); }
  virtual void MoveTo(int x, int y, int width, int height) { StoreRect(x, y, width, height); }
  void SetDesignRect(int x, int y, int width, int height);
  UiRect GetRect() const { return MakeRect(x_ + origin_x_, y_ + origin_y_, width_, height_); }
  UiRect GetDesignRect() const { return MakeRect(design_x_, design_y_, design_width_, design_height_); }

  PointerShape GetCursor() const { return cursor_; }
  void SetCursor(PointerShape cursor) { cursor_ = cursor; }

  void SetPressHandler(const ElementHandler& handler) { press_ = handler; }
  void SetClickHandler(const ElementHandler& handler) { click_ = handler; }
  void SetRightClickHandler(const ElementHandler& handler) { right_click_ = handler; }
  void SetHoverHandler(const ElementHandler& handler) { hover_ = handler; }
  void SetLeaveHandler(const ElementHandler& handler) { leave_ = handler; }
  void SetEnterHandler(const ElementHandler& handler) { enter_ = handler; }
  void SetCommandHandler(const ElementHandler& handler) { command_ = handler; }

  // Repaint request: nothing without an owner or when `repaint` is false; layered elements ask
  // for a whole-window render, others invalidate their rectangle.
  virtual void Invalidate(bool repaint);

  // Posted notifications (wParam = this element).
  virtual void NotifyPress();
  virtual void NotifyClick();
  virtual void NotifyEnter();
  virtual void NotifyTab() {}

  // Input, in window client coordinates; `flags` are the mouse-message key flags.
  virtual void OnLButtonDown(uint32_t flags, int x, int y);
  virtual void OnMouseDoubleClick(uint32_t flags, int x, int y);
  virtual void OnLButtonUp(uint32_t flags, int x, int y);
  virtual void OnRButtonUp(uint32_t flags, int x, int y);
  virtual void OnMouseMove(uint32_t flags, int x, int y);
  virtual void OnMouseLeave();
  virtual void OnMouseWheel(uint32_t keys, int delta, int x, int y);
  virtual void OnKeyDown(uint32_t /*key*/) {}
  virtual void OnKeyUp(uint32_t /*key*/) {}
  virtual void OnBlink() {}
  virtual void OnOwnerMoved() {}
  virtual int OnTimer(uint32_t /*timer_id*/) { return 0; }
  virtual void ShowAlertBorder() {}
  virtual void HideAlertBorder() {}
  virtual int ScrollBy(int dy);

  virtual void Paint(ICanvas& /*canvas*/) {}
  // Places the element for a parent that changed from old to new size (see the .cc).
  virtual void Relayout(int old_parent_width, int old_parent_height, int new_parent_width, int new_parent_height);
  // Both edges inclusive.
  virtual bool HitTest(int x, int y) const;

  // Called by the owner window in answer to the notifications.
  virtual void FireClick() { click_.Fire(id_); }
  virtual void FireRightClick() { right_click_.Fire(id_); }
  virtual void FireEnter() { enter_.Fire(id_); }
  virtual void FirePress() { press_.Fire(id_); }
  virtual void FireCommand() { command_.Fire(id_); }

  // The children of a container (panels, tab lists), or null.
  virtual CElementList* children() { return nullptr; }

 protected:
  // The rectangle the placement rules give for the parent's change of size.
  UiRect PlacementFor(int old_parent_width, int old_parent_height, int new_parent_width, int new_parent_height) const;
  void StoreRect(int x, int y, int width, int height);
  void Post(uint32_t message);
  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }

  IElementOwner* owner_;
  std::wstring id_;
  std::wstring name_;
  std::wstring text_;
  std::wstring type_tag_;
  std::wstring tip_;
  int32_t style_ = 0;
  int32_t style_ex_ = 0;
  int x_ = 0;
  int y_ = 0;
  int design_x_ = 0;
  int design_y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int design_width_ = 0;
  int design_height_ = 0;
  int origin_x_ = 0;
  int origin_y_ = 0;
  bool enabled_ = true;
  bool blinking_ = false;
  bool focused_ = false;
  bool visible_ = true;
  PointerShape cursor_ = PointerShape::kArrow;
  bool layered_;
  ElementHandler press_;
  ElementHandler click_;
  ElementHandler right_click_;
  ElementHandler hover_;
  ElementHandler leave_;
  ElementHandler enter_;
  ElementHandler command_;
};

#endif  // UIFRAMEWORK_BASE_ELEMENT_H_
