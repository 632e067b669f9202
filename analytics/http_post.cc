#include "analytics/http_post.h"

#include <curl/curl.h>

#include <memory>

#include "analytics/diagnostics.h"
#include "net/curl_global.h"

namespace event_analytics {

const char kUserAgent[] = "EventAnalytics CPP SDK 0.7";

namespace {

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  StoreHeaderLine(std::string(data, size * count), static_cast<std::map<std::string, std::string>*>(user));
  return size * count;
}

std::string Trim(const std::string& text) {
  const char* kSpace = " \t\r\n\f\v";
  const size_t first = text.find_first_not_of(kSpace);
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(kSpace);
  return text.substr(first, last - first + 1);
}

}  // namespace

void StoreHeaderLine(const std::string& line, std::map<std::string, std::string>* headers) {
  const size_t colon = line.find(':');
  if (colon == std::string::npos) {
    const std::string key = Trim(line);
    if (!key.empty()) (*headers)[key] = "present";
    return;
  }
  (*headers)[Trim(line.substr(0, colon))] = Trim(line.substr(colon + 1));
}

HttpResponse HttpPost(const std::string& url, const std::string& content_type, const std::string& body,
                      long timeout_seconds, const HttpHeaders& headers) {
  HttpResponse response;
  // libcurl must not initialise itself on this thread while another may do the same.
  if (!net::CurlGlobalReady()) {
    response.body = net::kCurlNotInitialised;
    WriteDiagnostic(response.body);
    return response;
  }
  std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
  if (!curl) {
    response.body = "Couldn't initialize curl handle";
    WriteDiagnostic(response.body);
    return response;
  }

  curl_slist* list = nullptr;
  auto add_header = [&list](const std::string& line) {
    curl_slist* grown = curl_slist_append(list, line.c_str());
    if (grown) list = grown;
  };
  if (!content_type.empty()) add_header("Content-Type: " + content_type);
  for (const auto& header : headers) add_header(header.first + ": " + header.second);
  std::unique_ptr<curl_slist, ListDeleter> header_list(list);

  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_POST, 1L);
  curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &response.body);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &response.headers);
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, header_list.get());
  curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 0L);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 0L);
  if (timeout_seconds > 0) {
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, timeout_seconds);
    // The time-out must not use signals: several loops may post at once.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  }

  const CURLcode code = curl_easy_perform(handle);
  if (code != CURLE_OK) {
    response.status = -1;
    response.body = curl_easy_strerror(code);
    return response;
  }
  long status = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  response.status = static_cast<int>(status);
  return response;
}

}  // namespace event_analytics
