// The hot-key entry and the numeric entry as elements of a window: focus by a click, keys only
// while focused, the modifiers the window reports, what they paint and when they repaint.
#include <gtest/gtest.h>

#include "tests/uiframework/ui_test_doubles.h"
#include "uiframework/hotkey_ctl.h"
#include "uiframework/layout_document.h"
#include "uiframework/num_edit.h"

namespace {

using element_message::kFocus;
using element_message::kLayeredRepaint;

class KeyboardOwner : public RecordingOwner {
 public:
  uint32_t HeldModifiers() const override { return held; }
  uint32_t held = 0;
};

class EditingControls : public testing::Test {
 protected:
  EditingControls() { images_.Add(L"FRAME", 400, 30); }
  template <class Control>
  Control* Build(const std::string& element) {
    std::string error;
    EXPECT_TRUE(window_.Load("<window width=\"400\" height=\"200\"><panel id=\"p\" width=\"400\" height=\"200\">" +
                                 element + "</panel></window>",
                             &error))
        << error;
    owner_.events.clear();
    return static_cast<Control*>(window_.FindElement(L"c"));
  }
  const DrawCall Painted(CBaseElementCtl* control, const char* kind) {
    RecordingCanvas canvas;
    control->Paint(canvas);
    const DrawCall* call = canvas.First(kind);
    return call ? *call : DrawCall();
  }

  KeyboardOwner owner_;
  FakeImages images_;
  CLayoutWindow window_{WindowKind::kMain, &owner_, &images_};
};

TEST_F(EditingControls, HotkeyRecordsKeysOnlyWhileFocusedWithTheHeldModifiers) {
  auto* hotkey = Build<CHotkeyCtl>(R"(<hotkey id="c" left="10" top="10" width="200" height="30" border="1,2,3"/>)");
  ASSERT_NE(nullptr, hotkey);
  hotkey->OnKeyDown(65);
  EXPECT_EQ(L"\x65E0", hotkey->Text());  // not focused: nothing recorded
  EXPECT_TRUE(owner_.events.empty());

  hotkey->OnLButtonDown(1, 20, 20);
  EXPECT_EQ(1, owner_.Count(kFocus));
  owner_.held = held_key::kCtrl | held_key::kAlt;
  owner_.events.clear();
  hotkey->OnKeyDown(116);
  EXPECT_EQ(L"Ctrl + Alt + F5", hotkey->Text());
  EXPECT_EQ(1, owner_.Count(kLayeredRepaint));
  EXPECT_EQ(L"Ctrl + Alt + F5|", Painted(hotkey, "text").text);

  // Modifiers alone, then one released: the box follows what is still held.
  owner_.held = held_key::kCtrl | held_key::kShift;
  hotkey->OnKeyDown(16);
  EXPECT_EQ(L"Ctrl + Shift + ", hotkey->Text());
  owner_.held = held_key::kCtrl;
  hotkey->OnKeyUp(16);
  EXPECT_EQ(L"Ctrl + ", hotkey->Text());
  // Released with a key recorded: it stays.
  hotkey->OnKeyDown(220);
  owner_.held = 0;
  hotkey->OnKeyUp(17);
  EXPECT_EQ(L"Ctrl + \\", hotkey->Text());

  // Another element taking the focus ends the recording.
  hotkey->SetFocusElement(nullptr);
  hotkey->OnKeyDown(65);
  EXPECT_EQ(L"Ctrl + \\", hotkey->Text());
  const DrawCall text = Painted(hotkey, "text");
  EXPECT_EQ(L"Ctrl + \\", text.text);
  EXPECT_EQ((UiRect{20, 17, 220, 47}), text.dest);
  EXPECT_EQ(MakeColour(125, 125, 125), text.colour);
  EXPECT_EQ(text_format::kEndEllipsis | text_format::kSingleLine, text.format);
  const DrawCall box = Painted(hotkey, "roundrect");
  EXPECT_EQ(MakeColour(1, 2, 3), box.colour);
  EXPECT_EQ(MakeColour(255, 255, 255), box.brush);
}

TEST_F(EditingControls, HotkeyFrameShowsTheStateQuarter) {
  auto* hotkey = Build<CHotkeyCtl>(R"(<hotkey id="c" left="10" top="10" width="200" height="30" frame="FRAME"/>)");
  const struct {
    const char* step;
    std::function<void()> act;
    int quarter;
  } steps[] = {
      {"normal", [] {}, 0},
      {"hover", [&] { hotkey->OnMouseMove(0, 20, 20); }, 1},
      {"down", [&] { hotkey->OnLButtonDown(1, 20, 20); }, 2},
      {"left", [&] { hotkey->OnMouseLeave(); }, 0},
      {"disabled", [&] { hotkey->SetEnabled(false); }, 3},
  };
  for (const auto& s : steps) {
    s.act();
    const DrawCall frame = Painted(hotkey, "nineslice");
    EXPECT_EQ((UiRect{100 * s.quarter, 0, 100 * s.quarter + 100, 30}), frame.source) << s.step;
    EXPECT_EQ(3, frame.corners.left) << s.step;
  }
}

TEST_F(EditingControls, NumberEntryTakesDigitsWhileFocusedAndShowsItsCaret) {
  auto* entry = Build<CDUINumEdit>(
      R"(<numedit id="c" left="10" top="10" width="120" height="30" title="12" frame="FRAME" textcolor="9,9,9"/>)");
  ASSERT_NE(nullptr, entry);
  EXPECT_EQ(PointerShape::kIBeam, entry->GetCursor());
  entry->OnKeyDown('5');
  EXPECT_EQ(L"12", entry->GetText());
  EXPECT_EQ(0, Painted(entry, "nineslice").source.left);  // first quarter unfocused

  entry->OnLButtonDown(1, 20, 20);
  EXPECT_EQ(1, owner_.Count(kFocus));
  entry->OnKeyDown(190);  // the decimal point
  entry->OnKeyDown('5');
  entry->OnKeyDown(37);  // Left
  owner_.events.clear();
  entry->OnKeyDown('A');  // ignored, no repaint
  EXPECT_TRUE(owner_.events.empty());
  EXPECT_EQ(L"12.5", entry->GetText());
  const DrawCall text = Painted(entry, "text");
  EXPECT_EQ(L"12.|5", text.text);
  EXPECT_EQ(MakeColour(125, 125, 125), text.colour);  // layered: grey
  EXPECT_EQ((UiRect{15, 10, 125, 40}), text.dest);
  EXPECT_EQ(200, Painted(entry, "nineslice").source.left);  // third quarter focused
  // The caret blinks; the text stays.
  entry->OnBlink();
  EXPECT_EQ(L"12.5", Painted(entry, "text").text);
  entry->SetText(L"7");
  entry->OnBlink();
  EXPECT_EQ(L"7|", Painted(entry, "text").text);
}

}  // namespace
