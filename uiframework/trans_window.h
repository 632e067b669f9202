// The skinned top-level windows: borderless, their look coming wholly from a layout document and
// their pixels carrying their own alpha. Each window holds the document's element tree and is
// its elements' owner: elements post their notifications and repaint requests (0x5400) to it.
//
//   CUpdateWindowBase    native window, creation from a layout resource, the render cycle
//                        (UpdateLayeredWindow, or WM_PAINT on a display that is not 32 bits per
//                        pixel), tooltip, cursor and the message map both kinds share
//   CTransWindow         the popup: the title zone below a 4-px band drags, round top corners
//   CUpdateWindowBaseEx  adds the zoom-in show animation (ShowAnimated) and its snapshot
//   CTransWindowEx       the main window: the whole title zone drags, activation, timers
//
// UI thread only. Windows only.
#ifndef UIFRAMEWORK_TRANS_WINDOW_H_
#define UIFRAMEWORK_TRANS_WINDOW_H_

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "uiframework/dib_surface.h"
#include "uiframework/element_owner.h"
#include "uiframework/gdi_resource.h"
#include "uiframework/layout_document.h"
#include "uiframework/window_rules.h"

class CUpdateWindowBase : public IElementOwner {
 public:
  // What the window did, for diagnostics and the checks of the render cycle.
  struct Stats {
    int repaint_requests = 0;  // 0x5400 messages received
    int renders = 0;           // images handed to UpdateLayeredWindow
    int invalidations = 0;     // repaint requests turned into WM_PAINT (display not 32 bits)
    int last_constant_alpha = -1;
  };
  // One image handed to UpdateLayeredWindow: where the window stood and its constant alpha.
  struct Frame {
    UiRect window;
    int constant_alpha = 0;
  };

  CUpdateWindowBase(const CUpdateWindowBase&) = delete;
  CUpdateWindowBase& operator=(const CUpdateWindowBase&) = delete;
  ~CUpdateWindowBase() override;

  // Reads the "XML" resource `resource_name` of this module and creates the window (owned by
  // `owner`, may be null), whose WM_CREATE builds the elements, then brings it to the front.
  // False (and logged) when the resource is missing, the document has no `window` root, or the
  // window cannot be created; no window exists then.
  bool LoadLayout(HWND owner, const std::wstring& resource_name);
  // The same from a document in memory.
  bool LoadLayoutDocument(HWND owner, const std::string& document, const std::wstring& name);

  HWND hwnd() const { return hwnd_; }
  CWindowRoot& root() { return layout_->root(); }
  CElementList& elements() { return layout_->elements(); }
  CBaseElementCtl* FindElement(const std::wstring& id) const { return layout_->FindElement(id); }
  const std::wstring& resource_name() const { return resource_name_; }

  // The whole window into an off-screen bitmap and onto the screen at `opacity_percent`.
  bool Render(int opacity_percent);
  // Drops the window's pending render requests and renders once now (at 100 %).
  void RenderBeforeShow();
  // The two painting steps of every render and of WM_PAINT.
  virtual void PaintBackground(ICanvas& canvas);
  virtual void PaintElements(ICanvas& canvas);

  // The display's colour depth in bits per pixel (EnumDisplaySettingsW by default). Set before
  // LoadLayout.
  void SetColourDepthSource(std::function<int()> source) { colour_depth_ = std::move(source); }
  void SetFrameObserver(std::function<void(const Frame&)> observer) { frame_observer_ = std::move(observer); }
  const Stats& stats() const { return stats_; }
  bool layered_output() const { return update_layered_ != nullptr; }

  // Flags no document sets; off unless a subclass turns them on.
  void set_resizable_borders(bool on) { resizable_borders_ = on; }
  void set_maximise_on_double_click(bool on) { maximise_on_double_click_ = on; }

  // IElementOwner.
  void PostElementMessage(uint32_t message, CBaseElementCtl* element) override;
  void SendElementMessage(uint32_t message, CBaseElementCtl* element) override;
  void RequestRender() override;
  void InvalidateArea(const UiRect& area) override;
  void SendTooltip(bool show, const std::wstring& tip) override;
  void SendCursor(PointerShape shape) override;
  void OpenUrl(const std::wstring& url) override;
  void PostWindowMessage(uint32_t message, uintptr_t wparam, intptr_t lparam) override;
  uint32_t HeldModifiers() const override;
  // An EditPopWindow over this window.
  std::unique_ptr<IPopupEdit> CreatePopupEdit(IPopupEditClient* client) override;
  // A CMEditEx child, and a CEditWindow pop-up. A native child cannot show on a window drawn
  // with UpdateLayeredWindow (32-bit displays): the ordinary WM_PAINT path shows it.
  std::unique_ptr<INativeEdit> CreateChildEdit(const NativeEditOptions& options, INativeEditClient* client) override;
  std::unique_ptr<INativeEdit> CreateEditWindow(const NativeEditOptions& options, INativeEditClient* client) override;

