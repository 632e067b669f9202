// The layered windows' decisions: constant alpha, the drag zone of popups and the main window,
// and the zoom-in animation's steps against its table.
#include "uiframework/window_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace window_rules {
namespace {

TEST(ConstantAlpha, TruncatesAndTreatsOutOfRangeAsFull) {
  const struct {
    int opacity;
    int alpha;
  } cases[] = {{100, 254}, {90, 229}, {80, 204},  {60, 153}, {40, 102},
               {35, 89},   {0, 0},    {150, 254}, {-1, 254}, {101, 254}};
  for (const auto& c : cases) EXPECT_EQ(c.alpha, ConstantAlpha(c.opacity)) << c.opacity;
}

TEST(PopupHitTest, TitleZoneBelowTheFourPixelBandDrags) {
  HitTestFacts facts;
  facts.window = MakeRect(100, 200, 492, 244);
  facts.title_height = 41;
  const struct {
    int window_y;
    int code;
  } cases[] = {{0, kHitClient},   {4, kHitClient},  {5, kHitCaption}, {20, kHitCaption},
               {41, kHitCaption}, {42, kHitClient}, {243, kHitClient}};
  for (const auto& c : cases) EXPECT_EQ(c.code, PopupHitTest(facts, 300, 200 + c.window_y)) << c.window_y;
  facts.maximised = true;
  EXPECT_EQ(kHitCaption, PopupHitTest(facts, 300, 220));
  EXPECT_EQ(kHitClient, PopupHitTest(facts, 300, 202));
}

TEST(PopupHitTest, ResizableBordersGiveEdgesAndCorners) {
  HitTestFacts facts;
  facts.window = MakeRect(0, 0, 200, 100);
  facts.title_height = 20;
  facts.resizable_borders = true;
  const struct {
    int x, y, code;
  } cases[] = {{2, 2, kHitTopLeft},        {198, 2, kHitTopRight}, {100, 2, kHitTop}, {2, 98, kHitBottomLeft},
               {198, 98, kHitBottomRight}, {100, 98, kHitBottom},  {2, 50, kHitLeft}, {198, 50, kHitRight},
               {100, 50, kHitClient},      {100, 10, kHitCaption}};
  for (const auto& c : cases) EXPECT_EQ(c.code, PopupHitTest(facts, c.x, c.y)) << c.x << "," << c.y;
}

TEST(MainHitTest, WholeTitleZoneDragsUnlessAnimating) {
  HitTestFacts facts;
  facts.window = MakeRect(10, 10, 652, 412);
  facts.title_height = 246;
  EXPECT_EQ(kHitClient, MainHitTest(facts, 300, 10));
  EXPECT_EQ(kHitCaption, MainHitTest(facts, 300, 11));
  EXPECT_EQ(kHitCaption, MainHitTest(facts, 300, 256));
  EXPECT_EQ(kHitClient, MainHitTest(facts, 300, 257));
  facts.animating = true;
  EXPECT_EQ(kHitClient, MainHitTest(facts, 300, 100));
}

// The table of the opening animation, as rectangles grown from the rest rectangle.
TEST(ShowAnimation, StepsFollowTheTableAndFinishOnce) {
  const UiRect rest = MakeRect(100, 100, 652, 412);
  ShowAnimation animation;
  const ShowAnimation::Action first = animation.Start(rest);
  EXPECT_EQ(Inflate(rest, 20), first.window);
  EXPECT_EQ(Inflate(rest, -50), first.content);
  EXPECT_EQ(35, first.opacity);
  using Kind = ShowAnimation::Kind;
  const struct {
    unsigned timer;
    Kind kind;
    int per_side;  // growth of the content on every side
    int opacity;
  } expected[] = {
      {ShowAnimation::kFirstTimer, Kind::kDraw, -47, 40},
      {ShowAnimation::kFirstTimer, Kind::kDraw, -38, 45},
      {ShowAnimation::kFirstTimer, Kind::kDraw, -24, 55},
      {ShowAnimation::kFirstTimer, Kind::kDraw, -5, 60},
      {ShowAnimation::kFirstTimer, Kind::kSwitchTimer, 20, 65},
      {ShowAnimation::kSecondTimer, Kind::kDrawAndMove, 13, 70},
      {ShowAnimation::kSecondTimer, Kind::kDrawAndMove, 7, 75},
      {ShowAnimation::kSecondTimer, Kind::kDrawAndMove, 3, 80},
      {ShowAnimation::kSecondTimer, Kind::kDrawAndMove, 1, 90},
      {ShowAnimation::kSecondTimer, Kind::kRest, 0, 100},
      {ShowAnimation::kSecondTimer, Kind::kFinish, 0, 100},
  };
  for (size_t i = 0; i < sizeof(expected) / sizeof(expected[0]); ++i) {
    const auto& step = expected[i];
    const ShowAnimation::Action action = animation.Tick(step.timer);
    EXPECT_EQ(static_cast<int>(step.kind), static_cast<int>(action.kind)) << "tick " << i;
    EXPECT_EQ(Inflate(rest, step.per_side), action.content) << "tick " << i;
    EXPECT_EQ(step.opacity, action.opacity) << "tick " << i;
    const UiRect window = step.kind == Kind::kDrawAndMove || step.kind == Kind::kRest || step.kind == Kind::kFinish
                              ? Inflate(rest, step.per_side)
                              : Inflate(rest, 20);
    EXPECT_EQ(window, action.window) << "tick " << i;
    EXPECT_EQ(step.kind != Kind::kRest && step.kind != Kind::kFinish, animation.running()) << "tick " << i;
  }
  // A late tick after the end does nothing: the hook ran once.
  EXPECT_EQ(static_cast<int>(Kind::kNone), static_cast<int>(animation.Tick(ShowAnimation::kSecondTimer).kind));
}

TEST(ShowAnimation, StoppedFromOutsideFinishesOnTheNextSecondTimerTick) {
  ShowAnimation animation;
  animation.Start(MakeRect(0, 0, 652, 412));
  for (int i = 0; i < 5; ++i) animation.Tick(ShowAnimation::kFirstTimer);
  animation.Tick(ShowAnimation::kSecondTimer);
  animation.Stop();
  EXPECT_EQ(static_cast<int>(ShowAnimation::Kind::kFinish),
            static_cast<int>(animation.Tick(ShowAnimation::kSecondTimer).kind));
}

TEST(ShowAnimation, TickBeforeStartDoesNothing) {
  ShowAnimation animation;
  EXPECT_EQ(static_cast<int>(ShowAnimation::Kind::kNone),
            static_cast<int>(animation.Tick(ShowAnimation::kSecondTimer).kind));
}

}  // namespace
}  // namespace window_rules
