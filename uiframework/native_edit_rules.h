// Where the native edits of `edit`, `simedit` and `richedit` stand and what they take: the
// rectangles inside their elements, the limits and hint of `simedit`, the characters the
// digits-only edit of `richedit` lets through, and the colours their boxes are drawn in. Shared
// by the elements and the windows side. Platform-free.
#ifndef UIFRAMEWORK_NATIVE_EDIT_RULES_H_
#define UIFRAMEWORK_NATIVE_EDIT_RULES_H_

#include <cstdint>

#include "uiframework/ui_types.h"

namespace native_edit_rules {

// The outline of the boxes (`edit`, `simedit`, and the pop-up of `richedit`); they are white inside.
constexpr Colour kBoxBorder = MakeColour(60, 152, 208);
constexpr Colour kBoxFill = MakeColour(255, 255, 255);
// The icon of `edit` and `simedit`: 16 x 16 at 5 px from the left edge, centred vertically.
constexpr int kIconSize = 16;
// `simedit`: what its edit takes, and the hint it shows while empty.
constexpr int kSimEditMaxLength = 4000;
extern const wchar_t kSimEditCueBanner[];  // "输入网址或您要搜索的关键字"

// The child edit inside the element's rectangle: 5 px in from the left (after the icon's width
// when there is one), the top and the right (and `right_margin` more on the right), 1 px from
// the bottom. Never narrower or lower than nothing.
UiRect ChildEditArea(const UiRect& element, int icon_width, int right_margin);
// Where the icon is drawn.
UiRect IconArea(const UiRect& element);
// The digits-only edit inside the pop-up of `richedit`, whose client area is `width` x `height`:
// 5 px in from the left and right, 7 px from the top, 5 px from the bottom.
UiRect NumberEditArea(int width, int height);
// Whether the digits-only edit lets a typed character (WM_CHAR) through: 0-9, Backspace and
// Enter. Everything else, control characters such as Ctrl+V's included, is swallowed.
bool NumberEditTakes(uint32_t character);

}  // namespace native_edit_rules

#endif  // UIFRAMEWORK_NATIVE_EDIT_RULES_H_