 protected:
  explicit CUpdateWindowBase(WindowKind kind);

  // Subclass hooks of WM_CREATE, after the elements exist: find elements, set handlers.
  virtual void BindControls() {}
  // WM_CLOSE. Destroys the window unless a subclass says otherwise.
  virtual void OnCloseWindow() { DestroyWindow(hwnd_); }
  // WM_DESTROY, before the tooltip goes.
  virtual void OnDestroyWindow() {}
  // The kind's own messages; true when handled (with `*result`).
  virtual bool HandleKindMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) = 0;
  // WM_NCHITTEST for a screen point over no element.
  virtual int HitTestFrame(int x, int y) = 0;
  // WM_SIZE, after the elements have been placed.
  virtual void OnSized() {}
  // 0x5400 may render now (the main window skips while it animates).
  virtual bool RenderAllowed() const { return true; }
  // WM_SIZE is ignored while this is false.
  virtual bool SizeAllowed() const { return true; }
  // 0x1401: the pointer shape the class cursor takes for an element cursor.
  virtual LPCWSTR CursorFor(PointerShape shape) const;

  // Hands `source` (a bitmap of `window`'s size) to UpdateLayeredWindow at `window` (screen).
  bool UpdateLayered(HDC source, const UiRect& window, int opacity_percent);
  // Paints background and elements into a new bitmap of the window's size.
  bool PaintInto(CDibSurface* surface);
  window_rules::HitTestFacts HitFacts() const;
  UiRect WindowRect() const;
  void RenderOrInvalidate(int opacity_percent);
  // Whether `element` is still in the tree: a notification posted by an element deleted since
  // must find nothing.
  bool HoldsElement(const CBaseElementCtl* element);

  HWND hwnd_ = nullptr;
  WindowKind kind_;
  std::unique_ptr<IImageSource> images_;
  std::unique_ptr<CLayoutWindow> layout_;
  bool resizable_borders_ = false;
  bool maximise_on_double_click_ = false;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool OnCreate();
  void CreateTooltip();
  void SetWindowIcon();
  void OnPaint();
  LRESULT OnHitTest(LPARAM lparam);

  typedef BOOL(WINAPI* UpdateLayeredWindowFunction)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                    DWORD);
  UpdateLayeredWindowFunction update_layered_ = nullptr;
  BLENDFUNCTION blend_ = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  HWND tooltip_ = nullptr;
  std::wstring tip_text_;
  std::wstring resource_name_;
  std::function<int()> colour_depth_;
  std::function<void(const Frame&)> frame_observer_;
  Stats stats_;
};

// The popup window base (Part of CUIUpDate).
class CTransWindow : public CUpdateWindowBase {
 public:
  CTransWindow() : CUpdateWindowBase(WindowKind::kPopup) {}

 protected:
  bool HandleKindMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
  int HitTestFrame(int x, int y) override;
  void OnSized() override { ApplyRoundCorners(); }

 private:
  // Only the two top corners are rounded (5-px ellipses); without `roundcorner` no region.
  void ApplyRoundCorners();
};

// Adds the zoom-in show animation of the main window.
class CUpdateWindowBaseEx : public CUpdateWindowBase {
 public:
  // Shows the window with the zoom-in animation when animating is on and the window is at least
  // 150 x 110, otherwise plainly with `show_command`.
  void ShowAnimated(int show_command);
  bool animating() const { return animation_.running(); }
  void set_animate(bool animate) { animate_ = animate; }
  // Clears the animation from outside; the next tick of the second timer finishes it.
  void StopAnimation() { animation_.Stop(); }

 protected:
  CUpdateWindowBaseEx() : CUpdateWindowBase(WindowKind::kMain) {}
  // Runs once, when the show animation has ended (or at once after a plain show).
  virtual void OnShowAnimationDone() {}
  // A tick of one of the animation's timers; false for other timers.
  bool OnAnimationTimer(UINT_PTR timer);
  bool RenderAllowed() const override { return !animation_.running(); }
  bool SizeAllowed() const override { return !animation_.running(); }

  UiRect rest_rect_;

 private:
  void DrawAnimationFrame(const window_rules::ShowAnimation::Action& action);

  bool animate_ = true;
  window_rules::ShowAnimation animation_;
  std::unique_ptr<CDibSurface> snapshot_;
};

// The main window base.
class CTransWindowEx : public CUpdateWindowBaseEx {
 public:
  bool active() const { return active_; }

 protected:
  bool HandleKindMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
  int HitTestFrame(int x, int y) override;
  LPCWSTR CursorFor(PointerShape shape) const override;
  // Timers of the subclass (the installer's own); true when handled.
  virtual bool OnOwnTimer(UINT_PTR /*timer*/) { return false; }

 private:
  bool active_ = false;
};

#endif  // UIFRAMEWORK_TRANS_WINDOW_H_
