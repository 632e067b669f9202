#include "net/range_cursor.h"

#include <algorithm>

namespace net {

RangeCursor::RangeCursor(uint32_t start, uint32_t end, uint32_t tag, uint64_t file_size)
    : end_(end), tag_(tag), denominator_(file_size), position_(start), since_report_(0) {}

uint32_t RangeCursor::NextReadSize(uint32_t buffer_size) const {
  if (complete()) return 0;
  return std::min(end_ - position_, buffer_size);
}

uint32_t RangeCursor::BytesToWrite(uint32_t received) const {
  if (complete()) return 0;
  return std::min(end_ - position_, received);
}

bool RangeCursor::Advance(uint32_t written, float* fraction) {
  written = std::min(written, end_ > position_ ? end_ - position_ : 0u);
  position_ += written;
  since_report_ += written;
  if (since_report_ <= kRangeProgressStep) return false;
  since_report_ = 0;
  if (denominator_ == 0) return false;
  const uint32_t done = position_ >= tag_ ? position_ - tag_ : 0;
  *fraction = static_cast<float>(done) / static_cast<float>(denominator_);
  return true;
}

}  // namespace net
