#include "uiframework/element_attributes.h"

#include <tinyxml.h>

#include "runtime/text_encoding.h"
#include "uiframework/attribute_values.h"

bool ElementAttributes::Has(const char* name) const {
  return element_.Attribute(name) != nullptr;
}

std::string ElementAttributes::Raw(const char* name) const {
  const char* value = element_.Attribute(name);
  return value ? std::string(value) : std::string();
}

std::wstring ElementAttributes::Text(const char* name) const {
  return base::Utf8ToWide(Raw(name));
}

int32_t ElementAttributes::Integer(const char* name) const {
  return layout_values::ParseInteger(Raw(name));
}

Colour ElementAttributes::ColourValue(const char* name) const {
  return layout_values::ParseColour(Raw(name));
}

Margins ElementAttributes::MarginsValue(const char* name) const {
  return layout_values::ParseMargins(Raw(name));
}

UiImage ElementAttributes::Image(const char* name) const {
  const std::wstring image_name = Text(name);
  if (image_name.empty() || !images_) return UiImage{};
  return images_->ImageNamed(image_name);
}
