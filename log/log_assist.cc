#include "log/log_assist.h"

#include <cstdarg>

#include "log/log_format.h"
#include "runtime/message_loop.h"
#include "runtime/obj_wrapper.h"
#include "runtime/task.h"
#include "runtime/thread.h"

namespace simlog {

namespace {

const char kLogThreadName[] = "log_thread";

}  // namespace

LogAssist::LogAssist()
    : level_(kDefaultLogLevel), enabled_(false), initialised_(false), flags_(kDefaultLogFlags), debug_(false) {}

LogAssist::~LogAssist() {
  StopThread();
}

LogAssist& LogAssist::GetInstance() {
  static LogAssist* const instance = new LogAssist();
  return *instance;
}

void LogAssist::SetLogName(const std::string& name) {
  base::AutoLock hold(name_lock_);
  log_name_ = name;
}

void LogAssist::Init(int level, const std::string& folder) {
  base::MessageLoop* ui_loop = base::GetThreadLoop(base::kUiLoop);
  if (!ui_loop) return;
  ui_loop->PostTask(
      base::NewMethodTask(new base::UnretainedWrapper<LogAssist>(this), &LogAssist::InitOnUiThread, level, folder));
}

void LogAssist::InitOnUiThread(int level, const std::string& folder) {
  if (folder.empty() || initialised_) return;
  enabled_ = true;
  initialised_ = true;
  level_ = level;
  if (!thread_) thread_.reset(new base::Thread(kLogThreadName));
  if (!thread_->IsRunning()) thread_->StartWithOptions(base::Thread::Options());
  base::MessageLoop* log_loop = thread_->IsRunning() ? thread_->message_loop() : nullptr;
  if (!log_loop) return;
  std::string name;
  {
    base::AutoLock hold(name_lock_);
    name = log_name_;
  }
  log_loop->PostTask(
      base::NewMethodTask(new base::UnretainedWrapper<LogAssist>(this), &LogAssist::OpenOnLogThread, folder, name));
}

void LogAssist::Log(const char* source_file, int line, int level, const std::string& message, bool enabled) {
  if (!enabled) return;
  base::MessageLoop* ui_loop = base::GetThreadLoop(base::kUiLoop);
  if (!ui_loop) return;
  ui_loop->PostTask(base::NewMethodTask(new base::UnretainedWrapper<LogAssist>(this), &LogAssist::LogOnUiThread,
                                        std::string(source_file ? source_file : "NULL"), line, level, message));
}

void LogAssist::LogOnUiThread(const std::string& source_file, int line, int level, const std::string& message) {
  if (!enabled_ || level > level_ || !initialised_) return;
  if (!thread_ || !thread_->IsRunning()) return;
  base::MessageLoop* log_loop = thread_->message_loop();
  if (!log_loop) return;
  log_loop->PostTask(base::NewMethodTask(new base::UnretainedWrapper<LogAssist>(this), &LogAssist::WriteOnLogThread,
                                         source_file, line, level, message));
}

void LogAssist::OpenOnLogThread(const std::string& folder, const std::string& name) {
  writer_.Open(folder, name);
}

void LogAssist::WriteOnLogThread(const std::string& source_file, int line, int level, const std::string& message) {
  writer_.Write(flags(), debug(), source_file.c_str(), line, level, message);
}

std::string LogAssist::FormatString(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatLogMessageV(format, args);
  va_end(args);
  return text;
}

void LogAssist::StopThread() {
  if (thread_) thread_->Stop();
}

}  // namespace simlog
