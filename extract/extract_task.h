// The extraction step as the installer controller starts it: queued on the file loop, its
// outcome handed back on the UI loop.
//
//   PostExtractPackage(std::make_shared<InstallerExtractEnvironment>(app::Global()), package,
//                      install_folder, [](const ExtractOutcome& outcome) { ... UI loop ... });
#ifndef PINDLE_EXTRACT_EXTRACT_TASK_H_
#define PINDLE_EXTRACT_EXTRACT_TASK_H_

#include <memory>
#include <string>

#include "extract/extract_package.h"

// Any thread. Queues ExtractPackage(env, package, install_folder) on the file loop (kFileLoop)
// and, when it is done, calls `done` with its outcome in a task on the UI loop (kUiLoop).
// `env` is used on the file loop only and let go there; `done` is let go on the UI loop after
// the call. False when no file loop is registered: nothing is queued and `done` is never
// called. When the UI loop is gone by the time the outcome is ready (the program is ending),
// the outcome is dropped.
bool PostExtractPackage(std::shared_ptr<ExtractEnvironment> env, const std::u16string& package,
                        const std::u16string& install_folder, ExtractDoneCallback done);

#endif  // PINDLE_EXTRACT_EXTRACT_TASK_H_
