// Placement, lookup, hit tests and input dispatch of the element tree, on small documents.
#include "uiframework/element_list.h"

#include <gtest/gtest.h>

#include "tests/uiframework/ui_test_doubles.h"
#include "uiframework/button.h"
#include "uiframework/layout_document.h"

namespace {

class ElementTree : public testing::Test {
 protected:
  // Builds a main window of 652 x 412 holding `body` and places it once.
  void Build(const std::string& body) {
    std::string error;
    ASSERT_TRUE(window_.Load("<window width=\"652\" height=\"412\">" + body + "</window>", &error)) << error;
    window_.Resize(652, 412);
    owner_.events.clear();
  }
  CBaseElementCtl* Find(const wchar_t* id) { return window_.FindElement(id); }
  UiRect RectOf(const wchar_t* id) {
    CBaseElementCtl* element = Find(id);
    EXPECT_NE(nullptr, element) << "no element";
    return element ? element->GetRect() : UiRect{};
  }

  RecordingOwner owner_;
  FakeImages images_;
  CLayoutWindow window_{WindowKind::kMain, &owner_, &images_};
};

TEST_F(ElementTree, RightAlignedElementFollowsTheRightEdge) {
  Build(R"(<button id="id_close" left="46" top="6" width="40" height="40" xAlignment="right"/>)");
  EXPECT_EQ((UiRect{606, 6, 646, 46}), RectOf(L"id_close"));
  window_.Resize(700, 412);
  EXPECT_EQ(654, RectOf(L"id_close").left);
}

TEST_F(ElementTree, CentredElementInsidePanel) {
  Build(R"(<panel id="p" left="6" top="262" width="640" height="144" xStretch="fill">
             <button id="b" top="32" width="304" height="40" xAlignment="center"/>
           </panel>)");
  EXPECT_EQ((UiRect{174, 294, 478, 334}), RectOf(L"b"));
}

TEST_F(ElementTree, FillAndScaleStretch) {
  Build(R"(<panel id="fill" left="6" top="262" width="640" height="144" xStretch="fill"/>
           <static id="scale" left="0" top="0" width="320" height="10" xStretch="scale"/>
           <static id="tall" left="0" top="0" width="10" height="206" yStretch="scale"/>)");
  window_.Resize(700, 412);
  EXPECT_EQ(688, RectOf(L"fill").width());
  EXPECT_EQ(343, RectOf(L"scale").width());  // trunc(320 * 700 / 652)
  window_.Resize(700, 500);
  EXPECT_EQ(250, RectOf(L"tall").height());  // trunc(206 * 500 / 412)
}

TEST_F(ElementTree, ScaleKeepsTheThirtyTwoBitProduct) {
  // 70000 * 70000 does not fit 32 bits: the product wraps before the division, as it always has.
  Build(R"(<static id="s" width="70000" height="1" xStretch="scale"/>)");
  window_.Resize(652, 412);
  CBaseElementCtl* element = Find(L"s");
  element->MoveTo(0, 0, 70000, 1);
  element->Relayout(652, 412, 70000, 412);
  const int32_t wrapped = static_cast<int32_t>(70000u * 70000u);
  EXPECT_EQ(static_cast<int>(static_cast<double>(wrapped) / 652), element->GetRect().width());
  // A zero old width keeps the size instead of dividing by zero.
  element->MoveTo(0, 0, 50, 1);
  element->Relayout(0, 412, 700, 412);
  EXPECT_EQ(50, element->GetRect().width());
}

TEST_F(ElementTree, BottomAndCentreVertically) {
  Build(R"(<static id="b" left="0" top="30" width="10" height="20" yAlignment="bottom"/>
           <static id="c" left="0" top="0" width="10" height="20" yAlignment="center"/>)");
  EXPECT_EQ(382, RectOf(L"b").top);
  EXPECT_EQ(196, RectOf(L"c").top);
}

TEST_F(ElementTree, PanelsMoveTheirChildrenAndRelayoutThemInsideThePanel) {
  Build(R"(<panel id="p" left="6" top="262" width="640" height="144" xStretch="fill">
             <button id="r" left="91" top="104" width="50" height="24" xAlignment="right"/>
             <panel id="inner" left="10" top="10" width="100" height="50">
               <static id="deep" left="5" top="5" width="10" height="10"/>
             </panel>
           </panel>)");
  EXPECT_EQ((UiRect{555, 366, 605, 390}), RectOf(L"r"));  // 6 + 640 - 91
  EXPECT_EQ((UiRect{21, 277, 31, 287}), RectOf(L"deep"));
  window_.Resize(700, 412);
  EXPECT_EQ(603, RectOf(L"r").left);  // 6 + 688 - 91
  Find(L"p")->MoveTo(100, 0, 688, 144);
  EXPECT_EQ((UiRect{697, 104, 747, 128}), RectOf(L"r"));
  EXPECT_EQ((UiRect{115, 15, 125, 25}), RectOf(L"deep"));
}

TEST_F(ElementTree, FindElementIsDepthFirstInListOrder) {
  Build(R"(<panel id="p"><static id="same" name="inner"/></panel><static id="same" name="top"/>)");
  EXPECT_EQ(L"inner", Find(L"same")->GetName());
  Build(R"(<static id="same" name="top"/><panel id="p"><static id="same" name="inner"/></panel>)");
  EXPECT_EQ(L"top", Find(L"same")->GetName());
  EXPECT_EQ(nullptr, Find(L"SAME"));
  EXPECT_EQ(nullptr, Find(L"missing"));
}

TEST_F(ElementTree, HitTestEdgesAreInclusive) {
  Build(R"(<button id="b" left="10" top="20" width="30" height="40"/>)");
  CElementList& list = window_.elements();
  EXPECT_TRUE(list.AnyElementAt(10, 20));
  EXPECT_TRUE(list.AnyElementAt(40, 60));  // right and bottom edge
  EXPECT_FALSE(list.AnyElementAt(41, 60));
  EXPECT_FALSE(list.AnyElementAt(40, 61));
  EXPECT_FALSE(list.AnyElementAt(9, 20));
  Find(L"b")->SetVisible(false);
  EXPECT_FALSE(list.AnyElementAt(20, 30));
  Find(L"b")->SetVisible(true);
  Find(L"b")->SetEnabled(false);
  EXPECT_FALSE(list.AnyElementAt(20, 30));
}

TEST_F(ElementTree, ShowingAPanelShowsEveryChild) {
  Build(R"(<panel id="p"><static id="a"/><panel id="q"><static id="b"/></panel></panel>)");
  Find(L"b")->SetVisible(false);
  Find(L"p")->SetVisible(false);
  EXPECT_FALSE(Find(L"a")->IsVisible());
  owner_.events.clear();
  Find(L"p")->SetVisible(true);
  EXPECT_TRUE(Find(L"a")->IsVisible());
  EXPECT_TRUE(Find(L"q")->IsVisible());
  EXPECT_TRUE(Find(L"b")->IsVisible());                          // hidden on its own before
  EXPECT_EQ(1, owner_.Count(element_message::kLayeredRepaint));  // one repaint for the whole change
}

TEST_F(ElementTree, HoverGoesToTheLaterElementWithTooltipAndCursor) {
  Build(R"(<static id="under" left="0" top="0" width="100" height="100" tip="under"/>
           <static id="over" left="50" top="50" width="100" height="100" tip="over"/>)");
  CElementList& list = window_.elements();
  list.DispatchMouseMove(0, 60, 60);
  EXPECT_EQ(Find(L"over"), list.hovered());
  ASSERT_EQ(2u, owner_.events.size());
  EXPECT_EQ((OwnerEvent{element_message::kTooltip, nullptr, 1, L"over"}), owner_.events[0]);
  EXPECT_EQ(element_message::kCursor, owner_.events[1].message);
  owner_.events.clear();
  list.DispatchMouseMove(0, 61, 61);  // same element: no new tooltip
  EXPECT_TRUE(owner_.events.empty());
  list.DispatchMouseMove(0, 10, 10);
  ASSERT_EQ(4u, owner_.events.size());
  EXPECT_EQ((OwnerEvent{element_message::kTooltip, nullptr, 0, L""}), owner_.events[0]);
  EXPECT_EQ((OwnerEvent{element_message::kTooltip, nullptr, 1, L"under"}), owner_.events[2]);
}

TEST_F(ElementTree, PanelsGetNoTooltipButTheirChildrenDo) {
  Build(R"(<panel id="p" left="0" top="0" width="200" height="200" tip="panel">
             <static id="s" left="10" top="10" width="20" height="20" tip="child"/>
           </panel>)");
  window_.elements().DispatchMouseMove(0, 100, 100);
  EXPECT_EQ(0, owner_.Count(element_message::kTooltip));
  window_.elements().DispatchMouseMove(0, 15, 15);
  ASSERT_EQ(1, owner_.Count(element_message::kTooltip));
  EXPECT_EQ(L"child", owner_.events[0].text);
}

TEST_F(ElementTree, AHiddenHoveredElementIsForgottenWithoutALeave) {
  Build(R"(<button id="b" left="0" top="0" width="50" height="50"/>)");
  CElementList& list = window_.elements();
  list.DispatchMouseMove(0, 10, 10);
  Find(L"b")->SetVisible(false);
  owner_.events.clear();
  list.DispatchMouseMove(0, 100, 100);
  EXPECT_TRUE(owner_.events.empty());
  EXPECT_EQ(nullptr, list.hovered());
}

TEST_F(ElementTree, ReleaseWalkStopsAtTheFirstPlainButton) {
  Build(R"(<static id="s1" left="0" top="0" width="100" height="100"/>
           <button id="b" left="0" top="0" width="100" height="100"/>
           <static id="s2" left="0" top="0" width="100" height="100"/>)");
  CElementList& list = window_.elements();
  list.DispatchLButtonDown(0, 10, 10);  // every element under the pointer is pressed
  owner_.events.clear();
  list.DispatchLButtonUp(0, 10, 10);
  std::vector<const CBaseElementCtl*> clicked;
  for (const OwnerEvent& event : owner_.events) {
    if (event.message == element_message::kClick) clicked.push_back(event.element);
  }
  // The static before the button clicks, the button clicks and ends the walk; the later static
  // that also lies under the pointer gets nothing.
  EXPECT_EQ((std::vector<const CBaseElementCtl*>{Find(L"s1"), Find(L"b")}), clicked);
}

TEST_F(ElementTree, KeysReachHiddenElementsToo) {
  struct KeyCounter : CBaseElementCtl {
    KeyCounter() : CBaseElementCtl(nullptr, true) {}
    void OnKeyDown(uint32_t) override { ++downs; }
    int downs = 0;
  };
  CElementList list;
  auto counter = std::make_unique<KeyCounter>();
  KeyCounter* seen = counter.get();
  counter->ApplyVisible(false);
  list.Add(std::move(counter));
  list.DispatchKeyDown(13);
  EXPECT_EQ(1, seen->downs);
}

}  // namespace
