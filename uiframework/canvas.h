// ICanvas: the drawing primitives a control calls, in the terms of the graphic resources. The
// Win32 canvas draws into a device context through CGDIResource (GDI for ordinary windows,
// GDI+ where `layered` asks for text and shapes with an alpha channel); tests record the calls.
#ifndef UIFRAMEWORK_CANVAS_H_
#define UIFRAMEWORK_CANVAS_H_

#include <cstdint>
#include <string>

#include "uiframework/ui_types.h"

class ICanvas {
 public:
  virtual ~ICanvas() = default;
  // Per-pixel alpha blend of `source` (a rectangle of the image) stretched into `dest`.
  virtual void BlendImage(const UiImage& image, const UiRect& dest, const UiRect& source) = 0;
  // The same with the whole image's opacity scaled by `alpha` (0 transparent to 255 as drawn).
  virtual void FadeImage(const UiImage& image, const UiRect& dest, const UiRect& source, int alpha) = 0;
  // `source` nine-sliced into `dest` keeping `corners` unscaled; all-zero corners is a stretch.
  virtual void NineSlice(const UiImage& image, const UiRect& dest, const UiRect& source, const Margins& corners) = 0;
  // Text in `font` and `colour` with the text-format bits; GDI+ (alpha 0xFE) when `layered`.
  virtual void DrawString(const std::wstring& text, const UiRect& rect, FontKind font, Colour colour, uint32_t format,
                          bool layered) = 0;
  // Width in pixels of `text` on one line in `font`.
  virtual int MeasureText(const std::wstring& text, FontKind font) = 0;
  // Rounded rectangle (quarter circles in 8 x 8 boxes through GDI+, 3 x 3 ellipses through GDI).
  virtual void RoundRect(const UiRect& rect, Colour pen, Colour brush, bool layered) = 0;
  // Rectangle filled with `brush` and outlined 1 px with `pen`.
  virtual void Rectangle(const UiRect& rect, Colour pen, Colour brush, bool layered) = 0;
  // Plain fill without outline.
  virtual void FillRect(const UiRect& rect, Colour colour) = 0;
  // 1-px line.
  virtual void Line(int x1, int y1, int x2, int y2, Colour colour, bool layered) = 0;
};

#endif  // UIFRAMEWORK_CANVAS_H_
