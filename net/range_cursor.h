// The bookkeeping of one ranged run (kFetchRange): where the next byte goes, how much the next
// read may ask for, how much of a chunk belongs to the range, when the part is full and when
// progress is worth reporting. Platform-free; the WinINet transfer drives it.
#ifndef NET_RANGE_CURSOR_H_
#define NET_RANGE_CURSOR_H_

#include <cstdint>

namespace net {

// Progress is posted only after more than this many bytes since the last report.
const uint32_t kRangeProgressStep = 276480;
const uint32_t kFileProgressStep = 512000;

class RangeCursor {
 public:
  // `file_size` is the size of the whole file (the progress denominator); `tag` is the part's
  // first offset.
  RangeCursor(uint32_t start, uint32_t end, uint32_t tag, uint64_t file_size);

  uint32_t position() const { return position_; }
  // Every byte of [start, end) has been written.
  bool complete() const { return position_ >= end_; }
  // How many bytes the next read may ask for: never past the end of the range.
  uint32_t NextReadSize(uint32_t buffer_size) const;
  // How many of `received` bytes belong to the range; the rest of the chunk is dropped.
  uint32_t BytesToWrite(uint32_t received) const;
  // Records bytes that reached the file. True when progress should be posted now; then
  // *fraction is (position - tag) / file size.
  bool Advance(uint32_t written, float* fraction);

 private:
  uint32_t end_;
  uint32_t tag_;
  uint64_t denominator_;
  uint32_t position_;
  uint32_t since_report_;
};

}  // namespace net

#endif  // NET_RANGE_CURSOR_H_
