// The program's own layouts, images and prompt texts, embedded exactly as the program embeds
// them and read under Wine with the test prefix's real fonts: every image with its size and
// distinct frames, every document complete, every text uncut.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "UI/panel_states.h"
#include "app/global.h"
#include "app/language.h"
#include "app/prompt_fallback.h"
#include "runtime/text_encoding.h"
#include "tests/app/prompt_document.h"
#include "uiframework/button.h"
#include "uiframework/check_box.h"
#include "uiframework/dib_surface.h"
#include "uiframework/gdi_resource.h"
#include "uiframework/hyperlink.h"
#include "uiframework/layout_document.h"
#include "uiframework/static_text.h"

namespace {

bool ReadResource(const wchar_t* name, const wchar_t* type, std::string* bytes) {
  HRSRC resource = FindResourceW(nullptr, name, type);
  HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  bytes->assign(static_cast<const char*>(data), SizeofResource(nullptr, resource));
  return true;
}

// Two premultiplied pixels differ by at least 40 in some channel or in alpha.
bool Visibly(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (difference >= 40 || difference <= -40) return true;
  }
  return false;
}

struct ImageSpec {
  const wchar_t* name;
  int width, height;
  int frames;  // side by side; 1 for single pictures
  bool alpha;  // RGBA; false: RGB without alpha
};

const ImageSpec kImages[] = {
    {L"DLG_BTN_INSTALL", 1280, 40, 4, true},
    {L"DLG_BTN_MIN", 160, 40, 4, true},
    {L"POPDLG_BTN_CLOSE", 160, 40, 4, true},
    {L"DLG_BTN_NORMAL", 384, 32, 4, true},
    {L"DLG_BTN_PRIMARY", 384, 32, 4, true},
    {L"DLG_BTN_BROWSE", 448, 32, 4, true},
    {L"INSTALL_ARROWDOWN", 64, 16, 4, true},
    {L"INSTALL_ARROWUP", 64, 16, 4, true},
    {L"CHECKBOX", 48, 16, 3, true},
    {L"ABOUTDIALOG", 100, 100, 1, true},
    {L"POPLOG", 100, 100, 1, true},
    {L"DLG_INPUT", 384, 32, 1, true},
    {L"APP", 640, 256, 1, true},
    {L"APP1", 640, 360, 1, true},
    {L"APP2", 640, 360, 1, true},
    {L"APP3", 640, 360, 1, true},
    {L"INSTALL_BACKUP", 640, 256, 1, true},
    {L"APPLOGO", 40, 40, 1, true},
    {L"POP_LOGO", 16, 16, 1, true},
    {L"LIGHTPOINT", 32, 30, 1, true},
    {L"PROGRESS", 256, 8, 1, true},
    {L"DOWNLOADPOINT", 4, 8, 1, false},
};

// The layouts of every language, the Russian pair and the two stored documents.
struct LayoutSpec {
  const wchar_t* name;
  WindowKind kind;
  bool russian;
  bool chinese;  // shown on Chinese systems: measured with their fonts too
};

std::vector<LayoutSpec> Layouts() {
  std::vector<LayoutSpec> layouts;
  for (const app::LanguageEntry& language : app::kLanguages) {
    const bool chinese = language.index == 0;
    layouts.push_back({language.main_layout, WindowKind::kMain, false, chinese});
    layouts.push_back({language.cannot_down_layout, WindowKind::kPopup, false, chinese});
  }
  layouts.push_back({L"RUUIMainWindow", WindowKind::kMain, true, false});
  layouts.push_back({L"RUUICANNOTDOWN", WindowKind::kPopup, true, false});
  return layouts;
}

