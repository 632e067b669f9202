#include "analytics/batch_encoding.h"

#include <zlib.h>

#include <climits>

#include "analytics/diagnostics.h"

namespace event_analytics {
namespace {

constexpr int kGzipWindowBits = 31;  // 15 bits of window plus 16: gzip wrapper
constexpr int kMemoryLevel = 8;
constexpr size_t kChunkSize = 32768;

// Ends the stream on every path.
class DeflateStream {
 public:
  DeflateStream() = default;
  DeflateStream(const DeflateStream&) = delete;
  DeflateStream& operator=(const DeflateStream&) = delete;
  ~DeflateStream() {
    if (started_) deflateEnd(&stream_);
  }
  int Start() {
    const int code = deflateInit2(&stream_, 9, Z_DEFLATED, kGzipWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY);
    started_ = code == Z_OK;
    return code;
  }
  z_stream* get() { return &stream_; }

 private:
  z_stream stream_{};
  bool started_ = false;
};

}  // namespace

std::string BuildBatchText(const std::vector<std::string>& records) {
  std::string text = "[";
  for (size_t i = 0; i < records.size(); ++i) {
    if (i) text.push_back(',');
    text.append(records[i]);
  }
  text.push_back(']');
  return text;
}

bool GzipCompress(const std::string& input, std::string* output) {
  output->clear();
  DeflateStream deflater;
  if (deflater.Start() != Z_OK) {
    WriteDiagnostic("deflateInit2 failed while compressing.");
    return false;
  }
  if (input.size() > UINT_MAX) {
    WriteDiagnostic("Exception during zlib compression: (" + std::to_string(Z_BUF_ERROR) + ") input too large");
    return false;
  }
  z_stream* stream = deflater.get();
  stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  stream->avail_in = static_cast<uInt>(input.size());
  char chunk[kChunkSize];
  int code = Z_OK;
  do {
    stream->next_out = reinterpret_cast<Bytef*>(chunk);
    stream->avail_out = static_cast<uInt>(sizeof chunk);
    code = deflate(stream, Z_FINISH);
    if (code != Z_OK && code != Z_STREAM_END) {
      WriteDiagnostic("Exception during zlib compression: (" + std::to_string(code) + ") " +
                      (stream->msg ? stream->msg : ""));
      output->clear();
      return false;
    }
    output->append(chunk, sizeof chunk - stream->avail_out);
  } while (code != Z_STREAM_END);
  return true;
}

std::string Base64Encode(const std::string& input) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((input.size() + 2) / 3 * 4);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(input.data());
  size_t i = 0;
  for (; i + 3 <= input.size(); i += 3) {
    const unsigned long v = (p[i] << 16) | (p[i + 1] << 8) | p[i + 2];
    out.push_back(kAlphabet[(v >> 18) & 63]);
    out.push_back(kAlphabet[(v >> 12) & 63]);
    out.push_back(kAlphabet[(v >> 6) & 63]);
    out.push_back(kAlphabet[v & 63]);
  }
  const size_t rest = input.size() - i;
  if (rest) {
    unsigned long v = static_cast<unsigned long>(p[i]) << 16;
    if (rest == 2) v |= static_cast<unsigned long>(p[i + 1]) << 8;
    out.push_back(kAlphabet[(v >> 18) & 63]);
    out.push_back(kAlphabet[(v >> 12) & 63]);
    out.push_back(rest == 2 ? kAlphabet[(v >> 6) & 63] : '=');
    out.push_back('=');
  }
  return out;
}

std::string PercentEncode(const std::string& input) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(input.size() * 3);
  for (char ch : input) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '.' || c == '_' || c == '~';
    if (keep) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

bool BuildRequestBody(const std::string& batch_text, std::string* body) {
  std::string compressed;
  if (!GzipCompress(batch_text, &compressed)) return false;
  *body = "data_list=" + PercentEncode(Base64Encode(compressed)) + "&gzip=1";
  return true;
}

}  // namespace event_analytics
