// The native edits under Wine in an ordinary window built from a document in memory: the EDIT
// children of `edit` and `simedit` with their ids, styles, places, font, limit and hint, the
// pop-up CEditWindow of `richedit` with its digits-only edit, box and colours, driven by real
// input (SendInput clicks and typing); where they go when the window or a panel changes, and
// that every window goes with its element or its owner.
//
// The window paints through WM_PAINT (a 24-bit display as far as it knows): a native child
// cannot show on a window drawn with UpdateLayeredWindow, which shows only its bitmap.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/uiframework/real_input_win.h"
#include "uiframework/edit_ctl.h"
#include "uiframework/edit_window.h"
#include "uiframework/gdi_resource.h"
#include "uiframework/native_edit_rules.h"
#include "uiframework/rich_edit.h"
#include "uiframework/trans_window.h"

namespace {

using real_input::ClickAt;
using real_input::PumpIdle;
using real_input::PumpUntil;

const char kDocument[] = R"(<window left="200" top="150" width="480" height="260" style="2248146944">
  <panel id="back" width="480" height="260" border="1" backcolor="236,240,244" bordercolor="160,170,180"/>
  <edit id="101" title="hello" left="20" top="40" width="200" height="32" tab="1"/>
  <edit id="102" left="20" top="100" width="200" height="32" pWd="1" readonly="1"/>
  <panel id="p" left="250" top="40" width="210" height="200" backcolor="240,240,240" bordercolor="240,240,240">
    <simedit id="103" left="0" top="0" width="200" height="32" rightmargin="20"/>
    <richedit id="r" title="12" left="0" top="60" width="120" height="32"/>
  </panel>
</window>)";

// A plain popup window that says it stands on a 24-bit display, and records 12001.
class EditsWindow : public CTransWindow {
 public:
  EditsWindow() {
    SetColourDepthSource([] { return 24; });
  }
  std::vector<WPARAM> tabs;

 protected:
  bool HandleKindMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    if (message == element_message::kEditTab) tabs.push_back(wparam);
    return CTransWindow::HandleKindMessage(message, wparam, lparam, result);
  }
};

BOOL CALLBACK CollectEditWindow(HWND window, LPARAM list) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wstring(name) == kEditWindowClass) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Every CEditWindow of this thread, hidden ones included.
std::vector<HWND> EditWindows() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), &CollectEditWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

UiRect ScreenRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return UiRect{rect.left, rect.top, rect.right, rect.bottom};
}

class NativeEditsWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(GetGDIResource().StartGdiplus(L""));
    ASSERT_TRUE(window_.LoadLayoutDocument(nullptr, kDocument, L"native edits test"));
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    PumpIdle();
  }
  void TearDown() override { GetGDIResource().StopGdiplus(); }

  HWND hwnd() const { return window_.hwnd(); }
  CEditCtl* Edit(const wchar_t* id) { return static_cast<CEditCtl*>(window_.FindElement(id)); }
  CRichEditCtl* Rich() { return static_cast<CRichEditCtl*>(window_.FindElement(L"r")); }
  // The window's client rectangle `area` on the screen.
  UiRect OnScreen(const UiRect& area) const {
    POINT origin = {area.left, area.top};
    ClientToScreen(hwnd(), &origin);
    return MakeRect(origin.x, origin.y, area.width(), area.height());
  }
  UiRect ClientRectOf(HWND child) const {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return UiRect{rect.left, rect.top, rect.right, rect.bottom};
  }
  static void ClickInto(HWND window) {
    const UiRect rect = ScreenRect(window);
    ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  }

  EditsWindow window_;
};