// Ids the main window's controller and the popup look up (the Russian documents add theirs).
const wchar_t* const kMainIds[] = {L"id_close",
                                   L"id_btn_min",
                                   L"id_static_version",
                                   L"id_panel_main",
                                   L"id_install",
                                   L"id_checkbox",
                                   L"id_openurl",
                                   L"id_userinstall",
                                   L"id_btn_arrowdown",
                                   L"id_panel_userdef",
                                   L"id_install_custom",
                                   L"id_edit_installpath",
                                   L"id_static_patherror",
                                   L"id_btn_installdir",
                                   L"id_checkbox_custom",
                                   L"id_openurl_custom",
                                   L"id_userfold",
                                   L"id_btn_arrowup",
                                   L"id_panel_download",
                                   L"id_progress_download",
                                   L"id_static_downing",
                                   L"id_static_installing",
                                   L"id_static_tryshutdown",
                                   L"id_panel_complete",
                                   L"id_btn_usenow"};
const wchar_t* const kRussianMainIds[] = {
    L"id_checkbox_savedata",   L"id_checkbox_shortcut",      L"id_checkbox_easymenu", L"id_checkbox_autorun",
    L"id_static_downing_size", L"id_static_downladpoint_bg", L"id_link_qq",           L"id_link_multi"};
const wchar_t* const kPopupIds[] = {L"id_btn_close", L"id_static_remind", L"id_panel_quit",  L"id_static_tip1",
                                    L"id_btn_ok",    L"id_btn_cancal",    L"id_static_tip2", L"id_btn_quit",
                                    L"id_btn_later", L"id_btn_reboot"};
const wchar_t* const kRussianPopupIds[] = {L"id_btn_backup", L"id_btn_goon", L"id_static_logo"};

class ProgramResources : public testing::Test {
 protected:
  static void SetUpTestSuite() { GetGDIResource().StartGdiplus(L""); }
  static void TearDownTestSuite() { GetGDIResource().StopGdiplus(); }

  std::unique_ptr<CLayoutWindow> LoadLayout(const LayoutSpec& layout, std::string* parse_error) {
    std::string document;
    EXPECT_TRUE(ReadResource(layout.name, L"XML", &document)) << base::WideToUtf8(layout.name);
    auto window = std::make_unique<CLayoutWindow>(layout.kind, nullptr, &images_);
    EXPECT_TRUE(window->Load(document, parse_error)) << base::WideToUtf8(layout.name) << ": " << *parse_error;
    window->Resize(window->width(), window->height());
    return window;
  }

  CResourceImages images_{&GetGDIResource(), nullptr};
};

TEST_F(ProgramResources, EveryImageHasItsSizeAndDistinctFrames) {
  for (const ImageSpec& spec : kImages) {
    SCOPED_TRACE(base::WideToUtf8(spec.name));
    std::string png;
    ASSERT_TRUE(ReadResource(spec.name, MAKEINTRESOURCEW(kImageResourceType), &png));
    // IHDR: width and height big-endian at 16 and 20, colour type at 25 (6 RGBA, 2 RGB).
    ASSERT_GT(png.size(), 26u);
    auto be32 = [&](size_t at) {
      return (static_cast<uint8_t>(png[at]) << 24) | (static_cast<uint8_t>(png[at + 1]) << 16) |
             (static_cast<uint8_t>(png[at + 2]) << 8) | static_cast<uint8_t>(png[at + 3]);
    };
    EXPECT_EQ(spec.width, be32(16));
    EXPECT_EQ(spec.height, be32(20));
    EXPECT_EQ(spec.alpha ? 6 : 2, static_cast<uint8_t>(png[25]));
    const UiImage image = images_.ImageNamed(spec.name);
    ASSERT_TRUE(image.valid());
    EXPECT_EQ(spec.width, image.width);
    EXPECT_EQ(spec.height, image.height);
    if (spec.frames == 1) continue;
    CDibSurface pixels;
    ASSERT_TRUE(pixels.Create(spec.width, spec.height));
    GetGDIResource().BlendRect(pixels.dc(), static_cast<HBITMAP>(image.handle), RECT{0, 0, spec.width, spec.height},
                               RECT{0, 0, spec.width, spec.height}, 2);
    GdiFlush();
    const int frame_width = spec.width / spec.frames;
    for (int a = 0; a < spec.frames; ++a) {
      for (int b = a + 1; b < spec.frames; ++b) {
        int differing = 0;
        for (int y = 0; y < spec.height; ++y) {
          for (int x = 0; x < frame_width; ++x) {
            differing += Visibly(pixels.Pixel(a * frame_width + x, y), pixels.Pixel(b * frame_width + x, y)) ? 1 : 0;
          }
        }
        // A person tells the states apart: more than a speck changes visibly (a small glyph such
        // as the minimise dash changes only its own few dozen pixels).
        EXPECT_GE(differing, 16) << "frames " << a << " and " << b;
      }
    }
  }
}

