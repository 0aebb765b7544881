#pragma once
// Filling runs of 24-bit pixels with one colour, a whole pattern of pixels at
// a time (the pixel kernels' fill).

#include "base/PixRect.h"
#include "base/PixelRows.h"
#include "skin/core/PixelKernels.h"

#include <cstdint>
#include <cstring>

namespace kestu {

inline void FillRow(Bgr* row, int count, Bgr colour) {
  if (count > 0) Kernels().fill(row, count, colour);
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
