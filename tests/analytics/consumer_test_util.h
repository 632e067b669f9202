// Small records for the consumer tests: {"n":<i>}, optionally padded.
#ifndef TESTS_ANALYTICS_CONSUMER_TEST_UTIL_H_
#define TESTS_ANALYTICS_CONSUMER_TEST_UTIL_H_

#include <string>
#include <vector>

#include "analytics/object_node.h"

inline event_analytics::utils::ObjectNode NumberedRecord(int n, size_t padding = 0) {
  event_analytics::utils::ObjectNode record;
  record.SetNumber("n", n);
  if (padding) record.SetString("pad", std::string(padding, 'p'));
  return record;
}

inline std::string NumberedText(int n) {
  return "{\"n\":" + std::to_string(n) + "}";
}

// NumberedText(first) .. NumberedText(last), inclusive.
inline std::vector<std::string> NumberedTexts(int first, int last) {
  std::vector<std::string> out;
  for (int n = first; n <= last; ++n) out.push_back(NumberedText(n));
  return out;
}

#endif  // TESTS_ANALYTICS_CONSUMER_TEST_UTIL_H_
