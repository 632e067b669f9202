#include "download/probe_judgement.h"

#include "download/download_plan.h"

namespace download {

ProbeOutcome JudgeProbe(bool success, uint32_t content_length, const std::string& package_size, bool file_url) {
  if (!success) return kProbeMultiPart;
  if (content_length == ParsePackageSize(package_size)) return kProbeMultiPart;
  if (file_url) return kProbeReplaceSize;
  return kProbeSizeMismatch;
}

}  // namespace download
