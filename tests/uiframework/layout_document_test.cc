// Reading layout documents: the root's attributes, which names each place accepts, and what a
// document that stops with an error still yields.
#include "uiframework/layout_document.h"

#include <gtest/gtest.h>

#include "tests/uiframework/ui_test_doubles.h"
#include "uiframework/button.h"
#include "uiframework/panel.h"
#include "uiframework/static_text.h"

namespace {

class LayoutDocument : public testing::Test {
 protected:
  bool Load(const std::string& document, WindowKind kind = WindowKind::kMain) {
    window_ = std::make_unique<CLayoutWindow>(kind, &owner_, &images_);
    return window_->Load(document, &error_);
  }
  CBaseElementCtl* Find(const wchar_t* id) { return window_->FindElement(id); }

  RecordingOwner owner_;
  FakeImages images_;
  std::unique_ptr<CLayoutWindow> window_;
  std::string error_;
};

TEST_F(LayoutDocument, RootAttributes) {
  images_.Add(L"ABOUTDIALOG", 100, 100);
  ASSERT_TRUE(Load(R"(<window id="1" left="0" top="0" width="652" height="412" style="2248146944" style_ex="0"
      center="1" titleHeight="246" frame="ABOUTDIALOG" frameCorner="10,10,10,10" topmost="1" title=""
      frameBackCorner="10,10,10" drawSimple="1"/>)"));
  const CWindowRoot& root = window_->root();
  EXPECT_EQ(static_cast<int32_t>(0x86000000u), root.style());
  EXPECT_EQ(0x8, root.style_ex());  // topmost adds WS_EX_TOPMOST
  EXPECT_TRUE(root.center());
  EXPECT_EQ(246, root.title_height());
  EXPECT_EQ(100, root.frame().width);
  EXPECT_EQ((Margins{10, 10, 10, 10}), root.frame_corner());
  EXPECT_EQ(Margins{}, root.frame_back_corner());  // three parts: zero margins
  EXPECT_EQ(0, root.min_width());                  // absent: 0
  EXPECT_EQ(652, window_->width());
  EXPECT_EQ(0, images_.requests.count(L""));  // an empty image value never reaches the cache
}

TEST_F(LayoutDocument, CentreFlagMustEqualOneAndRoundCornerIsForPopups) {
  ASSERT_TRUE(Load(R"(<window center="2" roundcorner="1"/>)", WindowKind::kPopup));
  EXPECT_FALSE(window_->root().center());
  EXPECT_TRUE(window_->root().round_corner());
  ASSERT_TRUE(Load(R"(<window roundcorner="1"/>)", WindowKind::kMain));
  EXPECT_FALSE(window_->root().round_corner());
}

TEST_F(LayoutDocument, RootMustBeAWindow) {
  EXPECT_FALSE(Load(""));
  EXPECT_FALSE(Load("not xml at all"));
  EXPECT_FALSE(Load("<Window/>"));
  EXPECT_NE(std::string::npos, error_.find("Window"));
  EXPECT_FALSE(Load("<panel><button id=\"b\"/></panel>"));
  EXPECT_EQ(0u, window_->elements().size());
}

TEST_F(LayoutDocument, UnclosedLastPanelStillYieldsAllItsChildren) {
  // The shipped main-window documents end this way: the last panel is never closed.
  ASSERT_TRUE(Load(R"(<window width="652" height="412">
      <panel id="id_panel_main" left="6" top="262" width="640" height="144">
        <button id="id_install" top="32" width="304" height="40"/>
      </panel>
      <panel id="id_panel_complete" left="6" top="262" width="640" height="144">
        <button id="id_btn_usenow" left="174" top="32" width="304" height="40"/>
      </window>)"));
  EXPECT_FALSE(error_.empty());  // the parser did stop with an error
  ASSERT_NE(nullptr, Find(L"id_panel_complete"));
  ASSERT_NE(nullptr, Find(L"id_btn_usenow"));
  EXPECT_EQ(180, Find(L"id_btn_usenow")->GetRect().left);
}

TEST_F(LayoutDocument, StrayTextAfterAnElementAndATruncatedTail) {
  ASSERT_TRUE(Load(R"(<window><link id="a" title="x"/>/><link id="b"/>/><static id="c"/><static id="d" titl)"));
  EXPECT_NE(nullptr, Find(L"a"));
  EXPECT_NE(nullptr, Find(L"b"));
  EXPECT_NE(nullptr, Find(L"c"));
}

TEST_F(LayoutDocument, PlacesAcceptOnlyTheirNames) {
  const std::string body = R"(<button id="top_button"/><Button id="capital"/><optionline id="top_line"/>
      <tree id="top_tree"/><edit id="top_edit"/><clrmembutton id="top_clrmem"/>
      <panel id="p"><link id="inner_link"/><optionline id="inner_line"/><radiobutton id="inner_radio"/>
        <tab id="inner_tab"/><unknown id="u"><button id="under_unknown"/></unknown></panel>)";
  const struct {
    WindowKind kind;
    const wchar_t* id;
    bool present;
  } cases[] = {
      {WindowKind::kMain, L"top_button", true},  {WindowKind::kMain, L"capital", false},
      {WindowKind::kMain, L"top_line", true},    {WindowKind::kPopup, L"top_line", false},
      {WindowKind::kMain, L"top_tree", false},   {WindowKind::kPopup, L"top_tree", true},
      {WindowKind::kMain, L"top_edit", false},   {WindowKind::kPopup, L"top_edit", true},
      {WindowKind::kMain, L"top_clrmem", false}, {WindowKind::kPopup, L"inner_link", true},
      {WindowKind::kMain, L"inner_line", false}, {WindowKind::kMain, L"inner_radio", true},
      {WindowKind::kMain, L"inner_tab", false},  {WindowKind::kMain, L"under_unknown", false},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Load("<window>" + body + "</window>", c.kind));
    EXPECT_EQ(c.present, Find(c.id) != nullptr) << static_cast<int>(c.kind);
  }
}

TEST_F(LayoutDocument, CommonAttributesAndTextDecoding) {
  ASSERT_TRUE(
      Load("<window><static id=\"s\" name=\"n\" title=\"\xE5\xAE\x89\xE8\xA3\x85 A&amp;B\nline\" "
           "tip=\"t\" left=\"-6\" top=\"x\" width=\"40px\" height=\"2\" xAlignment=\"Right\" "
           "yAlignment=\"bottom\" c_left=\"1\"/></window>"));
  CBaseElementCtl* s = Find(L"s");
  ASSERT_NE(nullptr, s);
  EXPECT_EQ(L"n", s->GetName());
  EXPECT_EQ(std::wstring(L"\x5B89\x88C5 A&B\nline"), s->GetText());  // UTF-8 decoded, line break kept
  EXPECT_EQ(L"t", s->GetTip());
  EXPECT_EQ((UiRect{-6, 0, 34, 2}), s->GetDesignRect());
  EXPECT_EQ(1, s->x_alignment());  // "Right" is not a word
  EXPECT_EQ(4, s->y_alignment());
}

TEST_F(LayoutDocument, HugeCoordinatesAreHeldAtTheBound) {
  // Values wrap to 32 bits as read; positions and sizes then stay within 2^24 px, so that a
  // position plus a size (or a panel's offset) never overflows.
  ASSERT_TRUE(Load(R"(<window width="652" height="412"><panel id="p" left="2147483647" width="-2147483648">
      <static id="s" left="2147483647" top="-4000000000" width="99999999999" height="1"/></panel></window>)"));
  window_->Resize(652, 412);
  window_->Resize(70000, 412);
  const UiRect panel = Find(L"p")->GetRect();
  EXPECT_EQ(kMaxCoordinate, panel.left);
  EXPECT_EQ(-kMaxCoordinate, panel.width());
  const UiRect inner = Find(L"s")->GetRect();
  EXPECT_EQ(kMaxCoordinate, inner.left);  // the panel's offset added, then held
  EXPECT_LE(inner.right, 2 * kMaxCoordinate);
}

TEST_F(LayoutDocument, ColoursAndFlagsOfPanelsAndStatics) {
  ASSERT_TRUE(Load(R"(<window><panel id="p" border="2" backcolor="22,17,66"/>
      <panel id="q" border="1" bordercolor="255,0"/><static id="s" color="255,0" titlefount="1" bigfont="1"/>
      </window>)"));
  auto* p = static_cast<CPanelCtl*>(Find(L"p"));
  auto* q = static_cast<CPanelCtl*>(Find(L"q"));
  EXPECT_FALSE(p->border());  // only 1 counts
  EXPECT_EQ(MakeColour(22, 17, 66), p->back_colour());
  EXPECT_EQ(0u, p->border_colour());  // absent in a document: black
  EXPECT_TRUE(q->border());
  EXPECT_EQ(0u, q->border_colour());  // two parts: black
  auto* s = static_cast<CStaticCtl*>(Find(L"s"));
  EXPECT_EQ(0u, s->colour());
  EXPECT_EQ(FontKind::kTitle, s->font());  // the later flag wins
}

TEST_F(LayoutDocument, LayeredFlagsByPlace) {
  ASSERT_TRUE(Load(R"(<window><progress id="top_bar"/><panel id="p"><progress id="inner_bar"/></panel></window>)"));
  EXPECT_FALSE(Find(L"top_bar")->layered());
  EXPECT_TRUE(Find(L"inner_bar")->layered());
  EXPECT_TRUE(Find(L"p")->layered());
}

TEST_F(LayoutDocument, OversizedDocumentsAreCutAtTheTagBound) {
  // Deep nesting would recurse through the parser: past the bound the rest is dropped.
  std::string deep = "<window>";
  for (size_t i = 0; i < kMaxLayoutTags * 4; ++i) deep += "<panel id=\"p\">";
  ASSERT_TRUE(Load(deep));
  EXPECT_NE(nullptr, Find(L"p"));
  EXPECT_LE(BoundedLayoutText(deep).size(), kMaxLayoutTags * 15);
  const std::string wide = "<window>" + std::string(kMaxLayoutBytes, ' ') + "<static id=\"late\"/></window>";
  ASSERT_TRUE(Load(wide));
  EXPECT_EQ(nullptr, Find(L"late"));
}

}  // namespace
