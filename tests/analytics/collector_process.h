// Runs tools/collector.py on 127.0.0.1 for a test and reads back what it received.
#ifndef TESTS_ANALYTICS_COLLECTOR_PROCESS_H_
#define TESTS_ANALYTICS_COLLECTOR_PROCESS_H_

#include <json/json.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "temp_folder.h"

class CollectorProcess {
 public:
  CollectorProcess() = default;
  CollectorProcess(const CollectorProcess&) = delete;
  CollectorProcess& operator=(const CollectorProcess&) = delete;
  ~CollectorProcess() { Stop(); }

  // Starts the collector on `port` (0: a free one) and waits until it listens.
  bool Start(int port = 0);
  void Stop();
  bool running() const { return pid_ > 0; }
  int port() const { return port_; }
  // The upload URL as the installer builds it.
  std::string UploadUrl() const;

  // "200", "201", "500" or "hang".
  bool SetMode(const std::string& mode);
  bool Reset();
  // Every upload received so far (see tools/collector.py).
  Json::Value Requests();
  // The uploads answered with `status`.
  std::vector<Json::Value> RequestsWithStatus(int status);
  // The records of the uploads answered 200, in arrival order.
  std::vector<Json::Value> AcceptedRecords();

  // A port on 127.0.0.1 where nothing listens (at the time of the call).
  static int UnusedPort();

 private:
  bool Control(const std::string& method, const std::string& path, const std::string& body,
               std::string* answer);

  pid_t pid_ = -1;
  int port_ = 0;
  TempFolder folder_;
};

#endif  // TESTS_ANALYTICS_COLLECTOR_PROCESS_H_
