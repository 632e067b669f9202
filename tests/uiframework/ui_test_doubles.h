// Test doubles of the element tree's surroundings: an owner window that records every request
// in order, a canvas that records every drawing call, and an image source of named sizes.
#ifndef PINDLE_TESTS_UIFRAMEWORK_UI_TEST_DOUBLES_H_
#define PINDLE_TESTS_UIFRAMEWORK_UI_TEST_DOUBLES_H_

#include <map>
#include <string>
#include <vector>

#include "uiframework/canvas.h"
#include "uiframework/element_attributes.h"
#include "uiframework/element_owner.h"

// One request of an element to its owner window.
struct OwnerEvent {
  uint32_t message = 0;  // element_message values; kLayeredRepaint for RequestRender
  const CBaseElementCtl* element = nullptr;
  int wparam = 0;  // tooltip: 1 show / 0 hide; cursor: the PointerShape
  std::wstring text;
  bool operator==(const OwnerEvent& other) const {
    return message == other.message && element == other.element && wparam == other.wparam && text == other.text;
  }
};

// One message posted with free parameters.
struct PostedMessage {
  uint32_t message = 0;
  uintptr_t wparam = 0;
  intptr_t lparam = 0;
  bool operator==(const PostedMessage& other) const {
    return message == other.message && wparam == other.wparam && lparam == other.lparam;
  }
};

class RecordingOwner : public IElementOwner {
 public:
  void PostElementMessage(uint32_t message, CBaseElementCtl* element) override {
    events.push_back({message, element, 0, {}});
  }
  void SendElementMessage(uint32_t message, CBaseElementCtl* element) override {
    events.push_back({message, element, 0, {}});
  }
  void RequestRender() override { events.push_back({element_message::kLayeredRepaint, nullptr, 0, {}}); }
  void InvalidateArea(const UiRect& area) override { invalidated.push_back(area); }
  void SendTooltip(bool show, const std::wstring& tip) override {
    events.push_back({element_message::kTooltip, nullptr, show ? 1 : 0, tip});
  }
  void SendCursor(PointerShape shape) override {
    events.push_back({element_message::kCursor, nullptr, static_cast<int>(shape), {}});
  }
  void OpenUrl(const std::wstring& url) override { opened.push_back(url); }
  void PostWindowMessage(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    posted.push_back({message, wparam, lparam});
  }

  // How many events carry `message`.
  int Count(uint32_t message) const {
    int count = 0;
    for (const OwnerEvent& event : events) count += event.message == message ? 1 : 0;
    return count;
  }
  // The messages in order, without the other fields.
  std::vector<uint32_t> Messages() const {
    std::vector<uint32_t> messages;
    for (const OwnerEvent& event : events) messages.push_back(event.message);
    return messages;
  }

  std::vector<OwnerEvent> events;
  std::vector<PostedMessage> posted;  // PostWindowMessage
  std::vector<UiRect> invalidated;
  std::vector<std::wstring> opened;
};

// One drawing call.
struct DrawCall {
  std::string kind;  // "blend", "fade", "nineslice", "text", "roundrect", "rectangle", "fill", "line"
  void* image = nullptr;
  UiRect dest;
  UiRect source;
  Margins corners;
  std::wstring text;
  FontKind font = FontKind::kDefault;
  Colour colour = 0;  // text colour, pen, fill or line colour
  Colour brush = 0;
  uint32_t format = 0;
  bool layered = false;
  int alpha = 255;  // "fade"
};

class RecordingCanvas : public ICanvas {
 public:
  void BlendImage(const UiImage& image, const UiRect& dest, const UiRect& source) override {
    DrawCall call;
    call.kind = "blend", call.image = image.handle, call.dest = dest, call.source = source;
    calls.push_back(call);
  }
  void FadeImage(const UiImage& image, const UiRect& dest, const UiRect& source, int alpha) override {
    DrawCall call;
    call.kind = "fade", call.image = image.handle, call.dest = dest, call.source = source, call.alpha = alpha;
    calls.push_back(call);
  }
  void NineSlice(const UiImage& image, const UiRect& dest, const UiRect& source, const Margins& corners) override {
    DrawCall call;
    call.kind = "nineslice", call.image = image.handle, call.dest = dest, call.source = source;
    call.corners = corners;
    calls.push_back(call);
  }
  void DrawString(const std::wstring& text, const UiRect& rect, FontKind font, Colour colour, uint32_t format,
                  bool layered) override {
    DrawCall call;
    call.kind = "text", call.text = text, call.dest = rect, call.font = font, call.colour = colour;
    call.format = format, call.layered = layered;
    calls.push_back(call);
  }
  int MeasureText(const std::wstring& text, FontKind) override { return static_cast<int>(text.size()) * 8; }
  void RoundRect(const UiRect& rect, Colour pen, Colour brush, bool layered) override {
    Shape("roundrect", rect, pen, brush, layered);
  }
  void Rectangle(const UiRect& rect, Colour pen, Colour brush, bool layered) override {
    Shape("rectangle", rect, pen, brush, layered);
  }
  void FillRect(const UiRect& rect, Colour colour) override { Shape("fill", rect, colour, colour, false); }
  void Line(int x1, int y1, int x2, int y2, Colour colour, bool layered) override {
    Shape("line", UiRect{x1, y1, x2, y2}, colour, colour, layered);
  }

  // The first call of `kind`, or null.
  const DrawCall* First(const std::string& kind) const {
    for (const DrawCall& call : calls) {
      if (call.kind == kind) return &call;
    }
    return nullptr;
  }

  std::vector<DrawCall> calls;

 private:
  void Shape(const char* kind, const UiRect& rect, Colour pen, Colour brush, bool layered) {
    DrawCall call;
    call.kind = kind, call.dest = rect, call.colour = pen, call.brush = brush, call.layered = layered;
    calls.push_back(call);
  }
};

// Images by name with given sizes; the handle is a distinct non-null token per name.
class FakeImages : public IImageSource {
 public:
  void Add(const std::wstring& name, int width, int height) { sizes_[name] = {width, height}; }
  UiImage ImageNamed(const std::wstring& name) override {
    ++requests[name];
    auto found = sizes_.find(name);
    if (found == sizes_.end()) return UiImage{};
    return UiImage{const_cast<std::wstring*>(&found->first), found->second.first, found->second.second};
  }
  std::map<std::wstring, int> requests;

 private:
  std::map<std::wstring, std::pair<int, int>> sizes_;
};

#endif  // PINDLE_TESTS_UIFRAMEWORK_UI_TEST_DOUBLES_H_
