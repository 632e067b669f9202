// Reading the Content-Range header of a 206 answer: "bytes FIRST-LAST/TOTAL".
#ifndef NET_CONTENT_RANGE_H_
#define NET_CONTENT_RANGE_H_

#include <cstdint>
#include <string>

namespace net {

struct ContentRange {
  uint32_t first = 0;
  uint32_t last = 0;
  uint32_t total = 0;  // the size of the whole file
};

// True for "bytes FIRST-LAST/TOTAL" with FIRST <= LAST < TOTAL, all below 2^32 (the unit is
// matched without regard to case; blanks around the parts are allowed). An unknown total
// ("/*") or anything else is refused.
bool ParseContentRange(const std::string& text, ContentRange* range);

}  // namespace net

#endif  // NET_CONTENT_RANGE_H_
