// CTreeCtl (type tag "DUITree"): a container of items, each able to hold child items. The tree
// forwards pointer input to the item under the pointer (depth first, in sibling order) and
// sends the tooltip and cursor messages when the hovered item changes, as an element list does.
// No document of this program holds a tree and nothing adds items to one.
#ifndef UIFRAMEWORK_TREE_H_
#define UIFRAMEWORK_TREE_H_

#include <memory>
#include <vector>

#include "uiframework/base_element.h"

class CTreeItem : public CBaseElementCtl {
 public:
  CTreeItem(IElementOwner* owner, bool layered) : CBaseElementCtl(owner, layered) {}
  CTreeItem* AddChild(std::unique_ptr<CTreeItem> child);
  const std::vector<std::unique_ptr<CTreeItem>>& items() const { return children_; }
  // Returns to its normal look when another item is pressed.
  virtual void ResetPressed() {}

 private:
  std::vector<std::unique_ptr<CTreeItem>> children_;
};

class CTreeCtl : public CBaseElementCtl {
 public:
  CTreeCtl(IElementOwner* owner, bool layered) : CBaseElementCtl(owner, layered) { type_tag_ = kTagTree; }

  // Common attributes and `background`.
  void LoadFromXml(const ElementAttributes& attributes) override;
  CTreeItem* AddItem(std::unique_ptr<CTreeItem> item);
  // The first visible item containing the point: an item, then its children, depth first.
  CTreeItem* ItemAt(int x, int y) const;

  void OnMouseMove(uint32_t flags, int x, int y) override;
  void OnMouseLeave() override;
  // The previously pressed item returns to normal; the press goes to the item under the pointer.
  void OnLButtonDown(uint32_t flags, int x, int y) override;
  void OnLButtonUp(uint32_t flags, int x, int y) override;
  // A white field with the visible items (the scroll offset stays 0 in this program).
  void Paint(ICanvas& canvas) override;

 private:
  std::vector<std::unique_ptr<CTreeItem>> items_;
  UiImage background_;
  CTreeItem* hovered_ = nullptr;
  CTreeItem* pressed_ = nullptr;
};

#endif  // UIFRAMEWORK_TREE_H_
