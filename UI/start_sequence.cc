#include "UI/start_sequence.h"

namespace installer {

void RunStartSequence(StartSequenceSteps* steps, std::string* exit_reason) {
  steps->SetWindowsBitness();
  steps->InitTracker();
  const CheckOutcome outcome = steps->RunChecks();
  if (outcome.passed) {
    steps->PostLaunchEvent();
    bool query_ok = true;
    const std::wstring previous = steps->DetectPreviousInstall(&query_ok);
    if (!query_ok) {
      steps->PostFatalMessage(steps->PromptText("64error"));
    } else {
      steps->ChoosePackagePath();
      steps->PostStartResults(previous);
    }
  } else {
    if (exit_reason) *exit_reason = outcome.exit_reason;
    // The report goes before the popup; the OS check has none.
    if (outcome.report_exit) steps->ReportExit(outcome.exit_reason);
    steps->PostFatalMessage(steps->PromptText(outcome.prompt_key));
  }
  steps->PostGpuToolDeletion(kGpuToolDeleteDelay);
}

}  // namespace installer
