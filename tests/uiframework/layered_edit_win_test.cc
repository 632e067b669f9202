// The layered edit's pop-up edit under Wine: a small layered window built from a document in
// memory, hosted by a real utility window (which destroys closed pop-ups), driven by real input:
// SendInput clicks and typing, and xdotool typing through the X server.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/global.h"
#include "tests/uiframework/real_input_win.h"
#include "uiframework/edit_pop_window.h"
#include "uiframework/layered_edit.h"
#include "uiframework/trans_window.h"
#include "uiframework/utility_window.h"

namespace {

using real_input::ClickAt;
using real_input::PumpIdle;
using real_input::PumpUntil;

const wchar_t kUtilityClass[] = L"PindleLayeredEditTest";

// The install-path box as the main window has it, and a box with the Tab notification.
const char kDocument[] = R"(<window left="200" top="160" width="480" height="220" style="2248146944">
  <layedit id="id_edit_installpath" left="40" top="40" width="328" height="32" textcolor="204,204,204"
           hovertext="204,204,204" downtext="255,255,255" checkpath="1" bgnormalborder="92,78,160"
           bgnormalbrush="32,26,84" bghoverborder="154,114,234" bghoverbrush="36,30,92" bgdownbrush="36,30,92"
           bgdownborder="190,160,255"/>
  <layedit id="id_edit_name" left="40" top="120" width="200" height="32" tab="1" index="7" textcolor="204,204,204"
           bgnormalborder="92,78,160" bgnormalbrush="32,26,84" bgdownbrush="36,30,92" bgdownborder="190,160,255"/>
</window>)";

struct Seen {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};

// The main window's side of the contract: 12002 and the element notifications reach its
// HandleKindMessage.
class EditWindow : public CTransWindowEx {
 public:
  std::vector<Seen> seen;
  int Count(UINT message) const {
    int count = 0;
    for (const Seen& each : seen) count += each.message == message ? 1 : 0;
    return count;
  }

 protected:
  bool HandleKindMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    if (message == element_message::kPathEdited || message == element_message::kEnter ||
        message == element_message::kTab) {
      seen.push_back({message, wparam, lparam});
    }
    return CTransWindowEx::HandleKindMessage(message, wparam, lparam, result);
  }
};

// What the utility window's host saw.
struct HostRecord {
  EditWindow* window = nullptr;
  int closed_notices = 0;
  std::wstring text_at_close;
};
HostRecord g_host;

class EditHost : public IMainWindowHost {
 public:
  bool Create(HWND) override {
    g_host.window = &window_;
    return window_.LoadLayoutDocument(nullptr, kDocument, L"layered edit test");
  }
  void Activate() override {}
  void OnPathEditClosed() override {
    ++g_host.closed_notices;
    g_host.text_at_close = window_.FindElement(L"id_edit_installpath")->GetText();
  }

 private:
  EditWindow window_;
};

std::unique_ptr<IMainWindowHost> MakeHost() {
  return std::make_unique<EditHost>();
}

BOOL CALLBACK CollectPopup(HWND window, LPARAM list) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wstring(name) == kEditPopWindowClass) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Every pop-up edit window of this thread, hidden ones included.
std::vector<HWND> PopupWindows() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), &CollectPopup, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring WindowText(HWND window) {
  wchar_t text[6000] = {};
  GetWindowTextW(window, text, 6000);
  return text;
}

class LayeredEditWindow : public testing::Test {
 protected:
  void SetUp() override {
    g_host = HostRecord();
    SetMainWindowHostFactory(&MakeHost);
    ASSERT_TRUE(utility_.Create(GetModuleHandleW(nullptr), kUtilityClass));
    ASSERT_NE(nullptr, g_host.window);
    ShowWindow(main(), SW_SHOW);
    SetForegroundWindow(main());
    PumpIdle();
  }
  void TearDown() override {
    utility_.Destroy();
    app::Global().utility_window = nullptr;
    PumpIdle();
    EXPECT_TRUE(PopupWindows().empty());
  }

  HWND main() const { return g_host.window->hwnd(); }
  CLayeredEditCtl* Box(const wchar_t* id = L"id_edit_installpath") const {
    return static_cast<CLayeredEditCtl*>(g_host.window->FindElement(id));
  }
  POINT OnScreen(int client_x, int client_y) const {
    POINT point = {client_x, client_y};
    ClientToScreen(main(), &point);
    return point;
  }
  // Clicks the middle of the box's text and waits for its pop-up; null when none came.
  HWND OpenByClick(CLayeredEditCtl* box) {
    const UiRect text = box->text_rect();
    ClickAt(OnScreen((text.left + text.right) / 2, (text.top + text.bottom) / 2));
    HWND popup = nullptr;
    PumpUntil([&] {
      const std::vector<HWND> windows = PopupWindows();
      popup = windows.size() == 1 && IsWindowVisible(windows[0]) ? windows[0] : nullptr;
      return popup != nullptr;
    });
    return popup;
  }
  // Clicks an empty spot of the window, which takes the focus from the edit.
  void ClickElsewhere() { ClickAt(OnScreen(430, 200)); }

