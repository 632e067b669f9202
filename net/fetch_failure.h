// The one line a failed fetcher run writes: where the request went (the URL's host and path; the
// query is left out, it only repeats the client's own settings), for a ranged part which bytes it
// covers and where it stopped, and the cause (HTTP status, or an error code with its text).
#ifndef NET_FETCH_FAILURE_H_
#define NET_FETCH_FAILURE_H_

#include <cstdint>
#include <string>

namespace net {

// "host[:port]/path" of a URL, without scheme, user, query or fragment.
std::string UrlHostAndPath(const std::string& url);

struct FetchFailure {
  std::string url;
  bool ranged = false;  // a part of the file: the three offsets below mean something
  uint32_t range_start = 0;
  uint32_t range_end = 0;  // one past the part's last byte
  uint32_t position = 0;   // next byte the part would have written
  std::string cause;
};

// "fetch of 127.0.0.1:8080/pkg.7z part 0-1048575 at 4096 failed: HTTP status 404"
std::string DescribeFetchFailure(const FetchFailure& failure);

}  // namespace net

#endif  // NET_FETCH_FAILURE_H_
