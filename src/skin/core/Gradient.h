#pragma once
// Multi-band linear gradients: the text form ("start;end;percent;direction;0"
// repeated), its parsed array of stops and the painter into 24-bit rows.

#include "base/PixRect.h"
#include "base/PixelRows.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kestu {

struct TsGradColor {
  std::uint32_t StartColor = 0;  // $00BBGGRR
  std::uint32_t EndColor = 0;
  std::uint8_t BandPercent = 0;  // low byte of the third number
  std::int32_t Direction = 0;    // 0 vertical, 1 horizontal (first stop decides)
  friend bool operator==(const TsGradColor&, const TsGradColor&) = default;
};
using TsGradArray = std::vector<TsGradColor>;

// One stop per complete group of five numbers; an incomplete last group and
// the fifth number of each group are ignored. A number that does not convert
// raises ConvertError.
TsGradArray ParseGradient(std::string_view text);

// Paints the gradient into rect (Right and Bottom exclusive) of the rows.
// The last band always runs to the bitmap's bottom (vertical) or right
// (horizontal) edge.
void PaintGradient(PixelRows bitmap, PixRect rect, const TsGradArray& gradient);

}  // namespace kestu
