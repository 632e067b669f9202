// The layered windows under Wine, built from the program's own layouts and driven by real
// window messages and real input (SendInput): hit tests and dragging, the render cycle and its
// opacities, the 24-bit path, clicks, the show animation, and GDI and user object counts.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "UI/panel_states.h"
#include "tests/uiframework/real_input_win.h"
#include "uiframework/gdi_resource.h"
#include "uiframework/trans_window.h"

namespace {

using real_input::Button;
using real_input::MoveTo;
using real_input::PumpIdle;
using real_input::PumpUntil;

LPARAM ScreenPoint(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

RECT WindowRectOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

POINT CentreOnScreen(HWND window, const UiRect& client_rect) {
  POINT point = {(client_rect.left + client_rect.right) / 2, (client_rect.top + client_rect.bottom) / 2};
  ClientToScreen(window, &point);
  return point;
}

class Popup : public CTransWindow {};

// The main window with a counted after-show hook.
class MainWindow : public CTransWindowEx {
 public:
  std::function<void()> on_shown;
  int shown = 0;

 protected:
  void OnShowAnimationDone() override {
    ++shown;
    if (on_shown) on_shown();
  }
};

class TransWindow : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(GetGDIResource().StartGdiplus(L"")); }
  void TearDown() override { GetGDIResource().StopGdiplus(); }
};

TEST_F(TransWindow, PopupTitleZoneDragsBelowItsBandButNotOverTheCloseButton) {
  Popup popup;
  ASSERT_TRUE(popup.LoadLayout(nullptr, L"ENGUICANNOTDOWN"));
  PumpIdle();
  const RECT window = WindowRectOf(popup.hwnd());
  // An empty spot of the title row: right of the caption text, left of the close button.
  const int x = window.left + 250;
  const struct {
    int window_y;
    LRESULT code;
  } cases[] = {{4, HTCLIENT}, {20, HTCAPTION}, {41, HTCAPTION}, {42, HTCLIENT}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.code, SendMessageW(popup.hwnd(), WM_NCHITTEST, 0, ScreenPoint(x, window.top + c.window_y)))
        << "y " << c.window_y;
  }
  CBaseElementCtl* close = popup.FindElement(L"id_btn_close");
  ASSERT_NE(nullptr, close);
  const POINT over_close = CentreOnScreen(popup.hwnd(), close->GetRect());
  ASSERT_LE(over_close.y - window.top, 41);
  EXPECT_EQ(HTCLIENT, SendMessageW(popup.hwnd(), WM_NCHITTEST, 0, ScreenPoint(over_close.x, over_close.y)));
}

TEST_F(TransWindow, MissingLayoutMakesNoWindow) {
  Popup popup;
  EXPECT_FALSE(popup.LoadLayout(nullptr, L"NOSUCHLAYOUT"));
  EXPECT_EQ(nullptr, popup.hwnd());
  EXPECT_FALSE(popup.LoadLayoutDocument(nullptr, "<dialog/>", L"broken"));
  EXPECT_EQ(nullptr, popup.hwnd());
}

