#include "fault_server.h"

#include <fstream>
#include <vector>

bool FaultServer::Start(const std::string& tls_name) {
  std::vector<std::string> arguments;
  cert_file_.clear();
  if (!tls_name.empty()) {
    const std::string tls_folder = (server_.folder() / "tls").string();
    arguments = {"--tls-dir", tls_folder, "--tls-name", tls_name};
    cert_file_ = tls_folder + "/cert.pem";
  }
  server_.set_ca_file(cert_file_);
  // An empty script answers "ok" once the server listens, and starts it from a clean log.
  return server_.Start(0, arguments, [this] { return Script("{}"); });
}

bool FaultServer::Script(const std::string& json) {
  std::string answer;
  return server_.Control("POST", "/_script", json, &answer) && answer == "ok";
}

bool FaultServer::Release() {
  std::string answer;
  return server_.Control("POST", "/_release", "", &answer);
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
