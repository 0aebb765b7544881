#pragma once
// Windows BMP files to and from 24-bit rows. The reader takes uncompressed
// 1, 4, 8, 16, 24 and 32 bits per pixel (16 and 32 also with bit-field
// masks), bottom-up or top-down, and checks every size against the data: a
// lying header is rejected with BmpError, never read beyond.

#include "base/PixelRows.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestu {

class BmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct BmpReadOptions {
  // Take the pixel rows from the file header's offset field. Off for images
  // stored in form descriptions, whose offset field is not reliable: there
  // the rows follow the colour table directly.
  bool usePixelOffset = true;
  // Largest image accepted, in pixels.
  std::int64_t maxPixels = std::int64_t(1) << 24;
};

// A width or height of 0 gives an empty buffer.
PixelBuffer ReadBmp(const std::uint8_t* data, std::size_t size, const BmpReadOptions& options = {});
PixelBuffer ReadBmpFile(const std::string& path);
// A 24-bit bottom-up BMP file of the rows.
std::vector<std::uint8_t> WriteBmp(PixelRows rows);

}  // namespace kestu
