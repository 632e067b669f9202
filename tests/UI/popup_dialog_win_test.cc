// The modal popup under Wine, on a real UI loop, from the program's English layout: each kind's
// visible elements and the answer of each of its buttons to a real click, Enter and Escape, the
// owner disabled while it runs and enabled and focused after, worker-thread tasks running while
// it is modal, and a missing layout.
#include "UI/popup_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "runtime/layer_loop.h"
#include "runtime/message_loop.h"
#include "uiframework/gdi_resource.h"

namespace {

// A step the test posts to the UI loop.
struct Step {
  std::function<void()> run;
  void Run() { run(); }
};

void SendMouse(DWORD flags, int x = 0, int y = 0) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    input.mi.dx = static_cast<LONG>((x * 65536.0 + 32768) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((y * 65536.0 + 32768) / GetSystemMetrics(SM_CYSCREEN));
  }
  SendInput(1, &input, sizeof(input));
}

void SendKey(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// The centre of `id` of `popup` on the screen.
POINT ElementCentre(CUIUpDate* popup, const wchar_t* id) {
  CBaseElementCtl* element = popup->FindElement(id);
  POINT point = {-1, -1};
  if (!element) return point;
  const UiRect rect = element->GetRect();
  point = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(popup->hwnd(), &point);
  return point;
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

class PopupDialog : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(GetGDIResource().StartGdiplus(L""));
    base::SetThreadLoop(base::kUiLoop, &loop_);
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = OwnerProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"PopupTestOwner";
    RegisterClassW(&window_class);
    owner_ = CreateWindowExW(0, L"PopupTestOwner", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, owner_);
    SetForegroundWindow(owner_);
  }
  void TearDown() override {
    DestroyWindow(owner_);
    base::SetThreadLoop(base::kUiLoop, nullptr);
    GetGDIResource().StopGdiplus();
  }
  // A real click on `id` of `popup` from `delay_ms` on: the pointer moves there, then presses
  // and releases, each step once the previous input has been handled.
  void ClickLater(int delay_ms, CUIUpDate* popup, const wchar_t* id) {
    Later(delay_ms, [popup, id] {
      const POINT point = ElementCentre(popup, id);
      SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point.x, point.y);
    });
    Later(delay_ms + 100, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); });
    Later(delay_ms + 200, [] { SendMouse(MOUSEEVENTF_LEFTUP); });
  }
  // Runs `step` on the UI loop `delay_ms` from now, unless the popup it was meant for is gone
  // (NextPopup) by then.
  void Later(int delay_ms, std::function<void()> step) {
    const int generation = generation_;
    steps_.push_back(std::make_unique<Step>(Step{[this, generation, step] {
      if (generation == generation_) step();
    }}));
    loop_.PostDelayedTask(base::NewMethodTask(new base::UnretainedWrapper<Step>(steps_.back().get()), &Step::Run),
                          base::TimeDelta::FromMilliseconds(delay_ms));
  }
  // Runs `body` as a task of the running UI loop, as the installer's code runs.
  void OnUiLoop(std::function<void()> body) {
    Later(0, [this, body] {
      body();
      loop_.Quit();
    });
    loop_.Run();
  }
  // A popup of `kind` answered by a real click on `button` once it shows.
  int ClickAnswer(int kind, const wchar_t* button) {
    CUIUpDate popup;
    popup.SetKind(kind);
    EXPECT_TRUE(popup.Create(owner_));
    EXPECT_NE(nullptr, popup.FindElement(button));
    ClickLater(300, &popup, button);
    Later(3000, [] { base::QuitInnermostLayerLoop(); });  // a click that went nowhere
    const int answer = popup.RunModal();
    EXPECT_EQ(nullptr, popup.hwnd()) << "still open after " << button;
    ++generation_;
    return answer;
  }

  base::MessageLoop loop_{base::MessageLoop::TYPE_UI};
  std::vector<std::unique_ptr<Step>> steps_;
  HWND owner_ = nullptr;
  int depth_seen_ = -1;
  int generation_ = 0;
};

TEST_F(PopupDialog, EachKindShowsItsElements) {
  const struct {
    int kind;
    std::vector<const wchar_t*> shown;
    std::vector<const wchar_t*> hidden;
  } kinds[] = {
      {0,
       {L"id_static_tip1", L"id_btn_ok", L"id_btn_cancal", L"id_btn_close"},
       {L"id_static_tip2", L"id_btn_quit", L"id_btn_reboot", L"id_btn_later"}},
      {1,
       {L"id_static_tip2", L"id_btn_quit"},
       {L"id_static_tip1", L"id_btn_ok", L"id_btn_cancal", L"id_btn_close", L"id_btn_reboot", L"id_btn_later"}},
      {2,
       {L"id_static_tip2", L"id_btn_close"},
       {L"id_static_tip1", L"id_btn_ok", L"id_btn_cancal", L"id_btn_quit", L"id_btn_reboot", L"id_btn_later"}},
      {3,
       {L"id_static_tip2", L"id_btn_reboot", L"id_btn_later"},
       {L"id_static_tip1", L"id_btn_ok", L"id_btn_cancal", L"id_btn_close", L"id_btn_quit"}},
  };
  for (const auto& kind : kinds) {
    CUIUpDate popup;
    popup.SetKind(kind.kind);
    ASSERT_TRUE(popup.Create(owner_));
    for (const wchar_t* id : kind.shown) {
      ASSERT_NE(nullptr, popup.FindElement(id));
      EXPECT_TRUE(popup.FindElement(id)->IsVisible()) << "kind " << kind.kind;
    }
    for (const wchar_t* id : kind.hidden) EXPECT_FALSE(popup.FindElement(id)->IsVisible()) << "kind " << kind.kind;
  }
}

