// CGdiCanvas: the controls' drawing primitives on a Win32 device context, through the graphic
// resources. Windows only.
#ifndef UIFRAMEWORK_GDI_CANVAS_H_
#define UIFRAMEWORK_GDI_CANVAS_H_

#include <windows.h>

#include "uiframework/canvas.h"
#include "uiframework/gdi_resource.h"

class CGdiCanvas : public ICanvas {
 public:
  CGdiCanvas(HDC dc, CGDIResource* resources) : dc_(dc), resources_(resources) {}

  void BlendImage(const UiImage& image, const UiRect& dest, const UiRect& source) override;
  void FadeImage(const UiImage& image, const UiRect& dest, const UiRect& source, int alpha) override;
  void NineSlice(const UiImage& image, const UiRect& dest, const UiRect& source, const Margins& corners) override;
  void DrawString(const std::wstring& text, const UiRect& rect, FontKind font, Colour colour, uint32_t format,
                  bool layered) override;
  // GDI measure in the font (through this dc), as the controls have always measured.
  int MeasureText(const std::wstring& text, FontKind font) override;
  void RoundRect(const UiRect& rect, Colour pen, Colour brush, bool layered) override;
  void Rectangle(const UiRect& rect, Colour pen, Colour brush, bool layered) override;
  void FillRect(const UiRect& rect, Colour colour) override;
  void Line(int x1, int y1, int x2, int y2, Colour colour, bool layered) override;

 private:
  HDC dc_;
  CGDIResource* resources_;
};

#endif  // UIFRAMEWORK_GDI_CANVAS_H_
