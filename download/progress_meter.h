// The download's progress as the window shows it: part reports thinned to every fourth, the
// bar filled up to 80 % by the download, and the "received/total" size label.
#ifndef DOWNLOAD_PROGRESS_METER_H_
#define DOWNLOAD_PROGRESS_METER_H_

#include <cstdint>
#include <string>

namespace download {

// The download fills this much of the shared progress bar; installing fills the rest.
const float kDownloadBarShare = 0.8f;

class ProgressThinner {
 public:
  // True for every fourth call (the 4th, 8th, ...).
  bool Take();

 private:
  int counter_ = 1;
};

// "%.1fM/%.1fM": the received and total megabytes (2^20 bytes) of a package of `size` bytes of
// which the fraction `overall` is on disk.
std::string SizeLabel(float overall, uint32_t size);

}  // namespace download

#endif  // DOWNLOAD_PROGRESS_METER_H_
