// How a batch of records becomes the body of the upload request:
// "data_list=" + percent-encode(Base64(gzip(batch))) + "&gzip=1".
#ifndef ANALYTICS_BATCH_ENCODING_H_
#define ANALYTICS_BATCH_ENCODING_H_

#include <deque>
#include <string>
#include <vector>

namespace event_analytics {

// "[" + records joined by "," + "]".
std::string BuildBatchText(const std::vector<std::string>& records);

// gzip stream of `input` (deflate level 9, window bits 31, memory level 8). On a zlib failure
// writes the reason to the standard error stream and returns false.
bool GzipCompress(const std::string& input, std::string* output);

// RFC 4648 Base64, standard alphabet, "=" padding.
std::string Base64Encode(const std::string& input);

// Keeps letters, digits, "-", ".", "_" and "~"; every other byte becomes "%XX" (upper case).
std::string PercentEncode(const std::string& input);

// The full request body for `batch_text`; false when compression failed.
bool BuildRequestBody(const std::string& batch_text, std::string* body);

}  // namespace event_analytics

#endif  // ANALYTICS_BATCH_ENCODING_H_
