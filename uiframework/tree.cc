#include "uiframework/tree.h"

namespace {

CTreeItem* FindItemAt(const std::vector<std::unique_ptr<CTreeItem>>& items, int x, int y) {
  for (const auto& item : items) {
    if (!item->IsVisible()) continue;
    if (item->HitTest(x, y)) return item.get();
    if (CTreeItem* inner = FindItemAt(item->items(), x, y)) return inner;
  }
  return nullptr;
}

void PaintItems(const std::vector<std::unique_ptr<CTreeItem>>& items, ICanvas& canvas) {
  for (const auto& item : items) {
    if (!item->IsVisible()) continue;
    item->Paint(canvas);
    PaintItems(item->items(), canvas);
  }
}

}  // namespace

CTreeItem* CTreeItem::AddChild(std::unique_ptr<CTreeItem> child) {
  children_.push_back(std::move(child));
  return children_.back().get();
}

void CTreeCtl::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  background_ = attributes.Image("background");
}

CTreeItem* CTreeCtl::AddItem(std::unique_ptr<CTreeItem> item) {
  items_.push_back(std::move(item));
  return items_.back().get();
}

CTreeItem* CTreeCtl::ItemAt(int x, int y) const {
  return FindItemAt(items_, x, y);
}

void CTreeCtl::OnMouseMove(uint32_t flags, int x, int y) {
  CTreeItem* now = ItemAt(x, y);
  if (now != hovered_) {
    if (hovered_) {
      hovered_->OnMouseLeave();
      if (owner_) {
        owner_->SendTooltip(false, std::wstring());
        owner_->SendCursor(hovered_->GetCursor());
      }
    }
    if (now && owner_) {
      owner_->SendTooltip(true, now->GetTip());
      owner_->SendCursor(now->GetCursor());
    }
    hovered_ = now;
  }
  if (now) now->OnMouseMove(flags, x, y);
}

void CTreeCtl::OnMouseLeave() {
  if (hovered_) hovered_->OnMouseLeave();
  hovered_ = nullptr;
}

void CTreeCtl::OnLButtonDown(uint32_t flags, int x, int y) {
  CTreeItem* item = ItemAt(x, y);
  if (!item) return;
  if (pressed_ && pressed_ != item) pressed_->ResetPressed();
  pressed_ = item;
  item->OnLButtonDown(flags, x, y);
}

void CTreeCtl::OnLButtonUp(uint32_t flags, int x, int y) {
  if (CTreeItem* item = ItemAt(x, y)) item->OnLButtonUp(flags, x, y);
}

void CTreeCtl::Paint(ICanvas& canvas) {
  if (!visible_) return;
  canvas.FillRect(GetRect(), MakeColour(255, 255, 255));
  PaintItems(items_, canvas);
}
