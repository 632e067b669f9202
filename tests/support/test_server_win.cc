// Windows trees: attaches to the server that CTest started for this test program.
#include <cstdlib>

#include "test_server.h"

namespace test_support {

bool TestServer::Start(int port, const std::vector<std::string>& arguments, const std::function<bool()>& ready) {
  Stop();
  if (!arguments.empty()) return false;  // the server already runs with CTest's arguments
  const char* port_file = std::getenv(port_file_variable_.c_str());
  if (!port_file) return false;
  const int shared_port = ReadPortFile(port_file);
  if (shared_port <= 0 || (port != 0 && port != shared_port)) return false;
  port_ = shared_port;
  running_ = ready();
  return running_;
}

void TestServer::Stop() {
  running_ = false;
}

// Nothing listens on port 1 of the loopback address.
int TestServer::UnusedPort() {
  return 1;
}

}  // namespace test_support
