// What one URLFetcher run does: the request kinds, the failure causes and the request values.
// Platform-free, so the code that plans transfers builds in every tree.
#ifndef NET_FETCH_REQUEST_H_
#define NET_FETCH_REQUEST_H_

#include <cstdint>
#include <string>

namespace net {

enum FetchKind {
  kFetchToMemory = 0,    // a small text answer, kept in `response`
  kFetchToFile = 1,      // a whole file, preallocated to the announced length
  kFetchRange = 2,       // one byte range of an existing, already sized file
  kFetchOpenOnly = 3,    // open the URL, read nothing
  kFetchProbeRange = 4,  // ask for the first byte; read the status and the file's size
  kFetchPost = 5,        // a POST of `post_body`; the answer is not read
};

enum FetchError {
  kErrorNone = 0,
  kErrorPreallocate = 1,  // the target file could not be extended to the announced length
  kErrorOpenFile = 2,     // the existing target file could not be opened
  kErrorNoRange = 3,      // no 206 answer, or ranges are switched off for this fetcher
  kErrorNoLength = 4,     // no usable Content-Length
  kErrorTooLong = 5,      // a text answer longer than kMemoryAnswerLimit
  kErrorOtherFile = 6,    // kind 2: the answer's Content-Range is for a file of another size
};

// The longest text answer a kFetchToMemory run keeps. The answers are a few hundred bytes of
// JSON; a server that streams without end must not be able to exhaust a 32-bit process.
const uint32_t kMemoryAnswerLimit = 4u << 20;

// Offsets are 32-bit: files of 4 GiB and more are out of range.
struct FetchRequest {
  explicit FetchRequest(const std::string& url) : url(url), kind(kFetchToMemory), range_start(0), range_end(0) {}
  FetchRequest(const std::string& url, int kind) : url(url), kind(kind), range_start(0), range_end(0) {}
  FetchRequest(const std::string& url, const std::wstring& path)
      : url(url), file_path(path), kind(kFetchToFile), range_start(0), range_end(0) {}
  FetchRequest(const std::string& url, const std::wstring& path, uint32_t start, uint32_t end)
      : url(url), file_path(path), kind(kFetchRange), range_start(start), range_end(end) {}

  std::string url;         // passed to the HTTP layer unchanged
  std::wstring file_path;  // kinds 1 and 2
  int kind;
  uint32_t range_start;  // kind 2: first byte offset
  uint32_t range_end;    // kind 2: one past the last byte
};

}  // namespace net

#endif  // NET_FETCH_REQUEST_H_
