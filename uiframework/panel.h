// CPanelCtl: a container element. Its children stay in window coordinates: moving or placing
// the panel moves them with it, showing or hiding it shows or hides every one of them, and
// pointer and keyboard input reaching the panel goes on to its own element list.
#ifndef UIFRAMEWORK_PANEL_H_
#define UIFRAMEWORK_PANEL_H_

#include "uiframework/base_element.h"
#include "uiframework/element_list.h"

class CPanelCtl : public CBaseElementCtl {
 public:
  CPanelCtl(IElementOwner* owner, bool layered);

  // Common attributes, `background`, `backcolor`, `bordercolor`, `border` (=1), then the
  // children, each converted to window coordinates as it is added.
  void LoadFromXml(const ElementAttributes& attributes) override;
  CElementList* children() override { return &children_; }

  // Shows or hides the panel and every child (also one hidden on its own), then repaints once.
  void SetVisible(bool visible) override;
  void ApplyVisible(bool visible) override;
  void MoveTo(int x, int y, int width, int height) override;
  void Relayout(int old_parent_width, int old_parent_height, int new_parent_width, int new_parent_height) override;
  void Paint(ICanvas& canvas) override;

  void OnLButtonDown(uint32_t flags, int x, int y) override { children_.DispatchLButtonDown(flags, x, y); }
  void OnLButtonUp(uint32_t flags, int x, int y) override { children_.DispatchLButtonUp(flags, x, y); }
  void OnRButtonUp(uint32_t flags, int x, int y) override { children_.DispatchRButtonUp(flags, x, y); }
  void OnMouseDoubleClick(uint32_t flags, int x, int y) override { children_.DispatchMouseDoubleClick(flags, x, y); }
  void OnMouseMove(uint32_t flags, int x, int y) override { children_.DispatchMouseMove(flags, x, y); }
  void OnMouseLeave() override { children_.DispatchMouseLeave(); }
  void OnMouseWheel(uint32_t keys, int delta, int x, int y) override {
    children_.DispatchMouseWheel(keys, delta, x, y);
  }
  void OnKeyDown(uint32_t key) override { children_.DispatchKeyDown(key); }
  void OnKeyUp(uint32_t key) override { children_.DispatchKeyUp(key); }
  void OnBlink() override { children_.DispatchBlink(); }
  void OnOwnerMoved() override { children_.DispatchOwnerMoved(); }
  int OnTimer(uint32_t timer_id) override { return children_.DispatchTimer(timer_id); }
  void SetFocusElement(CBaseElementCtl* element) override;

  const UiImage& background() const { return background_; }
  Colour back_colour() const { return back_colour_; }
  Colour border_colour() const { return border_colour_; }
  bool border() const { return border_; }

 protected:
  // Which element names this container accepts (panels: the panel column of the table).
  virtual bool IsTabList() const { return false; }

 private:
  CElementList children_;
  UiImage background_;
  Colour back_colour_ = MakeColour(255, 255, 255);
  Colour border_colour_ = MakeColour(255, 255, 255);
  bool border_ = false;
};

#endif  // UIFRAMEWORK_PANEL_H_
