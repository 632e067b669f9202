#include "app/local_service.h"

#include <cstdlib>

namespace app {
namespace {

bool StartsWith(const std::string& text, const char* prefix, size_t* length) {
  const std::string head(prefix);
  if (text.compare(0, head.size(), head) != 0) return false;
  *length = head.size();
  return true;
}

}  // namespace

bool IsLocalServiceHost(const std::string& host) {
  size_t at = 0;
  if (!StartsWith(host, "http://", &at) && !StartsWith(host, "https://", &at)) return false;
  std::string rest = host.substr(at);
  if (!rest.empty() && rest.back() == '/') rest.pop_back();
  size_t name_length = 0;
  if (!StartsWith(rest, "127.0.0.1", &name_length) && !StartsWith(rest, "localhost", &name_length)) return false;
  const std::string port = rest.substr(name_length);
  if (port.empty()) return true;
  if (port[0] != ':' || port.size() < 2 || port.size() > 6) return false;
  for (size_t i = 1; i < port.size(); ++i) {
    if (port[i] < '0' || port[i] > '9') return false;
  }
  return true;
}

std::string LocalServiceOr(const char* variable, const std::string& deployed) {
  const char* local = std::getenv(variable);
  if (local && IsLocalServiceHost(local)) return local;
  return deployed;
}

}  // namespace app
