#include "fault_server.h"

#include <curl/curl.h>

#include <fstream>
#include <memory>
#include <vector>

namespace {

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

}  // namespace

std::string FaultServer::Base() const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

std::string FaultServer::PackageUrl() const { return Base() + "/pkg/package.7z"; }

bool FaultServer::Control(const std::string& method, const std::string& path,
                          const std::string& body, std::string* answer) {
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) return false;
  const std::string url = Base() + path;
  answer->clear();
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, 20L);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Append);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, answer);
  if (tls_ && !cert_file_.empty()) curl_easy_setopt(curl.get(), CURLOPT_CAINFO, cert_file_.c_str());
  if (tls_) {
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

bool FaultServer::Script(const std::string& json) {
  std::string answer;
  return Control("POST", "/_script", json, &answer) && answer == "ok";
}

bool FaultServer::Release() {
  std::string answer;
  return Control("POST", "/_release", "", &answer);
}

Json::Value FaultServer::Log() {
  std::string answer;
  Json::Value parsed(Json::arrayValue);
  if (!Control("GET", "/_log", "", &answer)) return parsed;
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  std::string errors;
  if (!reader->parse(answer.data(), answer.data() + answer.size(), &parsed, &errors)) {
    return Json::Value(Json::arrayValue);
  }
  return parsed;
}

uint8_t ExpectedPackageByte(uint64_t offset) {
  const uint32_t word = static_cast<uint32_t>(offset / 4 + 1);
  return static_cast<uint8_t>(word >> (8 * (offset % 4)));
}

bool FileMatchesPackage(const std::string& path, uint64_t size, uint64_t* first_bad) {
  std::ifstream in(path, std::ios::binary);
  *first_bad = 0;
  if (!in) return false;
  std::vector<char> buffer(1 << 20);
  uint64_t offset = 0;
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const std::streamsize got = in.gcount();
    for (std::streamsize i = 0; i < got; ++i, ++offset) {
      if (offset >= size || static_cast<uint8_t>(buffer[i]) != ExpectedPackageByte(offset)) {
        *first_bad = offset;
        return false;
      }
    }
  }
  *first_bad = offset;
  return offset == size;
}
