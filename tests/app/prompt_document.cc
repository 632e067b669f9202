#include "tests/app/prompt_document.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

const std::string* PromptDocument::Find(const std::string& key) const {
  for (const auto& kv : values) {
    if (kv.first == key) return &kv.second;
  }
  return nullptr;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool DecodeUtf8(const std::string& text, std::u32string* out) {
  out->clear();
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra;
    char32_t cp;
    if (lead < 0x80) {
      extra = 0;
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      cp = lead & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;  // sequence cut off at the end
    for (int k = 1; k <= extra; ++k) {
      const unsigned char c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    static const char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    out->push_back(cp);
    i += extra + 1;
  }
  return true;
}

std::u32string WideToCodePoints(const std::wstring& text) {
  std::u32string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (sizeof(wchar_t) == 2) {
      c &= 0xFFFF;
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    out.push_back(c);
  }
  return out;
}

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

PromptDocument Fail(int line, const std::string& why) {
  PromptDocument doc;
  doc.error = "line " + std::to_string(line) + ": " + why;
  return doc;
}

}  // namespace

PromptDocument ParsePromptDocument(const std::string& bytes) {
  // A byte-order mark makes the Windows profile reader decode the file itself and hand back
  // ANSI text; the installer expects the raw UTF-8 bytes.
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return Fail(1, "starts with a byte-order mark");
  std::u32string ignored;
  if (!DecodeUtf8(bytes, &ignored)) return Fail(0, "not valid UTF-8");

  PromptDocument doc;
  std::set<std::string> seen;  // lookups ignore case, so keys must differ in more than case
  bool in_info = false;
  int line_no = 0;
  size_t pos = 0;
  while (pos < bytes.size()) {
    ++line_no;
    const size_t cr = bytes.find('\r', pos);
    const size_t lf = bytes.find('\n', pos);
    if (cr == std::string::npos || lf != cr + 1) return Fail(line_no, "line does not end in CRLF");
    const std::string line = bytes.substr(pos, cr - pos);
    pos = lf + 1;

    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line != "[INFO]" || in_info) return Fail(line_no, "unexpected section " + line);
      in_info = true;
      continue;
    }
    if (!in_info) return Fail(line_no, "entry before the [INFO] section");
    const size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) return Fail(line_no, "not a key=value line");
    const std::string key = line.substr(0, eq);
    const std::string raw = line.substr(eq + 1);
    if (key.find_first_of(" \t") != std::string::npos) return Fail(line_no, "blank in key");
    // Quotes keep the leading and trailing blanks that the profile reader would otherwise
    // trim (the two halves of the low-disk message depend on them).
    if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"') {
      return Fail(line_no, "value of " + key + " is not in double quotes");
    }
    const std::string value = raw.substr(1, raw.size() - 2);
    if (value.find('"') != std::string::npos) return Fail(line_no, "quote inside " + key);
    if (!seen.insert(Lower(key)).second) return Fail(line_no, "duplicate key " + key);
    doc.values.emplace_back(key, value);
  }
  if (!in_info) return Fail(line_no, "no [INFO] section");
  doc.ok = true;
  return doc;
}
