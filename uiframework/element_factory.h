// Which element names each place of a layout document accepts, and the element each name
// makes, with the layered flag that place and kind give it.
#ifndef UIFRAMEWORK_ELEMENT_FACTORY_H_
#define UIFRAMEWORK_ELEMENT_FACTORY_H_

#include <memory>
#include <string>

#include "uiframework/base_element.h"

enum class ElementPlace { kPopupRoot, kMainRoot, kPanel, kTabList };

// Whether `name` (matched exactly) may stand at `place`.
bool IsAcceptedAt(const std::string& name, ElementPlace place);

// The element for `name` at `place`, or null when the place does not accept it (the caller
// skips it with its subtree). `layered` is the container's flag; top-level progress bars and
// tabs, radio buttons in panels and native edits get 0 whatever it is.
std::unique_ptr<CBaseElementCtl> CreateElement(const std::string& name, ElementPlace place, IElementOwner* owner,
                                               bool layered);

#endif  // UIFRAMEWORK_ELEMENT_FACTORY_H_
