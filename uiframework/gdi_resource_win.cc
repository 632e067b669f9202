#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

#include "runtime/os_error.h"
#include "runtime/text_encoding.h"
#include "log/log_assist.h"
#include "system/embedded_program.h"
#include "system/os_version.h"
#include "runtime/scoped_handle_win.h"
#include "uiframework/gdi_resource.h"

namespace {

const char kLogSource[] = "uiframework\\gdi_resource.cpp";

void LogFailure(int line, const std::string& message) {
  simlog::LogAssist::GetInstance().Log(kLogSource, line, simlog::kLogLineLevel, message, true);
}

Gdiplus::Color PlusColour(COLORREF colour) {
  // Shapes and text drawn through GDI+ are very slightly translucent.
  return Gdiplus::Color(0xFE, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

Gdiplus::StringFormat* NewStringFormat(UINT format) {
  auto* string_format = new Gdiplus::StringFormat();
  if (format & text_format::kCentre) {
    string_format->SetAlignment(Gdiplus::StringAlignmentCenter);
  } else if (format & text_format::kRight) {
    string_format->SetAlignment(Gdiplus::StringAlignmentFar);
  } else {
    string_format->SetAlignment(Gdiplus::StringAlignmentNear);
  }
  // Bottom alignment (8) is not honoured, as it never was.
  string_format->SetLineAlignment((format & text_format::kVerticalCentre) ? Gdiplus::StringAlignmentCenter
                                                                          : Gdiplus::StringAlignmentNear);
  if (format & text_format::kSingleLine) string_format->SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
  if (format & text_format::kEndEllipsis) string_format->SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  return string_format;
}

// A GDI+ font for an HFONT (the dc's current font when null). The wide logical font keeps a
// face name such as "微软雅黑" intact whatever the ANSI code page.
std::unique_ptr<Gdiplus::Font> NewPlusFont(HDC dc, HFONT font) {
  if (!font) font = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
  LOGFONTW logical = {};
  if (!font || !GetObjectW(font, sizeof(logical), &logical)) return nullptr;
  auto plus_font = std::make_unique<Gdiplus::Font>(dc, &logical);
  if (plus_font->GetLastStatus() != Gdiplus::Ok) {
    LogFailure(__LINE__, simlog::LogAssist::FormatString("GDI+ font failed, status %d",
                                                         static_cast<int>(plus_font->GetLastStatus())));
    return nullptr;
  }
  return plus_font;
}

void RoundRectPath(Gdiplus::GraphicsPath* path, const RECT& rect) {
  // Quarter circles in 8 x 8 boxes at the corners; the outline stays inside the rectangle.
  const int left = rect.left, top = rect.top, right = rect.right - 1, bottom = rect.bottom - 1;
  path->AddArc(right - 8, top, 8, 8, 270, 90);
  path->AddArc(right - 8, bottom - 8, 8, 8, 0, 90);
  path->AddArc(left, bottom - 8, 8, 8, 90, 90);
  path->AddArc(left, top, 8, 8, 180, 90);
  path->AddLine(left + 4, top, right - 4, top);
  path->CloseFigure();
}

}  // namespace

CGDIResource& GetGDIResource() {
  static CGDIResource instance;
  return instance;
}

FontSystemFacts SystemFontFacts() {
  FontSystemFacts facts;
  facts.chinese_system = GetSystemDefaultLangID() == 2052;
  facts.pre_vista = GetOsVersionCode() < 6;
  return facts;
}

CGDIResource::CGDIResource() : font_facts_(&SystemFontFacts), reader_(&CGDIResource::ReadModuleResource) {}

CGDIResource::~CGDIResource() {
  // At exit GDI+ may already be down; plain GDI objects can still be deleted.
  ReleaseCaches();
}

bool CGDIResource::StartGdiplus(const std::wstring& name) {
  base::AutoLock lock(gdiplus_lock_);
  gdiplus_name_ = name;
  if (gdiplus_count_ == 0) {
    Gdiplus::GdiplusStartupInput input;  // version 1, background thread kept
    const Gdiplus::Status status = Gdiplus::GdiplusStartup(&gdiplus_token_, &input, nullptr);
    if (status != Gdiplus::Ok) {
      LogFailure(__LINE__, simlog::LogAssist::FormatString("GdiplusStartup failed, status %d", status));
      return false;
    }
  }
  ++gdiplus_count_;
  return true;
}

void CGDIResource::StopGdiplus() {
  base::AutoLock lock(gdiplus_lock_);
  if (gdiplus_count_ > 0) --gdiplus_count_;
  if (gdiplus_count_ > 0) return;
  ReleaseCaches();
  if (gdiplus_token_) {
    Gdiplus::GdiplusShutdown(gdiplus_token_);
    gdiplus_token_ = 0;
  }
}

int CGDIResource::gdiplus_start_count() {
  base::AutoLock lock(gdiplus_lock_);
  return gdiplus_count_;
}

void CGDIResource::ReleaseCaches() {
  images_.clear();
  for (base::ScopedGdiObject& font : fonts_) font.reset();
}

void CGDIResource::SetFontFactsSource(std::function<FontSystemFacts()> source) {
  font_facts_ = std::move(source);
  for (base::ScopedGdiObject& font : fonts_) font.reset();
}

void CGDIResource::SetResourceReader(ResourceReader reader) {
  reader_ = std::move(reader);
}

bool CGDIResource::ReadModuleResource(HMODULE module, const wchar_t* name, WORD type, std::string* bytes) {
  return ::ReadModuleResource(module, name, MAKEINTRESOURCEW(type), bytes);
}

HBITMAP CGDIResource::DecodeImage(const std::string& bytes) {
  ++image_decodes_;
  // GDI+ reads from a stream over a movable global block, which the stream frees.
  base::ScopedGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  if (!memory.get()) return nullptr;
  void* target = GlobalLock(memory.get());
  if (!target) return nullptr;
  memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory.get());
  base::ScopedComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, stream.receive()))) return nullptr;
  memory.release();
  std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream.get()));
  if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok) return nullptr;
  // Composed over transparent black: premultiplied 32-bit pixels, what AlphaBlend expects.
  HBITMAP bitmap = nullptr;
  if (decoded->GetHBITMAP(Gdiplus::Color(0, 0, 0, 0), &bitmap) != Gdiplus::Ok) return nullptr;
  return bitmap;
}

