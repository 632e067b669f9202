#include "analytics/property_rules.h"

#include "analytics/diagnostics.h"

namespace event_analytics {

const char kEventNameKind[] = "Event Name";
const char kPropertyKeyKind[] = "Property Key";
const char kDistinctIdKind[] = "Distinct ID";
const char kOriginalIdKind[] = "Original ID";

namespace {

bool IsLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

bool InRange(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

}  // namespace

bool CheckName(const std::string& name, const char* kind) {
  if (name.empty() || name.size() > kMaxNameLength) {
    WriteDiagnostic(std::string("The ") + kind + " is empty or too long, max length is 100");
    return false;
  }
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    const bool ok = IsLetter(c) || c == '$' || c == '_' || (i > 0 && IsDigit(c));
    if (!ok) {
      WriteDiagnostic(std::string("The ") + kind + " need to be a valid variable name.");
      return false;
    }
  }
  return true;
}

bool CheckIdLength(const std::string& id, const char* kind) {
  if (id.empty()) {
    WriteDiagnostic(std::string("The ") + kind + " is empty.");
    return false;
  }
  if (id.size() > kMaxIdLength) {
    WriteDiagnostic(std::string("The ") + kind + " is too long, max length is 255.");
    return false;
  }
  return true;
}

bool IsAcceptedText(const char* data, size_t size) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
  size_t i = 0;
  while (i < size) {
    const unsigned char lead = p[i];
    if (lead < 0x80) {
      if (!(lead == '\t' || lead == '\n' || lead == '\r' || InRange(lead, 0x20, 0x7E))) {
        return false;
      }
      ++i;
      continue;
    }
    // The bounds of the second byte carry the rules against overlong forms (E0, F0),
    // surrogates (ED) and code points above U+10FFFF (F4); later bytes are plain
    // continuation bytes.
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (InRange(lead, 0xC2, 0xDF)) {
      length = 2;
    } else if (lead == 0xE0) {
      length = 3, low = 0xA0;
    } else if (InRange(lead, 0xE1, 0xEC) || InRange(lead, 0xEE, 0xEF)) {
      length = 3;
    } else if (lead == 0xED) {
      length = 3, high = 0x9F;
    } else if (lead == 0xF0) {
      length = 4, low = 0x90;
    } else if (InRange(lead, 0xF1, 0xF3)) {
      length = 4;
    } else if (lead == 0xF4) {
      length = 4, high = 0x8F;
    } else {
      return false;  // 0x80..0xC1 and 0xF5..0xFF never start a character
    }
    if (size - i < length) return false;
    if (!InRange(p[i + 1], low, high)) return false;
    for (size_t k = 2; k < length; ++k) {
      if (!InRange(p[i + k], 0x80, 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

bool CheckStringValue(const std::string& key, const std::string& value) {
  if (value.size() > kMaxStringValueLength) {
    WriteDiagnostic("String property '" + key + "' is too long, value: " + value);
    return false;
  }
  if (!IsAcceptedText(value.data(), value.size())) {
    WriteDiagnostic("String property '" + key + "' is not valid UTF-8 string, value: " + value);
    return false;
  }
  return true;
}

}  // namespace event_analytics
