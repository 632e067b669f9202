// The layered edit's own decisions, with a pop-up edit that the test drives: where its text
// rectangle lies, how it paints, when it opens its pop-up and what the typed characters post.
// The real pop-up window under Wine is tests/uiframework/layered_edit_win_test.cc.
#include "uiframework/layered_edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/uiframework/ui_test_doubles.h"
#include "uiframework/layout_document.h"

namespace {

using element_message::kEnter;
using element_message::kLayeredRepaint;
using element_message::kPathEdited;
using element_message::kTab;

// A pop-up edit that records what the element asks of it; the test plays its window's part.
class FakePopupEdit : public IPopupEdit {
 public:
  explicit FakePopupEdit(IPopupEditClient* client) : client(client) {}
  bool Open(const PopupEditOptions& options) override {
    opened.push_back(options);
    open = !fail_open;
    return open;
  }
  bool IsOpen() const override { return open; }
  void SetText(const std::wstring& text) override { texts_set.push_back(text); }
  void Close() override {
    ++closes;
    LoseFocus(L"closed from outside");
  }

  // What the window reports when it loses the focus.
  void LoseFocus(const std::wstring& text) {
    open = false;
    client->OnPopupEditClosed(text);
  }

  IPopupEditClient* client;
  bool open = false;
  bool fail_open = false;
  int closes = 0;
  std::vector<PopupEditOptions> opened;
  std::vector<std::wstring> texts_set;
};

// The owner window: makes fake pop-ups and records every posted message in one sequence, the
// element notifications (wParam = the element) and the free ones alike.
class PopupOwner : public RecordingOwner {
 public:
  std::unique_ptr<IPopupEdit> CreatePopupEdit(IPopupEditClient* client) override {
    ++popups_made;
    auto popup = std::make_unique<FakePopupEdit>(client);
    popup->fail_open = fail_open;
    last_popup = popup.get();
    return popup;
  }
  void PostElementMessage(uint32_t message, CBaseElementCtl* element) override {
    sequence.push_back({message, reinterpret_cast<uintptr_t>(element), 0});
    RecordingOwner::PostElementMessage(message, element);
  }
  void PostWindowMessage(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    sequence.push_back({message, wparam, lparam});
    RecordingOwner::PostWindowMessage(message, wparam, lparam);
  }

  int popups_made = 0;
  bool fail_open = false;
  FakePopupEdit* last_popup = nullptr;
  std::vector<PostedMessage> sequence;
};

class LayeredEdit : public testing::Test {
 protected:
  LayeredEdit() {
    images_.Add(L"DLG_INPUT", 384, 32);
    images_.Add(L"ICON", 24, 24);
  }
  CLayeredEditCtl* Build(const std::string& body, const wchar_t* id = L"e") {
    std::string error;
    EXPECT_TRUE(window_.Load("<window width=\"652\" height=\"412\">" + body + "</window>", &error)) << error;
    owner_.events.clear();
    return static_cast<CLayeredEditCtl*>(window_.FindElement(id));
  }
  // The install-path box of the main window, alone.
  CLayeredEditCtl* PathBox(const std::string& more = "") {
    return Build(R"(<layedit id="e" left="96" top="104" width="328" height="32" textcolor="204,204,204" )"
                 R"(hovertext="204,204,204" downtext="255,255,255" checkpath="1" )" +
                 more + "/>");
  }
  // Clicks the box and hands back the pop-up it opened.
  FakePopupEdit* Click(CLayeredEditCtl* edit) {
    edit->OnLButtonDown(0, edit->GetRect().left + 20, edit->GetRect().top + 10);
    return owner_.last_popup;
  }

