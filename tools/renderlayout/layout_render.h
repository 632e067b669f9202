// Renders one layout resource of the running program in one installer state, headless: the
// same element tree, controls, element changes and whole-window paint as the installer, into a
// 32-bit premultiplied bitmap. GDI+ must be started. Windows only.
#ifndef TOOLS_RENDERLAYOUT_LAYOUT_RENDER_H_
#define TOOLS_RENDERLAYOUT_LAYOUT_RENDER_H_

#include <memory>
#include <string>

#include "tools/renderlayout/render_state.h"
#include "uiframework/dib_surface.h"

enum class RenderOutcome { kRendered, kUnknownResource, kUnknownState, kFailed };

class IElementOwner;

// One layout in one state: Prepare builds the tree and makes the installer's changes for the
// state; Paint is one whole-window render of it, as every repaint of the window is.
class CLayoutRender {
 public:
  CLayoutRender();
  ~CLayoutRender();

  // `resource` names an "XML" resource of this module. On anything but kRendered, `reason` is
  // one line saying why.
  RenderOutcome Prepare(const std::wstring& resource, const std::string& state_text, std::string* reason);
  // A new bitmap of the window's size, the background, the elements. False when no bitmap.
  bool Paint(CDibSurface* surface);

 private:
  std::unique_ptr<IElementOwner> owner_;
  std::unique_ptr<IImageSource> images_;
  std::unique_ptr<CLayoutWindow> window_;
};

// Prepare and Paint in one.
RenderOutcome RenderLayout(const std::wstring& resource, const std::string& state_text, CDibSurface* surface,
                           std::string* reason);

#endif  // TOOLS_RENDERLAYOUT_LAYOUT_RENDER_H_
