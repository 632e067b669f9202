// IElementOwner: the window that hosts an element tree, as the elements see it. Elements never
// run handlers from input; they post notifications to their owner, which calls them back. The
// layered window of the windows side implements this with PostMessageW / SendMessageW on its
// native window; a headless tree (the renderer, tests) records or drops the requests.
#ifndef UIFRAMEWORK_ELEMENT_OWNER_H_
#define UIFRAMEWORK_ELEMENT_OWNER_H_

#include <cstdint>
#include <memory>
#include <string>

#include "uiframework/native_edit.h"
#include "uiframework/popup_edit.h"
#include "uiframework/ui_types.h"

class CBaseElementCtl;

// Window messages of the element protocol.
namespace element_message {
constexpr uint32_t kTooltip = 0x1400;     // wParam 1: show lParam's text; 0: hide
constexpr uint32_t kCursor = 0x1401;      // wParam: the pointer shape
constexpr uint32_t kFocus = 0x1406;       // wParam: the element taking the focus
constexpr uint32_t kClick = 0x1420;       // -> FireClick
constexpr uint32_t kRightClick = 0x1421;  // -> FireRightClick
constexpr uint32_t kEnter = 0x1423;       // -> FireEnter
constexpr uint32_t kTab = 0x1424;         // answered 0; lParam: the element's tab index
constexpr uint32_t kPress = 0x1426;       // -> FirePress
constexpr uint32_t kRadioSelected = 12000;
constexpr uint32_t kEditTab = 12001;          // Tab in a native edit with a non-zero `tab`; wParam: the element
constexpr uint32_t kPathEdited = 12002;       // a character typed into a `checkpath` box; wParam: its value
constexpr uint32_t kLayeredRepaint = 0x5400;  // wParam 0, lParam the opacity percent
}  // namespace element_message

// The modifier keys held down, as HeldModifiers reports them.
namespace held_key {
constexpr uint32_t kCtrl = 1;
constexpr uint32_t kShift = 2;
constexpr uint32_t kAlt = 4;
}  // namespace held_key

class IElementOwner {
 public:
  virtual ~IElementOwner() = default;
  // Posts `message` with wParam = `element` (0x1420, 0x1421, 0x1423, 0x1424, 0x1426).
  virtual void PostElementMessage(uint32_t message, CBaseElementCtl* element) = 0;
  // Sends `message` with wParam = `element` and waits for the answer (12000, 12001).
  virtual void SendElementMessage(uint32_t message, CBaseElementCtl* element) = 0;
  // Layered windows: posts 0x5400 (wParam 0, lParam 100), one full render per request.
  virtual void RequestRender() = 0;
  // Ordinary windows: invalidates (and erases) `area` of the client.
  virtual void InvalidateArea(const UiRect& area) = 0;
  // 0x1400: shows `tip` (show true) or hides the tooltip.
  virtual void SendTooltip(bool show, const std::wstring& tip) = 0;
  // 0x1401: the class cursor of the window becomes `shape`.
  virtual void SendCursor(PointerShape shape) = 0;
  // Opens an address with the shell ("open", SW_SHOW); failures are ignored.
  virtual void OpenUrl(const std::wstring& url) = 0;
  // Posts `message` with free parameters (12002, 0x1424 with its index); nothing without a window.
  virtual void PostWindowMessage(uint32_t /*message*/, uintptr_t /*wparam*/, intptr_t /*lparam*/) {}
  // The held_key bits of the modifiers down now (GetKeyState on Windows); none without a keyboard.
  virtual uint32_t HeldModifiers() const { return 0; }
  // A pop-up edit laid over this window, serving `client`; null where there is no native window
  // (headless trees), and then the element simply takes no typing.
  virtual std::unique_ptr<IPopupEdit> CreatePopupEdit(IPopupEditClient* /*client*/) { return nullptr; }
  // A native EDIT child of this window at `options.area`, serving `client`; null where there is
  // no native window (headless trees) or it could not be made (logged).
  virtual std::unique_ptr<INativeEdit> CreateChildEdit(const NativeEditOptions& /*options*/,
                                                       INativeEditClient* /*client*/) {
    return nullptr;
  }
  // A pop-up window owned by this window, laid over `options.area` and holding a digits-only
  // edit with `options.text`; null as CreateChildEdit.
  virtual std::unique_ptr<INativeEdit> CreateEditWindow(const NativeEditOptions& /*options*/,
                                                        INativeEditClient* /*client*/) {
    return nullptr;
  }
};

#endif  // UIFRAMEWORK_ELEMENT_OWNER_H_
