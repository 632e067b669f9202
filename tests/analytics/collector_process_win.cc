// Windows trees: the test runs under Wine and cannot start the host's Python, so CTest starts
// one collector for the run (tools/server_ctl.sh) and names its port file in
// PINDLE_COLLECTOR_PORT_FILE. Start() attaches to it; Stop() only detaches.
#include "collector_process.h"

#include <cstdlib>
#include <string>

bool CollectorProcess::Start(int port) {
  const char* port_file = std::getenv("PINDLE_COLLECTOR_PORT_FILE");
  std::string text;
  if (!port_file || !TempFolder::ReadFile(port_file, &text)) return false;
  const int shared_port = std::atoi(text.c_str());
  if (shared_port <= 0 || (port != 0 && port != shared_port)) return false;
  port_ = shared_port;
  std::string answer;
  if (!Control("GET", "/_health", "", &answer) || answer != "ok") return false;
  pid_ = 1;
  return true;
}

void CollectorProcess::Stop() { pid_ = -1; }

// Nothing listens on port 1 of the loopback address.
int CollectorProcess::UnusedPort() { return 1; }
