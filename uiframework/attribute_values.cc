#include "uiframework/attribute_values.h"

#include <vector>

namespace layout_values {

namespace {

// Splits on every comma, keeping empty parts ("1,,3" has three parts).
std::vector<std::string> SplitOnCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    if (comma == std::string::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

int32_t ParseInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Unsigned arithmetic wraps, which is exactly the low-32-bit rule.
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

Colour ParseColour(const std::string& text) {
  const std::vector<std::string> parts = SplitOnCommas(text);
  if (parts.size() != 3) return 0;
  return MakeColour(static_cast<uint32_t>(ParseInteger(parts[0])), static_cast<uint32_t>(ParseInteger(parts[1])),
                    static_cast<uint32_t>(ParseInteger(parts[2])));
}

Margins ParseMargins(const std::string& text) {
  const std::vector<std::string> parts = SplitOnCommas(text);
  if (parts.size() != 4) return Margins{};
  return Margins{ParseInteger(parts[0]), ParseInteger(parts[1]), ParseInteger(parts[2]), ParseInteger(parts[3])};
}

int ParseAlignment(const std::string& word, int fallback) {
  if (word == "left") return kAlignLeft;
  if (word == "top") return kAlignTop;
  if (word == "right") return kAlignRight;
  if (word == "bottom") return kAlignBottom;
  if (word == "center") return kAlignCenter;
  return fallback;
}

int ParseStretch(const std::string& word) {
  if (word == "scale") return kStretchScale;
  if (word == "fill") return kStretchFill;
  return kStretchNone;
}

uint32_t ParseTextAlignment(const std::string& word) {
  if (word == "LeftTop") return 0;
  if (word == "Left") return 4;
  if (word == "LeftBottom") return 8;
  if (word == "Center") return 1;
  if (word == "RightBottom") return 10;
  if (word == "Right") return 6;
  if (word == "RightTop") return 2;
  return 4;
}

}  // namespace layout_values
