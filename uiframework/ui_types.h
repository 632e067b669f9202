// Plain value types of the skinned UI library, shared by the platform-free element code and the
// Win32 drawing side: rectangles, margins, colours, image references, font and pointer choices,
// and the text-format bits (DrawText's meaning).
#ifndef UIFRAMEWORK_UI_TYPES_H_
#define UIFRAMEWORK_UI_TYPES_H_

#include <cstdint>

// A COLORREF: red + green * 256 + blue * 65536.
using Colour = uint32_t;
constexpr Colour MakeColour(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr uint32_t RedOf(Colour colour) {
  return colour & 0xFF;
}
constexpr uint32_t GreenOf(Colour colour) {
  return (colour >> 8) & 0xFF;
}
constexpr uint32_t BlueOf(Colour colour) {
  return (colour >> 16) & 0xFF;
}

// Left, top, right, bottom, as Win32's RECT.
struct UiRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const UiRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// Positions and sizes are kept within this many pixels either way: far beyond any screen, and
// small enough that sums of a few of them never overflow, whatever a document says.
constexpr int kMaxCoordinate = 1 << 24;
constexpr int ClampCoordinate(long long value) {
  return value > kMaxCoordinate ? kMaxCoordinate : value < -kMaxCoordinate ? -kMaxCoordinate : static_cast<int>(value);
}

inline UiRect MakeRect(int x, int y, int width, int height) {
  return UiRect{x, y, x + width, y + height};
}

struct Margins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool operator==(const Margins& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// A decoded image of the image cache (an HBITMAP on Windows) with its size. The cache owns it;
// elements only refer to it. A null handle is "no image".
struct UiImage {
  void* handle = nullptr;
  int width = 0;
  int height = 0;
  bool valid() const { return handle != nullptr; }
};

// The eight fonts of the graphic resources, in their table order.
enum class FontKind { kDefault, kBold, kTitle, kBig, kMessageBoxTitle, kSmall, kSmaller, kUnderlined };
constexpr int kFontKindCount = 8;

// The pointer shape an element asks for while it is hovered.
enum class PointerShape { kArrow, kHand, kIBeam };

// Text-format bits as DrawText defines them; the GDI+ text path maps the same bits.
namespace text_format {
constexpr uint32_t kLeftTop = 0;
constexpr uint32_t kCentre = 0x1;
constexpr uint32_t kRight = 0x2;
constexpr uint32_t kVerticalCentre = 0x4;
constexpr uint32_t kBottom = 0x8;
constexpr uint32_t kSingleLine = 0x20;
constexpr uint32_t kEndEllipsis = 0x8000;
}  // namespace text_format

#endif  // UIFRAMEWORK_UI_TYPES_H_
