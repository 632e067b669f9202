#include "uiframework/number_entry.h"

namespace {

constexpr uint32_t kBackspace = 8;
constexpr uint32_t kLeft = 37;
constexpr uint32_t kRight = 39;
constexpr uint32_t kDelete = 46;
constexpr uint32_t kKeypadDecimal = 110;
constexpr uint32_t kPeriod = 190;

}  // namespace

void NumberEntry::SetText(const std::wstring& text) {
  text_ = text;
  caret_ = text_.size();
}

bool NumberEntry::Insert(wchar_t character) {
  text_.insert(caret_, 1, character);
  ++caret_;
  return true;
}

bool NumberEntry::OnKeyDown(uint32_t key) {
  if (key >= '0' && key <= '9') return Insert(static_cast<wchar_t>(key));
  if (key >= 96 && key <= 105) return Insert(static_cast<wchar_t>(L'0' + (key - 96)));
  switch (key) {
    case kPeriod:
    case kKeypadDecimal:
      if (text_.find(L'.') != std::wstring::npos) return false;
      return Insert(L'.');
    case kBackspace:
      if (caret_ == 0) return false;
      text_.erase(--caret_, 1);
      return true;
    case kDelete:
      if (caret_ >= text_.size()) return false;
      text_.erase(caret_, 1);
      return true;
    case kLeft:
      if (caret_ == 0) return false;
      --caret_;
      return true;
    case kRight:
      if (caret_ >= text_.size()) return false;
      ++caret_;
      return true;
    default: return false;
  }
}
