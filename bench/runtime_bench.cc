// Task runtime benchmark (not a test): how fast tasks cross threads into a default loop and an
// I/O loop, next to a plain mutex + condition-variable queue measured in the same run, and how
// much CPU idle worker loops burn.
//
//   runtime_bench [tasks_per_poster=100000] [idle_seconds=10]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "runtime/message_loop.h"
#include "runtime/thread.h"
#include "runtime/waitable_event.h"

namespace {

const int kPosters = 3;

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Runs on the consuming thread only: no lock needed for its own records.
class Recorder {
 public:
  Recorder(size_t expected, base::WaitableEvent* done) : expected_(expected), done_(done) {
    latencies_ns.reserve(expected);
  }
  void Record(int64_t posted_ns) {
    latencies_ns.push_back(NowNs() - posted_ns);
    if (latencies_ns.size() == expected_) {
      finished_ns = NowNs();
      done_->Signal();
    }
  }
  std::vector<int64_t> latencies_ns;
  int64_t finished_ns = 0;

 private:
  size_t expected_;
  base::WaitableEvent* done_;
};

struct Result {
  double tasks_per_second;
  double median_us;
  double p99_us;
};

Result Summarize(std::vector<int64_t> latencies, int64_t started_ns, int64_t finished_ns) {
  std::sort(latencies.begin(), latencies.end());
  Result r;
  r.tasks_per_second = latencies.size() / ((finished_ns - started_ns) / 1e9);
  r.median_us = latencies[latencies.size() / 2] / 1000.0;
  r.p99_us = latencies[std::min(latencies.size() - 1, latencies.size() * 99 / 100)] / 1000.0;
  return r;
}

// `pace` > 0: each poster sleeps that long between posts (latency of a mostly idle loop).
Result RunLoop(int loop_type, int per_poster, std::chrono::microseconds pace) {
  base::Thread thread(loop_type == 2 ? "io_thread" : "file_thread");
  thread.StartWithOptions(base::Thread::Options(loop_type, 0));
  base::MessageLoop* loop = thread.message_loop();
  base::WaitableEvent done(false, false);
  Recorder recorder(static_cast<size_t>(per_poster) * kPosters, &done);
  const int64_t started = NowNs();
  std::vector<std::thread> posters;
  for (int p = 0; p < kPosters; ++p) {
    posters.emplace_back([&] {
      for (int i = 0; i < per_poster; ++i) {
        loop->PostTask(
            base::NewMethodTask(new base::UnretainedWrapper<Recorder>(&recorder), &Recorder::Record, NowNs()));
        if (pace.count()) std::this_thread::sleep_for(pace);
      }
    });
  }
  for (std::thread& t : posters) t.join();
  done.Wait();
  thread.Stop();
  return Summarize(recorder.latencies_ns, started, recorder.finished_ns);
}

// The baseline: one consumer thread draining a std::deque under a std::mutex, woken by a
// std::condition_variable on every push. Its items need no heap allocation (the closure fits in
// std::function's own storage); with `task_allocations` each item also makes and frees as many
// heap blocks as a Task does (task, call, wrapper), to show what those cost.
Result RunBaseline(int per_poster, std::chrono::microseconds pace, bool task_allocations) {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::function<void()>> queue;
  bool stop = false;
  base::WaitableEvent done(false, false);
  Recorder recorder(static_cast<size_t>(per_poster) * kPosters, &done);
  std::thread consumer([&] {
    for (;;) {
      std::function<void()> item;
      {
        std::unique_lock<std::mutex> hold(mutex);
        wake.wait(hold, [&] { return stop || !queue.empty(); });
        if (queue.empty()) return;
        item = std::move(queue.front());
        queue.pop_front();
      }
      item();
    }
  });
  const int64_t started = NowNs();
  std::vector<std::thread> posters;
  for (int p = 0; p < kPosters; ++p) {
    posters.emplace_back([&] {
      for (int i = 0; i < per_poster; ++i) {
        const int64_t posted = NowNs();
        if (task_allocations) {
          // Three blocks in all, sized like a Task, its call and its wrapper.
          struct Item {
            Recorder* recorder;
            int64_t posted;
            std::unique_ptr<char[]> call, wrapper;
          };
          Item* item =
              new Item{&recorder, posted, std::unique_ptr<char[]>(new char[48]), std::unique_ptr<char[]>(new char[16])};
          std::lock_guard<std::mutex> hold(mutex);
          queue.push_back([item] {
            item->recorder->Record(item->posted);
            delete item;
          });
        } else {
          std::lock_guard<std::mutex> hold(mutex);
          queue.push_back([&recorder, posted] { recorder.Record(posted); });
        }
        wake.notify_one();
        if (pace.count()) std::this_thread::sleep_for(pace);
      }
    });
  }
  for (std::thread& t : posters) t.join();
  done.Wait();
  {
    std::lock_guard<std::mutex> hold(mutex);
    stop = true;
  }
  wake.notify_one();
  consumer.join();
  return Summarize(recorder.latencies_ns, started, recorder.finished_ns);
}

double FileTimeSeconds(const FILETIME& kernel, const FILETIME& user) {
  ULARGE_INTEGER k, u;
  k.LowPart = kernel.dwLowDateTime;
  k.HighPart = kernel.dwHighDateTime;
  u.LowPart = user.dwLowDateTime;
  u.HighPart = user.dwHighDateTime;
  return (k.QuadPart + u.QuadPart) / 1e7;
}

double ThreadCpuSeconds(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
  return FileTimeSeconds(kernel, user);
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return FileTimeSeconds(kernel, user);
}

void Print(const char* name, const Result& r, const Result& baseline) {
  std::printf("  %-34s %12.0f tasks/s (%5.2fx baseline)  latency median %9.1f us  p99 %9.1f us\n", name,
              r.tasks_per_second, r.tasks_per_second / baseline.tasks_per_second, r.median_us, r.p99_us);
}

}  // namespace