TEST_F(TransWindow, OneStateChangeGivesOneRepaintAndOneRender) {
  Popup popup;
  ASSERT_TRUE(popup.LoadLayout(nullptr, L"ENGUICANNOTDOWN"));
  ASSERT_TRUE(popup.layered_output());
  PumpIdle();
  // Creation posts the first render.
  EXPECT_EQ(1, popup.stats().repaint_requests);
  EXPECT_EQ(1, popup.stats().renders);
  EXPECT_NE(0, GetWindowLongW(popup.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  CBaseElementCtl* ok = popup.FindElement(L"id_btn_ok");
  ASSERT_NE(nullptr, ok);
  const UiRect rect = ok->GetRect();
  SendMessageW(popup.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(rect.left + 5, rect.top + 5));  // normal -> hover
  PumpIdle();
  EXPECT_EQ(2, popup.stats().repaint_requests);
  EXPECT_EQ(2, popup.stats().renders);
  EXPECT_EQ(254, popup.stats().last_constant_alpha);
}

// A panel switch changes many elements at once: their requests, queued together, make one render
// of the same picture.
TEST_F(TransWindow, QueuedRepaintRequestsMakeOneRender) {
  Popup popup;
  ASSERT_TRUE(popup.LoadLayout(nullptr, L"ENGUICANNOTDOWN"));
  PumpIdle();
  const int requests = popup.stats().repaint_requests;
  const int renders = popup.stats().renders;
  for (const wchar_t* id : {L"id_btn_ok", L"id_btn_cancal", L"id_static_tip1"}) {
    CBaseElementCtl* element = popup.FindElement(id);
    ASSERT_NE(nullptr, element) << id;
    element->SetVisible(!element->IsVisible());
  }
  PumpIdle();
  EXPECT_EQ(requests + 3, popup.stats().repaint_requests);
  EXPECT_EQ(renders + 1, popup.stats().renders);
}

TEST_F(TransWindow, OpacityBecomesConstantAlphaByTruncation) {
  Popup popup;
  ASSERT_TRUE(popup.LoadLayout(nullptr, L"ENGUICANNOTDOWN"));
  PumpIdle();
  const struct {
    LPARAM opacity;
    int alpha;
  } cases[] = {{150, 254}, {100, 254}, {35, 89}, {80, 204}, {-5, 254}};
  for (const auto& c : cases) {
    const int renders = popup.stats().renders;
    PostMessageW(popup.hwnd(), 0x5400, 0, c.opacity);
    PumpIdle();
    EXPECT_EQ(renders + 1, popup.stats().renders) << c.opacity;
    EXPECT_EQ(c.alpha, popup.stats().last_constant_alpha) << c.opacity;
  }
}

TEST_F(TransWindow, DisplayBelowThirtyTwoBitsInvalidatesInsteadOfRendering) {
  Popup popup;
  popup.SetColourDepthSource([] { return 24; });
  ASSERT_TRUE(popup.LoadLayout(nullptr, L"ENGUICANNOTDOWN"));
  EXPECT_FALSE(popup.layered_output());
  ShowWindow(popup.hwnd(), SW_SHOWNOACTIVATE);
  PumpIdle();
  PostMessageW(popup.hwnd(), 0x5400, 0, 100);
  PumpIdle();
  EXPECT_EQ(1, popup.stats().repaint_requests);
  EXPECT_EQ(1, popup.stats().invalidations);
  EXPECT_EQ(0, popup.stats().renders);
  EXPECT_EQ(0, GetWindowLongW(popup.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(GetUpdateRect(popup.hwnd(), nullptr, FALSE));  // painted by WM_PAINT
}

TEST_F(TransWindow, RoundCornerFlagDecidesTheRegion) {
  const char* documents[] = {
      R"(<window left="10" top="10" width="200" height="120" style="2248146944" roundcorner="0"/>)",
      R"(<window left="10" top="10" width="200" height="120" style="2248146944" roundcorner="1"/>)"};
  for (int rounded = 0; rounded < 2; ++rounded) {
    Popup popup;
    ASSERT_TRUE(popup.LoadLayoutDocument(nullptr, documents[rounded], L"round"));
    PumpIdle();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(popup.hwnd(), region);
    if (!rounded) {
      EXPECT_EQ(ERROR, kind);
    } else {
      EXPECT_FALSE(PtInRegion(region, 0, 0));  // top corners cut
      EXPECT_FALSE(PtInRegion(region, 199, 0));
      EXPECT_TRUE(PtInRegion(region, 0, 119));  // bottom corners square
      EXPECT_TRUE(PtInRegion(region, 199, 119));
      EXPECT_TRUE(PtInRegion(region, 100, 0));
    }
    DeleteObject(region);
  }
}

TEST_F(TransWindow, MinMaxInfoWithoutMinimumIsZero) {
  Popup popup;
  ASSERT_TRUE(popup.LoadLayoutDocument(nullptr, R"(<window width="200" height="120" style="2248146944"/>)", L"m"));
  MINMAXINFO info = {};
  SendMessageW(popup.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(0, info.ptMinTrackSize.x);
  EXPECT_EQ(0, info.ptMinTrackSize.y);
}

// A real click runs the handler once; press, leave, come back and release runs none.
TEST_F(TransWindow, RealClickRunsTheHandlerOnceAndAnAbandonedPressNone) {
  Popup popup;
  ASSERT_TRUE(popup.LoadLayout(nullptr, L"ENGUICANNOTDOWN"));
  // The buttons of the other kinds lie on top of these; a popup shows one kind's.
  panel_states::ApplyPopupKind(popup.elements(), 0);
  ShowWindow(popup.hwnd(), SW_SHOW);
  SetForegroundWindow(popup.hwnd());
  PumpIdle();
  CBaseElementCtl* ok = popup.FindElement(L"id_btn_ok");
  ASSERT_NE(nullptr, ok);
  int clicks = 0;
  ok->SetClickHandler(ElementHandler(std::function<void()>([&] { ++clicks; })));
  const POINT centre = CentreOnScreen(popup.hwnd(), ok->GetRect());
  MoveTo(centre.x, centre.y);
  PumpIdle();
  Button(true);
  PumpIdle();
  Button(false);
  ASSERT_TRUE(PumpUntil([&] { return clicks > 0; }, 3000));
  PumpIdle();
  EXPECT_EQ(1, clicks);

  Button(true);
  PumpIdle();
  const RECT window = WindowRectOf(popup.hwnd());
  MoveTo(window.left + 100, window.bottom + 40);  // off the window
  // The system notices the pointer has left on its own time (Wine polls it).
  ASSERT_TRUE(PumpUntil([&] { return popup.elements().hovered() == nullptr; }, 3000));
  MoveTo(centre.x, centre.y);
  PumpIdle();
  Button(false);
  PumpIdle();
  EXPECT_EQ(1, clicks);
}

// Pressing an empty spot of the main window's title zone and moving the real pointer moves it.
TEST_F(TransWindow, MainWindowDragsFromAnEmptySpotOfItsTitleZone) {
  MainWindow main;
  main.set_animate(false);
  ASSERT_TRUE(main.LoadLayout(nullptr, L"ENGUIMAINWINDOW"));
  main.ShowAnimated(SW_SHOW);
  SetForegroundWindow(main.hwnd());
  PumpIdle();
  const RECT before = WindowRectOf(main.hwnd());
  POINT grip = {before.left + 40, before.top + 120};
  POINT client = grip;
  ScreenToClient(main.hwnd(), &client);
  ASSERT_FALSE(main.elements().AnyElementAt(client.x, client.y));
  ASSERT_EQ(HTCAPTION, SendMessageW(main.hwnd(), WM_NCHITTEST, 0, ScreenPoint(grip.x, grip.y)));
  // The system's move loop runs inside the press, so the pointer moves from another thread.
  std::atomic<bool> done{false};
  std::thread hand([&] {
    MoveTo(grip.x, grip.y);
    Sleep(100);
    Button(true);
    for (int step = 1; step <= 10; ++step) {
      Sleep(30);
      MoveTo(grip.x + 6 * step, grip.y + 4 * step);
    }
    Sleep(100);
    Button(false);
    Sleep(100);
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 8000);
  hand.join();
  PumpIdle();
  const RECT after = WindowRectOf(main.hwnd());
  EXPECT_EQ(before.left + 60, after.left);
  EXPECT_EQ(before.top + 40, after.top);
}

// The animation's frames follow the table, element repaints wait, and the hook runs once,
// after the last frame.
TEST_F(TransWindow, ShowAnimationFollowsTheTableAndRunsTheHookOnceAtTheEnd) {
  MainWindow main;
  ASSERT_TRUE(main.LoadLayout(nullptr, L"ENGUIMAINWINDOW"));
  PumpIdle();
  const RECT rest_rect = WindowRectOf(main.hwnd());
  const UiRect rest{rest_rect.left, rest_rect.top, rest_rect.right, rest_rect.bottom};
  std::vector<CUpdateWindowBase::Frame> frames;
  size_t frames_at_hook = 0;
  main.SetFrameObserver([&](const CUpdateWindowBase::Frame& frame) { frames.push_back(frame); });
  main.on_shown = [&] { frames_at_hook = frames.size(); };
  int hits_during = 0;
  main.ShowAnimated(SW_SHOW);
  ASSERT_TRUE(main.animating());
  main.RequestRender();  // skipped while the animation runs
  hits_during =
      static_cast<int>(SendMessageW(main.hwnd(), WM_NCHITTEST, 0, ScreenPoint(rest.left + 40, rest.top + 120)));
  ASSERT_TRUE(PumpUntil([&] { return main.shown > 0; }));
  PumpIdle();
  EXPECT_EQ(HTCLIENT, hits_during);
  const UiRect canvas = window_rules::Inflate(rest, 20);
  const struct {
    UiRect window;
    int alpha;
  } expected[] = {{canvas, 89},
                  {canvas, 102},
                  {canvas, 114},
                  {canvas, 140},
                  {canvas, 153},
                  {canvas, 165},
                  {window_rules::Inflate(rest, 13), 178},
                  {window_rules::Inflate(rest, 7), 191},
                  {window_rules::Inflate(rest, 3), 204},
                  {window_rules::Inflate(rest, 1), 229},
                  {rest, 254},
                  {rest, 254}};
  ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(expected[i].window, frames[i].window) << "frame " << i;
    EXPECT_EQ(expected[i].alpha, frames[i].constant_alpha) << "frame " << i;
  }
  EXPECT_EQ(frames.size(), frames_at_hook);
  EXPECT_EQ(1, main.shown);
  EXPECT_FALSE(main.animating());
  EXPECT_EQ(rest_rect.left, WindowRectOf(main.hwnd()).left);
  // Later repaints render again.
  main.RequestRender();
  PumpIdle();
  EXPECT_EQ(expected[11].alpha, frames.back().constant_alpha);
  EXPECT_EQ(1, main.shown);
}

// Renders and whole windows give every GDI and user object back.
TEST_F(TransWindow, RendersAndWindowsLeaveNoGdiOrUserObjectsBehind) {
  HANDLE process = GetCurrentProcess();
  auto gdi = [&] { return GetGuiResources(process, GR_GDIOBJECTS); };
  auto user = [&] { return GetGuiResources(process, GR_USEROBJECTS); };
  // Wine's GetGuiResources is a stub that answers 0: the counts mean something on Windows only.
  if (gdi() == 0) GTEST_SKIP() << "GetGuiResources counts no GDI objects on this system";
  {
    Popup popup;
    ASSERT_TRUE(popup.LoadLayout(nullptr, L"ENGUICANNOTDOWN"));
    PumpIdle();
    ASSERT_TRUE(popup.Render(100));
    const DWORD gdi_first = gdi();
    const DWORD user_first = user();
    for (int i = 0; i < 500; ++i) ASSERT_TRUE(popup.Render(100));
    EXPECT_EQ(gdi_first, gdi());
    EXPECT_EQ(user_first, user());
  }
  PumpIdle();
  DWORD gdi_first = 0, user_first = 0;
  for (int i = 0; i < 50; ++i) {
    {
      Popup popup;
      ASSERT_TRUE(popup.LoadLayout(nullptr, L"ENGUICANNOTDOWN"));
      ShowWindow(popup.hwnd(), SW_SHOWNOACTIVATE);
      PumpIdle();
    }
    PumpIdle();
    if (i == 0) {
      gdi_first = gdi();
      user_first = user();
    }
  }
  EXPECT_EQ(gdi_first, gdi());
  EXPECT_EQ(user_first, user());
}

}  // namespace
