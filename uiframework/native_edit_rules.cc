#include "uiframework/native_edit_rules.h"

namespace native_edit_rules {

const wchar_t kSimEditCueBanner[] = L"\x8F93\x5165\x7F51\x5740\x6216\x60A8\x8981\x641C\x7D22\x7684\x5173\x952E\x5B57";

namespace {

// A rectangle whose far edges do not pass its near ones.
UiRect Ordered(int left, int top, int right, int bottom) {
  return UiRect{left, top, right < left ? left : right, bottom < top ? top : bottom};
}

}  // namespace

UiRect ChildEditArea(const UiRect& element, int icon_width, int right_margin) {
  const int icon = icon_width > 0 ? icon_width : 0;
  const int margin = right_margin > 0 ? right_margin : 0;
  return Ordered(element.left + 5 + icon, element.top + 5, element.right - 5 - margin, element.bottom - 1);
}

UiRect IconArea(const UiRect& element) {
  return MakeRect(element.left + 5, element.top + (element.height() - kIconSize) / 2, kIconSize, kIconSize);
}

UiRect NumberEditArea(int width, int height) {
  return Ordered(5, 7, width - 5, height - 5);
}

bool NumberEditTakes(uint32_t character) {
  return (character >= '0' && character <= '9') || character == 8 || character == 13;
}

}  // namespace native_edit_rules
