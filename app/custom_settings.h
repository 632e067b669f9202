// The built-in custom-settings document: <root><key value="..."/>...</root> (UTF-8).
// Platform-free: values are kept as UTF-8; the start-up code converts them to wide or to the
// ANSI code page as each setting needs.
#ifndef APP_CUSTOM_SETTINGS_H_
#define APP_CUSTOM_SETTINGS_H_

#include <map>
#include <string>

namespace app {

class CustomSettings {
 public:
  // Parses the document; false (and no values) when it is not well-formed XML with a root.
  bool Parse(const std::string& utf8_document);

  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  // The value of a key (the later element wins), or empty when absent.
  std::string Get(const std::string& key) const;
  // A boolean setting: "false", "no" and "0" give false; any other or missing value gives
  // true. `absent` is returned when the key does not occur at all.
  bool GetBool(const std::string& key, bool absent) const;

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace app

#endif  // APP_CUSTOM_SETTINGS_H_
