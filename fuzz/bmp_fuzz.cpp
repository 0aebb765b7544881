// BMP files and packed bitmaps from anywhere: the reader either rejects them
// or returns an image that survives a write and a second read unchanged, and
// a checked layout never reaches outside the bytes it came in.
#include "base/Bmp.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void SurvivesARoundTrip(kestu::PixelBuffer& image) {
  using namespace kestu;
  std::vector<std::uint8_t> file = WriteBmp(image.Rows());
  PixelBuffer again = ReadBmp(file.data(), file.size());
  if (again.Width() != image.Width() || again.Height() != image.Height()) std::abort();
  for (int y = 0; y < image.Height(); ++y)
    if (std::memcmp(again.Rows().Row(y), image.Rows().Row(y), std::size_t(image.Width()) * 3) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestu;
  for (bool useOffset : {true, false}) {
    BmpReadOptions options;
    options.usePixelOffset = useOffset;
    options.maxPixels = 1 << 20;
    try {
      PixelBuffer image = ReadBmp(data, size, options);
      SurvivesARoundTrip(image);
    } catch (const BmpError&) {
    }
  }
  // The same bytes as a packed bitmap, as resources hold them, with and
  // without a pixel offset taken from the first bytes.
  for (bool withOffset : {false, true}) {
    std::optional<std::size_t> offset;
    if (withOffset && size >= 2) offset = std::size_t(data[0]) | std::size_t(data[1]) << 8;
    try {
      const DibLayout layout = ParseDib(data, size, 1 << 20, offset);
      if (layout.pixelOffset > size || layout.pixelBytes > size - layout.pixelOffset) std::abort();
      PixelBuffer image = DecodeDib(data, layout);
      if (image.Width() != layout.width || image.Height() != layout.height) std::abort();
    } catch (const BmpError&) {
    }
  }
  return 0;
}
