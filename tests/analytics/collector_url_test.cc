// The upload address made from the collector's deployment value.
#include "analytics/collector_url.h"

#include <gtest/gtest.h>

namespace event_analytics {
namespace {

TEST(CollectorUrlTest, UploadPathIsAddedOnceAndTheSchemeIsNotDoubled) {
  struct Case {
    const char* collector;
    const char* url;
  } const cases[] = {
      {"http://127.0.0.1:18081", "http://127.0.0.1:18081/sa?project=default"},
      {"http://127.0.0.1:18081/", "http://127.0.0.1:18081/sa?project=default"},
      {"https://collector.example", "https://collector.example/sa?project=default"},
      // A value without a scheme is plain HTTP, as the address was always built.
      {"127.0.0.1:18081", "http://127.0.0.1:18081/sa?project=default"},
      // A full upload address is kept, so "http://" or the path never appear twice.
      {"http://127.0.0.1:5/sa?project=default", "http://127.0.0.1:5/sa?project=default"},
      {"http://127.0.0.1:5/other/sa", "http://127.0.0.1:5/other/sa"},
      {"http://127.0.0.1:5?project=x", "http://127.0.0.1:5?project=x"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CollectorUploadUrl(c.collector), c.url) << c.collector;
  }
}

}  // namespace
}  // namespace event_analytics
