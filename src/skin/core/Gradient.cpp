#include "skin/core/Gradient.h"

#include "base/TextUtil.h"
#include "skin/core/PixelFill.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kestu {

TsGradArray ParseGradient(std::string_view text) {
  std::vector<std::string_view> numbers = SplitWords(text, ";");
  std::size_t n = numbers.size() / 5;
  TsGradArray gradient(n);
  for (std::size_t k = 0; k < n; ++k) {
    TsGradColor& stop = gradient[k];
    stop.StartColor = std::uint32_t(StrToInt(numbers[5 * k]));
    stop.EndColor = std::uint32_t(StrToInt(numbers[5 * k + 1]));
    stop.BandPercent = std::uint8_t(StrToInt(numbers[5 * k + 2]) & 0xFF);
    stop.Direction = StrToInt(numbers[5 * k + 3]);
  }
  return gradient;
}

namespace {

// The nearest integer, halves to even: what std::nearbyint gives in the
// default rounding mode, in one SSE2 conversion instead of a library call.
// Channel values stay within -1 .. 256, far inside the 32-bit range.
std::int32_t RoundHalfEven(double v) {
#ifdef __SSE2__
  return _mm_cvtsd_si32(_mm_set_sd(v));
#else
  return std::int32_t(std::nearbyint(v));
#endif
}

// The running colour of one band: three channels in double precision that
// start at StartColor and step by (end - start) / n.
struct BandColour {
  double r, g, b;
  double dr, dg, db;

  BandColour(const TsGradColor& stop, int n) {
    Bgr s = BgrFromColor(stop.StartColor);
    Bgr e = BgrFromColor(stop.EndColor);
    r = s.r;
    g = s.g;
    b = s.b;
    dr = (double(e.r) - double(s.r)) / n;
    dg = (double(e.g) - double(s.g)) / n;
    db = (double(e.b) - double(s.b)) / n;
  }
  // Rounded to nearest with ties to even, low byte kept.
  Bgr Current() const {
    return Bgr{std::uint8_t(RoundHalfEven(b) & 0xFF), std::uint8_t(RoundHalfEven(g) & 0xFF),
               std::uint8_t(RoundHalfEven(r) & 0xFF)};
  }
  void Step() {
    r += dr;
    g += dg;
    b += db;
  }
};

void PaintVertical(PixelRows bitmap, PixRect rect, int W, int H, const TsGradArray& gradient) {
  int x0 = rect.Left;
  int x1 = std::min(rect.Left + W, bitmap.width);  // exclusive
  if (x1 <= x0) return;
  int lastRow = bitmap.height - 1;
  int y = rect.Top;
  for (std::size_t i = 0; i < gradient.size(); ++i) {
    bool last = i + 1 == gradient.size();
    int start = y;
    y = start + gradient[i].BandPercent * H / 100;
    if (last) y = lastRow;
    if (y - start <= 0) continue;
    if ((!last && y > lastRow) || last) y = std::min(rect.Bottom - 1, lastRow);
    int n = y - start;
    if (n == 0) break;
    if (n < 0) continue;  // a band that ends above its start paints no rows
    BandColour colour(gradient[i], n);
    for (int row = start; row <= y; ++row) {
      FillRow(bitmap.Row(row) + x0, x1 - x0, colour.Current());
      colour.Step();
    }
  }
}

void PaintHorizontal(PixelRows bitmap, PixRect rect, int W, const TsGradArray& gradient) {
  // Every row gets the same colours: paint the first, copy it to the others.
  Bgr* first = bitmap.Row(rect.Top);
  int lastColumn = bitmap.width - 1;
  int painted0 = bitmap.width, painted1 = -1;  // columns painted in the first row
  int x = rect.Left;
  for (std::size_t i = 0; i < gradient.size(); ++i) {
    bool last = i + 1 == gradient.size();
    int start = x;
    x = start + gradient[i].BandPercent * W / 100;
    if (last) x = lastColumn;
    int n = x - start;
    if (n <= 0) continue;
    BandColour colour(gradient[i], n);
    // Bands of percentages summing above 100 would run past the row's end;
    // they are cut at the bitmap's right edge.
    int end = std::min(x, lastColumn);
    for (int column = start; column <= end; ++column) {
      first[column] = colour.Current();
      colour.Step();
    }
    if (start <= end) {
      painted0 = std::min(painted0, start);
      painted1 = std::max(painted1, end);
    }
  }
  if (painted1 < painted0) return;
  std::size_t bytes = std::size_t(painted1 - painted0 + 1) * 3;
  for (int row = rect.Top + 1; row < rect.Bottom; ++row)
    std::memcpy(bitmap.Row(row) + painted0, first + painted0, bytes);
}

}  // namespace

void PaintGradient(PixelRows bitmap, PixRect rect, const TsGradArray& gradient) {
  if (bitmap.Empty()) return;
  rect.Right = std::min(rect.Right, bitmap.width);
  rect.Bottom = std::min(rect.Bottom, bitmap.height);
  rect.Left = std::max(rect.Left, 0);
  rect.Top = std::max(rect.Top, 0);
  int W = rect.Right - rect.Left;
  int H = rect.Bottom - rect.Top;
  // No row of the rectangle exists, or it is turned inside out: nothing to do.
  if (gradient.empty() || H <= 0 || W < 0) return;
  switch (gradient[0].Direction) {
    case 0: PaintVertical(bitmap, rect, W, H, gradient); break;
    case 1: PaintHorizontal(bitmap, rect, W, gradient); break;
    default: break;
  }
}

}  // namespace kestu
