// The states renderlayout shows, read from its command line: the main window's five panels
// ("main", "custom", "download:P", "installing", "complete") and the popup's four kinds
// ("popup:K"). Platform-free.
#ifndef TOOLS_RENDERLAYOUT_RENDER_STATE_H_
#define TOOLS_RENDERLAYOUT_RENDER_STATE_H_

#include <string>

#include "UI/panel_states.h"
#include "uiframework/layout_document.h"

struct RenderState {
  WindowKind window = WindowKind::kMain;  // the kind of document the state applies to
  panel_states::MainState main = panel_states::MainState::kMain;
  int download_percent = 0;  // download:P, 0-100: the share of the package downloaded
  int popup_kind = 0;        // popup:K, 0-3
};

// False for anything else ("download:" needs 0-100, "popup:" needs 0-3, nothing trailing).
bool ParseRenderState(const std::string& text, RenderState* state);

// The window kind a layout resource name stands for: the cannot-download popups
// ("...UICANNOTDOWN") and the main windows ("...UIMAINWINDOW"), matched without regard to case.
// False for the other documents (they show no installer state).
bool WindowKindOfLayout(const std::wstring& resource, WindowKind* kind);

#endif  // TOOLS_RENDERLAYOUT_RENDER_STATE_H_
