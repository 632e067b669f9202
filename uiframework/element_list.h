// CElementList: the ordered elements of a window or a panel. It owns them, paints them in
// order (earlier ones lie underneath), places them when the parent's size changes, finds them
// by id and dispatches pointer and keyboard input to them.
#ifndef UIFRAMEWORK_ELEMENT_LIST_H_
#define UIFRAMEWORK_ELEMENT_LIST_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "uiframework/base_element.h"

class CElementList {
 public:
  explicit CElementList(IElementOwner* owner = nullptr) : owner_(owner) {}
  ~CElementList() { Clear(); }
  CElementList(const CElementList&) = delete;
  CElementList& operator=(const CElementList&) = delete;

  void SetOwnerWindow(IElementOwner* owner) { owner_ = owner; }
  // Appends at the end (painted last, on top).
  void Add(std::unique_ptr<CBaseElementCtl> element);
  // Deletes every element.
  void Clear();
  size_t size() const { return elements_.size(); }
  CBaseElementCtl* at(size_t index) const { return elements_[index].get(); }

  // Depth-first in list order: a panel's children before the panel's own id; first match wins.
  CBaseElementCtl* FindElement(const std::wstring& id) const;

  void Paint(ICanvas& canvas);
  void Relayout(int old_width, int old_height, int new_width, int new_height);
  // Rectangle changes of the whole list (panels moving their children).
  void Offset(int dx, int dy);

  void DispatchMouseMove(uint32_t flags, int x, int y);
  void DispatchLButtonDown(uint32_t flags, int x, int y);
  // Stops after the first "DirectButton" under the pointer.
  void DispatchLButtonUp(uint32_t flags, int x, int y);
  void DispatchRButtonUp(uint32_t flags, int x, int y);
  void DispatchMouseDoubleClick(uint32_t flags, int x, int y);
  void DispatchMouseWheel(uint32_t keys, int delta, int x, int y);
  // Ends the hover (the pointer left the window or the owning panel).
  void DispatchMouseLeave();
  void DispatchKeyDown(uint32_t key);
  void DispatchKeyUp(uint32_t key);
  int DispatchTimer(uint32_t timer_id);
  void DispatchBlink();
  void DispatchOwnerMoved();
  void SetFocusElement(CBaseElementCtl* element);
  // True when a visible, enabled element contains the point (the window's hit test).
  bool AnyElementAt(int x, int y) const;
  CBaseElementCtl* hovered() const { return hovered_; }

 private:
  static bool Takes(const CBaseElementCtl& element, int x, int y) {
    return element.IsVisible() && element.IsEnabled() && element.HitTest(x, y);
  }

  IElementOwner* owner_;
  std::vector<std::unique_ptr<CBaseElementCtl>> elements_;
  CBaseElementCtl* hovered_ = nullptr;
};

#endif  // UIFRAMEWORK_ELEMENT_LIST_H_