TEST_F(ProgramResources, EveryLayoutParsesWholeAndHoldsEveryId) {
  for (const LayoutSpec& layout : Layouts()) {
    SCOPED_TRACE(base::WideToUtf8(layout.name));
    std::string error;
    std::unique_ptr<CLayoutWindow> window = LoadLayout(layout, &error);
    EXPECT_EQ("", error);  // ours are well-formed: nothing depends on the reader's tolerance
    if (layout.kind == WindowKind::kMain) {
      for (const wchar_t* id : kMainIds) EXPECT_NE(nullptr, window->FindElement(id)) << base::WideToUtf8(id);
      if (layout.russian) {
        for (const wchar_t* id : kRussianMainIds) EXPECT_NE(nullptr, window->FindElement(id)) << base::WideToUtf8(id);
      }
      EXPECT_EQ(652, window->width());
      EXPECT_EQ(412, window->height());
    } else {
      for (const wchar_t* id : kPopupIds) EXPECT_NE(nullptr, window->FindElement(id)) << base::WideToUtf8(id);
      if (layout.russian) {
        for (const wchar_t* id : kRussianPopupIds) {
          EXPECT_NE(nullptr, window->FindElement(id)) << base::WideToUtf8(id);
        }
      }
      EXPECT_EQ(layout.russian ? 196 : 244, window->height());
    }
  }
  for (const wchar_t* stored : {L"UIAGREEMENT", L"UICONTENT"}) {
    std::string document, error;
    ASSERT_TRUE(ReadResource(stored, L"XML", &document));
    CLayoutWindow window(WindowKind::kPopup, nullptr, &images_);
    EXPECT_TRUE(window.Load(document, &error)) << error;
    EXPECT_EQ("", error);
  }
}

// Every text an element shows by default, measured in its own font as GDI+ lays it out.
class TextFit {
 public:
  explicit TextFit(const FontSystemFacts& facts) {
    GetGDIResource().SetFontFactsSource([facts] { return facts; });
    surface_.Create(8, 8);
  }
  ~TextFit() { GetGDIResource().SetFontFactsSource(&SystemFontFacts); }

  // Single line: within the width; wrapped: within the height at the element's width.
  void Check(const std::string& where, const std::wstring& text, FontKind font, const UiRect& rect, bool single_line) {
    if (text.empty()) return;
    SIZE size = {};
    const UINT format = single_line ? text_format::kSingleLine : 0;
    ASSERT_TRUE(GetGDIResource().MeasureTextPlus(surface_.dc(), text, GetGDIResource().GetFont(font), rect.width(),
                                                 format, &size))
        << where;
    if (single_line) {
      EXPECT_LE(size.cx, rect.width()) << where << " \"" << base::WideToUtf8(text) << "\" is cut";
    } else {
      EXPECT_LE(size.cy, rect.height()) << where << " \"" << base::WideToUtf8(text) << "\" is cut";
    }
  }

 private:
  CDibSurface surface_;
};

