// A client of one of the Python test servers of tools/ (collector.py, fault_server.py) on
// 127.0.0.1. The host tree starts the server as a child process of the test. Under Wine a test
// cannot start the host's Python, so CTest starts one server per test program
// (tools/server_ctl.sh, see pindle_server_fixture) and names its port file in an environment
// variable; Start() attaches to that server and Stop() only detaches.
#ifndef PINDLE_TESTS_SUPPORT_TEST_SERVER_H_
#define PINDLE_TESTS_SUPPORT_TEST_SERVER_H_

#include <json/json.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scratch_folder.h"

namespace test_support {

class TestServer {
 public:
  // `script`: the server's file name in tools/. `port_file_variable`: the environment variable
  // that names the port file of the server CTest started. `control_timeout_seconds`: how long
  // one control request may take.
  TestServer(std::string script, std::string port_file_variable, long control_timeout_seconds);
  ~TestServer() { Stop(); }
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  // Runs the server on `port` (0: a free one) with `arguments` after the port options and waits
  // until it has written its port file and `ready` (typically a control request) holds. The
  // server CTest started takes neither a given port other than its own nor arguments: asking
  // for them fails.
  bool Start(int port, const std::vector<std::string>& arguments, const std::function<bool()>& ready);
  void Stop();
  bool running() const { return running_; }
  int port() const { return port_; }

  // A folder for the server's own files (host tree), made on first use and kept while this
  // object lives.
  const std::filesystem::path& folder();
  // Non-empty: the server speaks TLS with the certificate in this file, which control requests
  // trust.
  void set_ca_file(const std::string& ca_file) { ca_file_ = ca_file; }

  // "http://127.0.0.1:<port>", or "https://..." with a CA file.
  std::string Base() const;
  // Sends one request to Base() + `path` ("POST" sends `body`); true when the server answers
  // 200. `answer` receives the body.
  bool Control(const std::string& method, const std::string& path, const std::string& body, std::string* answer);
  // GETs `path` and parses the JSON array it answers; an empty array on any failure.
  Json::Value ControlJson(const std::string& path);

  // A port on 127.0.0.1 where nothing listens (at the time of the call).
  static int UnusedPort();

 private:
  const std::string script_;
  const std::string port_file_variable_;
  const long control_timeout_seconds_;
  std::unique_ptr<ScratchFolder> folder_;
  std::string ca_file_;
  bool running_ = false;
  long child_ = -1;  // the server's process id where this object started it
  int port_ = 0;
};

// The port written in a server's port file; 0 when the file cannot be read or holds no port.
int ReadPortFile(const std::filesystem::path& port_file);

}  // namespace test_support

#endif  // PINDLE_TESTS_SUPPORT_TEST_SERVER_H_
