// The value rules of layout-document attributes: every value arrives as text and is read here
// into an integer, a colour, margins or one of the alignment words. Absent and malformed values
// take the documented defaults, never an error.
#ifndef UIFRAMEWORK_ATTRIBUTE_VALUES_H_
#define UIFRAMEWORK_ATTRIBUTE_VALUES_H_

#include <cstdint>
#include <string>

#include "uiframework/ui_types.h"

namespace layout_values {

// Alignment rules ("left" 1 ... "center" 5) and stretch rules ("none" 0, "scale" 1, "fill" 2).
constexpr int kAlignLeft = 1;
constexpr int kAlignTop = 2;
constexpr int kAlignRight = 3;
constexpr int kAlignBottom = 4;
constexpr int kAlignCenter = 5;
constexpr int kStretchNone = 0;
constexpr int kStretchScale = 1;
constexpr int kStretchFill = 2;

// "%d" reading: optional blanks, an optional sign, digits; trailing text is ignored, nothing
// readable gives 0. Values beyond 32 bits keep their low 32 bits ("2248146944" -> 0x86000000).
int32_t ParseInteger(const std::string& text);

// Exactly three comma-separated components, each read as an integer and kept to 8 bits;
// anything else is black. Empty components read 0.
Colour ParseColour(const std::string& text);

// Exactly four comma-separated integers (left, top, right, bottom); anything else is all 0.
Margins ParseMargins(const std::string& text);

// `xAlignment` / `yAlignment` words, matched exactly; absent or unknown gives `fallback`.
int ParseAlignment(const std::string& word, int fallback);
// `xStretch` / `yStretch` words; absent or unknown gives "none".
int ParseStretch(const std::string& word);
// `textAlignment` words to text-format bits; absent or unknown gives vertical centre (4).
uint32_t ParseTextAlignment(const std::string& word);

}  // namespace layout_values

#endif  // UIFRAMEWORK_ATTRIBUTE_VALUES_H_