int main(int argc, char** argv) {
  const int per_poster = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int idle_seconds = argc > 2 ? std::atoi(argv[2]) : 10;

  std::printf("Tasks from %d posting threads, %d each, as fast as they can post:\n", kPosters, per_poster);
  const Result baseline = RunBaseline(per_poster, std::chrono::microseconds(0), false);
  Print("std::mutex + condition_variable", baseline, baseline);
  Print("  same, 3 heap blocks per item", RunBaseline(per_poster, std::chrono::microseconds(0), true), baseline);
  Print("MessageLoop, default pump", RunLoop(0, per_poster, std::chrono::microseconds(0)), baseline);
  Print("MessageLoop, I/O pump", RunLoop(2, per_poster, std::chrono::microseconds(0)), baseline);

  const int paced = 1000;
  std::printf("Tasks from %d posting threads, %d each, one per millisecond (latency of an idle loop):\n", kPosters,
              paced);
  const Result paced_baseline = RunBaseline(paced, std::chrono::milliseconds(1), false);
  Print("std::mutex + condition_variable", paced_baseline, paced_baseline);
  Print("MessageLoop, default pump", RunLoop(0, paced, std::chrono::milliseconds(1)), paced_baseline);
  Print("MessageLoop, I/O pump", RunLoop(2, paced, std::chrono::milliseconds(1)), paced_baseline);

  {
    // Shows that the CPU clocks below work: a spinning thread must read near 100 %.
    std::atomic<bool> spin(true);
    std::atomic<DWORD> spinner_id(0);
    std::thread spinner([&spin, &spinner_id] {
      spinner_id.store(GetCurrentThreadId());
      while (spin.load()) {
      }
    });
    while (!spinner_id.load()) std::this_thread::yield();
    HANDLE handle = OpenThread(THREAD_QUERY_INFORMATION, FALSE, spinner_id.load());
    const double cpu_before = ThreadCpuSeconds(handle);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double cpu = ThreadCpuSeconds(handle) - cpu_before;
    spin.store(false);
    spinner.join();
    CloseHandle(handle);
    std::printf("Calibration: a spinning thread for 1 s reads CPU %.3f s\n", cpu);
  }
  std::printf("Three idle worker loops (2 default, 1 I/O) for %d s:\n", idle_seconds);
  base::Thread threads[3] = {base::Thread("file_thread"), base::Thread("log_thread"), base::Thread("io_thread")};
  const int types[3] = {0, 0, 2};
  HANDLE handles[3];
  for (int i = 0; i < 3; ++i) {
    threads[i].StartWithOptions(base::Thread::Options(types[i], 0));
    handles[i] = OpenThread(THREAD_QUERY_INFORMATION, FALSE, threads[i].thread_id());
  }
  double before[3];
  for (int i = 0; i < 3; ++i) before[i] = ThreadCpuSeconds(handles[i]);
  const double process_before = ProcessCpuSeconds();
  const auto wall_start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(idle_seconds));
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
  const double process_cpu = ProcessCpuSeconds() - process_before;
  for (int i = 0; i < 3; ++i) {
    const double cpu = ThreadCpuSeconds(handles[i]) - before[i];
    std::printf("  %-12s CPU %.4f s over %.1f s = %.3f %%\n", threads[i].thread_name().c_str(), cpu, wall,
                100.0 * cpu / wall);
    CloseHandle(handles[i]);
  }
  std::printf("  whole process CPU %.4f s over %.1f s = %.3f %% of one core\n", process_cpu, wall,
              100.0 * process_cpu / wall);
  for (base::Thread& t : threads) t.Stop();
  return 0;
}
