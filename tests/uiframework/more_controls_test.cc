// The controls no shipped document uses: radio buttons, tabs and tab lists, the option line, the
// memory gauge button, the rotating static, the animation static and the tree.
#include <gtest/gtest.h>

#include "tests/uiframework/control_fixture.h"
#include "uiframework/animated_statics.h"
#include "uiframework/layout_document.h"
#include "uiframework/memory_button.h"
#include "uiframework/radio_button.h"
#include "uiframework/tab.h"
#include "uiframework/tree.h"

namespace {

class MoreControls : public ControlFixture {
 protected:
  MoreControls() {
    images_.Add(L"RADIO", 64, 16);
    images_.Add(L"GAUGE", 110, 10);
    images_.Add(L"SPIN", 100, 20);
  }
};

TEST_F(MoreControls, RadioButtonSelectsOnceAndSends12000) {
  auto* radio = dynamic_cast<CRadioButtonCtl*>(
      Build(R"(<panel id="p"><radiobutton id="r" width="20" height="16" image="RADIO"/></panel>)", L"r"));
  ASSERT_NE(nullptr, radio);
  EXPECT_FALSE(radio->layered());  // radio buttons in panels are never layered
  radio->OnLButtonDown(0, 1, 1);
  radio->OnLButtonDown(0, 1, 1);  // already selected: nothing
  EXPECT_TRUE(radio->selected());
  EXPECT_EQ(1, owner_.Count(element_message::kRadioSelected));
  RecordingCanvas canvas;
  radio->Paint(canvas);
  EXPECT_EQ((UiRect{32, 0, 64, 16}), canvas.First("blend")->source);  // half-width frames, down is frame 1
}

TEST_F(MoreControls, TabListSelectsTheReleasedTabAndShowsItsPage) {
  auto* list = dynamic_cast<CTabListCtl*>(Build(R"(<tablist id="l" left="0" top="0" width="200" height="30">
        <tab id="a" left="0" top="0" width="100" height="30"/><tab id="b" left="100" top="0" width="100" height="30"/>
        <button id="not_a_tab"/></tablist><static id="page_a"/><static id="page_b"/>)",
                                                L"l"));
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(nullptr, window_.FindElement(L"not_a_tab"));
  list->SetPage(L"a", window_.FindElement(L"page_a"));
  list->SetPage(L"b", window_.FindElement(L"page_b"));
  list->Select(L"a");
  auto* b = dynamic_cast<CTabCtl*>(window_.FindElement(L"b"));
  owner_.events.clear();
  b->OnLButtonDown(0, 150, 10);
  b->OnLButtonUp(0, 150, 10);
  EXPECT_TRUE(b->selected());
  EXPECT_FALSE(dynamic_cast<CTabCtl*>(window_.FindElement(L"a"))->selected());
  EXPECT_TRUE(window_.FindElement(L"page_b")->IsVisible());
  EXPECT_FALSE(window_.FindElement(L"page_a")->IsVisible());
  EXPECT_EQ(1, owner_.Count(element_message::kClick));
  // The two pages' changes render the window; the tab itself repaints only its rectangle grown
  // by 2 px.
  EXPECT_EQ(2, owner_.Count(element_message::kLayeredRepaint));
  ASSERT_FALSE(owner_.invalidated.empty());
  EXPECT_EQ((UiRect{100, -2, 200, 32}), owner_.invalidated.back());
}

TEST_F(MoreControls, OptionLineRunsItsRuleFromAfterTheCaption) {
  auto* line =
      Build(R"(<optionline id="o" left="10" top="20" width="300" height="20" title="Other" linecolor="1,2,3"/>)", L"o");
  RecordingCanvas canvas;
  line->Paint(canvas);
  EXPECT_EQ((UiRect{10, 20, 60, 40}), canvas.First("text")->dest);  // 5 characters x 8 px + 10
  EXPECT_EQ((UiRect{60, 30, 310, 30}), canvas.First("line")->dest);
  line->SetText(L"");
  RecordingCanvas bare;
  line->Paint(bare);
  EXPECT_EQ(10, bare.First("line")->dest.left);
}

