#include "download/info_answer.h"

#include <json/json.h>

#include <memory>

#include "app/local_service.h"
#include "deployment.h"
#include "runtime/lock.h"

namespace download {

const char kInfoPath[] = "/downloder/2.0/infoV2?";

namespace {

// Function-local, so the lock exists before any static initialiser can ask for the host.
base::Lock& HostLock() {
  static base::Lock* const lock = new base::Lock;
  return *lock;
}
std::string g_host_override;

// How deep an answer may nest. The real answer nests three levels; jsoncpp's own limit (1000)
// is enforced by throwing, and a kilobyte of brackets must be a refused answer, not an
// exception that ends the installer.
const int kMaxAnswerDepth = 32;

// True when no object or array of `body` lies deeper than `limit`, counting only brackets
// outside strings and comments: the reader is never handed a nesting it would throw on.
bool NestingWithin(const std::string& body, int limit) {
  int depth = 0;
  const size_t n = body.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = body[i];
    if (c == '"') {
      for (++i; i < n && body[i] != '"'; ++i) {
        if (body[i] == '\\') ++i;
      }
    } else if (c == '/' && i + 1 < n && body[i + 1] == '/') {
      while (i < n && body[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < n && body[i + 1] == '*') {
      const size_t close = body.find("*/", i + 2);
      if (close == std::string::npos) return true;  // an open comment: the reader refuses it
      i = close + 1;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return false;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return true;
}

// Parses with a bounded depth. No exception of the reader leaves here: any is a parse failure.
bool ParseAnswer(const std::string& body, Json::Value* root) {
  if (!NestingWithin(body, kMaxAnswerDepth)) return false;
  try {
    Json::CharReaderBuilder builder;
    builder["allowComments"] = true;
    builder["collectComments"] = false;
    builder["stackLimit"] = kMaxAnswerDepth + 1;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    return reader->parse(body.data(), body.data() + body.size(), root, &errors);
  } catch (...) {
    return false;
  }
}

}  // namespace

std::string BuildInfoQuery(const std::string& channel, const std::string& client_version,
                           const std::string& language_code) {
  return "channel=" + channel + "&" + "clientVersion=" + client_version + "&" + "lan=" + language_code;
}

void SetDownloadInfoHost(const std::string& host) {
  base::AutoLock hold(HostLock());
  g_host_override = host;
}

std::string DownloadInfoHost() {
  {
    base::AutoLock hold(HostLock());
    if (!g_host_override.empty()) return g_host_override;
  }
  return app::LocalServiceOr("PINDLE_DOWNLOAD_INFO_HOST", PINDLE_DOWNLOAD_INFO_HOST);
}

std::string BuildInfoUrl(const std::string& host, const std::string& query) {
  std::string base = host;
  if (!base.empty() && base.back() == '/') base.pop_back();
  return base + kInfoPath + query;
}

InfoAnswer JudgeInfoAnswer(const std::string& body) {
  InfoAnswer answer;
  if (body.empty()) {
    answer.outcome = kInfoRequery;
    return answer;
  }
  Json::Value root;
  if (!ParseAnswer(body, &root) || !(root.isObject() || root.isNull())) {
    answer.outcome = kInfoMalformed;
    return answer;
  }
  // A missing `code` reads as 0, as a lenient reader would; a `code` of another type is not
  // an answer the installer understands.
  const Json::Value& code = root.isObject() ? root["code"] : root;
  if (!code.isNull() && !code.isInt()) {
    answer.outcome = kInfoMalformed;
    return answer;
  }
  if (!code.isNull() && code.asInt() != 0) {
    answer.outcome = kInfoRefused;
    answer.code = code.asInt();
    return answer;
  }
  const Json::Value& data = root.isObject() ? root["data"] : root;
  if (!data.isObject()) {
    answer.outcome = kInfoNoData;
    return answer;
  }
  const Json::Value& file_info = data["fileInfo"];
  if (file_info.isObject()) {
    const Json::Value& size = file_info["size"];
    const Json::Value& url = file_info["url"];
    if (!size.isInt() || size.asInt() < 0 || !url.isString()) {
      answer.outcome = kInfoMalformed;
      return answer;
    }
    answer.has_file_info = true;
    answer.package_size = std::to_string(size.asInt());
    answer.package_url = url.asString();
    if (file_info["version"].isString()) answer.version = file_info["version"].asString();
    if (file_info["md5"].isString()) answer.md5 = file_info["md5"].asString();
  }
  if (data["lan"].isString()) answer.lan = data["lan"].asString();
  answer.outcome = kInfoProbe;
  return answer;
}

}  // namespace download
