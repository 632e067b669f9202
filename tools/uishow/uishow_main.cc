// uishow.exe [--lan CODE] [--state STATE] [--popup KIND] [--type TEXT] [--hold MS]
// Shows a language's main window in a real layered window with its opening animation, in one
// panel state of the renderer (main, custom, download:0-100, installing, complete), and with
// --popup opens a popup of that kind (0-3) over it once the animation has ended and prints its
// answer ("popup 1 result 1"). --type (with --state custom) clicks the install-path box and
// types TEXT over its text in the pop-up edit as keyboard input, leaving the pop-up open. --hold closes
// everything after MS milliseconds, so screenshots can be taken unattended; without it the
// program ends when the main window is closed.
// Exit codes: 0 shown and closed, 2 bad arguments, 3 a window could not be made.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "UI/panel_states.h"
#include "UI/popup_dialog.h"
#include "app/global.h"
#include "app/language.h"
#include "app/prompt_fallback.h"
#include "app/prompt_texts.h"
#include "runtime/text_encoding.h"
#include "runtime/layer_loop.h"
#include "runtime/message_loop.h"
#include "tools/renderlayout/render_state.h"
#include "uiframework/gdi_resource.h"
#include "uiframework/layered_edit.h"
#include "uiframework/trans_window.h"

namespace {

struct Options {
  const app::LanguageEntry* language = &app::EnglishLanguage();
  RenderState state;
  int popup_kind = -1;
  std::wstring typed;
  int hold_ms = 0;
};

// A step posted to the UI loop; it deletes itself once it has run.
struct Step {
  std::function<void()> run;
  void Run() {
    run();
    delete this;
  }
};

void Later(base::MessageLoop* loop, int delay_ms, std::function<void()> run) {
  Step* step = new Step{std::move(run)};
  loop->PostDelayedTask(base::NewMethodTask(new base::UnretainedWrapper<Step>(step), &Step::Run),
                        base::TimeDelta::FromMilliseconds(delay_ms));
}

// The installer's main window as far as the UI library draws it: header picture, panels.
class ShownMainWindow : public CTransWindowEx {
 public:
  std::function<void()> on_shown;

  void PaintBackground(ICanvas& canvas) override {
    CTransWindowEx::PaintBackground(canvas);
    CResourceImages images(&GetGDIResource(), GetModuleHandleW(nullptr));
    const UiImage header = images.ImageNamed(panel_states::kHeaderPictures[0]);
    if (header.valid()) {
      canvas.BlendImage(header, panel_states::kHeaderRect, MakeRect(0, 0, header.width, header.height));
    }
  }

