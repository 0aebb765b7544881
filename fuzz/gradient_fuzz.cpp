// Gradient texts: parse anything, then paint the result into rectangles that
// may hang over any edge of a small bitmap.
#include "base/TextUtil.h"
#include "skin/core/Gradient.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestu;
  if (size < 4) return 0;
  // The first four bytes place the rectangle; the rest is the text.
  PixRect rect{int(std::int8_t(data[0])) / 4, int(std::int8_t(data[1])) / 4, int(std::int8_t(data[2])) / 2,
               int(std::int8_t(data[3])) / 2};
  std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);
  TsGradArray gradient;
  try {
    gradient = ParseGradient(text);
  } catch (const ConvertError&) {
    return 0;
  }
  PixelBuffer bitmap(23, 17);
  PaintGradient(bitmap.Rows(), rect, gradient);
  PaintGradient(bitmap.Rows(), {0, 0, 23, 17}, gradient);
  return 0;
}
