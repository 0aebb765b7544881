#pragma once
// Windows BMP files and packed device-independent bitmaps (the part after
// the file header, as resources hold them) to and from 24-bit rows. The
// reader takes 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed (16 and
// 32 also with bit-field masks) or run-length coded (8 and 4 bits), bottom-up
// or top-down. ParseDib is the one place that checks a header: every size
// against the data, so a lying header is rejected with BmpError, never read
// beyond; DecodeDib reads only what a checked layout describes.

#include "base/PixelRows.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestu {

class BmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct BmpReadOptions {
  // Take the pixel rows from the file header's offset field (when it points
  // at rows that fit). Off for images stored in form descriptions, whose
  // offset field is not reliable: there the rows follow the colour table.
  bool usePixelOffset = true;
  // Largest image accepted, in pixels.
  std::int64_t maxPixels = std::int64_t(1) << 24;
};

enum class DibCoding { Rgb, BitFields, Rle8, Rle4 };

// A checked header: what DecodeDib reads, all within the bytes it came in.
struct DibLayout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitCount = 0;
  DibCoding coding = DibCoding::Rgb;
  std::uint32_t masks[3] = {};  // red, green, blue of 16 and 32 bits
  std::vector<Bgr> palette;     // indexes past its end are black
  std::size_t pixelOffset = 0;  // from the start of the packed bitmap
  std::size_t pixelBytes = 0;   // uncompressed: exactly the rows; coded: up to the end
};

// Checks the header of a packed bitmap of `size` bytes. `pixelOffset`, when
// given, is where its pixels start (from a file header); it is used when the
// rows fit there, else they follow the colour table. A width or height of 0
// gives a layout of no pixels.
DibLayout ParseDib(const std::uint8_t* dib, std::size_t size, std::int64_t maxPixels,
                   std::optional<std::size_t> pixelOffset = std::nullopt);
PixelBuffer DecodeDib(const std::uint8_t* dib, const DibLayout& layout);

PixelBuffer ReadDib(const std::uint8_t* dib, std::size_t size, std::int64_t maxPixels);
PixelBuffer ReadBmp(const std::uint8_t* data, std::size_t size, const BmpReadOptions& options = {});
PixelBuffer ReadBmpFile(const std::string& path);
// A 24-bit bottom-up BMP file of the rows.
std::vector<std::uint8_t> WriteBmp(PixelRows rows);

}  // namespace kestu
