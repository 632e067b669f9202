// The decisions of the layered windows that need no window: the constant alpha of an opacity,
// the non-client hit test that makes the title zone drag the window, and the steps of the main
// window's zoom-in show animation. The windows side (trans_window_win.cc) carries them out.
#ifndef UIFRAMEWORK_WINDOW_RULES_H_
#define UIFRAMEWORK_WINDOW_RULES_H_

#include "uiframework/ui_types.h"

namespace window_rules {

// The hit-test codes of WM_NCHITTEST, with the system's values.
enum HitCode {
  kHitClient = 1,
  kHitCaption = 2,
  kHitLeft = 10,
  kHitRight = 11,
  kHitTop = 12,
  kHitTopLeft = 13,
  kHitTopRight = 14,
  kHitBottom = 15,
  kHitBottomLeft = 16,
  kHitBottomRight = 17,
};

// Opacity percent to the blend's constant alpha: outside 0..100 counts as 100, and the product
// with 2.55 is truncated, so 100 gives 254, 80 gives 204 and 35 gives 89.
int ConstantAlpha(int opacity_percent);

// Where a pointer at screen point (x, y) is, for a point over no element. `window` is the window
// rectangle in screen coordinates.
struct HitTestFacts {
  UiRect window;
  int title_height = 0;
  bool maximised = false;
  bool resizable_borders = false;
  bool animating = false;  // main window only
};
// Popup: the title zone starts below a 4-px band, so the top edge stays client (or the resize
// band when borders resize).
int PopupHitTest(const HitTestFacts& facts, int x, int y);
// Main window: the whole title zone drags; nothing drags while an animation runs.
int MainHitTest(const HitTestFacts& facts, int x, int y);

// `rect` grown by `pixels` on every side (negative shrinks).
UiRect Inflate(const UiRect& rect, int pixels);

// The zoom-in animation of the main window, driven by its two 30-ms timers. Each tick gives
// one action; the windows side draws, moves and switches timers as it says.
class ShowAnimation {
 public:
  static constexpr unsigned kFirstTimer = 480147;
  static constexpr unsigned kSecondTimer = 480148;
  static constexpr int kPeriodMs = 30;

  enum class Kind {
    kDraw,         // draw the snapshot scaled into `content` on the canvas at `window`
    kDrawAndMove,  // move the window to `content` and stretch the snapshot over it
    kSwitchTimer,  // kDraw, then stop the first timer and start the second
    kRest,         // move the window back to the rest rectangle, render normally; running ends
    kFinish,       // stop the second timer, render normally, release the snapshot, run the hook
    kNone,         // a stray tick: nothing
  };
  struct Action {
    Kind kind = Kind::kNone;
    UiRect window;   // where the window (its canvas) stands, screen coordinates
    UiRect content;  // where the snapshot is drawn, screen coordinates
    int opacity = 100;
  };

  // Step 0: the window at `rest` grown by 20 on every side, the snapshot in `rest` shrunk by 50
  // at 35 %. The counter starts at 10.
  Action Start(const UiRect& rest);
  // One tick of `timer`.
  Action Tick(unsigned timer);
  // Cleared from outside (or by the safety stop); the next tick of the second timer finishes.
  void Stop() { running_ = false; }
  bool running() const { return running_; }
  int counter() const { return counter_; }

 private:
  Action Frame(Kind kind, int grow, int opacity) const;

  UiRect rest_;
  int counter_ = 0;
  bool running_ = false;
  bool started_ = false;
};

}  // namespace window_rules

#endif  // UIFRAMEWORK_WINDOW_RULES_H_
