#include "uiframework/element_factory.h"

#include "uiframework/button.h"
#include "uiframework/check_box.h"
#include "uiframework/hyperlink.h"
#include "uiframework/layered_edit.h"
#include "uiframework/panel.h"
#include "uiframework/progress.h"
#include "uiframework/static_text.h"

namespace {

struct Acceptance {
  const char* name;
  bool popup_root;
  bool main_root;
  bool panel;
};

// The element kinds and where each may stand (tab lists take only `tab`).
constexpr Acceptance kAcceptance[] = {
    {"button", true, true, true},          {"clrmembutton", false, false, true}, {"tab", false, true, false},
    {"static", true, true, true},          {"link", true, true, true},           {"checkbox", true, true, true},
    {"radiobutton", false, false, true},   {"progress", true, true, true},       {"panel", true, true, true},
    {"tablist", true, true, true},         {"optionline", false, true, false},   {"edit", true, false, true},
    {"layedit", true, true, true},         {"simedit", false, false, true},      {"numedit", false, false, true},
    {"hotkey", true, true, true},          {"richedit", false, false, true},     {"tree", true, false, false},
    {"goroundstatic", false, false, true}, {"GifAnim", false, false, true},
};

}  // namespace

bool IsAcceptedAt(const std::string& name, ElementPlace place) {
  if (place == ElementPlace::kTabList) return name == "tab";
  for (const Acceptance& entry : kAcceptance) {
    if (name != entry.name) continue;
    switch (place) {
      case ElementPlace::kPopupRoot: return entry.popup_root;
      case ElementPlace::kMainRoot: return entry.main_root;
      default: return entry.panel;
    }
  }
  return false;
}

std::unique_ptr<CBaseElementCtl> CreateElement(const std::string& name, ElementPlace place, IElementOwner* owner,
                                               bool layered) {
  if (!IsAcceptedAt(name, place)) return nullptr;
  const bool top_level = place == ElementPlace::kPopupRoot || place == ElementPlace::kMainRoot;
  if (name == "button") return std::make_unique<CButtonCtl>(owner, layered);
  if (name == "static") return std::make_unique<CStaticCtl>(owner, layered);
  if (name == "link") return std::make_unique<CHyperLinkCtl>(owner, layered);
  if (name == "checkbox") return std::make_unique<CCheckBoxCtl>(owner, layered);
  if (name == "progress") return std::make_unique<CProgressCtl>(owner, top_level ? false : layered);
  if (name == "panel") return std::make_unique<CPanelCtl>(owner, layered);
  if (name == "layedit") return std::make_unique<CLayeredEditCtl>(owner);
  // Kinds no shipped document uses: an element that reads the common attributes (so it can be
  // found and placed) and draws nothing.
  const bool flag = name == "tab" && top_level ? false : name == "radiobutton" ? false : layered;
  const bool native_edit = name == "edit" || name == "simedit" || name == "richedit";
  return std::make_unique<CBaseElementCtl>(owner, native_edit ? false : flag);
}