void CheckElementTexts(TextFit* fit, const std::string& document, CElementList& list) {
  for (size_t i = 0; i < list.size(); ++i) {
    CBaseElementCtl* element = list.at(i);
    const std::string where = document + " " + base::WideToUtf8(element->GetId());
    UiRect rect = element->GetRect();
    if (auto* box = dynamic_cast<CCheckBoxCtl*>(element)) {
      rect.left += 16 + 5, rect.right += 4;  // after the box frame, 4 px beyond the element
      fit->Check(where, box->GetText(), FontKind::kDefault, rect, true);
    } else if (auto* link = dynamic_cast<CHyperLinkCtl*>(element)) {
      fit->Check(where, link->GetText(), link->font(), rect, (link->text_format() & text_format::kSingleLine) != 0);
    } else if (auto* button = dynamic_cast<CButtonCtl*>(element)) {
      fit->Check(where, button->GetText(), button->text_font(), rect, true);
    } else if (auto* text = dynamic_cast<CStaticCtl*>(element)) {
      // GDI+ wraps every text whose format lacks the single-line bit.
      fit->Check(where, text->GetText(), text->font(), text->TextRect(),
                 (text->EffectiveFormat() & text_format::kSingleLine) != 0);
    }
    if (CElementList* children = element->children()) CheckElementTexts(fit, document, *children);
  }
}

TEST_F(ProgramResources, EveryTitleAndDefaultTextFitsItsElement) {
  for (const LayoutSpec& layout : Layouts()) {
    std::vector<FontSystemFacts> systems = {FontSystemFacts{false, false}};
    if (layout.chinese) systems.push_back(FontSystemFacts{true, false});
    for (const FontSystemFacts& facts : systems) {
      TextFit fit(facts);
      std::string error;
      std::unique_ptr<CLayoutWindow> window = LoadLayout(layout, &error);
      const std::string name = base::WideToUtf8(layout.name) + (facts.chinese_system ? " (Chinese system)" : "");
      CheckElementTexts(&fit, name, window->elements());
      // The messages a popup shows by default in its kinds 1-3.
      if (layout.kind != WindowKind::kPopup || layout.russian) continue;
      const app::LanguageEntry* language = nullptr;
      for (const app::LanguageEntry& entry : app::kLanguages) {
        if (entry.cannot_down_layout == std::wstring(layout.name)) language = &entry;
      }
      ASSERT_NE(nullptr, language);
      std::string prompts;
      ASSERT_TRUE(ReadResource(language->prompt_resource, L"XML", &prompts));
      const PromptDocument parsed = ParsePromptDocument(prompts);
      ASSERT_TRUE(parsed.ok) << parsed.error;
      auto* tip2 = dynamic_cast<CStaticCtl*>(window->FindElement(L"id_static_tip2"));
      auto* tip1 = dynamic_cast<CStaticCtl*>(window->FindElement(L"id_static_tip1"));
      for (int kind = 1; kind < panel_states::kPopupKindCount; ++kind) {
        const char* key = panel_states::PopupDefaultPromptKey(kind);
        const std::string* text = parsed.Find(key);
        ASSERT_NE(nullptr, text) << key;
        fit.Check(name + " id_static_tip2 " + key, base::Utf8ToWide(*text), tip2->font(), tip2->TextRect(), false);
      }
      const std::string* downloading = parsed.Find("Downloading");
      ASSERT_NE(nullptr, downloading);
      fit.Check(name + " id_static_tip1 Downloading", base::Utf8ToWide(*downloading), tip1->font(), tip1->TextRect(),
                false);
    }
  }
}

TEST_F(ProgramResources, EveryPromptTextFitsTheProfileRead) {
  for (const app::LanguageEntry& language : app::kLanguages) {
    std::string prompts;
    ASSERT_TRUE(ReadResource(language.prompt_resource, L"XML", &prompts));
    const PromptDocument parsed = ParsePromptDocument(prompts);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    for (const auto& entry : parsed.values) {
      EXPECT_LE(entry.second.size(), 399u) << base::WideToUtf8(language.prompt_resource) << " " << entry.first;
    }
  }
}

}  // namespace
