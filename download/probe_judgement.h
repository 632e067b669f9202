// What the range probe's answer means for the download mode.
#ifndef DOWNLOAD_PROBE_JUDGEMENT_H_
#define DOWNLOAD_PROBE_JUDGEMENT_H_

#include <cstdint>
#include <string>

namespace download {

enum DownloadMode { kModeUnset = 0, kModeSingle = 1, kModeMultiPart = 2 };

enum ProbeOutcome {
  kProbeMultiPart,     // download in four parts
  kProbeReplaceSize,   // "-fileurl:": the probe's length becomes the package size, then four parts
  kProbeSizeMismatch,  // the server's length is not the announced size: "Server_Error", ServiceError
};

// A failed probe (no 206, no length, no connection) still means four parts: the parts' own
// retries and the whole-file fallback serve a server without ranges.
ProbeOutcome JudgeProbe(bool success, uint32_t content_length, const std::string& package_size, bool file_url);

}  // namespace download

#endif  // DOWNLOAD_PROBE_JUDGEMENT_H_
