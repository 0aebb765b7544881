#pragma once
// The section records of a description file ("Options.dat"), with every
// value resolved along the section's parent chain once, for all sections
// together: the time is linear in the file's size times the deepest chain,
// whatever the file, so a hostile one cannot make loading look like a hang.

#include "base/IniFile.h"
#include "skin/core/SkinData.h"

#include <vector>

namespace kestu {

// One record per section of the file, in file order. A value absent from a
// section (for integers also -1, a text that is no number and one out of
// range; for texts "?") is taken from its parent (ParentClassName), then
// that one's parent, and so on; the chain stops at a missing parent, an
// empty one or "?", a section met before, or after kMaxParentDepth
// sections. ShadowColor is not inherited. A malformed gradient text raises
// ConvertError naming the file, section and key.
std::vector<TsGeneralData> ReadFileSections(const IniFile& ini);

}  // namespace kestu
