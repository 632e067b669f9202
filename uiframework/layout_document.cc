#include "uiframework/layout_document.h"

#include <tinyxml.h>

#include "uiframework/element_factory.h"

namespace {

Margins ClampMargins(const Margins& margins) {
  return Margins{ClampCoordinate(margins.left), ClampCoordinate(margins.top), ClampCoordinate(margins.right),
                 ClampCoordinate(margins.bottom)};
}

}  // namespace

void CWindowRoot::LoadFromXml(const ElementAttributes& attributes) {
  LoadCommonAttributes(attributes);
  min_width_ = attributes.Integer("minWidth");
  min_height_ = attributes.Integer("minHeight");
  title_height_ = ClampCoordinate(attributes.Integer("titleHeight"));
  icon_name_ = attributes.Text("icon");
  frame_ = attributes.Image("frame");
  frame_corner_ = ClampMargins(attributes.MarginsValue("frameCorner"));
  frame_back_ = attributes.Image("frameBack");
  frame_back_corner_ = ClampMargins(attributes.MarginsValue("frameBackCorner"));
  frame_back_pos_ = ClampMargins(attributes.MarginsValue("frameBackPos"));
  center_ = attributes.Integer("center") == 1;
  resize_ = attributes.Image("resize");
  title_image_ = attributes.Image("title");
  logo_ = attributes.Image("logo");
  if (kind_ == WindowKind::kPopup) {
    round_corner_ = attributes.Flag("roundcorner");
  } else if (attributes.Flag("topmost")) {
    style_ex_ |= 0x00000008;  // WS_EX_TOPMOST
  }
}

std::string BoundedLayoutText(const std::string& document) {
  const size_t length = document.size() < kMaxLayoutBytes ? document.size() : kMaxLayoutBytes;
  size_t tags = 0;
  for (size_t i = 0; i < length; ++i) {
    if (document[i] == '<' && ++tags > kMaxLayoutTags) return document.substr(0, i);
  }
  return document.substr(0, length);
}

CLayoutWindow::CLayoutWindow(WindowKind kind, IElementOwner* owner, IImageSource* images)
    : owner_(owner), images_(images), root_(kind), elements_(owner) {
  root_.SetOwnerWindow(owner);
}

CLayoutWindow::~CLayoutWindow() = default;

bool CLayoutWindow::Load(const std::string& document, std::string* error) {
  if (!ReadRoot(document, error)) return false;
  BuildElements();
  return true;
}

bool CLayoutWindow::ReadRoot(const std::string& document, std::string* error) {
  elements_.Clear();
  parsed_ = std::make_unique<TiXmlDocument>();
  // The verdict is not the outcome: what was read before an error stands (the shipped main
  // window documents never close their last panel).
  parsed_->Parse(BoundedLayoutText(document).c_str(), nullptr, TIXML_ENCODING_UTF8);
  const TiXmlElement* window = parsed_->RootElement();
  if (!window || window->ValueStr() != "window") {
    if (error) {
      *error = !window ? std::string("no root element") : "root element is <" + window->ValueStr() + ">, not <window>";
      if (parsed_->Error()) *error += std::string(" (") + parsed_->ErrorDesc() + ")";
    }
    parsed_.reset();
    return false;
  }
  if (error) error->clear();
  if (parsed_->Error() && error) *error = parsed_->ErrorDesc();
  root_.LoadFromXml(ElementAttributes(*window, images_));
  width_ = root_.GetRect().width();
  height_ = root_.GetRect().height();
  return true;
}

void CLayoutWindow::BuildElements() {
  if (!parsed_) return;
  const TiXmlElement* window = parsed_->RootElement();
  const ElementPlace place = root_.kind() == WindowKind::kPopup ? ElementPlace::kPopupRoot : ElementPlace::kMainRoot;
  for (const TiXmlElement* child = window->FirstChildElement(); child; child = child->NextSiblingElement()) {
    std::unique_ptr<CBaseElementCtl> element = CreateElement(child->ValueStr(), place, owner_, true);
    if (!element) continue;
    element->LoadFromXml(ElementAttributes(*child, images_));
    elements_.Add(std::move(element));
  }
  parsed_.reset();
}

void CLayoutWindow::Resize(int width, int height) {
  elements_.Relayout(width_, height_, width, height);
  width_ = width;
  height_ = height;
}
