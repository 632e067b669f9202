#include "uiframework/font_table.h"

namespace {

constexpr int kNormal = 400;
constexpr int kBold = 700;
const wchar_t kTahoma[] = L"Tahoma";
const wchar_t kYaHei[] = L"Microsoft YaHei";
const wchar_t kYaHeiChinese[] = L"\x5FAE\x8F6F\x96C5\x9ED1";  // 微软雅黑

// Fonts that only Chinese systems from Vista on draw in YaHei, under its Chinese name.
FontSpec ChineseOrTahoma(const FontSystemFacts& facts, int tahoma_height, int yahei_height, int weight) {
  if (facts.chinese_system && !facts.pre_vista) return FontSpec{yahei_height, weight, kYaHeiChinese, false};
  return FontSpec{tahoma_height, weight, kTahoma, false};
}

// Fonts that every system from Vista on draws in YaHei.
FontSpec YaHeiFromVista(const FontSystemFacts& facts, int tahoma_height, int yahei_height) {
  if (facts.pre_vista) return FontSpec{tahoma_height, kNormal, kTahoma, false};
  return FontSpec{yahei_height, kNormal, kYaHei, false};
}

}  // namespace

FontSpec DescribeFont(FontKind kind, const FontSystemFacts& facts) {
  switch (kind) {
    case FontKind::kDefault: return YaHeiFromVista(facts, 13, 18);
    case FontKind::kBold: return ChineseOrTahoma(facts, 13, 18, kBold);
    case FontKind::kTitle: return ChineseOrTahoma(facts, 16, 20, kBold);
    case FontKind::kBig: return YaHeiFromVista(facts, 16, 21);
    case FontKind::kMessageBoxTitle: return YaHeiFromVista(facts, 14, 20);
    case FontKind::kSmall:
      // Bold Tahoma outside Chinese systems, normal weight on them.
      return ChineseOrTahoma(facts, 10, 16, facts.chinese_system ? kNormal : kBold);
    case FontKind::kSmaller: return ChineseOrTahoma(facts, 11, 15, kBold);
    case FontKind::kUnderlined: {
      FontSpec spec = ChineseOrTahoma(facts, 13, 18, kNormal);
      spec.underline = true;
      return spec;
    }
  }
  return YaHeiFromVista(facts, 13, 18);
}
