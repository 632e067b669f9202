#include "system/random_id.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <vector>

namespace {

// Field lengths of "%x%x-%x-%x-%x-%x%x%x" over numbers 0..32767 (1 to 4 digits each), the two
// fixed nibbles, and lower-case hexadecimal throughout.
bool HasIdShape(const std::string& id) {
  std::vector<std::string> fields;
  std::stringstream stream(id);
  for (std::string field; std::getline(stream, field, '-');) fields.push_back(field);
  if (fields.size() != 5 || id.back() == '-') return false;
  for (const std::string& field : fields) {
    for (char c : field) {
      if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
  }
  const size_t min_length[] = {2, 1, 4, 4, 3};
  const size_t max_length[] = {8, 4, 4, 4, 12};
  for (size_t i = 0; i < 5; ++i) {
    if (fields[i].size() < min_length[i] || fields[i].size() > max_length[i]) return false;
  }
  return fields[2][0] == '4' && (fields[3][0] >= '8' && fields[3][0] <= 'b');
}

TEST(RandomIdTest, FieldLayout) {
  struct Case {
    std::array<uint16_t, 8> numbers;  // r1..r8
    const char* expected;
  } cases[] = {
      // r8 r7 - r6 - (r5&0xFFF)|0x4000 - (r4%0x3FFF)+0x8000 - r3 r2 r1
      {{0, 0, 0, 0, 0, 0, 0, 0}, "00-0-4000-8000-000"},
      {{1, 2, 3, 4, 5, 6, 7, 8}, "87-6-4005-8004-321"},
      {{0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF}, "7fff7fff-7fff-4fff-8001-7fff7fff7fff"},
      // r4 = 0x3FFF wraps to 0x8000; r5 keeps only its low 12 bits.
      {{0x10, 0x20, 0x30, 0x3FFF, 0x1ABC, 0x60, 0x70, 0x80}, "8070-60-4abc-8000-302010"},
      // Numbers are 0..32767: the top bit of a 16-bit draw is dropped.
      {{0x8001, 0, 0, 0, 0, 0, 0, 0xFFFF}, "7fff0-0-4000-8000-001"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatRandomId(c.numbers), c.expected);
    EXPECT_TRUE(HasIdShape(FormatRandomId(c.numbers))) << c.expected;
  }
}

TEST(RandomIdTest, NewIdsHaveTheShapeAndDifferWithinOneSecond) {
  std::set<std::string> seen;
  // A thousand ids take far less than a second; seeding from the clock would repeat one.
  for (int i = 0; i < 1000; ++i) {
    const std::string id = NewRandomId();
    EXPECT_TRUE(HasIdShape(id)) << id;
    EXPECT_TRUE(seen.insert(id).second) << "repeated id " << id;
  }
}

TEST(RandomIdTest, SystemSourceFillsEveryByte) {
  // Two 64-byte draws that both leave a byte untouched at the same place are as unlikely as a
  // collision; any fault in the length handling shows up as equal tails.
  unsigned char a[64] = {}, b[64] = {};
  ASSERT_TRUE(SystemRandomBytes(a, sizeof(a)));
  ASSERT_TRUE(SystemRandomBytes(b, sizeof(b)));
  EXPECT_NE(std::string(reinterpret_cast<char*>(a) + 48, 16), std::string(reinterpret_cast<char*>(b) + 48, 16));
}

}  // namespace