TEST_F(NativeEditsWindow, EditsAreChildrenWithTheDocumentsIdsStylesPlacesAndFont) {
  const struct {
    int id;
    const wchar_t* text;
    bool password, read_only;
  } cases[] = {{101, L"hello", false, false}, {102, L"", true, true}, {103, L"", false, false}};
  for (const auto& c : cases) {
    HWND child = GetDlgItem(hwnd(), c.id);
    ASSERT_NE(nullptr, child) << c.id;
    EXPECT_EQ(L"Edit", ClassOf(child));
    EXPECT_EQ(hwnd(), GetParent(child));
    EXPECT_EQ(c.text, TextOf(child));
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    EXPECT_EQ(c.password, (style & ES_PASSWORD) != 0) << c.id;
    EXPECT_EQ(c.read_only, (style & ES_READONLY) != 0) << c.id;
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetGDIResource().GetDefaultFont()), SendMessageW(child, WM_GETFONT, 0, 0));
    const CEditCtl* edit = Edit(std::to_wstring(c.id).c_str());
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(edit->EditArea(), ClientRectOf(child)) << c.id;
  }
  // The simple edit in its panel: window coordinates, the right margin kept free.
  EXPECT_EQ((UiRect{255, 45, 250 + 200 - 5 - 20, 71}), ClientRectOf(GetDlgItem(hwnd(), 103)));
  HWND simple = GetDlgItem(hwnd(), 103);
  EXPECT_EQ(4000, SendMessageW(simple, EM_GETLIMITTEXT, 0, 0));
  wchar_t cue[64] = {};
  ASSERT_TRUE(SendMessageW(simple, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64));
  EXPECT_EQ(std::wstring(native_edit_rules::kSimEditCueBanner), cue);
}

TEST_F(NativeEditsWindow, TypingReachesTheElementAndTabSends12001OnlyWhereTabIsSet) {
  CEditCtl* edit = Edit(L"101");
  edit->SetText(L"");
  HWND child = GetDlgItem(hwnd(), 101);
  EXPECT_EQ(L"", TextOf(child));
  ClickInto(child);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == child; }));
  real_input::TypeText(L"abc");
  ASSERT_TRUE(PumpUntil([&] { return edit->GetText() == L"abc"; })) << edit->GetText().size();
  real_input::PressKeys({VK_TAB});
  ASSERT_TRUE(PumpUntil([&] { return !window_.tabs.empty(); }));
  PumpIdle();
  ASSERT_EQ(1u, window_.tabs.size());
  EXPECT_EQ(reinterpret_cast<WPARAM>(static_cast<CBaseElementCtl*>(edit)), window_.tabs[0]);

  // The simple edit has no `tab`: its Tab sends nothing.
  HWND simple = GetDlgItem(hwnd(), 103);
  ClickInto(simple);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == simple; }));
  real_input::TypeText(L"x");
  real_input::PressKeys({VK_TAB});
  ASSERT_TRUE(PumpUntil([&] { return Edit(L"103")->GetText() == L"x"; }));
  PumpIdle();
  EXPECT_EQ(1u, window_.tabs.size());
}

TEST_F(NativeEditsWindow, RichEditPopupLiesOverItsElementAndTakesOnlyDigits) {
  const std::vector<HWND> windows = EditWindows();
  ASSERT_EQ(1u, windows.size());
  HWND popup = windows[0];
  CRichEditCtl* rich = Rich();
  EXPECT_EQ(L"EditWindow", TextOf(popup));
  EXPECT_EQ(hwnd(), GetWindow(popup, GW_OWNER));
  const DWORD wanted = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  EXPECT_EQ(wanted, static_cast<DWORD>(GetWindowLongW(popup, GWL_STYLE)) & wanted);
  EXPECT_EQ(OnScreen(rich->GetRect()), ScreenRect(popup));
  // It appeared without taking the activation from its owner.
  EXPECT_EQ(hwnd(), GetForegroundWindow());

  auto* native = static_cast<CEditWindow*>(rich->edit_window());
  ASSERT_NE(nullptr, native);
  HWND edit = native->edit();
  EXPECT_EQ(popup, GetParent(edit));
  EXPECT_EQ(L"12", TextOf(edit));
  RECT inner = {};
  GetWindowRect(edit, &inner);
  MapWindowPoints(nullptr, popup, reinterpret_cast<POINT*>(&inner), 2);
  EXPECT_EQ(native_edit_rules::NumberEditArea(120, 32), (UiRect{inner.left, inner.top, inner.right, inner.bottom}));
  EXPECT_EQ(reinterpret_cast<LRESULT>(GetGDIResource().GetDefaultFont()), SendMessageW(edit, WM_GETFONT, 0, 0));

  ClickInto(edit);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }));
  SendMessageW(edit, EM_SETSEL, 0, -1);
  real_input::TypeText(L"4a5-6 .");
  real_input::PressKeys({VK_BACK});
  real_input::TypeText(L"7");
  real_input::PressKeys({VK_RETURN});
  ASSERT_TRUE(PumpUntil([&] { return rich->GetText() == L"457"; })) << rich->GetText().size();
  PumpIdle();
  EXPECT_EQ(L"457", TextOf(edit));
  EXPECT_EQ(L"457", rich->GetText());
}

