#include "analytics/json_writer.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <locale>
#include <sstream>

namespace event_analytics {
namespace utils {
namespace {

void AppendObject(const ObjectNode& node, std::string* out);

void AppendReal(double value, std::string* out) {
  // "nan" or "inf" would make the whole batch unreadable for the collector, and a batch it
  // refuses comes back to the queue forever; such a value travels as null instead.
  if (!std::isfinite(value)) {
    out->append("null");
    return;
  }
  std::ostringstream stream;
  stream.imbue(std::locale::classic());
  stream << value;
  out->append(stream.str());
}

void AppendValue(const ObjectNode::Value& value, std::string* out) {
  switch (value.type()) {
    case ObjectNode::kNumber: out->append(std::to_string(value.number())); break;
    case ObjectNode::kReal: AppendReal(value.real(), out); break;
    case ObjectNode::kString: AppendJsonString(value.string(), out); break;
    case ObjectNode::kList: {
      out->push_back('[');
      bool first = true;
      for (const std::string& item : value.list()) {
        if (!first) out->push_back(',');
        first = false;
        AppendJsonString(item, out);
      }
      out->push_back(']');
      break;
    }
    case ObjectNode::kDateTime: {
      const ObjectNode::DateTime when = value.date_time();
      out->push_back('"');
      out->append(FormatLocalDateTime(when.seconds, when.milliseconds));
      out->push_back('"');
      break;
    }
    case ObjectNode::kBool: out->append(value.boolean() ? "true" : "false"); break;
    case ObjectNode::kObject: AppendObject(*value.object(), out); break;
  }
}

void AppendObject(const ObjectNode& node, std::string* out) {
  out->push_back('{');
  bool first = true;
  for (const auto& entry : node.values()) {
    if (!first) out->push_back(',');
    first = false;
    // Keys are validated names or fixed keys, written as they are.
    out->push_back('"');
    out->append(entry.first);
    out->append("\":");
    AppendValue(entry.second, out);
  }
  out->push_back('}');
}

bool ToLocalTime(std::time_t when, std::tm* out) {
#ifdef _WIN32
  return localtime_s(out, &when) == 0;
#else
  return localtime_r(&when, out) != nullptr;
#endif
}

}  // namespace

void AppendJsonString(const std::string& text, std::string* out) {
  out->push_back('"');
  for (char ch : text) {
    switch (ch) {
      case '\b': out->append("\\b"); break;
      case '\t': out->append("\\t"); break;
      case '\n': out->append("\\n"); break;
      case '\f': out->append("\\f"); break;
      case '\r': out->append("\\r"); break;
      case '"': out->append("\\\""); break;
      case '\\': out->append("\\\\"); break;
      default: {
        const unsigned char byte = static_cast<unsigned char>(ch);
        if (byte < 0x20) {
          // Identifiers are checked for length only; a raw control byte would make the line
          // invalid JSON (and could split a staging-file line).
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out->append(escaped);
        } else {
          out->push_back(ch);
        }
      }
    }
  }
  out->push_back('"');
}

std::string FormatLocalDateTime(int64_t seconds, int milliseconds) {
  // Carry whole seconds out of the millisecond part so it always prints as three digits.
  int64_t carry = milliseconds / 1000;
  int ms = milliseconds % 1000;
  if (ms < 0) {
    ms += 1000;
    --carry;
  }
  std::tm parts{};
  if (!ToLocalTime(static_cast<std::time_t>(seconds + carry), &parts)) {
    parts = std::tm{};
    parts.tm_year = 70;
    parts.tm_mday = 1;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", parts.tm_year + 1900, parts.tm_mon + 1,
                parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, ms);
  return text;
}

std::string ToJson(const ObjectNode& node) {
  std::string out;
  AppendObject(node, &out);
  return out;
}

}  // namespace utils
}  // namespace event_analytics