TEST_F(PopupDialog, EachButtonGivesItsAnswerAndTheOwnerComesBack) {
  OnUiLoop([&] {
    const struct {
      int kind;
      const wchar_t* button;
      int answer;
    } cases[] = {{0, L"id_btn_ok", 1},    {0, L"id_btn_cancal", 0}, {0, L"id_btn_close", 0}, {1, L"id_btn_quit", 1},
                 {2, L"id_btn_close", 0}, {3, L"id_btn_reboot", 1}, {3, L"id_btn_later", 0}};
    for (const auto& c : cases) {
      bool owner_disabled_while_modal = false;
      Later(150, [&] { owner_disabled_while_modal = !IsWindowEnabled(owner_); });
      EXPECT_EQ(c.answer, ClickAnswer(c.kind, c.button)) << "kind " << c.kind;
      EXPECT_TRUE(owner_disabled_while_modal) << "kind " << c.kind;
      EXPECT_TRUE(IsWindowEnabled(owner_)) << "kind " << c.kind;
      EXPECT_EQ(owner_, GetFocus()) << "kind " << c.kind;
      EXPECT_EQ(0, base::LayerLoopDepth());
    }
  });
}

TEST_F(PopupDialog, EnterAndEscapeDoNothingInAQuestion) {
  OnUiLoop([&] {
    CUIUpDate popup;
    popup.SetKind(0);
    ASSERT_TRUE(popup.Create(owner_));
    bool open_after_keys = false;
    Later(200, [&] {
      SetForegroundWindow(popup.hwnd());
      SetFocus(popup.hwnd());
      SendKey(VK_RETURN);
      SendKey(VK_ESCAPE);
    });
    Later(600, [&] { open_after_keys = popup.hwnd() && IsWindowVisible(popup.hwnd()); });
    ClickLater(700, &popup, L"id_btn_ok");
    Later(3000, [] { base::QuitInnermostLayerLoop(); });
    EXPECT_EQ(1, popup.RunModal());
    EXPECT_TRUE(open_after_keys);
  });
}

TEST_F(PopupDialog, WorkerTasksKeepRunningWhileModal) {
  OnUiLoop([&] {
    CUIUpDate popup;
    popup.SetKind(0);
    ASSERT_TRUE(popup.Create(owner_));
    std::atomic<int> ran{0};
    int ran_while_modal = -1;
    std::vector<std::unique_ptr<Step>> worker_steps;
    for (int i = 0; i < 20; ++i) worker_steps.push_back(std::make_unique<Step>(Step{[&] { ++ran; }}));
    std::thread worker([&] {
      Sleep(100);
      for (int i = 0; i < 10; ++i) {
        loop_.PostTask(base::NewMethodTask(new base::UnretainedWrapper<Step>(worker_steps[i].get()), &Step::Run));
      }
      for (int i = 10; i < 20; ++i) {
        loop_.PostDelayedTask(base::NewMethodTask(new base::UnretainedWrapper<Step>(worker_steps[i].get()), &Step::Run),
                              base::TimeDelta::FromMilliseconds(50));
      }
    });
    Later(800, [&] { ran_while_modal = ran.load(); });
    ClickLater(850, &popup, L"id_btn_cancal");
    Later(3000, [] { base::QuitInnermostLayerLoop(); });
    EXPECT_EQ(0, popup.RunModal());
    worker.join();
    EXPECT_EQ(20, ran_while_modal);
  });
}

TEST_F(PopupDialog, MissingLayoutReturnsZeroAtOnceAndLeavesTheOwnerAlone) {
  OnUiLoop([&] {
    CUIUpDate popup;
    popup.SetKind(1);
    EXPECT_FALSE(popup.CreateFromLayout(owner_, L"NOSUCHCANNOTDOWN"));
    popup.SetTip2Text(L"nothing to show it in");
    Later(0, [this] { depth_seen_ = base::LayerLoopDepth(); });
    EXPECT_EQ(0, popup.RunModal());
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(-1, depth_seen_);  // no loop ran, so the posted step has not run either
  });
}

}  // namespace
