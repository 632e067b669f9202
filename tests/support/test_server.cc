#include "test_server.h"

#include <curl/curl.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace test_support {

namespace {

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

}  // namespace

TestServer::TestServer(std::string script, std::string port_file_variable, long control_timeout_seconds)
    : script_(std::move(script)),
      port_file_variable_(std::move(port_file_variable)),
      control_timeout_seconds_(control_timeout_seconds) {}

const std::filesystem::path& TestServer::folder() {
  if (!folder_) folder_ = std::make_unique<ScratchFolder>();
  return folder_->path();
}

std::string TestServer::Base() const {
  return std::string(ca_file_.empty() ? "http" : "https") + "://127.0.0.1:" + std::to_string(port_);
}

bool TestServer::Control(const std::string& method, const std::string& path, const std::string& body,
                         std::string* answer) {
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) return false;
  const std::string url = Base() + path;
  answer->clear();
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, control_timeout_seconds_);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Append);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, answer);
  if (!ca_file_.empty()) {
    curl_easy_setopt(curl.get(), CURLOPT_CAINFO, ca_file_.c_str());
    // The control channel only needs to reach the server, whatever name its certificate has.
    curl_easy_setopt(curl.get(), CURLOPT_SSL_VERIFYHOST, 0L);
  }
  if (method == "POST") {
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  }
  if (curl_easy_perform(curl.get()) != CURLE_OK) return false;
  long status = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  return status == 200;
}

Json::Value TestServer::ControlJson(const std::string& path) {
  std::string answer;
  Json::Value parsed(Json::arrayValue);
  if (!Control("GET", path, "", &answer)) return parsed;
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  std::string errors;
  if (!reader->parse(answer.data(), answer.data() + answer.size(), &parsed, &errors) || !parsed.isArray()) {
    return Json::Value(Json::arrayValue);
  }
  return parsed;
}

int ReadPortFile(const std::filesystem::path& port_file) {
  std::string text;
  if (!ReadFile(port_file, &text)) return 0;
  const int port = std::atoi(text.c_str());
  return port > 0 && port < 65536 ? port : 0;
}

}  // namespace test_support
