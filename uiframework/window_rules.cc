#include "uiframework/window_rules.h"

namespace window_rules {

int ConstantAlpha(int opacity_percent) {
  if (opacity_percent < 0 || opacity_percent > 100) opacity_percent = 100;
  // Rounded to a double before truncating: x87 arithmetic (the i686 build) would otherwise keep
  // the 80-bit product 203.99999999999998578 for 80 and give 203 instead of 204.
  volatile double product = opacity_percent * 2.55;
  return static_cast<int>(product);
}

int PopupHitTest(const HitTestFacts& facts, int x, int y) {
  const UiRect& w = facts.window;
  if (w.top + 4 < y && y <= w.top + facts.title_height) return kHitCaption;
  if (facts.maximised || !facts.resizable_borders) return kHitClient;
  const bool left = x <= w.left + 4;
  const bool right = x >= w.right - 4;
  const bool top = y <= w.top + 4;
  const bool bottom = y >= w.bottom - 4;
  if (top) return left ? kHitTopLeft : right ? kHitTopRight : kHitTop;
  if (bottom) return left ? kHitBottomLeft : right ? kHitBottomRight : kHitBottom;
  if (left) return kHitLeft;
  if (right) return kHitRight;
  return kHitClient;
}

int MainHitTest(const HitTestFacts& facts, int x, int y) {
  const UiRect& w = facts.window;
  if (facts.animating) return kHitClient;
  if (facts.resizable_borders && !facts.maximised) {
    // The exact edges resize.
    const bool left = x == w.left, right = x == w.right - 1, top = y == w.top, bottom = y == w.bottom - 1;
    if (top) return left ? kHitTopLeft : right ? kHitTopRight : kHitTop;
    if (bottom) return left ? kHitBottomLeft : right ? kHitBottomRight : kHitBottom;
    if (left) return kHitLeft;
    if (right) return kHitRight;
  }
  if (w.top < y && y <= w.top + facts.title_height) return kHitCaption;
  return kHitClient;
}

UiRect Inflate(const UiRect& rect, int pixels) {
  return UiRect{rect.left - pixels, rect.top - pixels, rect.right + pixels, rect.bottom + pixels};
}

namespace {

// Grow value and opacity of each tick, by the counter before it is decremented (10 down to 2).
struct StepValues {
  int counter;
  int grow;
  int opacity;
};
constexpr StepValues kSteps[] = {{10, 6, 40},  {9, 23, 45},  {8, 51, 55},  {7, 90, 60}, {6, 140, 65},
                                 {5, 126, 70}, {4, 114, 75}, {3, 106, 80}, {2, 102, 90}};
constexpr int kSafetyFloor = -3;

}  // namespace

ShowAnimation::Action ShowAnimation::Frame(Kind kind, int grow, int opacity) const {
  Action action;
  action.kind = kind;
  action.content = Inflate(rest_, (grow - 100) / 2);
  action.window = kind == Kind::kDrawAndMove ? action.content : Inflate(rest_, 20);
  action.opacity = opacity;
  return action;
}

ShowAnimation::Action ShowAnimation::Start(const UiRect& rest) {
  rest_ = rest;
  counter_ = 10;
  running_ = true;
  started_ = true;
  return Frame(Kind::kDraw, 0, 35);
}

ShowAnimation::Action ShowAnimation::Tick(unsigned timer) {
  if (!started_) return Action();
  const int counter = counter_--;
  if (timer == kSecondTimer && !running_) {
    started_ = false;
    Action finish;
    finish.kind = Kind::kFinish;
    finish.window = finish.content = rest_;
    return finish;
  }
  if (counter < kSafetyFloor) {
    running_ = false;
    return Action();
  }
  if (timer == kFirstTimer) {
    for (const StepValues& step : kSteps) {
      if (step.counter == counter && counter >= 6) {
        return Frame(counter == 6 ? Kind::kSwitchTimer : Kind::kDraw, step.grow, step.opacity);
      }
    }
    return Action();
  }
  if (timer != kSecondTimer) return Action();
  for (const StepValues& step : kSteps) {
    if (step.counter == counter && counter <= 5) return Frame(Kind::kDrawAndMove, step.grow, step.opacity);
  }
  if (counter <= 1) {
    running_ = false;
    Action rest;
    rest.kind = Kind::kRest;
    rest.window = rest.content = rest_;
    return rest;
  }
  return Action();
}

}  // namespace window_rules
