// The rules every name, identifier and string value of an event must pass before it is
// recorded. A failed check writes its reason to the standard error stream; callers only learn
// "refused".
#ifndef ANALYTICS_PROPERTY_RULES_H_
#define ANALYTICS_PROPERTY_RULES_H_

#include <cstddef>
#include <string>

namespace event_analytics {

// Name kinds, as they appear in the messages.
extern const char kEventNameKind[];    // "Event Name"
extern const char kPropertyKeyKind[];  // "Property Key"
extern const char kDistinctIdKind[];   // "Distinct ID"
extern const char kOriginalIdKind[];   // "Original ID"

constexpr size_t kMaxNameLength = 100;
constexpr size_t kMaxIdLength = 255;
constexpr size_t kMaxStringValueLength = 8192;

// 1 to 100 bytes; the first a letter, "$" or "_", the others letters, digits, "$" or "_".
bool CheckName(const std::string& name, const char* kind);
// 1 to 255 bytes of anything.
bool CheckIdLength(const std::string& id, const char* kind);
// At most 8192 bytes of well-formed text (see IsAcceptedText); `key` only names the value in
// the message.
bool CheckStringValue(const std::string& key, const std::string& value);

// Well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) whose only
// single-byte characters are tab, line feed, carriage return and 0x20..0x7E. No message.
bool IsAcceptedText(const char* data, size_t size);

}  // namespace event_analytics

#endif  // ANALYTICS_PROPERTY_RULES_H_