  CUtilityWindow utility_;
};

TEST_F(LayeredEditWindow, PopupLiesOverTheTextAndTypingPostsOnePathCheckPerCharacter) {
  CLayeredEditCtl* box = Box();
  HWND popup = OpenByClick(box);
  ASSERT_NE(nullptr, popup);
  // Exactly over the painted text, owned by the layered window, its edit filling it and focused.
  const UiRect text = box->text_rect();
  const POINT origin = OnScreen(text.left, text.top);
  RECT placed = {};
  GetWindowRect(popup, &placed);
  EXPECT_EQ(origin.x, placed.left);
  EXPECT_EQ(origin.y, placed.top);
  EXPECT_EQ(text.width(), placed.right - placed.left);
  EXPECT_EQ(text.height(), placed.bottom - placed.top);
  EXPECT_EQ(main(), GetWindow(popup, GW_OWNER));
  HWND edit = GetFocus();
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(popup, GetParent(edit));
  RECT client = {};
  GetClientRect(edit, &client);
  EXPECT_EQ(text.width(), client.right);
  EXPECT_EQ(CLayeredEditCtl::kDown, box->state());

  real_input::TypeText(L"C:\\Games");
  EXPECT_TRUE(PumpUntil([&] { return g_host.window->Count(element_message::kPathEdited) >= 8; }));
  PumpIdle();
  EXPECT_EQ(8, g_host.window->Count(element_message::kPathEdited));
  for (const Seen& each : g_host.window->seen) {
    EXPECT_EQ(1u, each.wparam);
    EXPECT_EQ(0, each.lparam);
  }
  // The box reads what is being typed, before the pop-up closes.
  EXPECT_EQ(L"C:\\Games", WindowText(edit));
  EXPECT_EQ(L"C:\\Games", box->GetText());
  EXPECT_EQ(CLayeredEditCtl::kDown, box->state());

  ClickElsewhere();
  ASSERT_TRUE(PumpUntil([] { return g_host.closed_notices > 0; }));
  PumpIdle();
  EXPECT_EQ(1, g_host.closed_notices);
  EXPECT_EQ(L"C:\\Games", g_host.text_at_close);
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_TRUE(PopupWindows().empty());
  EXPECT_FALSE(box->editing());
  EXPECT_EQ(L"C:\\Games", box->GetText());
  EXPECT_NE(CLayeredEditCtl::kDown, box->state());
}

// xdotool where it is installed: the keys come from the X server's keyboard as a user's do,
// through Wine's keyboard mapping, rather than straight into the system's input queue.
std::wstring XdotoolProgram() {
  for (const wchar_t* path : {L"Z:\\usr\\bin\\xdotool", L"Z:\\usr\\local\\bin\\xdotool"}) {
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return path;
  }
  return std::wstring();
}

TEST_F(LayeredEditWindow, XdotoolTypingThroughTheXServerPostsOnePathCheckPerCharacter) {
  const std::wstring xdotool = XdotoolProgram();
  if (xdotool.empty()) {
    GTEST_SKIP() << "xdotool is not installed (scripts/bootstrap.sh installs it); typing through the X server "
                    "is not tested here";
  }
  CLayeredEditCtl* box = Box();
  ASSERT_NE(nullptr, OpenByClick(box));
  // Wine starts a Unix program but gives no handle to wait on: the messages are what we wait for.
  std::wstring command = L"\"" + xdotool + L"\" type --delay 30 \"C:\\Games\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      << GetLastError();
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  EXPECT_TRUE(PumpUntil([&] { return g_host.window->Count(element_message::kPathEdited) >= 8; }, 10000));
  PumpIdle();
  EXPECT_EQ(8, g_host.window->Count(element_message::kPathEdited));
  EXPECT_EQ(L"C:\\Games", box->GetText());
  ClickElsewhere();
  ASSERT_TRUE(PumpUntil([] { return g_host.closed_notices > 0; }));
  EXPECT_EQ(L"C:\\Games", g_host.text_at_close);
}