HBITMAP CGDIResource::LoadImageResourceUncached(HMODULE module, const wchar_t* name, WORD type_id) {
  std::string bytes;
  if (!reader_(module, name, type_id, &bytes)) return nullptr;
  return DecodeImage(bytes);
}

HBITMAP CGDIResource::LoadImageResource(HMODULE module, const wchar_t* name, WORD type_id) {
  auto cached = images_.find(name);
  if (cached != images_.end()) return static_cast<HBITMAP>(cached->second.get());
  std::string bytes;
  // A missing resource is not cached (the next request looks again); the reader has logged it.
  if (!reader_(module, name, type_id, &bytes)) return nullptr;
  HBITMAP bitmap = DecodeImage(bytes);
  if (!bitmap) {
    LogFailure(__LINE__,
               simlog::LogAssist::FormatString("image resource %s is not a readable PNG (%u bytes)",
                                               base::WideToAnsi(name).c_str(), static_cast<unsigned>(bytes.size())));
  }
  images_[name].reset(bitmap);
  return bitmap;
}

UiImage CGDIResource::LoadUiImage(HMODULE module, const std::wstring& name) {
  HBITMAP bitmap = LoadImageResource(module, name.c_str(), kImageResourceType);
  BITMAP info = {};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return UiImage{};
  return UiImage{bitmap, info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

HFONT CGDIResource::GetFont(FontKind kind) {
  base::ScopedGdiObject& slot = fonts_[static_cast<int>(kind)];
  if (slot) return static_cast<HFONT>(slot.get());
  const FontSpec spec = DescribeFont(kind, font_facts_());
  slot.reset(CreateFontW(spec.height, 0, 0, 0, spec.weight, FALSE, spec.underline ? TRUE : FALSE, FALSE, 0,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, spec.face.c_str()));
  if (!slot) {
    const DWORD error = GetLastError();
    LogFailure(__LINE__, "CreateFontW " + base::WideToAnsi(spec.face) + " failed: " + base::OsErrorText(error));
  }
  return static_cast<HFONT>(slot.get());
}

void CGDIResource::DrawNineSlice(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& source, BYTE alpha,
                                 int corner_left, int corner_top, int corner_right, int corner_bottom) {
  if (!bitmap) return;
  base::ScopedMemoryDc memory(CreateCompatibleDC(dc));
  base::ScopedSelectObject select(memory.get(), bitmap);
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  // Columns and rows of the destination and the source: corner, stretched middle, corner.
  const int dest_x[4] = {dest.left, dest.left + corner_left, dest.right - corner_right, dest.right};
  const int dest_y[4] = {dest.top, dest.top + corner_top, dest.bottom - corner_bottom, dest.bottom};
  const int source_x[4] = {source.left, source.left + corner_left, source.right - corner_right, source.right};
  const int source_y[4] = {source.top, source.top + corner_top, source.bottom - corner_bottom, source.bottom};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      const int dw = dest_x[column + 1] - dest_x[column], dh = dest_y[row + 1] - dest_y[row];
      const int sw = source_x[column + 1] - source_x[column], sh = source_y[row + 1] - source_y[row];
      if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) continue;
      AlphaBlend(dc, dest_x[column], dest_y[row], dw, dh, memory.get(), source_x[column], source_y[row], sw, sh, blend);
    }
  }
}

