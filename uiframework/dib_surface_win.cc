#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "runtime/text_encoding.h"
#include "log/log_assist.h"
#include "uiframework/dib_surface.h"

namespace {

const char kLogSource[] = "uiframework\\dib_surface.cpp";

// GDI+'s built-in PNG encoder.
const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

void LogFailure(int line, const std::string& message) {
  simlog::LogAssist::GetInstance().Log(kLogSource, line, simlog::kLogLineLevel, message, true);
}

}  // namespace

bool CDibSurface::Create(int width, int height) {
  selection_.reset();
  bitmap_.reset();
  dc_.reset();
  pixels_ = nullptr;
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dc_.reset(CreateCompatibleDC(nullptr));
  if (!bitmap_.get() || !bits || !dc_.get()) {
    LogFailure(__LINE__,
               simlog::LogAssist::FormatString("%dx%d DIB section failed, error %lu", width, height, GetLastError()));
    bitmap_.reset();
    dc_.reset();
    return false;
  }
  selection_ = std::make_unique<base::ScopedSelectObject>(dc_.get(), bitmap_.get());
  pixels_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  Clear();
  return true;
}

void CDibSurface::Clear() {
  if (pixels_) memset(pixels_, 0, static_cast<size_t>(width_) * height_ * 4);
}

void CDibSurface::CompositeOver(uint8_t red, uint8_t green, uint8_t blue) {
  GdiFlush();
  const uint32_t under[3] = {blue, green, red};
  for (int i = 0; i < width_ * height_; ++i) {
    const uint32_t pixel = pixels_[i];
    const uint32_t alpha = pixel >> 24;
    uint32_t out = 0xFF000000u;
    for (int channel = 0; channel < 3; ++channel) {
      const uint32_t value = (pixel >> (8 * channel)) & 0xFF;  // already multiplied by alpha
      const uint32_t mixed = value + (under[channel] * (255 - alpha) + 127) / 255;
      out |= (mixed > 255 ? 255 : mixed) << (8 * channel);
    }
    pixels_[i] = out;
  }
}

bool CDibSurface::SavePng(const std::wstring& path) const {
  if (!pixels_) return false;
  GdiFlush();
  Gdiplus::Bitmap image(width_, height_, width_ * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels_));
  const Gdiplus::Status status = image.Save(path.c_str(), &kPngEncoder, nullptr);
  if (status != Gdiplus::Ok) {
    LogFailure(__LINE__, simlog::LogAssist::FormatString("saving %s failed, GDI+ status %d",
                                                         base::WideToAnsi(path).c_str(), static_cast<int>(status)));
    return false;
  }
  return true;
}
