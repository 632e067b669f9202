// The eight fonts of the graphic resources: cell height, weight, face and underline of each,
// decided from two facts about the system (a Chinese system, one older than Vista) that the
// caller supplies, so every row of the table can be checked anywhere.
#ifndef UIFRAMEWORK_FONT_TABLE_H_
#define UIFRAMEWORK_FONT_TABLE_H_

#include <string>

#include "uiframework/ui_types.h"

struct FontSystemFacts {
  bool chinese_system = false;  // GetSystemDefaultLangID() == 2052
  bool pre_vista = false;       // system version code below 6
};

struct FontSpec {
  int height = 0;  // cell height in pixels
  int weight = 400;
  std::wstring face;
  bool underline = false;
};

FontSpec DescribeFont(FontKind kind, const FontSystemFacts& facts);

#endif  // UIFRAMEWORK_FONT_TABLE_H_
