// One blocking HTTP POST over libcurl, the transport of the analytics upload.
#ifndef ANALYTICS_HTTP_POST_H_
#define ANALYTICS_HTTP_POST_H_

#include <map>
#include <string>

namespace event_analytics {

extern const char kUserAgent[];  // "EventAnalytics CPP SDK 0.7"

struct HttpResponse {
  int status = -1;   // the HTTP status, or -1 when the transfer failed
  std::string body;  // the answer, or libcurl's error text when the transfer failed
  std::map<std::string, std::string> headers;
};

using HttpHeaders = std::map<std::string, std::string>;

// Posts `body` to `url`. `content_type` adds a "Content-Type" header when not empty;
// `timeout_seconds` > 0 limits the whole transfer. Redirects are not followed.
HttpResponse HttpPost(const std::string& url, const std::string& content_type, const std::string& body,
                      long timeout_seconds, const HttpHeaders& headers);

// Stores one received header line in `headers`: split at the first ":" with both sides
// trimmed; a non-empty line without ":" (the status line) is stored with the value "present".
void StoreHeaderLine(const std::string& line, std::map<std::string, std::string>* headers);

}  // namespace event_analytics

#endif  // ANALYTICS_HTTP_POST_H_
