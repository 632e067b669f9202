#include <windows.h>

#include "system/embedded_program.h"
#include "app/custom_settings.h"
#include "app/global.h"
#include "app/language.h"
#include "app/prompt_fallback.h"
#include "app/prompt_texts.h"
#include "runtime/text_encoding.h"
#include "tools/renderlayout/layout_render.h"
#include "uiframework/gdi_canvas.h"
#include "uiframework/gdi_resource.h"
#include "uiframework/window_paint.h"

namespace {

// The tree shown headless has no window: repaint requests and notifications go nowhere.
class HeadlessOwner : public IElementOwner {
 public:
  void PostElementMessage(uint32_t, CBaseElementCtl*) override {}
  void SendElementMessage(uint32_t, CBaseElementCtl*) override {}
  void RequestRender() override {}
  void InvalidateArea(const UiRect&) override {}
  void SendTooltip(bool, const std::wstring&) override {}
  void SendCursor(PointerShape) override {}
  void OpenUrl(const std::wstring&) override {}
};

bool ReadXmlResource(const std::wstring& name, std::string* bytes) {
  return ReadOwnResource(name.c_str(), L"XML", bytes);
}

bool SameName(const std::wstring& a, const wchar_t* b) {
  return _wcsicmp(a.c_str(), b) == 0;
}

// The language whose main or popup layout `resource` is (English for the Russian documents,
// which no language loads).
const app::LanguageEntry& LanguageOfLayout(const std::wstring& resource) {
  for (const app::LanguageEntry& entry : app::kLanguages) {
    if (SameName(resource, entry.main_layout) || SameName(resource, entry.cannot_down_layout)) return entry;
  }
  return app::EnglishLanguage();
}

// The prompt text `key` of the language, read the way the installer reads it (the 399-byte
// profile read of the written-out document).
std::wstring PromptText(const app::LanguageEntry& language, const char* key) {
  app::CGlobal global;
  global.prompt_resource = language.prompt_resource;
  app::WritePromptTextFile(&global);
  app::LoadPromptTexts(&global, language.group == app::kGroupUnchanged ? 0 : language.group);
  const int index = PromptKeyIndex(key);
  return index < 0 ? std::wstring() : global.prompts[index];
}

panel_states::MainTexts MainWindowTexts() {
  panel_states::MainTexts texts;
  std::string document;
  app::CustomSettings settings;
  if (ReadXmlResource(L"CUSTOM_SETTING", &document) && settings.Parse(document)) {
    texts.main_title = base::Utf8ToWide(settings.Get("main_title"));
    texts.player_version = base::Utf8ToWide(settings.Get("player_version"));
  }
  texts.install_folder = L"C:\\Program Files\\Pindle";
  return texts;
}

// The element changes, window size and progress the installer makes on its way to `state`.
void ApplyMainState(CLayoutWindow* window, const RenderState& state) {
  using panel_states::MainState;
  CElementList& elements = window->elements();
  panel_states::ApplyInitialState(elements, MainWindowTexts());
  panel_states::EnableInstall(elements);
  panel_states::ApplyMainState(elements, state.main, state.download_percent / 100.0f, window->width());
  if (state.main == MainState::kCustom) window->Resize(panel_states::kMainWidth, panel_states::kCustomHeight);
}

void ApplyPopupState(CLayoutWindow* window, const RenderState& state, const app::LanguageEntry& language) {
  panel_states::ApplyPopupKind(window->elements(), state.popup_kind);
  const char* key = panel_states::PopupDefaultPromptKey(state.popup_kind);
  if (!key) return;  // kind 0 shows the layout's own text
  if (CBaseElementCtl* tip = window->FindElement(panel_states::PopupTextElement(state.popup_kind))) {
    tip->SetText(PromptText(language, key));
  }
}

}  // namespace

CLayoutRender::CLayoutRender() = default;
CLayoutRender::~CLayoutRender() = default;

RenderOutcome CLayoutRender::Prepare(const std::wstring& resource, const std::string& state_text, std::string* reason) {
  window_.reset();
  std::string document;
  if (!ReadXmlResource(resource, &document)) {
    *reason = "unknown resource: no layout document \"" + base::WideToUtf8(resource) + "\"";
    return RenderOutcome::kUnknownResource;
  }
  WindowKind kind;
  RenderState state;
  if (!WindowKindOfLayout(resource, &kind)) {
    *reason = "unknown state: \"" + base::WideToUtf8(resource) + "\" is neither a main window nor a popup layout";
    return RenderOutcome::kUnknownState;
  }
  if (!ParseRenderState(state_text, &state) || state.window != kind) {
    *reason = "unknown state \"" + state_text + "\" for this layout (" +
              (kind == WindowKind::kMain ? "main, custom, download:0-100, installing, complete" : "popup:0-3") + ")";
    return RenderOutcome::kUnknownState;
  }
  owner_ = std::make_unique<HeadlessOwner>();
  images_ = std::make_unique<CResourceImages>(&GetGDIResource(), GetModuleHandleW(nullptr));
  window_ = std::make_unique<CLayoutWindow>(kind, owner_.get(), images_.get());
  std::string error;
  if (!window_->Load(document, &error)) {
    *reason = "layout \"" + base::WideToUtf8(resource) + "\" is unusable: " + error;
    window_.reset();
    return RenderOutcome::kFailed;
  }
  window_->Resize(window_->width(), window_->height());  // the first WM_SIZE places every element
  if (kind == WindowKind::kMain) {
    ApplyMainState(window_.get(), state);
  } else {
    ApplyPopupState(window_.get(), state, LanguageOfLayout(resource));
  }
  return RenderOutcome::kRendered;
}

bool CLayoutRender::Paint(CDibSurface* surface) {
  if (!window_ || !surface->Create(window_->width(), window_->height())) return false;
  CGdiCanvas canvas(surface->dc(), &GetGDIResource());
  PaintBackground(canvas, window_->root(), window_->width(), window_->height());
  if (window_->root().kind() == WindowKind::kMain) {
    // The main window's background also shows its header picture.
    const UiImage header = images_->ImageNamed(panel_states::kHeaderPictures[0]);
    if (header.valid()) {
      canvas.BlendImage(header, panel_states::kHeaderRect, MakeRect(0, 0, header.width, header.height));
    }
  }
  PaintElements(canvas, window_->elements());
  GdiFlush();
  return true;
}

RenderOutcome RenderLayout(const std::wstring& resource, const std::string& state_text, CDibSurface* surface,
                           std::string* reason) {
  CLayoutRender render;
  const RenderOutcome outcome = render.Prepare(resource, state_text, reason);
  if (outcome != RenderOutcome::kRendered) return outcome;
  if (!render.Paint(surface)) {
    *reason = "cannot make the window's bitmap";
    return RenderOutcome::kFailed;
  }
  return RenderOutcome::kRendered;
}
