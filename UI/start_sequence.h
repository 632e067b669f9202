// The start sequence the main window posts to the file loop when its opening animation ends
// (StartInstallFlow): bitness, tracker, checks, the launch event, the previous installation,
// the package path; then what the UI loop shows. Its order and outcomes are decided here; the
// window implements `StartSequenceSteps` with the real calls (install_system.h,
// previous_install.h, installer_reports.h) and posts the UI-loop results to itself.
#ifndef UI_START_SEQUENCE_H_
#define UI_START_SEQUENCE_H_

#include <cstdint>
#include <string>

#include "UI/install_checks.h"

namespace installer {

// The graphics-check program is deleted this long after the sequence (it may still be starting).
constexpr int64_t kGpuToolDeleteDelay = 1500000;  // microseconds

class StartSequenceSteps {
 public:
  // File loop, in this order.
  virtual void SetWindowsBitness() = 0;  // IsWow64: a working "yes" sets the 64-bit flag
  virtual bool InitTracker() = 0;        // false is only logged
  virtual CheckOutcome RunChecks() = 0;
  virtual void ReportExit(const char* reason) = 0;
  virtual void PostLaunchEvent() = 0;
  // The earlier install folder (existing) or empty; `query_ok` false when the bitness cannot
  // be read at all.
  virtual std::wstring DetectPreviousInstall(bool* query_ok) = 0;
  virtual std::wstring PromptText(const char* key) = 0;
  // ChoosePackagePath, the installed version read first.
  virtual void ChoosePackagePath() = 0;
  // Posted to the UI loop: InstallerFlow::OnPreviousInstall, the download-information query,
  // then InstallerFlow::OnStartSequenceDone.
  virtual void PostStartResults(const std::wstring& previous_install_folder) = 0;
  // Posted to the UI loop: InstallerFlow::OnStartChecksFailed (the popup, then the window closes).
  virtual void PostFatalMessage(const std::wstring& text) = 0;
  // Posted to the file loop after `delay`: the written graphics-check program is deleted.
  virtual void PostGpuToolDeletion(int64_t delay) = 0;

 protected:
  virtual ~StartSequenceSteps() {}
};

// Runs the sequence on the file loop. The check's exit reason, when one failed, is returned in
// `exit_reason` (may be null) for the controller to keep.
void RunStartSequence(StartSequenceSteps* steps, std::string* exit_reason);

}  // namespace installer

#endif  // UI_START_SEQUENCE_H_
