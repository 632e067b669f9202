#include "collector_process.h"

bool CollectorProcess::Start(int port) {
  return server_.Start(port, {}, [this] {
    std::string answer;
    return server_.Control("GET", "/_health", "", &answer) && answer == "ok";
  });
}

bool CollectorProcess::SetMode(const std::string& mode) {
  std::string answer;
  return server_.Control("POST", "/_mode", mode, &answer);
}

bool CollectorProcess::Reset() {
  std::string answer;
  return server_.Control("POST", "/_reset", "", &answer);
}

std::vector<Json::Value> CollectorProcess::RequestsWithStatus(int status) {
  std::vector<Json::Value> out;
  for (const Json::Value& request : Requests()) {
    if (request["status"].isInt() && request["status"].asInt() == status) out.push_back(request);
  }
  return out;
}

std::vector<Json::Value> CollectorProcess::AcceptedRecords() {
  std::vector<Json::Value> out;
  for (const Json::Value& request : RequestsWithStatus(200)) {
    for (const Json::Value& record : request["records"]) out.push_back(record);
  }
  return out;
}
