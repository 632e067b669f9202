// ui_latency_probe.exe [SECONDS] [WIDTH]: how long the installer's UI thread takes to answer,
// measured from outside while it works. Every 50 ms it sends WM_NULL to the first visible
// top-level window WIDTH pixels wide (652: the installer's main window) and times the answer;
// a sent message is handled only when the window's thread returns to its message loop, so the
// figure is what a task posted to that loop waits. It stops when the window goes or after
// SECONDS (default 600) and prints the count and the 50th, 99th percentile and largest latency
// in milliseconds. Exit code 0, or 1 when no window showed within 60 s.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Search {
  int width;
  HWND found;
};

BOOL CALLBACK FindByWidth(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  RECT rect = {};
  if (IsWindowVisible(window) && GetWindowRect(window, &rect) && rect.right - rect.left == search->width) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowOfWidth(int width) {
  Search search = {width, nullptr};
  EnumWindows(&FindByWidth, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t index = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 600;
  const int width = argc > 2 ? std::atoi(argv[2]) : 652;
  HWND window = nullptr;
  for (int waited = 0; waited < 600 && !window; ++waited) {
    window = FindWindowOfWidth(width);
    if (!window) Sleep(100);
  }
  if (!window) {
    std::fprintf(stderr, "ui_latency_probe: no window %d pixels wide\n", width);
    return 1;
  }
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> latencies;
  const DWORD stop = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  while (IsWindow(window) && static_cast<LONG>(stop - GetTickCount()) > 0) {
    DWORD_PTR answer = 0;
    QueryPerformanceCounter(&start);
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer)) break;
    QueryPerformanceCounter(&end);
    latencies.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    Sleep(50);
  }
  std::printf("probes %zu p50 %.1f ms p99 %.1f ms max %.1f ms\n", latencies.size(), Percentile(latencies, 0.5),
              Percentile(latencies, 0.99),
              latencies.empty() ? 0.0 : *std::max_element(latencies.begin(), latencies.end()));
  return 0;
}
