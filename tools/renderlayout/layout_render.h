// Renders one layout resource of the running program in one installer state, headless: the
// same element tree, controls, element changes and whole-window paint as the installer, into a
// 32-bit premultiplied bitmap. GDI+ must be started. Windows only.
#ifndef TOOLS_RENDERLAYOUT_LAYOUT_RENDER_H_
#define TOOLS_RENDERLAYOUT_LAYOUT_RENDER_H_

#include <string>

#include "tools/renderlayout/render_state.h"
#include "uiframework/dib_surface.h"

enum class RenderOutcome { kRendered, kUnknownResource, kUnknownState, kFailed };

// `resource` names an "XML" resource of this module. On anything but kRendered, `reason` is one
// line saying why.
RenderOutcome RenderLayout(const std::wstring& resource, const std::string& state_text, CDibSurface* surface,
                           std::string* reason);

#endif  // TOOLS_RENDERLAYOUT_LAYOUT_RENDER_H_
