// The controls' state machines, notifications and drawing decisions, through a recording owner
// and a recording canvas.
#include <gtest/gtest.h>

#include "tests/uiframework/control_fixture.h"
#include "uiframework/button.h"
#include "uiframework/check_box.h"
#include "uiframework/hyperlink.h"
#include "uiframework/layout_document.h"
#include "uiframework/progress.h"
#include "uiframework/static_text.h"

namespace {

using element_message::kClick;
using element_message::kLayeredRepaint;
using element_message::kPress;

class Controls : public ControlFixture {
 protected:
  Controls() {
    images_.Add(L"DLG_BTN_INSTALL", 1280, 40);
    images_.Add(L"CHECKBOX", 48, 16);
    images_.Add(L"ICON", 64, 16);
  }
  CButtonCtl* Button(const std::string& attributes = "") {
    return static_cast<CButtonCtl*>(
        Build("<button id=\"b\" left=\"10\" top=\"10\" width=\"100\" height=\"40\" " + attributes + "/>", L"b"));
  }
};

TEST_F(Controls, ButtonPressAndReleaseClicksOnceAfterTheRepaint) {
  CButtonCtl* button = Button();
  int presses = 0;
  button->SetPressHandler(ElementHandler(std::function<void()>([&] { ++presses; })));
  button->OnMouseMove(0, 20, 20);
  EXPECT_EQ(CButtonCtl::kHover, button->state());
  button->OnLButtonDown(0, 20, 20);
  EXPECT_EQ(CButtonCtl::kDown, button->state());
  EXPECT_EQ(1, presses);  // the press handler runs at once
  owner_.events.clear();
  button->OnLButtonUp(0, 20, 20);
  EXPECT_EQ(CButtonCtl::kHover, button->state());
  ASSERT_EQ((std::vector<uint32_t>{kLayeredRepaint, kClick}), owner_.Messages());
  EXPECT_EQ(button, owner_.events[1].element);
}

TEST_F(Controls, ButtonPressLeaveReturnReleaseGivesNoClick) {
  CButtonCtl* button = Button();
  button->OnMouseMove(0, 20, 20);
  button->OnLButtonDown(0, 20, 20);
  button->OnMouseLeave();
  EXPECT_EQ(CButtonCtl::kNormal, button->state());
  button->OnMouseMove(0, 20, 20);
  EXPECT_EQ(CButtonCtl::kHover, button->state());
  button->OnLButtonUp(0, 20, 20);
  EXPECT_EQ(0, owner_.Count(kClick));
}

TEST_F(Controls, DisabledButtonIgnoresThePointerAndShowsItsLastFrame) {
  CButtonCtl* button = Button(R"(image="DLG_BTN_INSTALL" title="Install" textcolor="1,1,1" discolor="154,114,234")");
  button->EnableButton(false);
  owner_.events.clear();
  button->OnMouseMove(0, 20, 20);
  button->OnLButtonDown(0, 20, 20);
  button->OnLButtonUp(0, 20, 20);
  button->OnMouseLeave();
  EXPECT_TRUE(owner_.events.empty());
  EXPECT_EQ(CButtonCtl::kDisabled, button->state());
  RecordingCanvas canvas;
  button->Paint(canvas);
  ASSERT_NE(nullptr, canvas.First("blend"));
  EXPECT_EQ((UiRect{960, 0, 1280, 40}), canvas.First("blend")->source);
  EXPECT_EQ(MakeColour(154, 114, 234), canvas.First("text")->colour);
  button->EnableButton(true);
  EXPECT_EQ(CButtonCtl::kNormal, button->state());
}

TEST_F(Controls, EachButtonStateShowsItsOwnFrameAndColour) {
  CButtonCtl* button = Button(
      R"(image="DLG_BTN_INSTALL" title="Go" textcolor="1,0,0" hovercolor="2,0,0" downcolor="3,0,0" discolor="4,0,0")");
  struct Step {
    const char* name;
    std::function<void()> action;
    int frame;
    Colour colour;
  } steps[] = {
      {"normal", [] {}, 0, 1},
      {"hover", [&] { button->OnMouseMove(0, 20, 20); }, 1, 2},
      {"down", [&] { button->OnLButtonDown(0, 20, 20); }, 2, 3},
      {"disabled", [&] { button->EnableButton(false); }, 3, 4},
  };
  for (const Step& step : steps) {
    step.action();
    RecordingCanvas canvas;
    button->Paint(canvas);
    ASSERT_NE(nullptr, canvas.First("blend")) << step.name;
    EXPECT_EQ(step.frame * 320, canvas.First("blend")->source.left) << step.name;
    EXPECT_EQ(step.colour, canvas.First("text")->colour) << step.name;
  }
}

TEST_F(Controls, WideFrameIsBlendedScaledAndNarrowOneNineSliced) {
  const struct {
    int width;
    const char* kind;
  } cases[] = {{304, "blend"}, {320, "blend"}, {340, "nineslice"}};
  for (const auto& c : cases) {
    CButtonCtl* button =
        Button("image=\"DLG_BTN_INSTALL\" width=\"" + std::to_string(c.width) + "\" title=\"Install\"");
    button->MoveTo(0, 0, c.width, 40);
    RecordingCanvas canvas;
    button->Paint(canvas);
    const DrawCall& background = canvas.calls.front();
    EXPECT_EQ(c.kind, background.kind) << c.width;
    EXPECT_EQ((UiRect{0, 0, 320, 40}), background.source);
    EXPECT_EQ((UiRect{0, 0, c.width, 40}), background.dest);
    if (background.kind == "nineslice") {
      EXPECT_EQ((Margins{3, 6, 3, 6}), background.corners);
    }
  }
}

TEST_F(Controls, ImagelessButtonDrawsARoundedFillAndTheAlertBorderInRed) {
  CButtonCtl* button = Button(R"(bgnormalborder="1,2,3" bgnormalbrush="4,5,6" title="OK")");
  RecordingCanvas plain;
  button->Paint(plain);
  ASSERT_NE(nullptr, plain.First("roundrect"));
  EXPECT_EQ(MakeColour(1, 2, 3), plain.First("roundrect")->colour);
  EXPECT_EQ(MakeColour(4, 5, 6), plain.First("roundrect")->brush);
  EXPECT_EQ(text_format::kEndEllipsis | 0x25u, plain.First("text")->format);
  button->ShowAlertBorder();
  RecordingCanvas alert;
  button->Paint(alert);
  EXPECT_EQ(MakeColour(255, 0, 0), alert.First("roundrect")->colour);
  // A button document without image and colours draws a black rounded rectangle.
  RecordingCanvas bare;
  Button()->Paint(bare);
  EXPECT_EQ(0u, bare.First("roundrect")->brush);
}

TEST_F(Controls, IconButtonPlacesTheIconBeforeALeftAlignedCaption) {
  // Recording canvas: 8 px per character, so "Go" is 16 px (+5 gap); icon frames are 16 px.
  CButtonCtl* button = Button(R"(icon="ICON" title="Go" hdelta="2" bigfont="1")");
  RecordingCanvas canvas;
  button->Paint(canvas);
  const DrawCall* icon = canvas.First("blend");
  ASSERT_NE(nullptr, icon);
  EXPECT_EQ((UiRect{10 + (100 - 16 - 21) / 2, 22, 10 + 31 + 16, 38}), icon->dest);
  const DrawCall* text = canvas.First("text");
  EXPECT_EQ(icon->dest.right + 5, text->dest.left);
  EXPECT_EQ(12, text->dest.top);
  EXPECT_EQ(0x8024u, text->format);
  EXPECT_EQ(FontKind::kBig, text->font);
}

TEST_F(Controls, CheckBoxTogglesOnThePressAndClicksOnTheRelease) {
  auto* box = static_cast<CCheckBoxCtl*>(
      Build(R"(<checkbox id="c" left="16" top="104" width="20" height="24" image="CHECKBOX"/>)", L"c"));
  EXPECT_EQ(0, box->GetCheck());
  box->OnLButtonDown(0, 20, 110);
  EXPECT_EQ(1, box->GetCheck());
  EXPECT_EQ((std::vector<uint32_t>{kLayeredRepaint, kPress}), owner_.Messages());
  owner_.events.clear();
  box->OnLButtonUp(0, 20, 110);
  EXPECT_EQ(1, box->GetCheck());
  EXPECT_EQ((std::vector<uint32_t>{kClick}), owner_.Messages());
  box->OnMouseLeave();
  RecordingCanvas checked;
  box->Paint(checked);
  EXPECT_EQ(32, checked.First("blend")->source.left);  // a checked box stays on its checked frame
  box->OnLButtonDown(0, 20, 110);
  EXPECT_EQ(0, box->GetCheck());
  box->OnMouseMove(0, 20, 110);
  RecordingCanvas hover;
  box->Paint(hover);
  EXPECT_EQ(16, hover.First("blend")->source.left);
  EXPECT_EQ((UiRect{16, 108, 32, 124}), hover.First("blend")->dest);
}

TEST_F(Controls, CheckBoxSetCheckDoesNotRepaintAndDisabledPostsNothing) {
  auto* box = static_cast<CCheckBoxCtl*>(Build(R"(<checkbox id="c" width="20" height="24"/>)", L"c"));
  box->SetCheck(true);
  EXPECT_EQ(1, box->GetCheck());
  EXPECT_EQ(CButtonCtl::kDown, box->state());
  EXPECT_TRUE(owner_.events.empty());
  box->EnableButton(false);
  owner_.events.clear();
  box->OnLButtonDown(0, 1, 1);
  box->OnLButtonUp(0, 1, 1);
  EXPECT_TRUE(owner_.events.empty());
  EXPECT_EQ(1, box->GetCheck());
}

TEST_F(Controls, LinkOpensItsUrlAfterAPlainHandler) {
  auto* link = static_cast<CHyperLinkCtl*>(
      Build(R"(<link id="l" width="50" height="24" url="http://127.0.0.1/agreement" linkcolor="153,153,153"/>)", L"l"));
  int clicks = 0;
  link->SetClickHandler(ElementHandler(std::function<void()>([&] { ++clicks; })));
  link->FireClick();
  EXPECT_EQ(1, clicks);
  EXPECT_EQ((std::vector<std::wstring>{L"http://127.0.0.1/agreement"}), owner_.opened);
  // With no handler bound the address still opens; without url only the handler runs.
  auto* bare = static_cast<CHyperLinkCtl*>(Build(R"(<link id="m" width="50" height="24" url="x"/>)", L"m"));
  bare->FireClick();
  EXPECT_EQ(2u, owner_.opened.size());
  auto* no_url = static_cast<CHyperLinkCtl*>(Build(R"(<link id="n" width="50" height="24"/>)", L"n"));
  no_url->SetClickHandler(ElementHandler(std::function<void()>([&] { ++clicks; })));
  no_url->FireClick();
  EXPECT_EQ(2, clicks);
  EXPECT_EQ(2u, owner_.opened.size());
}

TEST_F(Controls, LinkColoursByStateAndHandCursorWhileHovered) {
  auto* link = static_cast<CHyperLinkCtl*>(Build(
      R"(<link id="l" width="50" height="24" title="Custom" linkcolor="1,0,0" hovercolor="2,0,0" visitedcolor="3,0,0" textAlignment="Right" samllfont="1"/>)",
      L"l"));
  const struct {
    std::function<void()> action;
    Colour colour;
  } steps[] = {{[] {}, 1},
               {[&] { link->OnMouseMove(0, 1, 1); }, 2},
               {[&] { link->OnLButtonDown(0, 1, 1); }, 3},
               {[&] { link->EnableButton(false); }, MakeColour(153, 153, 153)}};
  for (const auto& step : steps) {
    step.action();
    RecordingCanvas canvas;
    link->Paint(canvas);
    EXPECT_EQ(step.colour, canvas.First("text")->colour);
    EXPECT_EQ(6u, canvas.First("text")->format);
    EXPECT_EQ(FontKind::kSmall, canvas.First("text")->font);
  }
  link->EnableButton(true);
  link->OnMouseMove(0, 1, 1);
  EXPECT_EQ(PointerShape::kHand, link->GetCursor());
  link->OnMouseLeave();
  EXPECT_EQ(PointerShape::kArrow, link->GetCursor());
}

TEST_F(Controls, StaticFormatsAndClick) {
  const struct {
    const char* attributes;
    uint32_t format;
  } cases[] = {
      {R"(textAlignment="LeftTop")", 0},
      {"", 4},
      {R"(textAlignment="LeftTop" icon="ICON")", 0x8024},
      {R"(textAlignment="Center")", 1},
  };
  for (const auto& c : cases) {
    auto* text = static_cast<CStaticCtl*>(
        Build("<static id=\"s\" left=\"16\" top=\"16\" width=\"414\" height=\"72\" title=\"t\" " +
                  std::string(c.attributes) + "/>",
              L"s"));
    RecordingCanvas canvas;
    text->Paint(canvas);
    EXPECT_EQ(c.format, canvas.First("text")->format) << c.attributes;
  }
  auto* text = static_cast<CStaticCtl*>(Build(R"(<static id="s" width="9" height="9"/>)", L"s"));
  text->OnLButtonUp(0, 1, 1);  // not armed
  EXPECT_EQ(0, owner_.Count(kClick));
  text->OnLButtonDown(0, 1, 1);
  text->OnLButtonUp(0, 1, 1);
  EXPECT_EQ(1, owner_.Count(kClick));
}

TEST_F(Controls, StaticDrawsIconThenTextThenBackgroundLast) {
  images_.Add(L"APPLOGO", 40, 40);
  auto* text = static_cast<CStaticCtl*>(Build(
      R"(<static id="s" left="0" top="0" width="100" height="40" icon="ICON" title="t" background="APPLOGO"/>)", L"s"));
  RecordingCanvas canvas;
  text->Paint(canvas);
  ASSERT_EQ(3u, canvas.calls.size());
  EXPECT_EQ("blend", canvas.calls[0].kind);
  EXPECT_EQ("text", canvas.calls[1].kind);
  EXPECT_EQ(66, canvas.calls[1].dest.left);  // 2 px after the 64-px icon
  EXPECT_EQ("blend", canvas.calls[2].kind);
  EXPECT_EQ((UiRect{0, 0, 100, 40}), canvas.calls[2].dest);
}

TEST_F(Controls, LayeredPanelWithBorderCoversItsBackgroundWithItsColour) {
  images_.Add(L"POPLOG", 100, 100);
  auto* panel = Build(R"(<panel id="p" left="6" top="46" width="478" height="192" background="POPLOG" border="1"
      backcolor="22,17,66" bordercolor="22,17,66"><static id="s" title="t"/></panel>)",
                      L"p");
  RecordingCanvas canvas;
  panel->Paint(canvas);
  ASSERT_EQ(3u, canvas.calls.size());
  EXPECT_EQ("nineslice", canvas.calls[0].kind);
  EXPECT_EQ((Margins{10, 10, 10, 10}), canvas.calls[0].corners);
  EXPECT_EQ("rectangle", canvas.calls[1].kind);  // over the image, through GDI+
  EXPECT_TRUE(canvas.calls[1].layered);
  EXPECT_EQ(MakeColour(22, 17, 66), canvas.calls[1].brush);
  EXPECT_EQ("text", canvas.calls[2].kind);  // then the children
}

TEST_F(Controls, ProgressLabelAndFill) {
  images_.Add(L"PROGRESS", 256, 8);
  auto* bar = static_cast<CProgressCtl*>(Build(
      R"(<panel id="p" left="6" top="256" width="640" height="144"><progress id="bar" left="16" top="32" width="607" height="8" progress="PROGRESS" progress_width="607"/></panel>)",
      L"bar"));
  const struct {
    float position;
    const wchar_t* label;
    int fill;
  } cases[] = {{0.333f, L"33.3%", 202}, {0.5f, L"50.0%", 303}, {1.0f, L"100.0%", 607}, {0.0f, L"0.0%", 0}};
  for (const auto& c : cases) {
    bar->SetProgress(c.position);
    EXPECT_EQ(c.label, bar->Label());
    EXPECT_EQ(c.fill, bar->FillWidth());
    RecordingCanvas canvas;
    bar->Paint(canvas);
    const DrawCall* label = canvas.First("text");
    EXPECT_EQ((UiRect{595, 308, 650, 332}), label->dest);
    EXPECT_EQ(0x8024u, label->format);
    int fill_width = 0;
    for (const DrawCall& call : canvas.calls) {
      if (call.kind == "blend") fill_width = call.dest.width();
    }
    EXPECT_EQ(c.fill, fill_width);
  }
  EXPECT_FALSE(bar->IsEnabled());  // never hit
}

}  // namespace
