#pragma once
// Filling runs of 24-bit pixels with one colour, four pixels (12 bytes) at a
// time, without a per-pixel branch.

#include "base/PixRect.h"
#include "base/PixelRows.h"

#include <cstdint>
#include <cstring>

namespace kestu {

inline void FillRow(Bgr* row, int count, Bgr colour) {
  if (count <= 0) return;
  std::uint8_t block[12];
  for (int i = 0; i < 4; ++i) {
    block[3 * i] = colour.b;
    block[3 * i + 1] = colour.g;
    block[3 * i + 2] = colour.r;
  }
  auto* out = reinterpret_cast<std::uint8_t*>(row);
  int i = 0;
  for (; i + 4 <= count; i += 4, out += 12) std::memcpy(out, block, 12);
  std::memcpy(out, block, std::size_t(count - i) * 3);
}

// Fills rect (Right and Bottom exclusive) clipped to the rows.
inline void FillSolid(PixelRows bitmap, PixRect rect, Bgr colour) {
  if (rect.Left < 0) rect.Left = 0;
  if (rect.Top < 0) rect.Top = 0;
  if (rect.Right > bitmap.width) rect.Right = bitmap.width;
  if (rect.Bottom > bitmap.height) rect.Bottom = bitmap.height;
  if (rect.Right <= rect.Left || rect.Bottom <= rect.Top || bitmap.bits == nullptr) return;
  int count = rect.Right - rect.Left;
  Bgr* first = bitmap.Row(rect.Top) + rect.Left;
  FillRow(first, count, colour);
  for (int y = rect.Top + 1; y < rect.Bottom; ++y)
    std::memcpy(bitmap.Row(y) + rect.Left, first, std::size_t(count) * 3);
}

}  // namespace kestu
