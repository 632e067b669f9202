#include "uiframework/gdi_canvas.h"

#include "runtime/scoped_handle_win.h"

namespace {

RECT ToRect(const UiRect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

void CGdiCanvas::BlendImage(const UiImage& image, const UiRect& dest, const UiRect& source) {
  resources_->BlendRect(dc_, static_cast<HBITMAP>(image.handle), ToRect(dest), ToRect(source), 2);
}

void CGdiCanvas::FadeImage(const UiImage& image, const UiRect& dest, const UiRect& source, int alpha) {
  // A nine-slice with no corners is a plain stretch, and it carries a constant alpha.
  resources_->DrawNineSlice(dc_, static_cast<HBITMAP>(image.handle), ToRect(dest), ToRect(source),
                            alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha), 0, 0, 0, 0);
}

void CGdiCanvas::NineSlice(const UiImage& image, const UiRect& dest, const UiRect& source, const Margins& corners) {
  resources_->DrawNineSlice(dc_, static_cast<HBITMAP>(image.handle), ToRect(dest), ToRect(source), 255, corners.left,
                            corners.top, corners.right, corners.bottom);
}

void CGdiCanvas::DrawString(const std::wstring& text, const UiRect& rect, FontKind font, Colour colour, uint32_t format,
                            bool layered) {
  if (layered) {
    resources_->DrawTextPlus(dc_, text, ToRect(rect), resources_->GetFont(font), colour, format);
  } else {
    resources_->DrawText(dc_, text, ToRect(rect), resources_->GetFont(font), colour, format);
  }
}

int CGdiCanvas::MeasureText(const std::wstring& text, FontKind font) {
  if (text.empty()) return 0;
  base::ScopedSelectObject select(dc_, resources_->GetFont(font));
  SIZE size = {};
  if (!GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

void CGdiCanvas::RoundRect(const UiRect& rect, Colour pen, Colour brush, bool layered) {
  if (layered) {
    resources_->DrawRoundRectPlus(dc_, ToRect(rect), pen, brush);
  } else {
    resources_->DrawRoundRect(dc_, ToRect(rect), pen, brush);
  }
}

void CGdiCanvas::Rectangle(const UiRect& rect, Colour pen, Colour brush, bool layered) {
  if (layered) {
    resources_->DrawRectanglePlus(dc_, ToRect(rect), pen, brush);
  } else {
    resources_->DrawRectangle(dc_, ToRect(rect), pen, brush);
  }
}

void CGdiCanvas::FillRect(const UiRect& rect, Colour colour) {
  resources_->FillRect(dc_, ToRect(rect), colour);
}

void CGdiCanvas::Line(int x1, int y1, int x2, int y2, Colour colour, bool layered) {
  if (layered) {
    resources_->DrawLinePlus(dc_, x1, y1, x2, y2, colour);
  } else {
    resources_->DrawLine(dc_, x1, y1, x2, y2, colour);
  }
}
