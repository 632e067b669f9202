#include "tools/renderlayout/render_state.h"

#include <cwctype>

namespace {

// A whole decimal number within [low, high].
bool ParseBounded(const std::string& text, int low, int high, int* value) {
  if (text.empty() || text.size() > 3) return false;
  int number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number < low || number > high) return false;
  *value = number;
  return true;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool ParseRenderState(const std::string& text, RenderState* state) {
  using panel_states::MainState;
  RenderState parsed;
  if (text == "main") {
    parsed.main = MainState::kMain;
  } else if (text == "custom") {
    parsed.main = MainState::kCustom;
  } else if (text == "installing") {
    parsed.main = MainState::kInstalling;
  } else if (text == "complete") {
    parsed.main = MainState::kComplete;
  } else if (text.compare(0, 9, "download:") == 0) {
    parsed.main = MainState::kDownload;
    if (!ParseBounded(text.substr(9), 0, 100, &parsed.download_percent)) return false;
  } else if (text.compare(0, 6, "popup:") == 0) {
    parsed.window = WindowKind::kPopup;
    if (!ParseBounded(text.substr(6), 0, panel_states::kPopupKindCount - 1, &parsed.popup_kind)) return false;
  } else {
    return false;
  }
  *state = parsed;
  return true;
}

bool WindowKindOfLayout(const std::wstring& resource, WindowKind* kind) {
  std::wstring upper;
  for (wchar_t c : resource) upper.push_back(static_cast<wchar_t>(std::towupper(c)));
  if (EndsWith(upper, L"UICANNOTDOWN")) {
    *kind = WindowKind::kPopup;
    return true;
  }
  if (EndsWith(upper, L"UIMAINWINDOW")) {
    *kind = WindowKind::kMain;
    return true;
  }
  return false;
}
