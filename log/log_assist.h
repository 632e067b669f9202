// The program's diagnostic log: one process-wide LogAssist. A call only builds a task: it hops
// to the UI loop, where the enable checks are made, and from there to the private "log_thread",
// which formats the line and appends it to "<name>0.log" or "<name>1.log". No caller ever waits
// for file access.
//
//   simlog::LogAssist& log = simlog::LogAssist::GetInstance();
//   log.SetLogName("PindleDownloaderLog");
//   log.Init(3, data_folder);
//   log.Log("UI\\UIMainWindowEx.cpp", 1484, 3, simlog::LogAssist::FormatString("start to query json"), debug);
//   SIMLOG("UI\\UIMainWindowEx.cpp", debug, "query %s", url);  // the same, line number filled in
//   ...
//   log.StopThread();  // at shutdown, after the other workers
#ifndef PINDLE_LOG_LOG_ASSIST_H_
#define PINDLE_LOG_LOG_ASSIST_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "log/log_flags.h"
#include "log/log_writer.h"
#include "runtime/lock.h"

namespace base {
class Thread;
}

namespace simlog {

// The level every line of the program is logged with.
constexpr int kLogLineLevel = 3;

class LogAssist {
 public:
  // A logger in its initial state: threshold 3, flags 0x2D, not enabled, not initialised, no
  // file. The program uses GetInstance(); tests make their own.
  LogAssist();
  // Stops the log thread if it still runs.
  ~LogAssist();
  LogAssist(const LogAssist&) = delete;
  LogAssist& operator=(const LogAssist&) = delete;

  // The process-wide logger. Made on first use, so code that logs while other globals are being
  // constructed finds it ready, and never destroyed, so threads that log while the process exits
  // do not touch a dead object.
  static LogAssist& GetInstance();

  // Stem of the two file names; set once during start-up, before Init.
  void SetLogName(const std::string& name);

  // Any thread. Posts the real initialisation to the UI loop: there, unless `folder` is empty or
  // the logger is already initialised, it enables logging with `level` as threshold, starts the
  // "log_thread" and has it choose the log file in `folder` (UTF-8). Dropped when no UI loop is
  // registered.
  void Init(int level, const std::string& folder);

  // Any thread. Does nothing when `enabled` is false; otherwise hands copies of the values to the
  // UI loop, which passes the line on to the log thread if logging is enabled and initialised,
  // `level` is within the threshold and the log thread runs. Lines from one thread keep their
  // order. A null `source_file` reads "NULL".
  void Log(const char* source_file, int line, int level, const std::string& message, bool enabled);

  // printf-style; at most 2047 bytes (longer output is cut).
  static std::string FormatString(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 1, 2)))
#endif
      ;

  // On the UI thread, at shutdown. Lines already handed to the log thread are written, then the
  // thread ends; lines that reach the UI loop after this are dropped.
  void StopThread();

  // The process debug flag: while set, lines carry the source suffix (flag 0x04). Any thread.
  void set_debug(bool debug) {
    debug_.store(debug, std::memory_order_relaxed);
  }
  bool debug() const {
    return debug_.load(std::memory_order_relaxed);
  }

  // The flag bits (kLogTimestamp ...). Read by the log thread for every line. Any thread.
  void set_flags(uint32_t flags) {
    flags_.store(flags, std::memory_order_relaxed);
  }
  uint32_t flags() const {
    return flags_.load(std::memory_order_relaxed);
  }

 private:
  void InitOnUiThread(int level, const std::string& folder);
  void LogOnUiThread(const std::string& source_file, int line, int level, const std::string& message);
  void OpenOnLogThread(const std::string& folder, const std::string& name);
  void WriteOnLogThread(const std::string& source_file, int line, int level, const std::string& message);

  // Read and written on the UI thread only.
  int level_;
  bool enabled_;
  bool initialised_;
  std::unique_ptr<base::Thread> thread_;

  // Touched on the log thread only; holds the chosen file path.
  LogWriter writer_;

  std::atomic<uint32_t> flags_;
  std::atomic<bool> debug_;

  base::Lock name_lock_;
  std::string log_name_;
};

}  // namespace simlog

// Logs one line from the calling source file at the program's level; the message is only
// formatted when the line is enabled.
#define SIMLOG(source_file, enabled, ...)                                                           \
  do {                                                                                              \
    if (enabled)                                                                                    \
      ::simlog::LogAssist::GetInstance().Log((source_file), __LINE__, ::simlog::kLogLineLevel,      \
                                             ::simlog::LogAssist::FormatString(__VA_ARGS__), true); \
  } while (0)

#endif  // PINDLE_LOG_LOG_ASSIST_H_
