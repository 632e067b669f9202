// Message formatting into the 2048-byte buffer.
#include "log/log_format.h"

#include <string>

#include <gtest/gtest.h>

namespace simlog {
namespace {

TEST(LogFormat, FormatsLikePrintf) {
  EXPECT_EQ("start to query json", FormatLogMessage("start to query json"));
  EXPECT_EQ("code=404 url=http://h/x size=-1 5%",
            FormatLogMessage("code=%d url=%s size=%lld %d%%", 404, "http://h/x", -1LL, 5));
  const char* empty = "";
  const char* none = nullptr;
  EXPECT_EQ("", FormatLogMessage(empty));
  EXPECT_EQ("", FormatLogMessage(none));
}

TEST(LogFormat, LongOutputIsCutTo2047Bytes) {
  const std::string big(5000, 'q');
  const std::string cut = FormatLogMessage("%s", big.c_str());
  EXPECT_EQ(big.substr(0, kFormatBufferSize - 1), cut);

  const std::string exact(kFormatBufferSize - 1, 'e');
  EXPECT_EQ(exact, FormatLogMessage("%s", exact.c_str()));
  const std::string one_over(kFormatBufferSize, 'o');
  EXPECT_EQ(one_over.substr(0, kFormatBufferSize - 1), FormatLogMessage("%s", one_over.c_str()));

  // The cut falls inside a conversion too.
  const std::string pad(kFormatBufferSize - 3, 'p');
  EXPECT_EQ(pad + "12", FormatLogMessage("%s%d", pad.c_str(), 12345));
}

}  // namespace
}  // namespace simlog
