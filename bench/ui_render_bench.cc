// One whole-window render of the installer's layouts, as every repaint of a layered window is
// (a new window-sized 32-bit bitmap, the background, every visible element, GDI+ text), timed
// over many renders of each main-window state and of a popup. Windows only; run under Wine.
//
//   ui_render_bench.exe [RENDERS] [LAYOUT_MAIN] [LAYOUT_POPUP]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/text_encoding.h"
#include "tools/renderlayout/layout_render.h"
#include "uiframework/gdi_resource.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  const size_t index = std::min(values.size() - 1, static_cast<size_t>(share * (values.size() - 1) + 0.5));
  return values[index];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int renders = argc > 1 ? _wtoi(argv[1]) : 300;
  const std::wstring main_layout = argc > 2 ? argv[2] : L"ENGUIMAINWINDOW";
  const std::wstring popup_layout = argc > 3 ? argv[3] : L"ENGUICANNOTDOWN";
  if (renders < 2 || !GetGDIResource().StartGdiplus(L"")) return 1;
  const struct {
    const std::wstring* layout;
    const char* state;
  } cases[] = {{&main_layout, "main"},       {&main_layout, "custom"},   {&main_layout, "download:50"},
               {&main_layout, "installing"}, {&main_layout, "complete"}, {&popup_layout, "popup:1"}};
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::printf("%-16s %-12s %8s %10s %10s %10s\n", "layout", "state", "renders", "median ms", "p99 ms", "max ms");
  for (const auto& c : cases) {
    CLayoutRender render;
    std::string reason;
    if (render.Prepare(*c.layout, c.state, &reason) != RenderOutcome::kRendered) {
      std::fprintf(stderr, "%s\n", reason.c_str());
      return 1;
    }
    CDibSurface surface;
    render.Paint(&surface);  // images decoded and fonts made once, as in a running window
    std::vector<double> times;
    for (int i = 0; i < renders; ++i) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      CDibSurface frame;
      render.Paint(&frame);
      QueryPerformanceCounter(&end);
      times.push_back(Seconds(start, end, frequency) * 1000.0);
    }
    std::printf("%-16s %-12s %8d %10.2f %10.2f %10.2f\n", base::WideToUtf8(*c.layout).c_str(), c.state, renders,
                Percentile(times, 0.5), Percentile(times, 0.99), Percentile(times, 1.0));
  }
  GetGDIResource().StopGdiplus();
  return 0;
}
