// CGDIResource: the process-wide holder of what the skinned UI draws with: the GDI+ start
// count, the cache of decoded PNG images (resources of type 6000 turned into premultiplied 32-bit
// bitmaps), the eight fonts and the drawing primitives, GDI and GDI+. Images and fonts belong to
// it; callers never delete them. UI thread only, except the GDI+ start count, which has a lock.
// Windows only.
#ifndef UIFRAMEWORK_GDI_RESOURCE_H_
#define UIFRAMEWORK_GDI_RESOURCE_H_

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "runtime/lock.h"
#include "runtime/scoped_handle_win.h"
#include "uiframework/element_attributes.h"
#include "uiframework/font_table.h"
#include "uiframework/ui_types.h"

constexpr WORD kImageResourceType = 6000;

// Reads the bytes of a resource of the given module; false when it does not exist (the reader
// logs why).
using ResourceReader = std::function<bool(HMODULE module, const wchar_t* name, WORD type, std::string* bytes)>;

class CGDIResource {
 public:
  CGDIResource();
  virtual ~CGDIResource();
  CGDIResource(const CGDIResource&) = delete;
  CGDIResource& operator=(const CGDIResource&) = delete;

  // Reference counted under the lock; the last stop releases the caches and shuts GDI+ down.
  bool StartGdiplus(const std::wstring& name);
  void StopGdiplus();
  int gdiplus_start_count();
  // Deletes every cached bitmap and font; the next request makes them again.
  void ReleaseCaches();

  // Where the two facts of the font table come from (the system by default).
  void SetFontFactsSource(std::function<FontSystemFacts()> source);
  // Where image resources are read from (the module's resources by default).
  void SetResourceReader(ResourceReader reader);
  static bool ReadModuleResource(HMODULE module, const wchar_t* name, WORD type, std::string* bytes);

  // Images. Cached by name: a decode failure is cached as null, a missing resource is not.
  virtual HBITMAP LoadImageResource(HMODULE module, const wchar_t* name, WORD type_id);
  virtual HBITMAP LoadImageResourceUncached(HMODULE module, const wchar_t* name, WORD type_id);
  // The image with its size, as the element tree refers to it.
  UiImage LoadUiImage(HMODULE module, const std::wstring& name);

  // Fonts, each made on first request.
  HFONT GetFont(FontKind kind);
  HFONT GetDefaultFont() { return GetFont(FontKind::kDefault); }
  HFONT GetBoldFont() { return GetFont(FontKind::kBold); }
  HFONT GetTitleFont() { return GetFont(FontKind::kTitle); }
  HFONT GetBigFont() { return GetFont(FontKind::kBig); }
  HFONT GetMessageBoxTitleFont() { return GetFont(FontKind::kMessageBoxTitle); }
  HFONT GetSmallFont() { return GetFont(FontKind::kSmall); }
  HFONT GetSmallerFont() { return GetFont(FontKind::kSmaller); }
  HFONT GetUnderlinedFont() { return GetFont(FontKind::kUnderlined); }

  // Image drawing. Mode 2 is a per-pixel alpha blend (AlphaBlend, AC_SRC_ALPHA); any other mode
  // a colour-key copy with magenta transparent. A null bitmap draws nothing.
  virtual void DrawNineSlice(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& source, BYTE alpha, int corner_left,
                             int corner_top, int corner_right, int corner_bottom);
  virtual void BlendRect(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& source, int mode);
  virtual void BlendImageInRect(HDC dc, HBITMAP bitmap, const RECT& dest, int mode, int alpha);
  virtual void BlendImage(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int mode, int alpha);

  // Lines and shapes. The Plus forms go through GDI+ with alpha 0xFE and 1-px pens.
  virtual void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);
  virtual void DrawLinePlus(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);
  virtual void FillRect(HDC dc, const RECT& rect, COLORREF colour);
  virtual void DrawRectangle(HDC dc, const RECT& rect, COLORREF pen, COLORREF brush);
  virtual void DrawRectanglePlus(HDC dc, const RECT& rect, COLORREF pen, COLORREF brush);
  virtual void DrawRoundRect(HDC dc, const RECT& rect, COLORREF pen, COLORREF brush);
  virtual void DrawRoundRectPlus(HDC dc, const RECT& rect, COLORREF pen, COLORREF brush);

  // Text. GDI text leaves alpha 0 in a layered bitmap, so layered windows use the Plus forms,
  // whose pixels carry alpha 0xFE. Format bits as DrawText's (see ui_types.h).
  virtual void DrawTextDefault(HDC dc, const std::wstring& text, const RECT& rect, COLORREF colour, UINT format = 0);
  virtual void DrawText(HDC dc, const std::wstring& text, const RECT& rect, HFONT font, COLORREF colour, UINT format);
  virtual void DrawTextPlusDefault(HDC dc, const std::wstring& text, const RECT& rect, COLORREF colour,
                                   UINT format = 0);
  virtual void DrawTextPlus(HDC dc, const std::wstring& text, const RECT& rect, HFONT font, COLORREF colour,
                            UINT format);
  // The size GDI+ lays `text` out in with DrawTextPlus's rules for a rectangle `width` wide
  // (wrapping unless the format has 0x20). False when GDI+ could not measure.
  bool MeasureTextPlus(HDC dc, const std::wstring& text, HFONT font, int width, UINT format, SIZE* size);

  // Statistics of the image cache, for the checks of its rules.
  int image_decodes() const { return image_decodes_; }

 private:
  HBITMAP DecodeImage(const std::string& bytes);

  base::Lock gdiplus_lock_;
  int gdiplus_count_ = 0;
  ULONG_PTR gdiplus_token_ = 0;
  std::wstring gdiplus_name_;

  std::map<std::wstring, base::ScopedGdiObject> images_;  // a decode failure is kept as null
  base::ScopedGdiObject fonts_[kFontKindCount];
  std::function<FontSystemFacts()> font_facts_;
  ResourceReader reader_;
  int image_decodes_ = 0;
};

// The image attributes of layout documents, resolved through the cache from `module`.
class CResourceImages : public IImageSource {
 public:
  CResourceImages(CGDIResource* resources, HMODULE module) : resources_(resources), module_(module) {}
  UiImage ImageNamed(const std::wstring& name) override;

 private:
  CGDIResource* resources_;
  HMODULE module_;
};

// The process-wide instance, made on first use and destroyed at exit.
CGDIResource& GetGDIResource();

// The system's facts for the font table: Chinese system (language 2052), older than Vista.
FontSystemFacts SystemFontFacts();

#endif  // UIFRAMEWORK_GDI_RESOURCE_H_
