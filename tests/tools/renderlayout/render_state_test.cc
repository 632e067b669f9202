// The state words of renderlayout and the kind of window a layout name stands for.
#include "tools/renderlayout/render_state.h"

#include <gtest/gtest.h>

TEST(RenderState, WordsAndTheirLimits) {
  using panel_states::MainState;
  const struct {
    const char* text;
    bool ok;
    WindowKind window = WindowKind::kMain;
    MainState main = MainState::kMain;
    int number = 0;
  } cases[] = {
      {"main", true, WindowKind::kMain, MainState::kMain, 0},
      {"custom", true, WindowKind::kMain, MainState::kCustom, 0},
      {"download:0", true, WindowKind::kMain, MainState::kDownload, 0},
      {"download:100", true, WindowKind::kMain, MainState::kDownload, 100},
      {"installing", true, WindowKind::kMain, MainState::kInstalling, 0},
      {"complete", true, WindowKind::kMain, MainState::kComplete, 0},
      {"popup:0", true, WindowKind::kPopup, MainState::kMain, 0},
      {"popup:3", true, WindowKind::kPopup, MainState::kMain, 3},
      {"download:101", false},
      {"download:", false},
      {"download:5x", false},
      {"download:-1", false},
      {"popup:4", false},
      {"popup:01x", false},
      {"Main", false},
      {"main ", false},
      {"", false},
  };
  for (const auto& c : cases) {
    RenderState state;
    ASSERT_EQ(c.ok, ParseRenderState(c.text, &state)) << '"' << c.text << '"';
    if (!c.ok) continue;
    EXPECT_EQ(c.window, state.window) << c.text;
    if (c.window == WindowKind::kMain) {
      EXPECT_EQ(c.main, state.main) << c.text;
      EXPECT_EQ(c.number, state.download_percent) << c.text;
    } else {
      EXPECT_EQ(c.number, state.popup_kind) << c.text;
    }
  }
}

TEST(RenderState, LayoutNamesOfTheTwoWindowKinds) {
  WindowKind kind;
  ASSERT_TRUE(WindowKindOfLayout(L"ENGUIMAINWINDOW", &kind));
  EXPECT_EQ(WindowKind::kMain, kind);
  ASSERT_TRUE(WindowKindOfLayout(L"KRUIMainWindow", &kind));
  EXPECT_EQ(WindowKind::kMain, kind);
  ASSERT_TRUE(WindowKindOfLayout(L"uicannotdown", &kind));
  EXPECT_EQ(WindowKind::kPopup, kind);
  EXPECT_FALSE(WindowKindOfLayout(L"UIAGREEMENT", &kind));
  EXPECT_FALSE(WindowKindOfLayout(L"UICONTENT", &kind));
  EXPECT_FALSE(WindowKindOfLayout(L"", &kind));
}
