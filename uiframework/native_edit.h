// INativeEdit: a native EDIT window that stands for an element of an ordinary (not layered)
// window: the child edit of `edit` and `simedit` (CMEditEx), and the pop-up CEditWindow of
// `richedit` with its digits-only edit (CNumEdit). The windows side makes them
// (IElementOwner::CreateChildEdit / CreateEditWindow) while the document is read in the owner's
// WM_CREATE; a headless tree has none, and the element then simply takes no typing. A native
// child cannot show on a window drawn with UpdateLayeredWindow, which shows only its bitmap.
// Platform-free.
#ifndef UIFRAMEWORK_NATIVE_EDIT_H_
#define UIFRAMEWORK_NATIVE_EDIT_H_

#include <cstdint>
#include <string>

#include "uiframework/ui_types.h"

// What the native edit tells its element, from the edit's own messages on the UI thread.
class INativeEditClient {
 public:
  // A character reached the edit (WM_CHAR), before the edit handles it.
  virtual void OnNativeEditChar(uint32_t character) = 0;
  // The edit's text changed (typing, pasting, deleting, or a text set from outside).
  virtual void OnNativeEditText(const std::wstring& text) = 0;

 protected:
  ~INativeEditClient() = default;
};

struct NativeEditOptions {
  UiRect area;  // the window's area in the owner's client coordinates
  int control_id = 0;
  std::wstring text;
  bool password = false;
  bool read_only = false;
  int max_length = 0;       // characters the user may type or paste; 0 keeps the control's own limit
  std::wstring cue_banner;  // the grey hint an empty edit shows; empty for none
};

class INativeEdit {
 public:
  // Destroys the window (if it is still there).
  virtual ~INativeEdit() = default;
  // False once the window is gone (its owner was destroyed first).
  virtual bool IsOpen() const = 0;
  // Moves the window to `area` (owner client coordinates; a pop-up goes to the matching place on
  // the screen, so calling this again after the owner moved keeps it over its element).
  virtual void Place(const UiRect& area) = 0;
  virtual void Show(bool visible) = 0;
  // To the top of the z-order among its siblings.
  virtual void BringToFront() = 0;
  // Replaces the edit's text (the client hears OnNativeEditText).
  virtual void SetText(const std::wstring& text) = 0;
};

#endif  // UIFRAMEWORK_NATIVE_EDIT_H_