TEST_F(MoreControls, MemoryGaugeClampsToItsLastFrame) {
  const struct {
    uint64_t total, available;
    int frame;
  } cases[] = {{1000, 1000, 1}, {1000, 500, 6}, {1000, 1, 10}, {1000, 0, 10}, {0, 0, 0}, {1000, 2000, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.frame, CClrMemButton::GaugeFrameFor(MemoryLoad{c.total, c.available})) << c.total << "/" << c.available;
  }
  auto* button = dynamic_cast<CClrMemButton*>(
      Build(R"(<panel id="p"><clrmembutton id="m" width="100" height="20" icon="GAUGE"/></panel>)", L"m"));
  ASSERT_NE(nullptr, button);
  MemoryLoad load{1000, 0};
  button->SetMemorySource([&] { return load; });
  RecordingCanvas full;
  button->Paint(full);
  EXPECT_EQ((UiRect{100, 0, 110, 10}), full.First("blend")->source);  // frame 10 of 0-10
  // Hovered with a cached value, the gauge keeps it.
  load = MemoryLoad{1000, 1000};
  button->OnMouseMove(0, 1, 1);
  RecordingCanvas hovered;
  button->Paint(hovered);
  EXPECT_EQ(100, hovered.First("blend")->source.left);
}

TEST_F(MoreControls, RotatingStaticStepsThroughTenFrames) {
  auto* spin = dynamic_cast<CDUIGoRound*>(
      Build(R"(<panel id="p"><goroundstatic id="g" width="20" height="20" background="SPIN"/></panel>)", L"g"));
  ASSERT_NE(nullptr, spin);
  for (int step = 0; step < 11; ++step) {
    spin->Advance();
    RecordingCanvas canvas;
    spin->Paint(canvas);
    EXPECT_EQ(((step + 1) % 10) * 10, canvas.First("blend")->source.left);
  }
}

TEST_F(MoreControls, AnimationStaticWithoutAFileShowsNothing) {
  auto* gif = dynamic_cast<CGifAnim*>(
      Build(R"(<panel id="p"><GifAnim id="g" width="20" height="20" title="x"/></panel>)", L"g"));
  ASSERT_NE(nullptr, gif);
  EXPECT_EQ(0, gif->OnTimer(CGifAnim::kTimerId));
  RecordingCanvas canvas;
  gif->Paint(canvas);
  EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(MoreControls, TreeHitsItemsDepthFirstAndReportsHoverChanges) {
  auto* tree = dynamic_cast<CTreeCtl*>(Build(R"(<tree id="t" left="0" top="0" width="200" height="200"/>)", L"t"));
  ASSERT_EQ(nullptr, tree);  // a tree stands only at the root of a popup
  CLayoutWindow popup(WindowKind::kPopup, &owner_, &images_);
  ASSERT_TRUE(popup.Load(R"(<window><tree id="t" left="0" top="0" width="200" height="200"/></window>)", nullptr));
  tree = dynamic_cast<CTreeCtl*>(popup.FindElement(L"t"));
  ASSERT_NE(nullptr, tree);
  auto item = std::make_unique<CTreeItem>(&owner_, true);
  item->MoveTo(0, 0, 200, 20);
  item->SetTip(L"parent");
  CTreeItem* parent = tree->AddItem(std::move(item));
  auto child = std::make_unique<CTreeItem>(&owner_, true);
  child->MoveTo(10, 20, 190, 20);
  child->SetTip(L"child");
  CTreeItem* inner = parent->AddChild(std::move(child));
  EXPECT_EQ(parent, tree->ItemAt(5, 5));
  EXPECT_EQ(inner, tree->ItemAt(15, 25));
  EXPECT_EQ(nullptr, tree->ItemAt(5, 100));
  owner_.events.clear();
  tree->OnMouseMove(0, 15, 25);
  tree->OnMouseMove(0, 16, 26);
  ASSERT_EQ(2u, owner_.events.size());
  EXPECT_EQ((OwnerEvent{element_message::kTooltip, nullptr, 1, L"child"}), owner_.events[0]);
}

}  // namespace
