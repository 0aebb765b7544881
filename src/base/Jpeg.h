#pragma once
// JPEG decoding into 24-bit rows through libjpeg.

#include "base/PixelRows.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestu {

class JpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decodes JPEG data; with grey set the image is decoded as grey-scale.
// Throws JpegError for data libjpeg rejects and for images above maxPixels.
PixelBuffer DecodeJpeg(const std::uint8_t* data, std::size_t size, bool grey = false,
                       std::int64_t maxPixels = std::int64_t(1) << 24);
PixelBuffer DecodeJpegFile(const std::string& path, bool grey = false);

}  // namespace kestu
