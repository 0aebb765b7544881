#pragma once
// A stored skin as the text of a form description: the value of a skin
// manager's InternalSkins property, every published property of every item
// written in stream order, pictures as {hex} data (a 4-byte little-endian
// length, then a 24-bit BMP file). The skin generator writes the program's
// built-in skin into its form descriptions with it.

#include "skin/core/SkinData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestu {

// The stored form of a picture: its length, then a BMP file of it. An empty
// picture is a length of 0.
std::vector<std::uint8_t> StoredBitmapData(const PixelBuffer& picture);

// The lines "InternalSkins = <" ... "end>" holding the skins, each line
// starting with `indent`.
std::string InternalSkinsText(const std::vector<TsStoredSkinData>& skins, std::string_view indent);

// The description with its InternalSkins value replaced: from the line that
// starts (after blanks) with "InternalSkins = " up to the line of the
// manager's next stored property, "SkinDirectory = ", which keeps its place.
// Throws std::runtime_error unless the description has exactly one of each,
// in that order.
std::string ReplaceInternalSkins(std::string_view description, const std::vector<TsStoredSkinData>& skins);

}  // namespace kestu
