// When a failed part is resumed, after how long, and when the download gives up on ranges.
#ifndef DOWNLOAD_RESTART_POLICY_H_
#define DOWNLOAD_RESTART_POLICY_H_

#include <cstdint>

namespace download {

// Each failure adds two to a part's count; above 40 (the part's 21st failure) the whole-file
// transfer takes over.
const uint32_t kFailIncrement = 2;
const uint32_t kFailLimit = 40;

// Counts one more failure; true when this one switches to the whole-file transfer.
bool RecordPartFailure(uint32_t* fail_count);

// The pause before a part is resumed, from a pseudo-random number: r mod 2000, and 500 more
// when that is below 500, so always 500 to 1999 ms.
uint32_t RestartPauseMs(uint32_t random);

}  // namespace download

#endif  // DOWNLOAD_RESTART_POLICY_H_
