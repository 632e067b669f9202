#include "extract/extract_task.h"

#include <utility>

#include "runtime/message_loop.h"
#include "runtime/task.h"

namespace {

struct ExtractJob {
  std::shared_ptr<ExtractEnvironment> env;
  std::u16string package;
  std::u16string install_folder;
  ExtractDoneCallback done;
};

struct ExtractDelivery {
  ExtractDoneCallback done;
  ExtractOutcome outcome;
};

// UI loop.
void DeliverOutcome(std::shared_ptr<ExtractDelivery> delivery) {
  if (delivery->done) delivery->done(delivery->outcome);
}

// File loop.
void RunExtractJob(std::shared_ptr<ExtractJob> job) {
  // The callback travels on to the UI loop, so that whatever it holds (the controller) is let
  // go there and not on this thread.
  auto delivery = std::make_shared<ExtractDelivery>();
  delivery->done = std::move(job->done);
  ExtractPackage(*job->env, job->package, job->install_folder,
                 [&delivery](const ExtractOutcome& outcome) { delivery->outcome = outcome; });
  job->env.reset();

  base::MessageLoop* ui = base::GetThreadLoop(base::kUiLoop);
  if (ui) ui->PostTask(base::NewFunctionTask(&DeliverOutcome, std::move(delivery)));
}

}  // namespace

bool PostExtractPackage(std::shared_ptr<ExtractEnvironment> env, const std::u16string& package,
                        const std::u16string& install_folder, ExtractDoneCallback done) {
  base::MessageLoop* file = base::GetThreadLoop(base::kFileLoop);
  if (!file || !env) return false;
  auto job = std::make_shared<ExtractJob>();
  job->env = std::move(env);
  job->package = package;
  job->install_folder = install_folder;
  job->done = std::move(done);
  file->PostTask(base::NewFunctionTask(&RunExtractJob, std::move(job)));
  return true;
}