  PopupOwner owner_;
  FakeImages images_;
  CLayoutWindow window_{WindowKind::kMain, &owner_, &images_};
};

TEST_F(LayeredEdit, TextRectangleFollowsTheIconAndWhetherTheBoxWasMoved) {
  const struct {
    const char* name;
    std::string body;
    UiRect expected;
  } cases[] = {
      // As read: 12 px above and below.
      {"read", R"(<layedit id="e" left="96" top="104" width="328" height="32"/>)", {106, 116, 414, 124}},
      // Inside a panel, which moves its children: 8 px.
      {"panel",
       R"(<panel id="p" left="6" top="262" width="640" height="280">)"
       R"(<layedit id="e" left="96" top="104" width="328" height="32"/></panel>)",
       {112, 374, 420, 390}},
      // An icon narrows the left side and sets its own insets, moved or not.
      {"icon", R"(<layedit id="e" left="96" top="104" width="328" height="32" icon="ICON"/>)", {130, 114, 414, 134}},
      {"icon in panel",
       R"(<panel id="p" left="6" top="262" width="640" height="280">)"
       R"(<layedit id="e" left="96" top="104" width="328" height="32" icon="ICON"/></panel>)",
       {136, 376, 420, 396}},
  };
  for (const auto& c : cases) {
    CLayeredEditCtl* edit = Build(c.body);
    ASSERT_NE(nullptr, edit) << c.name;
    EXPECT_EQ(c.expected, edit->text_rect()) << c.name;
  }
  CLayeredEditCtl* edit = Build(cases[0].body);
  edit->MoveTo(20, 30, 200, 40);
  EXPECT_EQ((UiRect{30, 38, 210, 62}), edit->text_rect());
  edit->Relayout(652, 412, 900, 600);  // keeps its place
  EXPECT_EQ((UiRect{20, 30, 220, 70}), edit->GetRect());
}

TEST_F(LayeredEdit, PaintsTheStateColoursAndKeepsTheLastOnesWhenDisabled) {
  CLayeredEditCtl* edit =
      Build(R"(<layedit id="e" left="10" top="10" width="200" height="32" title="C:\Games" textcolor="1,1,1" )"
            R"(hovertext="2,2,2" downtext="3,3,3" bgnormalborder="11,11,11" bgnormalbrush="12,12,12" )"
            R"(bghoverborder="21,21,21" bghoverbrush="22,22,22" bgdownborder="31,31,31" bgdownbrush="32,32,32"/>)");
  auto painted = [&] {
    RecordingCanvas canvas;
    edit->Paint(canvas);
    return canvas;
  };
  const struct {
    const char* step;
    std::function<void()> act;
    int text, border, fill;
  } steps[] = {
      {"normal", [] {}, 1, 11, 12},
      {"hover", [&] { edit->OnMouseMove(0, 20, 20); }, 2, 21, 22},
      {"down", [&] { edit->OnLButtonDown(0, 20, 20); }, 3, 31, 32},
      {"disabled after down", [&] { edit->SetEnabled(false); }, 3, 31, 32},
      {"enabled again", [&] { edit->SetEnabled(true); }, 1, 11, 12},
  };
  owner_.fail_open = true;  // no editing: the states follow the pointer
  for (const auto& s : steps) {
    s.act();
    const RecordingCanvas canvas = painted();
    const DrawCall* box = canvas.First("rectangle");
    const DrawCall* text = canvas.First("text");
    ASSERT_NE(nullptr, box) << s.step;
    ASSERT_NE(nullptr, text) << s.step;
    EXPECT_EQ(MakeColour(s.border, s.border, s.border), box->colour) << s.step;
    EXPECT_EQ(MakeColour(s.fill, s.fill, s.fill), box->brush) << s.step;
    EXPECT_EQ(MakeColour(s.text, s.text, s.text), text->colour) << s.step;
    EXPECT_EQ(L"C:\\Games", text->text) << s.step;
    EXPECT_EQ(edit->text_rect(), text->dest) << s.step;
    EXPECT_EQ(text_format::kSingleLine | text_format::kVerticalCentre, text->format) << s.step;
  }
}

TEST_F(LayeredEdit, ImageIsStretchedOverTheBoxAndPasswordsAreMasked) {
  CLayeredEditCtl* edit = PathBox(R"(image="DLG_INPUT" pWd="1" title="abc")");
  RecordingCanvas canvas;
  edit->Paint(canvas);
  ASSERT_EQ(2u, canvas.calls.size());
  EXPECT_EQ("blend", canvas.calls[0].kind);
  EXPECT_EQ(edit->GetRect(), canvas.calls[0].dest);
  EXPECT_EQ((UiRect{0, 0, 384, 32}), canvas.calls[0].source);
  EXPECT_EQ(L"\x25CF\x25CF\x25CF", canvas.calls[1].text);
  // An empty password box draws no text at all.
  edit->SetText(L"");
  RecordingCanvas empty;
  edit->Paint(empty);
  EXPECT_EQ(nullptr, empty.First("text"));
}

TEST_F(LayeredEdit, ClickOpensOnePopupOverTheTextAndTheBoxStaysDownWhileEditing) {
  CLayeredEditCtl* edit = PathBox(R"(title="D:\Apps" pWd="1")");
  FakePopupEdit* popup = Click(edit);
  ASSERT_NE(nullptr, popup);
  ASSERT_EQ(1u, popup->opened.size());
  EXPECT_EQ(edit->text_rect(), popup->opened[0].area);
  EXPECT_EQ(L"D:\\Apps", popup->opened[0].text);
  EXPECT_EQ(5000, popup->opened[0].max_length);
  EXPECT_TRUE(popup->opened[0].password);
  EXPECT_TRUE(edit->editing());
  EXPECT_EQ(CLayeredEditCtl::kDown, edit->state());

  // The pointer changes nothing while the pop-up is open, and a second click opens nothing.
  owner_.events.clear();
  edit->OnMouseMove(0, 100, 110);
  edit->OnMouseLeave();
  edit->OnMouseMove(0, 100, 110);
  Click(edit);
  EXPECT_EQ(CLayeredEditCtl::kDown, edit->state());
  EXPECT_EQ(0, owner_.Count(kLayeredRepaint));
  EXPECT_EQ(1, owner_.popups_made);
  EXPECT_EQ(1u, popup->opened.size());

  // Closing copies the text back, shows the normal state and repaints once; the next click
  // opens the same pop-up object again.
  popup->LoseFocus(L"E:\\Games");
  EXPECT_FALSE(edit->editing());
  EXPECT_EQ(L"E:\\Games", edit->GetText());
  EXPECT_EQ(CLayeredEditCtl::kNormal, edit->state());
  EXPECT_EQ(1, owner_.Count(kLayeredRepaint));
  // The press that opened it is forgotten: hovering afterwards is hover, not down.
  edit->OnMouseMove(0, 100, 110);
  EXPECT_EQ(CLayeredEditCtl::kHover, edit->state());
  Click(edit);
  EXPECT_EQ(1, owner_.popups_made);
  ASSERT_EQ(2u, popup->opened.size());
  EXPECT_EQ(L"E:\\Games", popup->opened[1].text);
}

TEST_F(LayeredEdit, TextFollowsTheEditWhileEditingAndSetTextReachesIt) {
  CLayeredEditCtl* edit = PathBox(R"(title="C:\Program Files\Pindle")");
  FakePopupEdit* popup = Click(edit);
  ASSERT_NE(nullptr, popup);
  popup->client->OnPopupEditText(L"C:\\Ga");
  EXPECT_EQ(L"C:\\Ga", edit->GetText());
  const CBaseElementCtl* as_base = edit;
  EXPECT_EQ(L"C:\\Ga", as_base->GetText());
  // The main window writing the box while the user types: the edit gets it, or closing would
  // bring the old text back.
  edit->SetText(L"D:\\Pindle");
  EXPECT_EQ((std::vector<std::wstring>{L"D:\\Pindle"}), popup->texts_set);
  // Not while closed.
  popup->LoseFocus(L"D:\\Pindle");
  edit->SetText(L"E:\\");
  EXPECT_EQ(1u, popup->texts_set.size());
  EXPECT_EQ(L"E:\\", edit->GetText());
}

// Hiding the box, or the panel holding it, ends the edit; hiding an idle box stores only.
TEST_F(LayeredEdit, HidingTheBoxEndsItsEditButOtherwiseOnlyStores) {
  CLayeredEditCtl* edit = Build(R"(<panel id="p" left="6" top="262" width="640" height="280">)"
                                R"(<layedit id="e" left="96" top="104" width="328" height="32"/></panel>)");
  edit->SetVisible(false);
  EXPECT_FALSE(edit->IsVisible());
  EXPECT_TRUE(owner_.events.empty());
  edit->SetVisible(true);
  FakePopupEdit* popup = Click(edit);
  ASSERT_TRUE(edit->editing());
  edit->SetVisible(false);
  EXPECT_EQ(1, popup->closes);
  EXPECT_FALSE(edit->editing());
  EXPECT_EQ(L"closed from outside", edit->GetText());

  edit->SetVisible(true);
  Click(edit);
  ASSERT_TRUE(edit->editing());
  window_.FindElement(L"p")->SetVisible(false);
  EXPECT_EQ(2, popup->closes);
  EXPECT_FALSE(edit->IsVisible());
}

TEST_F(LayeredEdit, TypedCharactersPostPathChecksAndEnterAndTabNotify) {
  const struct {
    const char* name;
    std::string attributes;
    uint32_t character;
    std::vector<uint32_t> messages;  // in order
  } cases[] = {
      {"letter in the path box", R"(checkpath="1")", L'C', {kPathEdited}},
      {"backspace in the path box", R"(checkpath="1")", 8, {kPathEdited}},
      {"enter in the path box", R"(checkpath="1")", L'\r', {kEnter, kPathEdited}},
      {"tab in the path box", R"(checkpath="1")", L'\t', {kPathEdited}},
      {"enter with tab", R"(tab="1" index="7")", L'\r', {kTab, kEnter}},
      {"tab with tab", R"(tab="1" index="7")", L'\t', {kTab}},
      {"letter with tab", R"(tab="1" index="7")", L'x', {}},
      {"tab, tab and path", R"(tab="1" index="7" checkpath="2")", L'\t', {kTab, kPathEdited}},
      {"plain box", "", L'x', {}},
  };
  for (const auto& c : cases) {
    CLayeredEditCtl* edit =
        Build(R"(<layedit id="e" left="10" top="10" width="200" height="32" )" + c.attributes + "/>");
    FakePopupEdit* popup = Click(edit);
    ASSERT_NE(nullptr, popup) << c.name;
    owner_.sequence.clear();
    popup->client->OnPopupEditChar(c.character);
    std::vector<uint32_t> messages;
    for (const PostedMessage& posted : owner_.sequence) {
      messages.push_back(posted.message);
      const uintptr_t element = reinterpret_cast<uintptr_t>(static_cast<CBaseElementCtl*>(edit));
      if (posted.message == kPathEdited) {
        EXPECT_EQ(static_cast<uintptr_t>(edit->check_path()), posted.wparam) << c.name;
        EXPECT_EQ(0, posted.lparam) << c.name;
      } else {
        EXPECT_EQ(element, posted.wparam) << c.name;
        EXPECT_EQ(posted.message == kTab ? 7 : 0, posted.lparam) << c.name;
      }
    }
    EXPECT_EQ(c.messages, messages) << c.name;
  }
}

TEST_F(LayeredEdit, PopupThatCannotOpenLeavesTheBoxIdleAndTheNextClickTriesAgain) {
  owner_.fail_open = true;
  CLayeredEditCtl* edit = PathBox();
  FakePopupEdit* popup = Click(edit);
  ASSERT_NE(nullptr, popup);
  EXPECT_FALSE(edit->editing());
  edit->OnLButtonUp(0, 120, 110);
  EXPECT_EQ(CLayeredEditCtl::kHover, edit->state());
  popup->fail_open = false;
  Click(edit);
  EXPECT_EQ(2u, popup->opened.size());
  EXPECT_TRUE(edit->editing());
}

// A tree without a window (the renderer's) has no pop-up: a click only shows the press.
TEST(LayeredEditHeadless, ClickWithoutAPopupOnlyChangesTheState) {
  RecordingOwner owner;
  FakeImages images;
  CLayoutWindow window(WindowKind::kMain, &owner, &images);
  std::string error;
  ASSERT_TRUE(
      window.Load(R"(<window width="300" height="100"><layedit id="e" width="200" height="32"/></window>)", &error));
  auto* edit = static_cast<CLayeredEditCtl*>(window.FindElement(L"e"));
  ASSERT_NE(nullptr, edit);
  edit->OnLButtonDown(0, 5, 5);
  EXPECT_EQ(CLayeredEditCtl::kDown, edit->state());
  EXPECT_FALSE(edit->editing());
  edit->OnLButtonUp(0, 5, 5);
  EXPECT_EQ(CLayeredEditCtl::kHover, edit->state());
}

}  // namespace
