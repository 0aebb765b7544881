// BMP files from anywhere: the reader either rejects them or returns an
// image that survives a write and a second read unchanged.
#include "base/Bmp.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestu;
  for (bool useOffset : {true, false}) {
    BmpReadOptions options;
    options.usePixelOffset = useOffset;
    options.maxPixels = 1 << 20;
    PixelBuffer image;
    try {
      image = ReadBmp(data, size, options);
    } catch (const BmpError&) {
      continue;
    }
    std::vector<std::uint8_t> file = WriteBmp(image.Rows());
    PixelBuffer again = ReadBmp(file.data(), file.size());
    if (again.Width() != image.Width() || again.Height() != image.Height()) std::abort();
    for (int y = 0; y < image.Height(); ++y)
      if (std::memcmp(again.Rows().Row(y), image.Rows().Row(y), std::size_t(image.Width()) * 3) != 0) std::abort();
  }
  return 0;
}
