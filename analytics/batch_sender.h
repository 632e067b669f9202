// Sends one batch of records to the collector: encodes it and posts it.
#ifndef ANALYTICS_BATCH_SENDER_H_
#define ANALYTICS_BATCH_SENDER_H_

#include <string>

#include "analytics/http_post.h"

namespace event_analytics {

class BatchSender {
 public:
  static constexpr long kTimeoutSeconds = 3;

  explicit BatchSender(const std::string& server_url) : server_url_(server_url) {}

  // True only when the collector answered 200; anything else (another status, no answer,
  // a compression failure) is a failure, with the reason on the standard error stream.
  bool Send(const std::string& batch_text, const HttpHeaders& headers);

  const std::string& server_url() const { return server_url_; }

 private:
  std::string server_url_;
  HttpHeaders fixed_headers_;  // none today; extra headers every request would carry
};

}  // namespace event_analytics

#endif  // ANALYTICS_BATCH_SENDER_H_
