#include "base/Jpeg.h"

#include "base/FileBytes.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace kestu {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf resume;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->resume, 1);
}

void Silent(j_common_ptr, int) {}

// The libjpeg calls live in this function, whose own locals are all trivial:
// an error jumps back here past libjpeg's C frames only. The output buffer is
// owned by the caller. Returns false with a message on failure.
bool DecodeInto(const std::uint8_t* data, std::size_t size, bool grey, std::int64_t maxPixels, PixelBuffer* out,
                char* message) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  std::memset(&info, 0, sizeof info);
  std::memset(&errors, 0, sizeof errors);
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = Silent;
  if (setjmp(errors.resume)) {
    std::memcpy(message, errors.message, JMSG_LENGTH_MAX);
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = 256L << 20;
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  if (std::int64_t(info.image_width) * std::int64_t(info.image_height) > maxPixels) {
    std::snprintf(message, JMSG_LENGTH_MAX, "JPEG image too large");
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  out->Resize(int(info.output_width), int(info.output_height));
  PixelRows rows = out->Rows();
  while (info.output_scanline < info.output_height) {
    int y = int(info.output_scanline);
    auto* bytes = reinterpret_cast<std::uint8_t*>(rows.Row(y));
    JSAMPROW row = bytes;
    if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
    if (grey) {  // expand in place from the right end
      for (int x = rows.width - 1; x >= 0; --x) bytes[3 * x] = bytes[3 * x + 1] = bytes[3 * x + 2] = bytes[x];
    } else {  // red, green, blue to blue, green, red
      for (int x = 0; x < rows.width; ++x) std::swap(bytes[3 * x], bytes[3 * x + 2]);
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

PixelBuffer DecodeJpeg(const std::uint8_t* data, std::size_t size, bool grey, std::int64_t maxPixels) {
  PixelBuffer image;
  char message[JMSG_LENGTH_MAX] = {};
  if (size == 0 || !DecodeInto(data, size, grey, maxPixels, &image, message)) throw JpegError(message[0] ? message : "Empty JPEG data");
  return image;
}

PixelBuffer DecodeJpegFile(const std::string& path, bool grey) {
  std::vector<unsigned char> bytes;
  try {
    bytes = ReadFileBytes(path, std::size_t(256) << 20);
  } catch (const std::runtime_error& e) {
    throw JpegError(e.what());
  }
  return DecodeJpeg(bytes.data(), bytes.size(), grey);
}

}  // namespace kestu
