// How a package of S bytes is cut into the four ranged parts, and how the size text reads.
#ifndef DOWNLOAD_DOWNLOAD_PLAN_H_
#define DOWNLOAD_DOWNLOAD_PLAN_H_

#include <array>
#include <cstdint>
#include <string>

namespace download {

const int kPartCount = 4;
// A size text that does not fit 32 bits reads as this value; no package can have it.
const uint32_t kSizeOutOfRange = 0xFFFFFFFFu;

// The package size text as an unsigned decimal number in 32 bits, the way strtoul reads it:
// leading blanks are skipped, digits are read up to the first other character, and text with
// no digits (empty, a word, a minus sign) reads as 0. Values of 2^32 - 1 and more read as
// kSizeOutOfRange.
uint32_t ParsePackageSize(const std::string& text);

// One part: [start, end) with `tag` = its first offset, which never changes.
struct PartRange {
  uint32_t start;
  uint32_t end;
  uint32_t tag;
};

// q = S / 4 rounded down: parts 1-3 get q bytes each, part 4 the rest (S - 3q).
std::array<PartRange, kPartCount> SplitPackage(uint32_t size);

}  // namespace download

#endif  // DOWNLOAD_DOWNLOAD_PLAN_H_
