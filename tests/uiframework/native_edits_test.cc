// The native-window edits (`edit`, `simedit`, `richedit`) as elements of a tree, with native
// edits that the test plays: what each asks its window for when the document is read, where the
// native window goes when the element moves, is placed, hides or its window moves, what Tab
// sends, how the text follows, what the boxes paint; and the rules they share. The real windows
// under Wine are tests/uiframework/native_edits_win_test.cc.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/uiframework/ui_test_doubles.h"
#include "uiframework/edit_ctl.h"
#include "uiframework/layout_document.h"
#include "uiframework/native_edit_rules.h"
#include "uiframework/rich_edit.h"

namespace {

using element_message::kEditTab;

// What one fake native window saw; it outlives the window so a test can look after the element
// is gone.
struct NativeRecord {
  bool pop_up = false;  // CreateEditWindow rather than CreateChildEdit
  NativeEditOptions options;
  INativeEditClient* client = nullptr;
  std::vector<UiRect> placed;
  std::vector<bool> shown;
  int fronts = 0;
  std::vector<std::wstring> texts_set;
  bool destroyed = false;
};

class FakeNativeEdit : public INativeEdit {
 public:
  explicit FakeNativeEdit(std::shared_ptr<NativeRecord> record) : record_(std::move(record)) {}
  ~FakeNativeEdit() override { record_->destroyed = true; }
  bool IsOpen() const override { return true; }
  void Place(const UiRect& area) override { record_->placed.push_back(area); }
  void Show(bool visible) override { record_->shown.push_back(visible); }
  void BringToFront() override { ++record_->fronts; }
  void SetText(const std::wstring& text) override { record_->texts_set.push_back(text); }

 private:
  std::shared_ptr<NativeRecord> record_;
};

class NativeOwner : public RecordingOwner {
 public:
  std::unique_ptr<INativeEdit> CreateChildEdit(const NativeEditOptions& options, INativeEditClient* client) override {
    return Make(false, options, client);
  }
  std::unique_ptr<INativeEdit> CreateEditWindow(const NativeEditOptions& options, INativeEditClient* client) override {
    return Make(true, options, client);
  }
  std::vector<std::shared_ptr<NativeRecord>> made;

 private:
  std::unique_ptr<INativeEdit> Make(bool pop_up, const NativeEditOptions& options, INativeEditClient* client) {
    auto record = std::make_shared<NativeRecord>();
    record->pop_up = pop_up, record->options = options, record->client = client;
    made.push_back(record);
    return std::make_unique<FakeNativeEdit>(record);
  }
};

class NativeEdits : public testing::Test {
 protected:
  NativeEdits() {
    images_.Add(L"ICON", 24, 16);
    images_.Add(L"BACK", 100, 30);
    images_.Add(L"BACK_HOVER", 100, 30);
  }
  // A popup-window document (the only root that takes `edit`); `body` may hold panels.
  void Build(const std::string& body) {
    std::string error;
    ASSERT_TRUE(window_.Load("<window width=\"400\" height=\"300\">" + body + "</window>", &error)) << error;
  }
  NativeRecord& Native(size_t index) { return *owner_.made.at(index); }
  // What the client of a native window hears from its edit.
  static void Type(NativeRecord& native, const std::wstring& characters) {
    for (wchar_t character : characters) native.client->OnNativeEditChar(character);
  }
  DrawCall Painted(CBaseElementCtl* element, const char* kind, int nth = 0) {
    RecordingCanvas canvas;
    element->Paint(canvas);
    for (const DrawCall& call : canvas.calls) {
      if (call.kind == kind && nth-- == 0) return call;
    }
    return DrawCall();
  }

