#include "analytics/batch_sender.h"

#include "analytics/batch_encoding.h"
#include "analytics/diagnostics.h"

namespace event_analytics {

constexpr long BatchSender::kTimeoutSeconds;

bool BatchSender::Send(const std::string& batch_text, const HttpHeaders& headers) {
  std::string body;
  if (!BuildRequestBody(batch_text, &body)) return false;
  HttpHeaders all = fixed_headers_;
  for (const auto& header : headers) all[header.first] = header.second;
  const HttpResponse response = HttpPost(server_url_, std::string(), body, kTimeoutSeconds, all);
  if (response.status != 200) {
    WriteDiagnostic("EventAnalytics SDK send failed: " + response.body);
    return false;
  }
  return true;
}

}  // namespace event_analytics
