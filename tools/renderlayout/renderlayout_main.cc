// renderlayout.exe RESOURCE STATE OUT.png [--over R,G,B]: renders a layout resource of the
// program in one installer state into a PNG with alpha (or composited on an opaque colour).
// Exit code 0 when written, 2 with a one-line reason for an unknown resource or state, 1 for
// other failures.
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/text_encoding.h"
#include "tools/renderlayout/layout_render.h"
#include "uiframework/attribute_values.h"
#include "uiframework/gdi_resource.h"

namespace {

int Fail(int code, const std::string& reason) {
  std::fprintf(stderr, "renderlayout: %s\n", reason.c_str());
  return code;
}

// "R,G,B" with each part a whole number 0-255.
bool ParseOver(const std::string& text, uint8_t rgb[3]) {
  int parts = 0;
  size_t start = 0;
  while (parts < 3) {
    const size_t comma = text.find(',', start);
    const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos) return false;
    const int value = layout_values::ParseInteger(part);
    if (value > 255) return false;
    rgb[parts++] = static_cast<uint8_t>(value);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts == 3 && text.find(',', start) == std::string::npos;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4 && !(argc == 6 && std::wstring(argv[4]) == L"--over")) {
    return Fail(2, "usage: renderlayout.exe RESOURCE STATE OUT.png [--over R,G,B]");
  }
  uint8_t over[3] = {};
  if (argc == 6 && !ParseOver(base::WideToUtf8(argv[5]), over)) {
    return Fail(2, "--over wants R,G,B with each part 0-255, not \"" + base::WideToUtf8(argv[5]) + "\"");
  }
  CGDIResource& resources = GetGDIResource();
  if (!resources.StartGdiplus(L"")) return Fail(1, "GDI+ did not start");
  int code = 0;
  {
    CDibSurface surface;
    std::string reason;
    switch (RenderLayout(argv[1], base::WideToUtf8(argv[2]), &surface, &reason)) {
      case RenderOutcome::kRendered:
        if (argc == 6) surface.CompositeOver(over[0], over[1], over[2]);
        if (!surface.SavePng(argv[3])) code = Fail(1, "cannot write " + base::WideToUtf8(argv[3]));
        break;
      case RenderOutcome::kUnknownResource:
      case RenderOutcome::kUnknownState: code = Fail(2, reason); break;
      case RenderOutcome::kFailed: code = Fail(1, reason); break;
    }
  }
  resources.StopGdiplus();
  return code;
}
