#include "net/fetch_failure.h"

#include <cstdio>

namespace net {

std::string UrlHostAndPath(const std::string& url) {
  size_t start = url.find("://");
  start = start == std::string::npos ? 0 : start + 3;
  const size_t end = url.find_first_of("?#", start);
  std::string rest = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
  // Credentials have no place in a log.
  const size_t slash = rest.find('/');
  const size_t at = rest.rfind('@', slash);
  if (at != std::string::npos) rest.erase(0, at + 1);
  return rest;
}

std::string DescribeFetchFailure(const FetchFailure& failure) {
  std::string line = "fetch of " + UrlHostAndPath(failure.url);
  if (failure.ranged) {
    char part[80];
    // The part is named by its bytes, first and last, as the Range header asks for them.
    std::snprintf(part, sizeof part, " part %u-%u at %u", failure.range_start,
                  failure.range_end > failure.range_start ? failure.range_end - 1 : failure.range_start,
                  failure.position);
    line += part;
  }
  return line + " failed: " + failure.cause;
}

}  // namespace net
