// The shape of one serialised record as the staging file keeps it: a JSON object on one line,
// as the JSON writer writes records. The collector refuses a whole batch for one line of any
// other shape, and a refused batch goes back to the front of the queue, so a single foreign
// line read from the file would hold up every later batch; the staging reader takes only lines
// of this shape.
#ifndef ANALYTICS_RECORD_LINE_H_
#define ANALYTICS_RECORD_LINE_H_

#include <cstddef>

namespace event_analytics {

// Longer lines are not records of ours: the installer's largest event is a few kilobytes.
// With the record limit it also bounds how much of the staging file is worth reading.
constexpr size_t kMaxRecordLineBytes = 32 * 1024;

// Objects and lists inside the record: a record holds "properties" and "lib", and a property
// value may be a list; anything deeper is not ours.
constexpr int kMaxRecordNesting = 8;

// True when `data` is one JSON object (RFC 8259) of at most kMaxRecordLineBytes, with no white
// space outside its strings, strings of well-formed UTF-8 without raw control characters, keys
// without escapes in strictly ascending byte order in each object (so no key twice), and at
// most kMaxRecordNesting levels of objects and lists.
bool IsRecordLine(const char* data, size_t size);

}  // namespace event_analytics

#endif  // ANALYTICS_RECORD_LINE_H_
