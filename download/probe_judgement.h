// What the range probe's answer means for the download mode.
#ifndef DOWNLOAD_PROBE_JUDGEMENT_H_
#define DOWNLOAD_PROBE_JUDGEMENT_H_

#include <cstdint>
#include <string>

namespace download {

enum DownloadMode { kModeUnset = 0, kModeSingle = 1, kModeMultiPart = 2 };

enum ProbeOutcome {
  kProbeMultiPart,     // download in four parts
  kProbeSingle,        // the server ignores ranges: one whole-file transfer
  kProbeReplaceSize,   // "-fileurl:": the probe's length becomes the package size, then four parts
  kProbeSizeMismatch,  // the server's length is not the announced size: "Server_Error", ServiceError
};

// `error` is the probe's net::FetchError. A probe answered with the whole file (200, reported
// as kErrorNoRange) means a server that ignores ranges: four parts would each fetch the whole
// file again and again before the whole-file fallback, so it is served whole at once. Any other
// failed probe (no length, no connection, a silent server) still means four parts, whose own
// retries and fallback deal with it.
ProbeOutcome JudgeProbe(bool success, int error, uint32_t content_length, const std::string& package_size,
                        bool file_url);

}  // namespace download

#endif  // DOWNLOAD_PROBE_JUDGEMENT_H_
