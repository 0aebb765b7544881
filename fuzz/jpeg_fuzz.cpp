// JPEG data from anywhere (skin backgrounds, stored pictures): the decoder
// either rejects it or returns an image of the size it reports, in colour and
// in grey, within the pixel limit.
#include "base/Jpeg.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestu;
  constexpr std::int64_t kMaxPixels = std::int64_t(1) << 20;
  for (bool grey : {false, true}) {
    try {
      PixelBuffer image = DecodeJpeg(data, size, grey, kMaxPixels);
      if (image.Width() <= 0 || image.Height() <= 0) std::abort();
      if (std::int64_t(image.Width()) * image.Height() > kMaxPixels) std::abort();
      // Every row is there to be read.
      volatile std::uint8_t sink = 0;
      for (int y = 0; y < image.Height(); ++y) sink = sink ^ image.Rows().Row(y)[image.Width() - 1].r;
    } catch (const JpegError&) {
    }
  }
  return 0;
}