TEST_F(LayeredEditWindow, ClicksWhileEditingOpenNoSecondPopup) {
  CLayeredEditCtl* box = Box();
  HWND popup = OpenByClick(box);
  ASSERT_NE(nullptr, popup);
  // On the text the click lands in the edit itself.
  const UiRect text = box->text_rect();
  ClickAt(OnScreen(text.left + 30, (text.top + text.bottom) / 2));
  EXPECT_EQ(std::vector<HWND>{popup}, PopupWindows());
  EXPECT_EQ(popup, GetParent(GetFocus()));
  // A press the box receives while its pop-up is open (its margin, beside the pop-up).
  const UiRect rect = box->GetRect();
  SendMessageW(main(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 4, rect.top + 4));
  SendMessageW(main(), WM_LBUTTONUP, 0, MAKELPARAM(rect.left + 4, rect.top + 4));
  PumpIdle();
  EXPECT_EQ(std::vector<HWND>{popup}, PopupWindows());
  EXPECT_TRUE(box->editing());
  EXPECT_EQ(0, g_host.closed_notices);

  // A real click on the margin takes the focus first: the old pop-up closes and goes, and
  // whatever the click opens, one pop-up at most is left, open and focused.
  ClickAt(OnScreen(rect.left + 4, rect.top + 4));
  ASSERT_TRUE(PumpUntil([] { return g_host.closed_notices > 0; }));
  PumpIdle();
  EXPECT_FALSE(IsWindow(popup));
  const std::vector<HWND> left = PopupWindows();
  ASSERT_LE(left.size(), 1u);
  EXPECT_EQ(!left.empty(), box->editing());
  if (!left.empty()) {
    EXPECT_TRUE(IsWindowVisible(left[0]));
    EXPECT_EQ(left[0], GetParent(GetFocus()));
  }
}

TEST_F(LayeredEditWindow, EnterAndTabNotifyTheOwnerBeforeThePathCheck) {
  const struct {
    const wchar_t* box;
    WORD key;
    std::vector<UINT> expected;
  } cases[] = {
      {L"id_edit_installpath", VK_RETURN, {element_message::kEnter, element_message::kPathEdited}},
      {L"id_edit_installpath", VK_TAB, {element_message::kPathEdited}},
      {L"id_edit_name", VK_RETURN, {element_message::kTab, element_message::kEnter}},
      {L"id_edit_name", VK_TAB, {element_message::kTab}},
  };
  for (const auto& c : cases) {
    CLayeredEditCtl* box = Box(c.box);
    int enters = 0;
    box->SetEnterHandler(ElementHandler(std::function<void()>([&] { ++enters; })));
    HWND popup = OpenByClick(box);
    ASSERT_NE(nullptr, popup);
    g_host.window->seen.clear();
    real_input::PressKeys({c.key});
    PumpUntil([&] { return g_host.window->seen.size() >= c.expected.size(); }, 3000);
    PumpIdle();
    std::vector<UINT> messages;
    for (const Seen& each : g_host.window->seen) {
      messages.push_back(each.message);
      if (each.message == element_message::kTab) {
        EXPECT_EQ(reinterpret_cast<WPARAM>(static_cast<CBaseElementCtl*>(box)), each.wparam);
        EXPECT_EQ(7, each.lparam);
      }
    }
    EXPECT_EQ(c.expected, messages);
    // The window ran the enter handler for 0x1423.
    EXPECT_EQ(c.key == VK_RETURN ? 1 : 0, enters);
    ClickElsewhere();
    PumpUntil([&] { return !box->editing() && PopupWindows().empty(); });
    box->SetEnterHandler(ElementHandler());
  }
}

// The window's answer to Enter may hide the box (the install starts): its pop-up goes with it
// instead of standing over the next panel.
TEST_F(LayeredEditWindow, EnterThatHidesTheBoxEndsTheEdit) {
  CLayeredEditCtl* box = Box();
  box->SetEnterHandler(ElementHandler(std::function<void()>([box] { box->SetVisible(false); })));
  HWND popup = OpenByClick(box);
  ASSERT_NE(nullptr, popup);
  real_input::TypeText(L"E:\\");
  real_input::PressKeys({VK_RETURN});
  ASSERT_TRUE(PumpUntil([] { return g_host.closed_notices > 0; }));
  PumpIdle();
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_TRUE(PopupWindows().empty());
  EXPECT_FALSE(box->editing());
  EXPECT_EQ(L"E:\\", box->GetText());
}

