#include "uiframework/element_list.h"

void CElementList::Add(std::unique_ptr<CBaseElementCtl> element) {
  if (element) elements_.push_back(std::move(element));
}

void CElementList::Clear() {
  hovered_ = nullptr;
  elements_.clear();
}

CBaseElementCtl* CElementList::FindElement(const std::wstring& id) const {
  for (const auto& element : elements_) {
    if (element->GetTypeTag() == kTagPanel && element->children()) {
      if (CBaseElementCtl* inner = element->children()->FindElement(id)) return inner;
    }
    if (element->GetId() == id) return element.get();
  }
  return nullptr;
}

void CElementList::Paint(ICanvas& canvas) {
  for (const auto& element : elements_) {
    if (element->IsVisible()) element->Paint(canvas);
  }
}

void CElementList::Relayout(int old_width, int old_height, int new_width, int new_height) {
  for (const auto& element : elements_) element->Relayout(old_width, old_height, new_width, new_height);
}

void CElementList::Offset(int dx, int dy) {
  for (const auto& element : elements_) {
    const UiRect rect = element->GetRect();
    element->MoveTo(rect.left + dx, rect.top + dy, rect.width(), rect.height());
  }
}

void CElementList::DispatchMouseMove(uint32_t flags, int x, int y) {
  CBaseElementCtl* now = nullptr;
  for (const auto& element : elements_) {
    if (Takes(*element, x, y)) now = element.get();  // the last one lies on top
  }
  const bool changed = now != hovered_;
  if (changed && hovered_) {
    // An element that vanished under a pointer now over nothing is simply forgotten.
    const bool gone = !now && !(hovered_->IsVisible() && hovered_->IsEnabled());
    if (!gone) {
      hovered_->OnMouseLeave();
      if (owner_) {
        owner_->SendTooltip(false, std::wstring());
        owner_->SendCursor(hovered_->GetCursor());
      }
    }
  }
  hovered_ = now;
  if (!now) return;
  now->OnMouseMove(flags, x, y);
  if (changed && now->GetTypeTag() != kTagPanel && owner_) {
    owner_->SendTooltip(true, now->GetTip());
    owner_->SendCursor(now->GetCursor());
  }
}

void CElementList::DispatchMouseLeave() {
  if (!hovered_) return;
  CBaseElementCtl* left = hovered_;
  hovered_ = nullptr;
  left->OnMouseLeave();
  if (owner_) {
    owner_->SendTooltip(false, std::wstring());
    owner_->SendCursor(left->GetCursor());
  }
}

void CElementList::DispatchLButtonDown(uint32_t flags, int x, int y) {
  for (const auto& element : elements_) {
    if (Takes(*element, x, y)) element->OnLButtonDown(flags, x, y);
  }
}

void CElementList::DispatchLButtonUp(uint32_t flags, int x, int y) {
  for (const auto& element : elements_) {
    if (!Takes(*element, x, y)) continue;
    element->OnLButtonUp(flags, x, y);
    if (element->GetTypeTag() == kTagDirectButton) return;
  }
}

void CElementList::DispatchRButtonUp(uint32_t flags, int x, int y) {
  for (const auto& element : elements_) {
    if (Takes(*element, x, y)) element->OnRButtonUp(flags, x, y);
  }
}

void CElementList::DispatchMouseDoubleClick(uint32_t flags, int x, int y) {
  for (const auto& element : elements_) {
    if (Takes(*element, x, y)) element->OnMouseDoubleClick(flags, x, y);
  }
}

void CElementList::DispatchMouseWheel(uint32_t keys, int delta, int x, int y) {
  for (const auto& element : elements_) {
    if (Takes(*element, x, y)) element->OnMouseWheel(keys, delta, x, y);
  }
}

void CElementList::DispatchKeyDown(uint32_t key) {
  for (const auto& element : elements_) element->OnKeyDown(key);
}

void CElementList::DispatchKeyUp(uint32_t key) {
  for (const auto& element : elements_) element->OnKeyUp(key);
}

int CElementList::DispatchTimer(uint32_t timer_id) {
  int handled = 0;
  for (const auto& element : elements_) handled |= element->OnTimer(timer_id);
  return handled;
}

void CElementList::DispatchBlink() {
  for (const auto& element : elements_) {
    if (element->IsVisible() && element->IsBlinking()) element->OnBlink();
  }
}

void CElementList::DispatchOwnerMoved() {
  for (const auto& element : elements_) {
    if (element->IsVisible() && element->IsEnabled()) element->OnOwnerMoved();
  }
}

void CElementList::SetFocusElement(CBaseElementCtl* element) {
  for (const auto& each : elements_) each->SetFocusElement(element);
}

bool CElementList::AnyElementAt(int x, int y) const {
  for (const auto& element : elements_) {
    if (Takes(*element, x, y)) return true;
  }
  return false;
}
