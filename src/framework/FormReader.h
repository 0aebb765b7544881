#pragma once
// Builds components from a parsed form description.
//
// The description's outer object describes `root` itself (a form, usually);
// every nested object is created by class name, owned by `root`, and handed
// to its enclosing object with SetParentComponent. References to components
// and event handlers are resolved after the whole description is read; then
// Loaded runs on the root and on every component created, in creation order.

#include <string_view>

#include "base/FormText.h"
#include "framework/Classes.h"

namespace kestu {

// Raises EReadError naming the component, the property and the line.
void ReadComponent(TComponent* root, const FormObject& description);
// Parses the text first; syntax errors are raised as EReadError too.
void ReadComponentText(TComponent* root, std::string_view text);

}  // namespace kestu
