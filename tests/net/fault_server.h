// Runs tools/fault_server.py on 127.0.0.1 for a test, scripts it and reads its request log.
// The host tree starts one server per FaultServer; under Wine the test cannot start the host's
// Python, so CTest starts one per test program (tools/server_ctl.sh) and Start() attaches
// to it through the port file named in PINDLE_FAULT_SERVER_PORT_FILE.
#ifndef TESTS_NET_FAULT_SERVER_H_
#define TESTS_NET_FAULT_SERVER_H_

#include <json/json.h>

#include <cstdint>
#include <string>

class FaultServer {
 public:
  FaultServer() = default;
  FaultServer(const FaultServer&) = delete;
  FaultServer& operator=(const FaultServer&) = delete;
  ~FaultServer() { Stop(); }

  // `tls_name` (host tree only): serve TLS with a self-signed certificate for that
  // subjectAltName ("IP:127.0.0.1", "DNS:wrong.example"); cert_file() then names its PEM file.
  bool Start(const std::string& tls_name = std::string());
  void Stop();
  int port() const { return port_; }
  const std::string& cert_file() const { return cert_file_; }

  // Replaces the script (see tools/fault_server.py) and clears the request log.
  bool Script(const std::string& json);
  bool Release();
  // Every request since the last Script(), as the server logged it.
  Json::Value Log();

  std::string Base() const;                 // "http://127.0.0.1:<port>"
  std::string PackageUrl() const;           // Base() + "/pkg/package.7z"

 private:
  bool Control(const std::string& method, const std::string& path, const std::string& body,
               std::string* answer);

  long pid_ = -1;
  int port_ = 0;
  bool tls_ = false;
  std::string folder_;
  std::string cert_file_;
};

// The package the server generates: 32-bit little-endian words holding word index + 1.
uint8_t ExpectedPackageByte(uint64_t offset);
// Compares a file with the package of `size` bytes; on a mismatch *first_bad is the offset of
// the first wrong byte (or the shorter length).
bool FileMatchesPackage(const std::string& path, uint64_t size, uint64_t* first_bad);

#endif  // TESTS_NET_FAULT_SERVER_H_
