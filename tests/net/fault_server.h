// Runs tools/fault_server.py on 127.0.0.1 for a test, scripts it and reads its request log. The
// host tree starts one server per FaultServer; under Wine Start() attaches to the one CTest
// started for the test program (PINDLE_FAULT_SERVER_PORT_FILE), see test_support::TestServer.
#ifndef TESTS_NET_FAULT_SERVER_H_
#define TESTS_NET_FAULT_SERVER_H_

#include <json/json.h>

#include <cstdint>
#include <string>

#include "test_server.h"

class FaultServer {
 public:
  // `tls_name` (host tree only): serve TLS with a self-signed certificate for that
  // subjectAltName ("IP:127.0.0.1", "DNS:wrong.example"); cert_file() then names its PEM file.
  bool Start(const std::string& tls_name = std::string());
  void Stop() { server_.Stop(); }
  int port() const { return server_.port(); }
  const std::string& cert_file() const { return cert_file_; }

  // Replaces the script (see tools/fault_server.py) and clears the request log.
  bool Script(const std::string& json);
  bool Release();
  // Every request since the last Script(), as the server logged it.
  Json::Value Log() { return server_.ControlJson("/_log"); }

  std::string Base() const { return server_.Base(); }  // "http://127.0.0.1:<port>"
  std::string PackageUrl() const { return Base() + "/pkg/package.7z"; }

 private:
  test_support::TestServer server_{"fault_server.py", "PINDLE_FAULT_SERVER_PORT_FILE", 20};
  std::string cert_file_;
};

// The package the server generates: 32-bit little-endian words holding word index + 1.
uint8_t ExpectedPackageByte(uint64_t offset);
// Compares a file with the package of `size` bytes; on a mismatch *first_bad is the offset of
// the first wrong byte (or the shorter length).
bool FileMatchesPackage(const std::string& path, uint64_t size, uint64_t* first_bad);

#endif  // TESTS_NET_FAULT_SERVER_H_