TEST_F(NativeEditsWindow, RichEditPopupPaintsAWhiteBoxOutlinedInBlue) {
  HWND popup = EditWindows().at(0);
  // WM_CTLCOLOREDIT: white behind the text, a white brush.
  base::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc.valid());
  HWND edit = static_cast<CEditWindow*>(Rich()->edit_window())->edit();
  const LRESULT brush =
      SendMessageW(popup, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)), brush);
  EXPECT_EQ(RGB(255, 255, 255), GetBkColor(dc.get()));

  // What the screen shows: the outline on the edge, white inside, around the edit.
  RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpIdle();
  const UiRect rect = ScreenRect(popup);
  HDC screen = GetDC(nullptr);
  ASSERT_NE(nullptr, screen);
  const COLORREF edge = GetPixel(screen, rect.left, rect.top + 10);
  const COLORREF corner = GetPixel(screen, rect.right - 1, rect.bottom - 1);
  const COLORREF inside = GetPixel(screen, rect.left + 2, rect.top + 3);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(RGB(60, 152, 208), edge);
  EXPECT_EQ(RGB(60, 152, 208), corner);
  EXPECT_EQ(RGB(255, 255, 255), inside);
}

TEST_F(NativeEditsWindow, NativeWindowsFollowTheOwnerAndTheirPanel) {
  HWND popup = EditWindows().at(0);
  RECT before = {};
  GetWindowRect(hwnd(), &before);
  SetWindowPos(hwnd(), nullptr, before.left + 37, before.top + 21, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PumpIdle();
  EXPECT_EQ(OnScreen(Rich()->GetRect()), ScreenRect(popup));

  // A window grown by 40 px: the panel and what it holds keep their place (no rule moves them),
  // the edit still lies where its element says.
  SetWindowPos(hwnd(), nullptr, 0, 0, 520, 260, SWP_NOMOVE | SWP_NOZORDER);
  PumpIdle();
  EXPECT_EQ(Edit(L"103")->EditArea(), ClientRectOf(GetDlgItem(hwnd(), 103)));
  Rich()->MoveTo(300, 180, 100, 30);
  EXPECT_EQ(OnScreen(MakeRect(300, 180, 100, 30)), ScreenRect(popup));

  CBaseElementCtl* panel = window_.FindElement(L"p");
  panel->SetVisible(false);
  PumpIdle();
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd(), 103)));
  EXPECT_FALSE(IsWindowVisible(popup));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd(), 101)));
  panel->SetVisible(true);
  PumpIdle();
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd(), 103)));
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_EQ(hwnd(), GetForegroundWindow());
}

TEST_F(NativeEditsWindow, WindowsGoWithTheirElements) {
  HWND popup = EditWindows().at(0);
  HWND child = GetDlgItem(hwnd(), 101);
  window_.elements().Clear();
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(nullptr, GetWindow(hwnd(), GW_CHILD));
  EXPECT_TRUE(EditWindows().empty());
  EXPECT_TRUE(IsWindow(hwnd()));
}

// The other order: the owner goes first and takes its children and pop-up with it; the elements
// that go afterwards find nothing left to destroy.
TEST(NativeEditsOwnerFirst, OwnerDestroyedFirstTakesItsWindowsAndLeavesNothingBehind) {
  ASSERT_TRUE(GetGDIResource().StartGdiplus(L""));
  {
    EditsWindow window;
    ASSERT_TRUE(window.LoadLayoutDocument(nullptr, kDocument, L"native edits test"));
    CRichEditCtl* rich = static_cast<CRichEditCtl*>(window.FindElement(L"r"));
    ASSERT_EQ(1u, EditWindows().size());
    DestroyWindow(window.hwnd());
    EXPECT_TRUE(EditWindows().empty());
    ASSERT_NE(nullptr, rich->edit_window());
    EXPECT_FALSE(rich->edit_window()->IsOpen());
    EXPECT_FALSE(static_cast<CEditCtl*>(window.FindElement(L"101"))->native_edit()->IsOpen());
    rich->SetText(L"5");  // nothing to reach, and no harm
    rich->MoveTo(1, 1, 10, 10);
  }
  PumpIdle();
  GetGDIResource().StopGdiplus();
}

}  // namespace
