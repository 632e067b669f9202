// Controls drawn through the real GDI and GDI+ under Wine: each button state's frame, the scaled
// blend and the nine-slice of a strip frame, and the progress bar's fill and label.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/uiframework/pixel_channels.h"
#include "tests/uiframework/ui_test_doubles.h"
#include "uiframework/button.h"
#include "uiframework/dib_surface.h"
#include "uiframework/gdi_canvas.h"
#include "uiframework/gdi_resource.h"
#include "uiframework/layout_document.h"
#include "uiframework/progress.h"

namespace {

class ControlsPaint : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(resources_.StartGdiplus(L"")); }
  void TearDown() override {
    window_.reset();
    resources_.StopGdiplus();
  }
  CBaseElementCtl* Build(const std::string& body, const wchar_t* id) {
    window_ = std::make_unique<CLayoutWindow>(WindowKind::kMain, &owner_, &images_);
    std::string error;
    EXPECT_TRUE(window_->Load("<window width=\"652\" height=\"412\">" + body + "</window>", &error)) << error;
    window_->Resize(652, 412);
    return window_->FindElement(id);
  }
  void Paint(CBaseElementCtl* element, CDibSurface* surface) {
    ASSERT_TRUE(surface->Create(652, 412));
    CGdiCanvas canvas(surface->dc(), &resources_);
    element->Paint(canvas);
    GdiFlush();
  }

  CGDIResource resources_;
  CResourceImages images_{&resources_, nullptr};
  RecordingOwner owner_;
  std::unique_ptr<CLayoutWindow> window_;
};

TEST_F(ControlsPaint, EachButtonStateShowsItsOwnFrame) {
  auto* button = static_cast<CButtonCtl*>(
      Build(R"(<button id="b" left="0" top="0" width="320" height="40" image="UI_TEST_STRIP"/>)", L"b"));
  const struct {
    const char* name;
    std::function<void()> enter;
    int frame;
  } states[] = {{"normal", [] {}, 0},
                {"hover", [&] { button->OnMouseMove(0, 5, 5); }, 1},
                {"down", [&] { button->OnLButtonDown(0, 5, 5); }, 2},
                {"disabled", [&] { button->EnableButton(false); }, 3}};
  for (const auto& state : states) {
    state.enter();
    CDibSurface surface;
    Paint(button, &surface);
    EXPECT_EQ(40 + 60 * state.frame, Green(surface.Pixel(160, 20))) << state.name;
    EXPECT_EQ(255, Alpha(surface.Pixel(160, 20))) << state.name;
  }
}

TEST_F(ControlsPaint, NarrowElementGetsTheFrameScaledWideOneNineSliced) {
  auto* button = static_cast<CButtonCtl*>(
      Build(R"(<button id="b" left="0" top="0" width="304" height="40" image="UI_TEST_STRIP"/>)", L"b"));
  CDibSurface scaled;
  Paint(button, &scaled);
  // The whole frame squeezed into 304 px: both blue ends present, nothing beyond.
  EXPECT_EQ(255, Blue(scaled.Pixel(0, 20)));
  EXPECT_EQ(255, Blue(scaled.Pixel(303, 20)));
  EXPECT_EQ(0, Alpha(scaled.Pixel(304, 20)));
  EXPECT_NEAR(160 * 304 / 320, Red(scaled.Pixel(160 * 304 / 320, 20)) * 304 / 320, 3);

  // Twice as wide: nine-sliced, the 3-px corners stay 3 px; a scaled frame would show 6.
  button->MoveTo(0, 0, 640, 40);
  CDibSurface sliced;
  Paint(button, &sliced);
  for (int x : {0, 1, 2, 637, 638, 639}) EXPECT_EQ(255, Blue(sliced.Pixel(x, 20))) << x;
  for (int x : {3, 4, 5, 634, 635, 636}) EXPECT_EQ(0, Blue(sliced.Pixel(x, 20))) << x;
}

TEST_F(ControlsPaint, ProgressFillsTruncatedWidthAndLabelsUnderTheBarEnd) {
  auto* bar = static_cast<CProgressCtl*>(Build(
      R"(<panel id="p" left="6" top="256" width="640" height="144"><progress id="bar" left="16" top="32" width="607" height="8" progress="UI_TEST_BAR" progress_width="607"/></panel>)",
      L"bar"));
  bar->SetProgress(0.333f);
  CDibSurface surface;
  Paint(bar, &surface);
  const int fill = static_cast<int>(607 * 0.333f);  // 202
  EXPECT_EQ(200, Green(surface.Pixel(22, 292)));
  EXPECT_EQ(200, Green(surface.Pixel(22 + fill - 1, 292)));
  EXPECT_NE(200, Green(surface.Pixel(22 + fill, 292)));
  // The label's pixels lie in (595, 308)-(650, 332) and nowhere else below the bar.
  int inside = 0, outside = 0;
  for (int y = 300; y < 412; ++y) {
    for (int x = 0; x < 652; ++x) {
      if (Alpha(surface.Pixel(x, y)) == 0) continue;
      (x >= 595 && x < 650 && y >= 308 && y < 332) ? ++inside : ++outside;
    }
  }
  EXPECT_GT(inside, 20);
  EXPECT_EQ(0, outside);
}

// The header picture's cross-fade draws the new picture over the old one with a constant alpha:
// half the alpha gives half the (premultiplied) colour and coverage, full alpha the picture.
TEST_F(ControlsPaint, FadedImageCarriesItsConstantAlpha) {
  const UiImage bar = images_.ImageNamed(L"UI_TEST_BAR");
  ASSERT_TRUE(bar.valid());
  const struct {
    int alpha;
    int expected_alpha;
  } cases[] = {{255, 255}, {128, 128}, {20, 20}, {0, 0}};
  for (const auto& c : cases) {
    CDibSurface surface;
    ASSERT_TRUE(surface.Create(100, 20));
    CGdiCanvas canvas(surface.dc(), &resources_);
    canvas.FadeImage(bar, MakeRect(0, 0, 100, 20), MakeRect(0, 0, bar.width, bar.height), c.alpha);
    GdiFlush();
    const uint32_t pixel = surface.Pixel(50, 10);
    EXPECT_NEAR(c.expected_alpha, Alpha(pixel), 2) << c.alpha;
    EXPECT_NEAR(200 * c.expected_alpha / 255, Green(pixel), 2) << c.alpha;
  }
}

}  // namespace