TEST_F(LayeredEditWindow, TypingAndPastingStopAtFiveThousandCharacters) {
  CLayeredEditCtl* box = Box();
  box->SetText(std::wstring(4990, L'a'));
  HWND popup = OpenByClick(box);
  ASSERT_NE(nullptr, popup);
  real_input::TypeText(L"0123456789ABCDEFGHIJ");
  PumpUntil([&] { return g_host.window->Count(element_message::kPathEdited) >= 20; });
  PumpIdle();
  // (Sizes and parts are compared: a failure printing 5000 characters would help no one.)
  EXPECT_EQ(5000u, box->GetText().size());
  EXPECT_EQ(L"a0123456789", box->GetText().substr(4989));

  // A paste of 6000 characters over everything is cut at the limit too.
  const std::wstring pasted(6000, L'p');
  ASSERT_TRUE(OpenClipboard(main()));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
  ASSERT_NE(nullptr, memory);
  memcpy(GlobalLock(memory), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);  // the clipboard owns it otherwise
  CloseClipboard();
  SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
  real_input::PressChord(VK_CONTROL, 'V');
  PumpUntil([&] { return box->GetText()[0] == L'p'; });
  PumpIdle();
  EXPECT_EQ(5000u, box->GetText().size());
  EXPECT_EQ(std::wstring::npos, box->GetText().find_first_not_of(L'p'));
  ClickElsewhere();
  PumpUntil([] { return g_host.closed_notices > 0; });
  EXPECT_EQ(5000u, box->GetText().size());
}

// Open and close again and again: every pop-up window is gone after each round, and destroying
// the windows in the middle of an edit leaves none behind either (checked in TearDown). Under
// Xvfb each close costs Wine's wait for a window manager that never answers (about 2 s), hence
// few rounds.
TEST_F(LayeredEditWindow, EveryPopupWindowGoesOnEveryPath) {
  CLayeredEditCtl* box = Box();
  for (int round = 1; round <= 3; ++round) {
    ASSERT_NE(nullptr, OpenByClick(box)) << round;
    real_input::TypeText(L"x");
    ClickElsewhere();
    ASSERT_TRUE(PumpUntil([&] { return g_host.closed_notices == round; })) << round;
    PumpIdle();
    EXPECT_TRUE(PopupWindows().empty()) << round;
  }
  EXPECT_EQ(L"xxx", box->GetText());
  ASSERT_NE(nullptr, OpenByClick(box));
}

// Every pop-up window, its edit and its brush are given back (on Windows; Wine's GetGuiResources
// is a stub that answers 0).
TEST_F(LayeredEditWindow, EditsLeaveNoGdiOrUserObjectsBehind) {
  HANDLE process = GetCurrentProcess();
  auto gdi = [&] { return GetGuiResources(process, GR_GDIOBJECTS); };
  auto user = [&] { return GetGuiResources(process, GR_USEROBJECTS); };
  if (gdi() == 0) GTEST_SKIP() << "GetGuiResources counts no GDI objects on this system";
  CLayeredEditCtl* box = Box();
  DWORD gdi_first = 0, user_first = 0;
  for (int round = 1; round <= 20; ++round) {
    ASSERT_NE(nullptr, OpenByClick(box)) << round;
    ClickElsewhere();
    ASSERT_TRUE(PumpUntil([&] { return g_host.closed_notices == round; })) << round;
    PumpIdle();
    if (round == 1) gdi_first = gdi(), user_first = user();
  }
  EXPECT_EQ(gdi_first, gdi());
  EXPECT_EQ(user_first, user());
}

// A box whose window has no utility window beside it: the pop-up closes itself.
TEST(LayeredEditAlone, PopupWithoutAUtilityWindowDestroysItself) {
  app::Global().utility_window = nullptr;
  EditWindow window;
  ASSERT_TRUE(window.LoadLayoutDocument(nullptr, kDocument, L"alone"));
  ShowWindow(window.hwnd(), SW_SHOW);
  SetForegroundWindow(window.hwnd());
  PumpIdle();
  auto* box = static_cast<CLayeredEditCtl*>(window.FindElement(L"id_edit_installpath"));
  const UiRect text = box->text_rect();
  POINT centre = {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
  ClientToScreen(window.hwnd(), &centre);
  ClickAt(centre);
  ASSERT_TRUE(PumpUntil([&] { return box->editing(); }));
  real_input::TypeText(L"D:\\");
  POINT away = {430, 200};
  ClientToScreen(window.hwnd(), &away);
  ClickAt(away);
  ASSERT_TRUE(PumpUntil([&] { return PopupWindows().empty(); }));
  EXPECT_EQ(L"D:\\", box->GetText());
}

}  // namespace
