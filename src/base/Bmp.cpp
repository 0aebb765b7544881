#include "base/Bmp.h"

#include "base/IniFile.h"

#include <bit>
#include <cstring>

namespace kestu {

namespace {

std::uint32_t U16(const std::uint8_t* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t U32(const std::uint8_t* p) { return U16(p) | U16(p + 2) << 16; }

// One channel out of a bit-field pixel, scaled to 8 bits.
struct Field {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Field(std::uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m >> shift);
    if (bits > 8) {  // keep the top 8 bits
      shift += bits - 8;
      bits = 8;
    }
  }
  std::uint8_t Get(std::uint32_t v) const {
    if (bits == 0) return 0;
    std::uint32_t x = (v >> shift) & ((1u << bits) - 1);
    // Repeat the bits to fill a byte (5 bits: abcde -> abcdeabc).
    std::uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += bits) out = (out << bits) | x;
    return std::uint8_t(out >> (((8 + bits - 1) / bits) * bits - 8));
  }
};

}  // namespace

PixelBuffer ReadBmp(const std::uint8_t* data, std::size_t size, const BmpReadOptions& options) {
  if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') throw BmpError("Not a BMP file");
  const std::uint32_t pixelOffset = U32(data + 10);
  const std::uint8_t* info = data + 14;
  const std::uint32_t infoSize = U32(info);
  std::int64_t width, height;
  std::uint32_t bitCount, compression = 0, colorsUsed = 0, entrySize;
  if (infoSize == 12) {
    width = std::int16_t(U16(info + 4));
    height = std::int16_t(U16(info + 6));
    bitCount = U16(info + 10);
    entrySize = 3;
  } else if (infoSize >= 40 && infoSize <= 1024 && size >= 14 + std::size_t(infoSize)) {
    width = std::int32_t(U32(info + 4));
    height = std::int32_t(U32(info + 8));
    bitCount = U16(info + 14);
    compression = U32(info + 16);
    colorsUsed = U32(info + 32);
    entrySize = 4;
  } else {
    throw BmpError("Unsupported BMP header");
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 0) throw BmpError("Negative BMP width");
  if (width == 0 || height == 0) return PixelBuffer();
  if (width > 65535 || height > 65535 || width * height > options.maxPixels) throw BmpError("BMP image too large");

  std::size_t offset = 14 + infoSize;
  std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // red, green, blue of 16 bits
  if (bitCount == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  if (compression == 3 && (bitCount == 16 || bitCount == 32)) {
    // The masks sit inside headers of 52 bytes and more, else right after it.
    const std::uint8_t* at = info + 40;
    if (infoSize < 52) {
      if (size < offset + 12) throw BmpError("Truncated BMP colour masks");
      at = data + offset;
      offset += 12;
    }
    for (int i = 0; i < 3; ++i) masks[i] = U32(at + 4 * i);
  } else if (compression != 0) {
    throw BmpError("Compressed BMP images are not supported");
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    throw BmpError("Unsupported BMP pixel format");

  std::uint64_t paletteCount = colorsUsed;
  if (bitCount <= 8 && paletteCount == 0) paletteCount = 1u << bitCount;
  const std::uint64_t paletteBytes = paletteCount * entrySize;
  if (paletteBytes > size - std::min(size, offset)) throw BmpError("Truncated BMP colour table");
  const std::uint8_t* palette = data + offset;
  std::uint64_t rowsStart = offset + paletteBytes;

  const std::uint64_t stride = ((std::uint64_t(width) * bitCount + 31) / 32) * 4;
  const std::uint64_t rowsBytes = stride * std::uint64_t(height);
  if (options.usePixelOffset && pixelOffset >= 14 + 12 && pixelOffset + rowsBytes <= size) rowsStart = pixelOffset;
  if (rowsStart + rowsBytes > size) throw BmpError("Truncated BMP pixel data");

  PixelBuffer image{static_cast<int>(width), static_cast<int>(height)};
  PixelRows out = image.Rows();
  const Field red(masks[0]), green(masks[1]), blue(masks[2]);
  auto paletteColour = [&](std::uint32_t index) {
    if (index >= paletteCount) return Bgr{0, 0, 0};
    const std::uint8_t* e = palette + std::size_t(index) * entrySize;
    return Bgr{e[0], e[1], e[2]};
  };
  for (int y = 0; y < int(height); ++y) {
    const std::uint8_t* src = data + rowsStart + stride * std::uint64_t(y);
    Bgr* row = out.Row(topDown ? y : int(height) - 1 - y);
    switch (bitCount) {
      case 24: std::memcpy(row, src, std::size_t(width) * 3); break;
      case 32:
        for (int x = 0; x < int(width); ++x) {
          std::uint32_t v = U32(src + 4 * x);
          row[x] = Bgr{blue.Get(v), green.Get(v), red.Get(v)};
        }
        break;
      case 16:
        for (int x = 0; x < int(width); ++x) {
          std::uint32_t v = U16(src + 2 * x);
          row[x] = Bgr{blue.Get(v), green.Get(v), red.Get(v)};
        }
        break;
      default: {  // 1, 4, 8 bits: palette indexes, leftmost pixel in the high bits
        const int perByte = 8 / int(bitCount);
        const std::uint32_t indexMask = (1u << bitCount) - 1;
        for (int x = 0; x < int(width); ++x) {
          std::uint32_t byte = src[x / perByte];
          int shift = int(bitCount) * (perByte - 1 - x % perByte);
          row[x] = paletteColour((byte >> shift) & indexMask);
        }
      }
    }
  }
  return image;
}

PixelBuffer ReadBmpFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  try {
    bytes = ReadFileBytes(path, std::size_t(256) << 20);
  } catch (const std::runtime_error& e) {
    throw BmpError(e.what());
  }
  return ReadBmp(bytes.data(), bytes.size());
}

std::vector<std::uint8_t> WriteBmp(PixelRows rows) {
  const int w = rows.Empty() ? 0 : rows.width, h = rows.Empty() ? 0 : rows.height;
  const std::size_t stride = std::size_t(StrideFor(w));
  const std::size_t total = 54 + stride * std::size_t(h);
  std::vector<std::uint8_t> out(total, 0);
  auto put16 = [&](std::size_t at, std::uint32_t v) { out[at] = std::uint8_t(v), out[at + 1] = std::uint8_t(v >> 8); };
  auto put32 = [&](std::size_t at, std::uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, std::uint32_t(total));
  put32(10, 54);
  put32(14, 40);
  put32(18, std::uint32_t(w));
  put32(22, std::uint32_t(h));
  put16(26, 1);
  put16(28, 24);
  put32(34, std::uint32_t(stride * std::size_t(h)));
  for (int y = 0; y < h; ++y) std::memcpy(&out[54 + stride * std::size_t(h - 1 - y)], rows.Row(y), std::size_t(w) * 3);
  return out;
}

}  // namespace kestu
