// Windows trees: the test runs under Wine and attaches to the server that CTest started for
// this test program (tools/server_ctl.sh); Stop() only detaches.
#include <cstdlib>
#include <fstream>

#include "fault_server.h"

bool FaultServer::Start(const std::string& tls_name) {
  if (!tls_name.empty()) return false;  // TLS is checked in the host tree only
  const char* port_file = std::getenv("PINDLE_FAULT_SERVER_PORT_FILE");
  if (!port_file) return false;
  std::ifstream in(port_file);
  std::string text;
  if (!in || !std::getline(in, text)) return false;
  port_ = std::atoi(text.c_str());
  if (port_ <= 0 || !Script("{}")) return false;
  pid_ = 1;
  return true;
}

void FaultServer::Stop() { pid_ = -1; }
