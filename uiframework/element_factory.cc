#include "uiframework/element_factory.h"

#include "uiframework/animated_statics.h"
#include "uiframework/button.h"
#include "uiframework/check_box.h"
#include "uiframework/edit_ctl.h"
#include "uiframework/hotkey_ctl.h"
#include "uiframework/hyperlink.h"
#include "uiframework/layered_edit.h"
#include "uiframework/memory_button.h"
#include "uiframework/num_edit.h"
#include "uiframework/option_line.h"
#include "uiframework/panel.h"
#include "uiframework/progress.h"
#include "uiframework/radio_button.h"
#include "uiframework/rich_edit.h"
#include "uiframework/static_text.h"
#include "uiframework/tab.h"
#include "uiframework/tree.h"

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
  if (name == "clrmembutton") return std::make_unique<CClrMemButton>(owner, layered);
  if (name == "tab") return std::make_unique<CTabCtl>(owner, top_level ? false : layered);
  if (name == "radiobutton") return std::make_unique<CRadioButtonCtl>(owner, false);
  if (name == "tablist") return std::make_unique<CTabListCtl>(owner, layered);
  if (name == "optionline") return std::make_unique<COptionLineCtl>(owner, layered);
  if (name == "tree") return std::make_unique<CTreeCtl>(owner, layered);
  if (name == "goroundstatic") return std::make_unique<CDUIGoRound>(owner, layered);
  if (name == "GifAnim") return std::make_unique<CGifAnim>(owner, layered);
  if (name == "hotkey") return std::make_unique<CHotkeyCtl>(owner, layered);
  if (name == "numedit") return std::make_unique<CDUINumEdit>(owner, layered);
  if (name == "edit") return std::make_unique<CEditCtl>(owner);
  if (name == "simedit") return std::make_unique<CSimEditCtl>(owner);
  if (name == "richedit") return std::make_unique<CRichEditCtl>(owner);
  return nullptr;
}
