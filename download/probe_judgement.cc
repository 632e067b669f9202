#include "download/probe_judgement.h"

#include "download/download_plan.h"
#include "net/fetch_request.h"

namespace download {

ProbeOutcome JudgeProbe(bool success, int error, uint32_t content_length, const std::string& package_size,
                        bool file_url) {
  if (!success) return error == net::kErrorNoRange ? kProbeSingle : kProbeMultiPart;
  if (content_length == ParsePackageSize(package_size)) return kProbeMultiPart;
  if (file_url) return kProbeReplaceSize;
  return kProbeSizeMismatch;
}

}  // namespace download
