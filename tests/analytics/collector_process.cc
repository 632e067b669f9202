#include "collector_process.h"

#include <curl/curl.h>

#include <memory>

namespace {

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

}  // namespace

std::string CollectorProcess::UploadUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/sa?project=default";
}

bool CollectorProcess::Control(const std::string& method, const std::string& path,
                               const std::string& body, std::string* answer) {
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) return false;
  const std::string url = "http://127.0.0.1:" + std::to_string(port_) + path;
  answer->clear();
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, 10L);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Append);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, answer);
  if (method == "POST") {
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  }
  if (curl_easy_perform(curl.get()) != CURLE_OK) return false;
  long status = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  return status == 200;
}

bool CollectorProcess::SetMode(const std::string& mode) {
  std::string answer;
  return Control("POST", "/_mode", mode, &answer);
}

bool CollectorProcess::Reset() {
  std::string answer;
  return Control("POST", "/_reset", "", &answer);
}

Json::Value CollectorProcess::Requests() {
  std::string answer;
  Json::Value parsed(Json::arrayValue);
  if (!Control("GET", "/_requests", "", &answer)) return parsed;
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  std::string errors;
  if (!reader->parse(answer.data(), answer.data() + answer.size(), &parsed, &errors)) {
    return Json::Value(Json::arrayValue);
  }
  return parsed;
}

std::vector<Json::Value> CollectorProcess::RequestsWithStatus(int status) {
  std::vector<Json::Value> out;
  for (const Json::Value& request : Requests()) {
    if (request["status"].isInt() && request["status"].asInt() == status) out.push_back(request);
  }
  return out;
}

std::vector<Json::Value> CollectorProcess::AcceptedRecords() {
  std::vector<Json::Value> out;
  for (const Json::Value& request : RequestsWithStatus(200)) {
    for (const Json::Value& record : request["records"]) out.push_back(record);
  }
  return out;
}

