// IPopupEdit: the native single-line edit that takes the typing for an element of a layered
// window. A window drawn with UpdateLayeredWindow shows only the bitmap it is given, so a child
// edit would never appear; the edit lives in a borderless pop-up window of its own, laid over
// the element's text area, and reports back to the element (IPopupEditClient) until it loses
// the keyboard focus. The windows side makes it (IElementOwner::CreatePopupEdit); a headless
// tree has none. Platform-free.
#ifndef UIFRAMEWORK_POPUP_EDIT_H_
#define UIFRAMEWORK_POPUP_EDIT_H_

#include <cstdint>
#include <string>

#include "uiframework/ui_types.h"

// What the pop-up edit tells the element it serves. Each call comes from the edit's own
// messages, on the UI thread.
class IPopupEditClient {
 public:
  // A character reached the edit (WM_CHAR), before the edit handles it.
  virtual void OnPopupEditChar(uint32_t character) = 0;
  // The edit's text changed (typing, pasting, deleting, or a text set from outside).
  virtual void OnPopupEditText(const std::wstring& text) = 0;
  // The edit lost the keyboard focus and the pop-up is closed: `text` is its last text. The
  // pop-up's window is hidden and on its way to being destroyed; a new Open may follow at once.
  virtual void OnPopupEditClosed(const std::wstring& text) = 0;

 protected:
  ~IPopupEditClient() = default;
};

struct PopupEditOptions {
  UiRect area;  // window client coordinates of the owner window
  std::wstring text;
  int max_length = 0;     // characters the user may type or paste
  bool password = false;  // the edit masks what is typed
};

class IPopupEdit {
 public:
  // Closes an open pop-up without telling the client.
  virtual ~IPopupEdit() = default;
  // Opens the pop-up over `options.area` with the keyboard focus in its edit. True when it is
  // open afterwards (also when it already was); false, logged, when the window could not be made.
  virtual bool Open(const PopupEditOptions& options) = 0;
  virtual bool IsOpen() const = 0;
  // Replaces the text of the open edit (nothing when closed).
  virtual void SetText(const std::wstring& text) = 0;
  // Ends an open edit as a loss of focus does: the client hears OnPopupEditClosed.
  virtual void Close() = 0;
};

#endif  // UIFRAMEWORK_POPUP_EDIT_H_