void CGDIResource::BlendRect(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& source, int mode) {
  if (!bitmap) return;
  base::ScopedMemoryDc memory(CreateCompatibleDC(dc));
  base::ScopedSelectObject select(memory.get(), bitmap);
  const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  const int sw = source.right - source.left, sh = source.bottom - source.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (mode == 2) {
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, dest.left, dest.top, dw, dh, memory.get(), source.left, source.top, sw, sh, blend);
  } else {
    TransparentBlt(dc, dest.left, dest.top, dw, dh, memory.get(), source.left, source.top, sw, sh, RGB(255, 0, 255));
  }
}

void CGDIResource::BlendImageInRect(HDC dc, HBITMAP bitmap, const RECT& dest, int mode, int alpha) {
  BlendImage(dc, bitmap, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, mode, alpha);
}

void CGDIResource::BlendImage(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int mode, int alpha) {
  BITMAP info = {};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || width <= 0 || height <= 0) return;
  const int image_height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  base::ScopedMemoryDc memory(CreateCompatibleDC(dc));
  base::ScopedSelectObject select(memory.get(), bitmap);
  if (mode == 2) {
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha < 255 ? (alpha < 0 ? 0 : alpha) : 255),
                                 AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, width, height, memory.get(), 0, 0, info.bmWidth, image_height, blend);
  } else {
    TransparentBlt(dc, x, y, width, height, memory.get(), 0, 0, info.bmWidth, image_height, RGB(255, 0, 255));
  }
}

