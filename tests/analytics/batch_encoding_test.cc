#include "analytics/batch_encoding.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

namespace event_analytics {
namespace {

std::string Gunzip(const std::string& compressed) {
  z_stream stream{};
  if (inflateInit2(&stream, 31) != Z_OK) return "<init failed>";
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  stream.avail_in = static_cast<uInt>(compressed.size());
  std::string out;
  char chunk[4096];
  int code;
  do {
    stream.next_out = reinterpret_cast<Bytef*>(chunk);
    stream.avail_out = sizeof chunk;
    code = inflate(&stream, Z_NO_FLUSH);
    out.append(chunk, sizeof chunk - stream.avail_out);
  } while (code == Z_OK);
  inflateEnd(&stream);
  return code == Z_STREAM_END && stream.avail_in == 0 ? out : "<bad stream>";
}

std::string PercentDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string Base64Decode(const std::string& text) {
  static const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned long bits = 0;
  int count = 0;
  for (char ch : text) {
    if (ch == '=') break;
    bits = (bits << 6) | kAlphabet.find(ch);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
  }
  return out;
}

TEST(BatchEncodingTest, Base64MatchesTheRfcVectors) {
  struct Case {
    std::string in, out;
  } const cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"\xfb\xff", "+/8="},
      {std::string("\0\0\0", 3), "AAAA"},
      {"\xff\xff\xff", "////"},
  };
  for (const Case& c : cases) EXPECT_EQ(Base64Encode(c.in), c.out) << c.out;
}

TEST(BatchEncodingTest, PercentEncodingKeepsOnlyUnreservedBytes) {
  struct Case {
    std::string in, out;
  } const cases[] = {
      {"AZaz09-._~", "AZaz09-._~"},  {"+/=", "%2B%2F%3D"},
      {" %&", "%20%25%26"},          {std::string("\xff\x00\x7f", 3), "%FF%00%7F"},
      {"\xe4\xb8\xad", "%E4%B8%AD"}, {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PercentEncode(c.in), c.out) << c.out;
}

TEST(BatchEncodingTest, BatchTextJoinsRecordsInOrder) {
  EXPECT_EQ(BuildBatchText({}), "[]");
  EXPECT_EQ(BuildBatchText({"{\"a\":1}"}), "[{\"a\":1}]");
  EXPECT_EQ(BuildBatchText({"{\"a\":1}", "{\"b\":2}", "{}"}), "[{\"a\":1},{\"b\":2},{}]");
}

TEST(BatchEncodingTest, GzipIsAGzipStreamAtMaximumCompression) {
  const std::string batch = "[{\"event\":\"pindle_downloader\"},{\"event\":\"again\"}]";
  std::string compressed;
  ASSERT_TRUE(GzipCompress(batch, &compressed));
  ASSERT_GE(compressed.size(), 18u);
  EXPECT_EQ(compressed.substr(0, 3), "\x1f\x8b\x08");  // gzip, deflate
  EXPECT_EQ(compressed[8], '\x02');                    // XFL 2: the slowest, best compression
  EXPECT_EQ(Gunzip(compressed), batch);
}

TEST(BatchEncodingTest, GzipHandlesOutputLongerThanOneChunk) {
  std::mt19937 random(7);
  std::string noise(200000, '\0');
  for (char& byte : noise) byte = static_cast<char>(random() & 0xFF);
  std::string compressed;
  ASSERT_TRUE(GzipCompress(noise, &compressed));
  EXPECT_GT(compressed.size(), 32768u * 2);
  EXPECT_EQ(Gunzip(compressed), noise);

  std::string empty;
  ASSERT_TRUE(GzipCompress("", &empty));
  EXPECT_EQ(Gunzip(empty), "");
}

TEST(BatchEncodingTest, RequestBodyDecodesBackToTheBatch) {
  const std::string batch = "[{\"k\":\"\xe4\xb8\xad \\\"q\\\" + / =\"}]";
  std::string body;
  ASSERT_TRUE(BuildRequestBody(batch, &body));
  const std::string prefix = "data_list=", suffix = "&gzip=1";
  ASSERT_EQ(body.compare(0, prefix.size(), prefix), 0);
  ASSERT_EQ(body.compare(body.size() - suffix.size(), suffix.size(), suffix), 0);
  const std::string encoded = body.substr(prefix.size(), body.size() - prefix.size() - suffix.size());
  EXPECT_EQ(encoded.find_first_of("+/=&"), std::string::npos);
  EXPECT_EQ(Gunzip(Base64Decode(PercentDecode(encoded))), batch);
}

}  // namespace
}  // namespace event_analytics
