#include "app/custom_settings.h"

#include <tinyxml.h>

namespace app {

bool CustomSettings::Parse(const std::string& utf8_document) {
  values_.clear();
  TiXmlDocument document;
  document.Parse(utf8_document.c_str(), nullptr, TIXML_ENCODING_UTF8);
  if (document.Error()) return false;
  const TiXmlElement* root = document.RootElement();
  if (!root) return false;
  for (const TiXmlElement* setting = root->FirstChildElement(); setting; setting = setting->NextSiblingElement()) {
    const char* value = setting->Attribute("value");
    // A key without a value is still present (a boolean then reads as true).
    values_[setting->ValueStr()] = value ? value : "";
  }
  return true;
}

std::string CustomSettings::Get(const std::string& key) const {
  auto found = values_.find(key);
  return found == values_.end() ? std::string() : found->second;
}

bool CustomSettings::GetBool(const std::string& key, bool absent) const {
  auto found = values_.find(key);
  if (found == values_.end()) return absent;
  const std::string& value = found->second;
  return !(value == "false" || value == "no" || value == "0");
}

}  // namespace app
