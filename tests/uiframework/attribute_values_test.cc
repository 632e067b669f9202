// The value rules of layout attributes, as a table of texts and what they read as.
#include "uiframework/attribute_values.h"

#include <gtest/gtest.h>

using namespace layout_values;

TEST(AttributeValues, IntegersReadLikePercentD) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"", 0},
      {"17", 17},
      {"-6", -6},
      {"+4", 4},
      {"  12", 12},
      {"40px", 40},
      {"abc", 0},
      {"-", 0},
      {"2147483647", 2147483647},
      {"2248146944", static_cast<int32_t>(0x86000000u)},
      {"4294967296", 0},
      {"-2147483648", static_cast<int32_t>(0x80000000u)},
      {"99999999999999999999", static_cast<int32_t>(0x630FFFFFu)},  // low 32 bits of the wrapped value
  };
  for (const auto& c : cases) EXPECT_EQ(c.value, ParseInteger(c.text)) << '"' << c.text << '"';
}

TEST(AttributeValues, ColoursNeedExactlyThreeParts) {
  const struct {
    const char* text;
    Colour colour;
  } cases[] = {
      {"255,255,255", 0xFFFFFF},
      {"22,17,66", MakeColour(22, 17, 66)},
      {"255,0", 0},
      {"1,2,3,4", 0},
      {"", 0},
      {"255,,0", MakeColour(255, 0, 0)},
      {",,", 0},
      {"256,-1,300", MakeColour(0, 255, 44)},  // each kept to its low 8 bits
      {" 10, 20 ,30", MakeColour(10, 20, 30)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.colour, ParseColour(c.text)) << '"' << c.text << '"';
}

TEST(AttributeValues, MarginsNeedExactlyFourParts) {
  EXPECT_EQ((Margins{10, 10, 10, 10}), ParseMargins("10,10,10,10"));
  EXPECT_EQ((Margins{1, 0, 3, 0}), ParseMargins("1,,3,"));
  EXPECT_EQ(Margins{}, ParseMargins("10,10,10"));
  EXPECT_EQ(Margins{}, ParseMargins("1,2,3,4,5"));
  EXPECT_EQ(Margins{}, ParseMargins(""));
}

TEST(AttributeValues, WordsMatchExactly) {
  EXPECT_EQ(kAlignRight, ParseAlignment("right", kAlignLeft));
  EXPECT_EQ(kAlignCenter, ParseAlignment("center", kAlignTop));
  EXPECT_EQ(kAlignBottom, ParseAlignment("bottom", kAlignTop));
  EXPECT_EQ(kAlignLeft, ParseAlignment("Right", kAlignLeft));
  EXPECT_EQ(kAlignTop, ParseAlignment("centre", kAlignTop));
  EXPECT_EQ(kAlignTop, ParseAlignment("", kAlignTop));
  EXPECT_EQ(kStretchFill, ParseStretch("fill"));
  EXPECT_EQ(kStretchScale, ParseStretch("scale"));
  EXPECT_EQ(kStretchNone, ParseStretch("Fill"));

  const struct {
    const char* word;
    uint32_t format;
  } formats[] = {{"LeftTop", 0}, {"Left", 4},     {"LeftBottom", 8}, {"Center", 1}, {"RightBottom", 10},
                 {"Right", 6},   {"RightTop", 2}, {"", 4},           {"center", 4}, {"Middle", 4}};
  for (const auto& f : formats) EXPECT_EQ(f.format, ParseTextAlignment(f.word)) << f.word;
}
