// The address the record consumer posts to, made from the collector's deployment value.
#ifndef ANALYTICS_COLLECTOR_URL_H_
#define ANALYTICS_COLLECTOR_URL_H_

#include <string>

namespace event_analytics {

extern const char kCollectorUploadPath[];  // "/sa?project=default"

// `collector` is the collector's address as the deployment gives it, scheme included
// ("http://127.0.0.1:18081"); it gets the upload path. A value without a scheme is taken as
// plain HTTP. A value that already names a path or query (anything after the host but a
// lone "/") is the full upload address and is kept as it is, so a caller may hand either
// form. Empty stays empty. Pure.
std::string CollectorUploadUrl(const std::string& collector);

}  // namespace event_analytics

#endif  // ANALYTICS_COLLECTOR_URL_H_
