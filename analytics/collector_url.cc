#include "analytics/collector_url.h"

namespace event_analytics {

const char kCollectorUploadPath[] = "/sa?project=default";

std::string CollectorUploadUrl(const std::string& collector) {
  if (collector.empty()) return std::string();
  const size_t scheme_end = collector.find("://");
  std::string url = scheme_end == std::string::npos ? "http://" + collector : collector;
  const size_t host_start = url.find("://") + 3;
  const size_t path_start = url.find_first_of("/?#", host_start);
  if (path_start != std::string::npos && url.compare(path_start, std::string::npos, "/") != 0) {
    return url;
  }
  if (path_start != std::string::npos) url.erase(path_start);
  return url + kCollectorUploadPath;
}

}  // namespace event_analytics