void CGDIResource::DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  base::ScopedGdiObject pen(CreatePen(PS_SOLID, 1, colour));
  base::ScopedSelectObject select(dc, pen.get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void CGDIResource::DrawLinePlus(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  Gdiplus::Graphics graphics(dc);
  Gdiplus::Pen pen(PlusColour(colour), 1.0f);
  graphics.DrawLine(&pen, x1, y1, x2, y2);
}

void CGDIResource::FillRect(HDC dc, const RECT& rect, COLORREF colour) {
  base::ScopedGdiObject brush(CreateSolidBrush(colour));
  ::FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

void CGDIResource::DrawRectangle(HDC dc, const RECT& rect, COLORREF pen_colour, COLORREF brush_colour) {
  base::ScopedGdiObject pen(CreatePen(PS_SOLID, 1, pen_colour));
  base::ScopedGdiObject brush(CreateSolidBrush(brush_colour));
  base::ScopedSelectObject select_pen(dc, pen.get());
  base::ScopedSelectObject select_brush(dc, brush.get());
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void CGDIResource::DrawRectanglePlus(HDC dc, const RECT& rect, COLORREF pen_colour, COLORREF brush_colour) {
  Gdiplus::Graphics graphics(dc);
  Gdiplus::SolidBrush brush(PlusColour(brush_colour));
  Gdiplus::Pen pen(PlusColour(pen_colour), 1.0f);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  graphics.FillRectangle(&brush, rect.left, rect.top, width, height);
  graphics.DrawRectangle(&pen, rect.left, rect.top, width - 1, height - 1);
}

void CGDIResource::DrawRoundRect(HDC dc, const RECT& rect, COLORREF pen_colour, COLORREF brush_colour) {
  base::ScopedGdiObject pen(CreatePen(PS_SOLID, 1, pen_colour));
  base::ScopedGdiObject brush(CreateSolidBrush(brush_colour));
  base::ScopedSelectObject select_pen(dc, pen.get());
  base::ScopedSelectObject select_brush(dc, brush.get());
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 3, 3);
}

void CGDIResource::DrawRoundRectPlus(HDC dc, const RECT& rect, COLORREF pen_colour, COLORREF brush_colour) {
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::GraphicsPath path;
  RoundRectPath(&path, rect);
  Gdiplus::SolidBrush brush(PlusColour(brush_colour));
  Gdiplus::Pen pen(PlusColour(pen_colour), 1.0f);
  graphics.FillPath(&brush, &path);
  graphics.DrawPath(&pen, &path);
}

void CGDIResource::DrawTextDefault(HDC dc, const std::wstring& text, const RECT& rect, COLORREF colour, UINT format) {
  DrawText(dc, text, rect, GetDefaultFont(), colour, format);
}

void CGDIResource::DrawText(HDC dc, const std::wstring& text, const RECT& rect, HFONT font, COLORREF colour,
                            UINT format) {
  SetBkMode(dc, TRANSPARENT);
  base::ScopedSelectObject select(dc, font);
  SetTextColor(dc, colour);
  RECT target = rect;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &target, format);
}

void CGDIResource::DrawTextPlusDefault(HDC dc, const std::wstring& text, const RECT& rect, COLORREF colour,
                                       UINT format) {
  DrawTextPlus(dc, text, rect, GetDefaultFont(), colour, format);
}

void CGDIResource::DrawTextPlus(HDC dc, const std::wstring& text, const RECT& rect, HFONT font, COLORREF colour,
                                UINT format) {
  std::unique_ptr<Gdiplus::Font> plus_font = NewPlusFont(dc, font);
  if (!plus_font) return;
  Gdiplus::Graphics graphics(dc);
  Gdiplus::SolidBrush brush(PlusColour(colour));
  std::unique_ptr<Gdiplus::StringFormat> string_format(NewStringFormat(format));
  const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                              static_cast<Gdiplus::REAL>(rect.right - rect.left),
                              static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  graphics.DrawString(text.c_str(), -1, plus_font.get(), layout, string_format.get(), &brush);
}

bool CGDIResource::MeasureTextPlus(HDC dc, const std::wstring& text, HFONT font, int width, UINT format, SIZE* size) {
  std::unique_ptr<Gdiplus::Font> plus_font = NewPlusFont(dc, font);
  if (!plus_font) return false;
  Gdiplus::Graphics graphics(dc);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  std::unique_ptr<Gdiplus::StringFormat> string_format(NewStringFormat(format & ~text_format::kEndEllipsis));
  const Gdiplus::SizeF area(static_cast<Gdiplus::REAL>((format & text_format::kSingleLine) ? 100000 : width),
                            100000.0f);
  Gdiplus::SizeF measured;
  if (graphics.MeasureString(text.c_str(), -1, plus_font.get(), area, string_format.get(), &measured) != Gdiplus::Ok) {
    return false;
  }
  size->cx = static_cast<LONG>(measured.Width + 0.999f);
  size->cy = static_cast<LONG>(measured.Height + 0.999f);
  return true;
}

UiImage CResourceImages::ImageNamed(const std::wstring& name) {
  return resources_->LoadUiImage(module_, name);
}
