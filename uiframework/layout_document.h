// Layout documents: the root `window` element (CWindowRoot, whose attributes describe the
// window) and CLayoutWindow, the element tree a document builds, placed and painted without a
// native window. The layered window of the windows side holds one; the renderer and the tests
// use it headless.
#ifndef UIFRAMEWORK_LAYOUT_DOCUMENT_H_
#define UIFRAMEWORK_LAYOUT_DOCUMENT_H_

#include <cstddef>
#include <memory>
#include <string>

#include "uiframework/base_element.h"
#include "uiframework/element_list.h"

// Popups and the main window accept different element names at their root.
enum class WindowKind { kPopup, kMain };

// Documents are read up to these bounds: the shipped ones hold a few dozen elements. Markup past
// the bounds is cut off, which the reader treats like any error part-way through a document.
constexpr size_t kMaxLayoutBytes = 1 << 20;
constexpr size_t kMaxLayoutTags = 1024;

// The root element's attributes.
class CWindowRoot : public CBaseElementCtl {
 public:
  explicit CWindowRoot(WindowKind kind) : CBaseElementCtl(nullptr, true), kind_(kind) {}

  void LoadFromXml(const ElementAttributes& attributes) override;

  WindowKind kind() const { return kind_; }
  int min_width() const { return min_width_; }
  int min_height() const { return min_height_; }
  int title_height() const { return title_height_; }
  const std::wstring& icon_name() const { return icon_name_; }
  const UiImage& frame() const { return frame_; }
  const Margins& frame_corner() const { return frame_corner_; }
  const UiImage& frame_back() const { return frame_back_; }
  const Margins& frame_back_corner() const { return frame_back_corner_; }
  const Margins& frame_back_pos() const { return frame_back_pos_; }
  bool center() const { return center_; }
  const UiImage& logo() const { return logo_; }
  bool round_corner() const { return round_corner_; }

 private:
  WindowKind kind_;
  int min_width_ = 307;
  int min_height_ = 451;
  int title_height_ = 20;
  std::wstring icon_name_;
  UiImage frame_;
  Margins frame_corner_;
  UiImage frame_back_;
  Margins frame_back_corner_;
  Margins frame_back_pos_;  // a rectangle: left, top, right, bottom
  bool center_ = false;
  UiImage resize_;
  UiImage title_image_;
  UiImage logo_;
  bool round_corner_ = false;
};

class TiXmlDocument;

class CLayoutWindow {
 public:
  // `owner` receives the elements' requests (may be null); `images` resolves image names.
  CLayoutWindow(WindowKind kind, IElementOwner* owner, IImageSource* images);
  ~CLayoutWindow();

  // Parses `document` (UTF-8, in memory) and builds the tree. An error part-way through keeps
  // everything read before it. False (and no elements) when there is no root element or the
  // root is not `window`; `error` then says why.
  bool Load(const std::string& document, std::string* error);
  // Load in two steps, for a window whose elements are built in its WM_CREATE (native edits
  // make their child windows as they are read, so the window must exist by then): ReadRoot
  // parses the document and reads only the root's attributes (what creating the window needs),
  // BuildElements then builds the tree from the parsed document and lets it go.
  bool ReadRoot(const std::string& document, std::string* error);
  void BuildElements();

  // The window's client size changed (WM_SIZE): every element is placed from the stored size to
  // the new one. After Load the stored size is the document's, so Resize to that size places
  // every element once.
  void Resize(int width, int height);

  CWindowRoot& root() { return root_; }
  CElementList& elements() { return elements_; }
  CBaseElementCtl* FindElement(const std::wstring& id) const { return elements_.FindElement(id); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  IElementOwner* owner_;
  IImageSource* images_;
  CWindowRoot root_;
  CElementList elements_;
  // Between ReadRoot and BuildElements.
  std::unique_ptr<TiXmlDocument> parsed_;
  int width_ = 0;
  int height_ = 0;
};

// The part of `document` the reader takes: at most kMaxLayoutBytes and kMaxLayoutTags markup
// starts ('<'), which also bounds the nesting depth the XML parser recurses through.
std::string BoundedLayoutText(const std::string& document);

#endif  // UIFRAMEWORK_LAYOUT_DOCUMENT_H_
