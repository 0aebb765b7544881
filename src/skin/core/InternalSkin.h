#pragma once
// The skin stored in this program, "MacOS (internal)": its 88 sections and
// 77 image entries as plain values. The pictures (the 200 x 497 master bitmap
// and the four 51 x 38 title-button bitmaps) are left empty here: they are
// files drawn by tools/artwork, and tools/internal-skin stores the whole skin
// in the installer's form description, from which the program reads it.

#include "skin/core/SkinData.h"

namespace kestu {

inline constexpr char kInternalSkinName[] = "MacOS (internal)";

// Sections and image entries of "MacOS (internal)", pictures empty.
TsStoredSkinData MacOSInternalSkin();

}  // namespace kestu
