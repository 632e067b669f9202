// Runs tools/collector.py on 127.0.0.1 for a test and reads back what it received. Under Wine
// Start() attaches to the collector CTest started (PINDLE_COLLECTOR_PORT_FILE), see
// test_support::TestServer.
#ifndef TESTS_ANALYTICS_COLLECTOR_PROCESS_H_
#define TESTS_ANALYTICS_COLLECTOR_PROCESS_H_

#include <json/json.h>

#include <string>
#include <vector>

#include "test_server.h"

class CollectorProcess {
 public:
  // Starts the collector on `port` (0: a free one) and waits until it listens.
  bool Start(int port = 0);
  void Stop() { server_.Stop(); }
  bool running() const { return server_.running(); }
  int port() const { return server_.port(); }
  // The upload URL as the installer builds it.
  std::string UploadUrl() const { return server_.Base() + "/sa?project=default"; }

  // "200", "201", "500" or "hang".
  bool SetMode(const std::string& mode);
  bool Reset();
  // Every upload received so far (see tools/collector.py).
  Json::Value Requests() { return server_.ControlJson("/_requests"); }
  // The uploads answered with `status`.
  std::vector<Json::Value> RequestsWithStatus(int status);
  // The records of the uploads answered 200, in arrival order.
  std::vector<Json::Value> AcceptedRecords();

  // A port on 127.0.0.1 where nothing listens (at the time of the call).
  static int UnusedPort() { return test_support::TestServer::UnusedPort(); }

 private:
  test_support::TestServer server_{"collector.py", "PINDLE_COLLECTOR_PORT_FILE", 10};
};

#endif  // TESTS_ANALYTICS_COLLECTOR_PROCESS_H_