 protected:
  void BindControls() override {
    if (CBaseElementCtl* close = FindElement(L"id_close")) {
      close->SetClickHandler(ElementHandler(std::function<void()>([this] { PostMessageW(hwnd_, WM_CLOSE, 0, 0); })));
    }
  }
  void OnCloseWindow() override { DestroyWindow(hwnd_); }
  void OnDestroyWindow() override { base::MessageLoop::current()->Quit(); }
  void OnShowAnimationDone() override {
    if (on_shown) on_shown();
  }
};

void ApplyState(ShownMainWindow* window, const RenderState& state) {
  using panel_states::MainState;
  CElementList& elements = window->elements();
  panel_states::MainTexts texts;
  texts.install_folder = L"C:\\Program Files\\Pindle";
  panel_states::ApplyInitialState(elements, texts);
  panel_states::EnableInstall(elements);
  RECT client = {};
  GetClientRect(window->hwnd(), &client);
  panel_states::ApplyMainState(elements, state.main, state.download_percent / 100.0f, client.right);
  if (state.main == MainState::kCustom) {
    SetWindowPos(window->hwnd(), nullptr, 0, 0, panel_states::kMainWidth, panel_states::kCustomHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool ParseOptions(int argc, wchar_t** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring name = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = base::WideToUtf8(argv[++i]);
    if (name == L"--lan") {
      options->language = app::FindLanguageByCode(value);
      if (!options->language) return false;
    } else if (name == L"--state") {
      if (!ParseRenderState(value, &options->state) || options->state.window != WindowKind::kMain) return false;
    } else if (name == L"--popup") {
      options->popup_kind = std::atoi(value.c_str());
      if (value.size() != 1 || options->popup_kind < 0 || options->popup_kind >= panel_states::kPopupKindCount) {
        return false;
      }
    } else if (name == L"--type") {
      options->typed = argv[i];
    } else if (name == L"--hold") {
      options->hold_ms = std::atoi(value.c_str());
    } else {
      return false;
    }
  }
  return true;
}

// The prompt texts of the language, as the installer loads them.
void LoadTexts(const app::LanguageEntry& language) {
  app::CGlobal& global = app::Global();
  global.language_index = language.index;
  global.prompt_resource = language.prompt_resource;
  app::WritePromptTextFile(&global);
  app::LoadPromptTexts(&global, language.group == app::kGroupUnchanged ? 0 : language.group);
}

void ShowPopup(HWND owner, int kind) {
  CUIUpDate popup;
  popup.SetKind(kind);
  if (popup.Create(owner)) {
    const char* key = panel_states::PopupDefaultPromptKey(kind);
    const int index = key ? PromptKeyIndex(key) : -1;
    if (index >= 0) popup.SetTip2Text(app::Global().prompts[index]);
  }
  const int result = popup.RunModal();
  std::printf("popup %d result %d\n", kind, result);
  std::fflush(stdout);
}

// A press on the middle of the install-path box's text opens its pop-up edit; the text then
// goes in as key presses of its characters, through the system's input queue like a user's.
void TypeIntoPathBox(ShownMainWindow* window, const std::wstring& text) {
  auto* box = dynamic_cast<CLayeredEditCtl*>(window->FindElement(L"id_edit_installpath"));
  if (!box || !box->IsVisible()) {
    std::fprintf(stderr, "the install-path box is not shown (--state custom shows it)\n");
    return;
  }
  const UiRect area = box->text_rect();
  const LPARAM centre = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  SendMessageW(window->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageW(window->hwnd(), WM_LBUTTONUP, 0, centre);
  if (!box->editing()) {
    std::fprintf(stderr, "the install-path box opened no pop-up edit\n");
    return;
  }
  // The typing replaces the box's text, as after selecting it all.
  SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
  std::vector<INPUT> keys;
  for (wchar_t character : text) {
    INPUT key = {};
    key.type = INPUT_KEYBOARD;
    key.ki.wScan = character;
    key.ki.dwFlags = KEYEVENTF_UNICODE;
    keys.push_back(key);
    key.ki.dwFlags |= KEYEVENTF_KEYUP;
    keys.push_back(key);
  }
  if (!keys.empty()) SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  std::printf("typing into the install-path box\n");
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  options.state.window = WindowKind::kMain;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: uishow.exe [--lan lan_en] [--state main|custom|download:N|installing|complete] "
                 "[--popup 0-3] [--type TEXT] [--hold MS]\n");
    return 2;
  }
  LoadTexts(*options.language);
  if (!GetGDIResource().StartGdiplus(L"uishow")) return 3;
  int status = 0;
  {
    base::MessageLoop loop(base::MessageLoop::TYPE_UI);
    base::SetThreadLoop(base::kUiLoop, &loop);
    ShownMainWindow main;
    if (!main.LoadLayout(nullptr, options.language->main_layout)) {
      std::fprintf(stderr, "cannot make the main window of %s\n", options.language->code);
      status = 3;
    } else {
      ApplyState(&main, options.state);
      main.on_shown = [&] {
        std::printf("main window shown\n");
        std::fflush(stdout);
        if (!options.typed.empty()) {
          ShownMainWindow* window = &main;
          const std::wstring typed = options.typed;
          Later(&loop, 0, [window, typed] { TypeIntoPathBox(window, typed); });
        }
        if (options.popup_kind >= 0) {
          const int kind = options.popup_kind;
          HWND owner = main.hwnd();
          Later(&loop, 0, [owner, kind] { ShowPopup(owner, kind); });
        }
      };
      if (options.hold_ms > 0) {
        HWND window = main.hwnd();
        Later(&loop, options.hold_ms, [window] {
          // A popup still open answers 0 and goes first.
          if (base::LayerLoopDepth() > 0) base::QuitInnermostLayerLoop();
          PostMessageW(window, WM_CLOSE, 0, 0);
        });
      }
      main.ShowAnimated(SW_SHOW);
      loop.Run();
    }
    base::SetThreadLoop(base::kUiLoop, nullptr);
  }
  GetGDIResource().StopGdiplus();
  return status;
}
