// CRichEditCtl (element `richedit`): a digits-only entry in a pop-up window of its own
// (CEditWindow, INativeEdit), made as the document is read and laid over the element on the
// screen; the element follows it wherever the element or its window moves, shows and hides it
// with itself and destroys it when it goes. The pop-up paints its box; the element paints
// nothing. Its text follows the pop-up's edit. No document of the installer uses it.
#ifndef UIFRAMEWORK_RICH_EDIT_H_
#define UIFRAMEWORK_RICH_EDIT_H_

#include <memory>
#include <string>

#include "uiframework/base_element.h"
#include "uiframework/native_edit.h"

class CRichEditCtl : public CBaseElementCtl, private INativeEditClient {
 public:
  explicit CRichEditCtl(IElementOwner* owner);
  ~CRichEditCtl() override;

  // The common attributes only (the title is the starting text); then the pop-up.
  void LoadFromXml(const ElementAttributes& attributes) override;
  // Stores and gives the pop-up's edit the text.
  void SetText(const std::wstring& text) override;
  // Shows or hides the pop-up with the element (also when a panel shows or hides it); shown, it
  // goes to where the element is now.
  void SetVisible(bool visible) override;
  void ApplyVisible(bool visible) override;
  // Stores; enabled again, the pop-up goes to where the element is now (while disabled the
  // element does not hear of the owner's moves).
  void SetEnabled(bool enabled) override;
  // Stores and moves the pop-up over the new rectangle.
  void MoveTo(int x, int y, int width, int height) override;
  void Relayout(int old_parent_width, int old_parent_height, int new_parent_width, int new_parent_height) override;
  // The owner window moved: the pop-up goes with it.
  void OnOwnerMoved() override;

  // Null in a headless tree, or when the pop-up could not be made.
  INativeEdit* edit_window() const { return window_.get(); }

 private:
  // INativeEditClient.
  void OnNativeEditChar(uint32_t) override {}
  void OnNativeEditText(const std::wstring& text) override { text_ = text; }

  std::unique_ptr<INativeEdit> window_;
};

#endif  // UIFRAMEWORK_RICH_EDIT_H_
