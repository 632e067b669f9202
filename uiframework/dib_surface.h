// CDibSurface: a top-down 32-bit DIB section selected into its own memory DC, starting fully
// transparent: the off-screen bitmap a layered window renders into, and the renderer's and
// tests' canvas. Saves as PNG (with alpha) through GDI+. Windows only.
#ifndef UIFRAMEWORK_DIB_SURFACE_H_
#define UIFRAMEWORK_DIB_SURFACE_H_

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/scoped_handle_win.h"

class CDibSurface {
 public:
  CDibSurface() = default;
  CDibSurface(const CDibSurface&) = delete;
  CDibSurface& operator=(const CDibSurface&) = delete;

  // False (and logged) when the bitmap or its DC cannot be made.
  bool Create(int width, int height);
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // Premultiplied BGRA, row after row from the top.
  uint32_t* pixels() const { return pixels_; }
  uint32_t Pixel(int x, int y) const { return pixels_[y * width_ + x]; }
  void Clear();
  // Composites the premultiplied pixels over an opaque colour (every alpha becomes 255).
  void CompositeOver(uint8_t red, uint8_t green, uint8_t blue);
  // PNG with straight alpha; GDI+ must be started. False (and logged) on failure.
  bool SavePng(const std::wstring& path) const;

 private:
  base::ScopedMemoryDc dc_;
  base::ScopedGdiObject bitmap_;
  std::unique_ptr<base::ScopedSelectObject> selection_;
  uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

#endif  // UIFRAMEWORK_DIB_SURFACE_H_
