// ElementAttributes: the typed view of one layout-document element's attributes (value rules
// of attribute_values.h) plus the image source that turns an image name into a cached image.
#ifndef UIFRAMEWORK_ELEMENT_ATTRIBUTES_H_
#define UIFRAMEWORK_ELEMENT_ATTRIBUTES_H_

#include <cstdint>
#include <string>

#include "uiframework/ui_types.h"

class TiXmlElement;

// Where image attributes are resolved: the image cache of the graphic resources (PNG resources
// of type 6000). An unknown name gives an invalid image.
class IImageSource {
 public:
  virtual ~IImageSource() = default;
  virtual UiImage ImageNamed(const std::wstring& name) = 0;
};

class ElementAttributes {
 public:
  // `images` may be null: every image attribute then reads as no image.
  ElementAttributes(const TiXmlElement& element, IImageSource* images) : element_(element), images_(images) {}

  bool Has(const char* name) const;
  // UTF-8 decoded to wide; absent is empty.
  std::wstring Text(const char* name) const;
  std::string Raw(const char* name) const;
  int32_t Integer(const char* name) const;
  // Integer flag: non-zero is on.
  bool Flag(const char* name) const { return Integer(name) != 0; }
  Colour ColourValue(const char* name) const;
  Margins MarginsValue(const char* name) const;
  // An empty or absent value does not touch the image source.
  UiImage Image(const char* name) const;
  const TiXmlElement& element() const { return element_; }
  IImageSource* images() const { return images_; }

 private:
  const TiXmlElement& element_;
  IImageSource* images_;
};

#endif  // UIFRAMEWORK_ELEMENT_ATTRIBUTES_H_
