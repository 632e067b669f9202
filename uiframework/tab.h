// CTabCtl and CTabListCtl: tabs are buttons that stay down while selected; a tab list is a panel
// of tabs that selects one and shows the page element kept for its id.
#ifndef UIFRAMEWORK_TAB_H_
#define UIFRAMEWORK_TAB_H_

#include <map>
#include <string>

#include "uiframework/button.h"
#include "uiframework/panel.h"

class CTabListCtl;

class CTabCtl : public CButtonCtl {
 public:
  CTabCtl(IElementOwner* owner, bool layered) : CButtonCtl(owner, layered) { type_tag_.clear(); }

  void SetTabList(CTabListCtl* list) { list_ = list; }
  // selected := flag; unless disabled, pressed and state follow it (down or normal).
  void SetSelected(bool selected);
  bool selected() const { return selected_; }

  void OnMouseLeave() override;
  // A release of a press selects the tab in its list after posting the click.
  void OnLButtonUp(uint32_t flags, int x, int y) override;
  // Always the tab's rectangle grown by 2 px at top and bottom, never a layered render.
  void Invalidate(bool repaint) override;

 private:
  bool selected_ = false;
  CTabListCtl* list_ = nullptr;
};

class CTabListCtl : public CPanelCtl {
 public:
  CTabListCtl(IElementOwner* owner, bool layered) : CPanelCtl(owner, layered) {}

  // Reads its `tab` children (nothing else) and makes itself their list.
  void LoadFromXml(const ElementAttributes& attributes) override;
  // The element shown while the tab with `tab_id` is selected.
  void SetPage(const std::wstring& tab_id, CBaseElementCtl* page) { pages_[tab_id] = page; }
  // Every tab: SetSelected(its id == tab_id); every page: SetVisible(its key == tab_id).
  void Select(const std::wstring& tab_id);
  // Its tabs only.
  void Paint(ICanvas& canvas) override;

 protected:
  bool IsTabList() const override { return true; }

 private:
  std::map<std::wstring, CBaseElementCtl*> pages_;
};

#endif  // UIFRAMEWORK_TAB_H_