  NativeOwner owner_;
  FakeImages images_;
  CLayoutWindow window_{WindowKind::kPopup, &owner_, &images_};
};

TEST(NativeEditRules, ChildEditAreaInsetsAfterTheIconAndBeforeTheRightMargin) {
  const UiRect box = MakeRect(100, 50, 200, 30);  // right 300, bottom 80
  const struct {
    int icon_width, right_margin;
    UiRect want;
  } cases[] = {
      {0, 0, UiRect{105, 55, 295, 79}},   {16, 0, UiRect{121, 55, 295, 79}},
      {24, 40, UiRect{129, 55, 255, 79}}, {0, -7, UiRect{105, 55, 295, 79}},  // a negative margin reserves nothing
      {0, 500, UiRect{105, 55, 105, 79}},                                     // never narrower than nothing
      {190, 0, UiRect{295, 55, 295, 79}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.want, native_edit_rules::ChildEditArea(box, c.icon_width, c.right_margin))
        << c.icon_width << " " << c.right_margin;
  }
  EXPECT_EQ((UiRect{10, 15, 10, 15}), native_edit_rules::ChildEditArea(MakeRect(5, 10, 4, 3), 0, 0));
  EXPECT_EQ((UiRect{105, 57, 121, 73}), native_edit_rules::IconArea(box));
}

TEST(NativeEditRules, NumberEditAreaAndTheCharactersItTakes) {
  EXPECT_EQ((UiRect{5, 7, 115, 25}), native_edit_rules::NumberEditArea(120, 30));
  EXPECT_EQ((UiRect{5, 7, 5, 7}), native_edit_rules::NumberEditArea(6, 8));
  const struct {
    uint32_t character;
    bool taken;
  } cases[] = {
      {'0', true},  {'5', true},   {'9', true},   {8, true},       {13, true},      {'/', false},
      {':', false}, {'a', false},  {'-', false},  {'.', false},    {' ', false},    {9, false},
      {27, false},  {0x16, false}, {0x03, false}, {0xFF10, false}, {0x0660, false},  // fullwidth and Arabic-Indic
                                                                                     // digits are not 0-9
  };
  for (const auto& c : cases) EXPECT_EQ(c.taken, native_edit_rules::NumberEditTakes(c.character)) << c.character;
}

TEST_F(NativeEdits, EditAsksForItsChildWithTheDocumentsChoices) {
  Build(R"(<edit id="1234" title="first" left="20" top="30" width="200" height="30" tab="1" pWd="1" readonly="1"
                 border="1,2,3" icon="ICON"/>
           <edit id="name" left="20" top="90" width="200" height="30"/>)");
  ASSERT_EQ(2u, owner_.made.size());
  const NativeRecord& first = Native(0);
  EXPECT_FALSE(first.pop_up);
  EXPECT_EQ(1234, first.options.control_id);
  EXPECT_EQ(L"first", first.options.text);
  EXPECT_TRUE(first.options.password);
  EXPECT_TRUE(first.options.read_only);
  EXPECT_EQ((UiRect{20 + 5 + 24, 35, 215, 59}), first.options.area);
  EXPECT_EQ(0, first.options.max_length);
  EXPECT_TRUE(first.options.cue_banner.empty());
  auto* edit = static_cast<CEditCtl*>(window_.FindElement(L"1234"));
  ASSERT_NE(nullptr, edit);
  EXPECT_FALSE(edit->layered());
  EXPECT_EQ(MakeColour(1, 2, 3), edit->border());

  const NativeRecord& second = Native(1);
  EXPECT_EQ(0, second.options.control_id);  // an id that is not a number
  EXPECT_FALSE(second.options.password);
  EXPECT_FALSE(second.options.read_only);
  EXPECT_EQ((UiRect{25, 95, 215, 119}), second.options.area);
}

TEST_F(NativeEdits, SimEditInAPanelHasItsLimitHintAndMarginAndFollowsThePanel) {
  Build(R"(<panel id="p" left="50" top="40" width="300" height="200">
             <simedit id="s" left="10" top="20" width="200" height="30" rightmargin="30" icon="ICON"/>
           </panel>)");
  ASSERT_EQ(1u, owner_.made.size());
  NativeRecord& native = Native(0);
  EXPECT_EQ(4000, native.options.max_length);
  EXPECT_EQ(L"\x8F93\x5165\x7F51\x5740\x6216\x60A8\x8981\x641C\x7D22\x7684\x5173\x952E\x5B57",
            native.options.cue_banner);
  // Read at the panel-relative place, then moved with the panel into window coordinates; the
  // icon and the margin keep their room.
  ASSERT_EQ(1u, native.placed.size());
  EXPECT_EQ((UiRect{60 + 5 + 24, 65, 260 - 5 - 30, 89}), native.placed.back());

  auto* panel = window_.FindElement(L"p");
  panel->MoveTo(70, 40, 300, 200);
  EXPECT_EQ((UiRect{80 + 5 + 24, 65, 280 - 5 - 30, 89}), native.placed.back());
  EXPECT_EQ(80 + 5 + 24, static_cast<CEditCtl*>(window_.FindElement(L"s"))->EditArea().left);
}

TEST_F(NativeEdits, RelayoutMovesTheEditAndBringsItToTheFront) {
  Build(R"(<edit id="e" left="120" top="10" width="100" height="30" xAlignment="right"/>)");
  NativeRecord& native = Native(0);
  window_.Resize(400, 300);  // the first placement
  EXPECT_EQ((UiRect{285, 15, 375, 39}), native.placed.back());
  EXPECT_EQ(1, native.fronts);
  window_.Resize(500, 300);
  EXPECT_EQ((UiRect{385, 15, 475, 39}), native.placed.back());
  EXPECT_EQ(2, native.fronts);
}

TEST_F(NativeEdits, TabInABoxWithANonZeroTabSends12001WithTheElement) {
  Build(R"(<edit id="with" width="100" height="30" tab="3"/><edit id="without" top="40" width="100" height="30"/>)");
  Type(Native(0), L"a\r\t1");
  Type(Native(1), L"\t\t");
  ASSERT_EQ(1, owner_.Count(kEditTab));
  for (const OwnerEvent& event : owner_.events) {
    if (event.message == kEditTab) {
      EXPECT_EQ(window_.FindElement(L"with"), event.element);
    }
  }
  EXPECT_TRUE(owner_.posted.empty());
}

TEST_F(NativeEdits, TextFollowsTheEditAndSetTextReachesIt) {
  Build(R"(<edit id="e" title="old" width="100" height="30"/>
           <panel id="p" width="400" height="300"><richedit id="r" title="12" width="80" height="30"/></panel>)");
  for (const wchar_t* id : {L"e", L"r"}) {
    CBaseElementCtl* element = window_.FindElement(id);
    NativeRecord& native = Native(id[0] == L'e' ? 0 : 1);
    native.client->OnNativeEditText(L"typed 42");
    EXPECT_EQ(L"typed 42", element->GetText()) << id[0];
    owner_.invalidated.clear();
    element->SetText(L"from code");
    EXPECT_EQ(L"from code", element->GetText());
    ASSERT_EQ(1u, native.texts_set.size());
    EXPECT_EQ(L"from code", native.texts_set[0]);
    EXPECT_TRUE(owner_.invalidated.empty());  // the edit shows its own text
  }
}

TEST_F(NativeEdits, HidingAPanelHidesTheNativeWindowsOfItsEdits) {
  Build(R"(<panel id="p" width="400" height="300">
             <simedit id="s" width="100" height="30"/><richedit id="r" top="40" width="80" height="30"/>
           </panel><edit id="e" top="100" width="100" height="30"/>)");
  ASSERT_EQ(3u, owner_.made.size());
  CBaseElementCtl* panel = window_.FindElement(L"p");
  panel->SetVisible(false);
  EXPECT_EQ(std::vector<bool>{false}, Native(0).shown);
  EXPECT_EQ(std::vector<bool>{false}, Native(1).shown);
  EXPECT_TRUE(Native(2).shown.empty());
  panel->SetVisible(true);
  EXPECT_EQ((std::vector<bool>{false, true}), Native(1).shown);

  CBaseElementCtl* edit = window_.FindElement(L"e");
  edit->SetVisible(false);
  edit->SetVisible(false);  // unchanged: nothing more
  EXPECT_EQ(std::vector<bool>{false}, Native(2).shown);
  EXPECT_EQ(1u, owner_.invalidated.size());
}

TEST_F(NativeEdits, RichEditLiesOverItsElementAndFollowsItsWindow) {
  Build(R"(<panel id="p" left="30" top="20" width="300" height="200">
             <richedit id="r" title="7" left="10" top="15" width="120" height="30"/>
           </panel>)");
  ASSERT_EQ(1u, owner_.made.size());
  NativeRecord& native = Native(0);
  EXPECT_TRUE(native.pop_up);
  EXPECT_EQ(L"7", native.options.text);
  EXPECT_EQ((UiRect{10, 15, 130, 45}), native.options.area);  // as read, then moved with the panel
  EXPECT_EQ((UiRect{40, 35, 160, 65}), native.placed.back());

  const size_t placements = native.placed.size();
  window_.elements().DispatchOwnerMoved();
  ASSERT_EQ(placements + 1, native.placed.size());
  EXPECT_EQ((UiRect{40, 35, 160, 65}), native.placed.back());

  window_.FindElement(L"r")->SetBounds(50, 60, 150, 90);
  EXPECT_EQ((UiRect{50, 60, 150, 90}), native.placed.back());

  // Hidden or disabled, it hears nothing of the owner's moves: shown or enabled again, it goes
  // back over its element first.
  CBaseElementCtl* rich = window_.FindElement(L"r");
  for (int round = 0; round < 2; ++round) {
    if (round == 0) rich->SetVisible(false);
    if (round == 1) rich->SetEnabled(false);
    native.placed.clear();
    window_.elements().DispatchOwnerMoved();
    EXPECT_TRUE(native.placed.empty());
    if (round == 0) rich->SetVisible(true);
    if (round == 1) rich->SetEnabled(true);
    ASSERT_EQ(1u, native.placed.size()) << round;
    EXPECT_EQ((UiRect{50, 60, 150, 90}), native.placed.back());
  }
  EXPECT_EQ((std::vector<bool>{false, true}), native.shown);
  RecordingCanvas canvas;
  window_.FindElement(L"r")->Paint(canvas);
  EXPECT_TRUE(canvas.calls.empty());  // the pop-up paints its own box
}

TEST_F(NativeEdits, TheNativeWindowsGoWithTheirElements) {
  Build(R"(<edit id="e" width="100" height="30"/>
           <panel id="p" width="400" height="300"><richedit id="r" width="80" height="30"/></panel>)");
  ASSERT_EQ(2u, owner_.made.size());
  EXPECT_FALSE(Native(0).destroyed);
  window_.elements().Clear();
  EXPECT_TRUE(Native(0).destroyed);
  EXPECT_TRUE(Native(1).destroyed);
}

TEST_F(NativeEdits, EditPaintsItsFrameTheBackOfItsHoverStateAndTheIcon) {
  Build(R"(<edit id="e" left="10" top="20" width="200" height="40" icon="ICON" normalBack="BACK"
                 hoverBack="BACK_HOVER"/>)");
  CBaseElementCtl* edit = window_.FindElement(L"e");
  const UiRect box = MakeRect(10, 20, 200, 40);
  const DrawCall frame = Painted(edit, "roundrect");
  EXPECT_EQ(box, frame.dest);
  EXPECT_EQ(MakeColour(60, 152, 208), frame.colour);
  EXPECT_EQ(MakeColour(255, 255, 255), frame.brush);
  EXPECT_FALSE(frame.layered);
  const DrawCall back = Painted(edit, "blend", 0);
  EXPECT_EQ(box, back.dest);
  EXPECT_EQ(images_.ImageNamed(L"BACK").handle, back.image);
  const DrawCall icon = Painted(edit, "blend", 1);
  EXPECT_EQ((UiRect{15, 32, 31, 48}), icon.dest);
  EXPECT_EQ((UiRect{0, 0, 24, 16}), icon.source);

  edit->OnMouseMove(0, 20, 30);
  EXPECT_EQ(1u, owner_.invalidated.size());
  EXPECT_EQ(images_.ImageNamed(L"BACK_HOVER").handle, Painted(edit, "blend", 0).image);
  edit->OnMouseMove(0, 21, 30);  // still hovered: no repaint
  edit->OnMouseLeave();
  EXPECT_EQ(2u, owner_.invalidated.size());
  EXPECT_EQ(images_.ImageNamed(L"BACK").handle, Painted(edit, "blend", 0).image);

  edit->SetVisible(false);
  RecordingCanvas hidden;
  edit->Paint(hidden);
  EXPECT_TRUE(hidden.calls.empty());
}

// A tree without native windows (the renderer, the tests' owners): the boxes still read, place
// and paint, and simply take no typing.
TEST(NativeEditsHeadless, BoxesWithoutNativeWindowsStillWork) {
  RecordingOwner owner;
  CLayoutWindow window(WindowKind::kPopup, &owner, nullptr);
  std::string error;
  ASSERT_TRUE(window.Load(R"(<window width="300" height="200"><edit id="e" title="x" width="100" height="30"/>
      <panel id="p" width="300" height="200"><simedit id="s" top="40" width="100" height="30"/>
      <richedit id="r" top="80" width="100" height="30"/></panel></window>)",
                          &error));
  window.Resize(320, 200);
  for (const wchar_t* id : {L"e", L"s", L"r"}) {
    CBaseElementCtl* element = window.FindElement(id);
    ASSERT_NE(nullptr, element);
    element->SetText(L"12");
    element->SetVisible(false);
    element->MoveTo(1, 2, 3, 4);
    element->OnOwnerMoved();
    EXPECT_EQ(L"12", element->GetText());
  }
  EXPECT_EQ(nullptr, static_cast<CEditCtl*>(window.FindElement(L"e"))->native_edit());
  EXPECT_EQ(nullptr, static_cast<CRichEditCtl*>(window.FindElement(L"r"))->edit_window());
  RecordingCanvas canvas;
  window.elements().Paint(canvas);
  EXPECT_TRUE(canvas.calls.empty());  // all hidden now
}

}  // namespace
