// The download-information request: its URL, and what its answer means for the installer.
#ifndef DOWNLOAD_INFO_ANSWER_H_
#define DOWNLOAD_INFO_ANSWER_H_

#include <string>

namespace download {

// The path and separator after the service host.
extern const char kInfoPath[];

// "channel=<channel>&clientVersion=<version>&lan=<language code>", without percent-encoding.
std::string BuildInfoQuery(const std::string& channel, const std::string& client_version,
                           const std::string& language_code);

// The service host, scheme included: the one set by SetDownloadInfoHost if any; else the
// environment variable PINDLE_DOWNLOAD_INFO_HOST when it names a service on this machine
// ("http://127.0.0.1:port", "http://localhost:port", https alike), which is how the demo and
// tests point a built installer at a local server; else the build's deployment value.
std::string DownloadInfoHost();
// An empty host restores the default. Any thread, before the query is built.
void SetDownloadInfoHost(const std::string& host);

// host + kInfoPath + query.
std::string BuildInfoUrl(const std::string& host, const std::string& query);

enum InfoOutcome {
  kInfoRequery,    // no answer: ask again in a second
  kInfoMalformed,  // not JSON, wrong root, unusable members: "Server_Error", ServiceError
  kInfoRefused,    // `code` is not 0: "Server_Error", ServiceError
  kInfoNoData,     // `data` missing, null or not an object: "Server_Error", pstrDownloaderUp
  kInfoProbe,      // go on with the range probe
};

struct InfoAnswer {
  InfoOutcome outcome = kInfoRequery;
  bool has_file_info = false;  // package_url and package_size are valid only then
  std::string package_url;
  std::string package_size;  // decimal text
  std::string version;
  std::string md5;
  std::string lan;  // data.lan, empty when absent or not a string
  int code = 0;     // the service's `code` when it refused
};

// Judges an answer body (already cut at its first zero byte; empty when the request failed).
// JSON comments are accepted. An answer nested deeper than the real one ever is, or one the
// reader fails on in any way, is malformed: nothing the body holds can end the process. Members of the wrong type never
// throw: `code` that is not an integer, or a fileInfo whose `size` is not a non-negative integer or whose `url` is not
// a string, make the answer malformed.
InfoAnswer JudgeInfoAnswer(const std::string& body);

}  // namespace download

#endif  // DOWNLOAD_INFO_ANSWER_H_
