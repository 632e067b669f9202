// Any bytes as a layout document: no crash, no hang, and whatever tree comes out is sound:
// every element found by walking the tree is found again by its id, placing the tree at other
// sizes keeps it whole, and it paints into a canvas that checks nothing odd is asked of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "uiframework/canvas.h"
#include "uiframework/element_list.h"
#include "uiframework/layout_document.h"

namespace {

// Images of any name exist, with a size taken from the name, so image paths are walked too.
class AnyImages : public IImageSource {
 public:
  UiImage ImageNamed(const std::wstring& name) override {
    return UiImage{this, static_cast<int>(name.size() % 7) * 40, static_cast<int>(name.size() % 5) * 8};
  }
};

class CheckingCanvas : public ICanvas {
 public:
  void BlendImage(const UiImage& image, const UiRect&, const UiRect&) override { Check(image); }
  void FadeImage(const UiImage& image, const UiRect&, const UiRect&, int) override { Check(image); }
  void NineSlice(const UiImage& image, const UiRect&, const UiRect&, const Margins&) override { Check(image); }
  void DrawString(const std::wstring&, const UiRect&, FontKind font, Colour, uint32_t, bool) override {
    if (static_cast<int>(font) < 0 || static_cast<int>(font) >= kFontKindCount) abort();
  }
  int MeasureText(const std::wstring& text, FontKind) override { return static_cast<int>(text.size() % 1000); }
  void RoundRect(const UiRect&, Colour, Colour, bool) override {}
  void Rectangle(const UiRect&, Colour, Colour, bool) override {}
  void FillRect(const UiRect&, Colour) override {}
  void Line(int, int, int, int, Colour, bool) override {}

 private:
  static void Check(const UiImage& image) {
    if (!image.valid()) abort();  // controls never draw a missing image
  }
};

// Every element of the tree, depth first, must be found by FindElement (the first with its id).
void CheckTree(const CElementList& root, const CElementList& list, int depth) {
  if (depth > static_cast<int>(kMaxLayoutTags)) abort();
  for (size_t i = 0; i < list.size(); ++i) {
    CBaseElementCtl* element = list.at(i);
    if (!root.FindElement(element->GetId())) abort();
    if (CElementList* children = element->children()) CheckTree(root, *children, depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string document(reinterpret_cast<const char*>(data), size);
  AnyImages images;
  for (WindowKind kind : {WindowKind::kMain, WindowKind::kPopup}) {
    CLayoutWindow window(kind, nullptr, &images);
    if (!window.Load(document, nullptr)) {
      if (window.elements().size() != 0) abort();
      continue;
    }
    CheckTree(window.elements(), window.elements(), 0);
    window.Resize(window.width(), window.height());
    window.Resize(700, 516);
    window.Resize(0, 0);
    CheckingCanvas canvas;
    window.elements().Paint(canvas);
    window.elements().DispatchMouseMove(0, 10, 10);
    window.elements().DispatchLButtonDown(0, 10, 10);
    window.elements().DispatchLButtonUp(0, 10, 10);
  }
  return 0;
}
