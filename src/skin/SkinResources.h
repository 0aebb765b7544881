#pragma once
// Built-in bitmaps of the skin engine, loaded by name from the program's
// resources as 24-bit rows: the predefined border masks "BORD1" ... "BORD6"
// (held while the graphics module is in use) and any other named bitmap.

#include "base/PixelRows.h"

#include <windows.h>

#include <cstdint>

namespace kestu {

enum TsPredefinedBorders : std::uint8_t { pdBorder1, pdBorder2, pdBorder3, pdBorder4, pdBorder5, pdBorder6, pdCustom };

// A bitmap resource as 24-bit rows; empty when the module has none of that name.
PixelBuffer LoadResourceBitmap(const wchar_t* name, HINSTANCE module = nullptr);

// The use counter of the graphics module: the first use loads the six
// predefined border masks, the last frees them.
class SkinGraphicsUse {
 public:
  SkinGraphicsUse();
  ~SkinGraphicsUse();
  SkinGraphicsUse(const SkinGraphicsUse&) = delete;
  SkinGraphicsUse& operator=(const SkinGraphicsUse&) = delete;
};

// The mask the masked-borders setting Predefined chooses: BORD1 ... BORD6,
// or for pdCustom the setting's own mask when its width is above 0, else
// BORD1. Empty while no SkinGraphicsUse exists.
PixelRows PredefinedBorderMask(TsPredefinedBorders predefined, PixelRows customMask);

}  // namespace kestu
