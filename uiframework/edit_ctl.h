// CEditCtl (element `edit`) and CSimEditCtl (`simedit`): text boxes of ordinary windows whose
// typing goes to a native EDIT child of the owner window (INativeEdit), made as the document is
// read and kept over the box: the element paints the frame around it (a round rectangle, the
// `normalBack` / `hoverBack` image, the icon), the edit shows and takes the text. The element's
// text follows the edit's. `simedit` is the same box with a right margin, a 4000-character
// limit and a hint while empty. No document of the installer uses them.
#ifndef UIFRAMEWORK_EDIT_CTL_H_
#define UIFRAMEWORK_EDIT_CTL_H_

#include <memory>
#include <string>

#include "uiframework/base_element.h"
#include "uiframework/native_edit.h"

class CEditCtl : public CBaseElementCtl, private INativeEditClient {
 public:
  explicit CEditCtl(IElementOwner* owner);
  ~CEditCtl() override;

  // `tab` (integer), `border` (colour, kept: the frame has its own), `normalBack`, `hoverBack`,
  // `icon` (images), `pWd`, `readonly` (flags); then the native edit (control id: the element's
  // id read as a decimal number).
  void LoadFromXml(const ElementAttributes& attributes) override;
  // Stores and gives the edit the text.
  void SetText(const std::wstring& text) override;
  // Shows or hides the edit with the box (also when a panel shows or hides it).
  void SetVisible(bool visible) override;
  void ApplyVisible(bool visible) override;
  // Stores and moves the edit into the new rectangle.
  void MoveTo(int x, int y, int width, int height) override;
  // Places the box by its rules, moves the edit there and brings it to the front.
  void Relayout(int old_parent_width, int old_parent_height, int new_parent_width, int new_parent_height) override;
  void Paint(ICanvas& canvas) override;
  void OnMouseMove(uint32_t flags, int x, int y) override;
  void OnMouseLeave() override;

  // The edit's rectangle in window client coordinates.
  UiRect EditArea() const;
  bool hovered() const { return hovered_; }
  int tab() const { return tab_; }
  int control_id() const { return control_id_; }
  bool password() const { return password_; }
  bool read_only() const { return read_only_; }
  Colour border() const { return border_; }
  // Null in a headless tree, or when the edit could not be made.
  INativeEdit* native_edit() const { return native_.get(); }

 protected:
  // The attributes both kinds read.
  void ReadAttributes(const ElementAttributes& attributes);
  void CreateNativeEdit();

  int right_margin_ = 0;
  int max_length_ = 0;
  std::wstring cue_banner_;

 private:
  // INativeEditClient.
  void OnNativeEditChar(uint32_t character) override;
  void OnNativeEditText(const std::wstring& text) override;

  int tab_ = 0;
  Colour border_ = 0;
  UiImage normal_back_;
  UiImage hover_back_;
  UiImage icon_;
  bool password_ = false;
  bool read_only_ = false;
  int control_id_ = 0;
  bool hovered_ = false;
  std::unique_ptr<INativeEdit> native_;
};

class CSimEditCtl : public CEditCtl {
 public:
  explicit CSimEditCtl(IElementOwner* owner);

  // As `edit`, plus `rightmargin` (integer): pixels kept free right of the edit.
  void LoadFromXml(const ElementAttributes& attributes) override;

  int right_margin() const { return right_margin_; }
};

#endif  // UIFRAMEWORK_EDIT_CTL_H_
