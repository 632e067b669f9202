#include "uiframework/tab.h"

void CTabCtl::SetSelected(bool selected) {
  selected_ = selected;
  if (disabled()) return;
  pressed_ = selected;
  state_ = selected ? kDown : kNormal;
}

void CTabCtl::OnMouseLeave() {
  tracking_ = false;
  SetState(pressed_ ? kDown : kNormal);
}

void CTabCtl::OnLButtonUp(uint32_t, int, int) {
  if (disabled() || !pressed_ || state_ != kDown) return;
  NotifyClick();
  if (list_) list_->Select(id_);
}

void CTabCtl::Invalidate(bool repaint) {
  if (!owner_ || !repaint) return;
  UiRect area = GetRect();
  area.top -= 2;
  area.bottom += 2;
  owner_->InvalidateArea(area);
}

void CTabListCtl::LoadFromXml(const ElementAttributes& attributes) {
  CPanelCtl::LoadFromXml(attributes);
  for (size_t i = 0; i < children()->size(); ++i) {
    if (auto* tab = dynamic_cast<CTabCtl*>(children()->at(i))) tab->SetTabList(this);
  }
}

void CTabListCtl::Select(const std::wstring& tab_id) {
  for (size_t i = 0; i < children()->size(); ++i) {
    if (auto* tab = dynamic_cast<CTabCtl*>(children()->at(i))) tab->SetSelected(tab->GetId() == tab_id);
  }
  for (const auto& page : pages_) {
    if (page.second) page.second->SetVisible(page.first == tab_id);
  }
}

void CTabListCtl::Paint(ICanvas& canvas) {
  if (visible_) children()->Paint(canvas);
}
