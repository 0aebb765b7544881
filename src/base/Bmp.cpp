#include "base/Bmp.h"

#include "base/FileBytes.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kestu {

namespace {

std::uint32_t U16(const std::uint8_t* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t U32(const std::uint8_t* p) { return U16(p) | U16(p + 2) << 16; }

constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kLargestHeader = 1024;

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

Bgr PaletteColour(const DibLayout& layout, std::uint32_t index) {
  return index < layout.palette.size() ? layout.palette[index] : Bgr{0, 0, 0};
}

void DecodeRows(const std::uint8_t* pixels, const DibLayout& l, PixelRows out) {
  const std::uint64_t stride = ((std::uint64_t(l.width) * std::uint64_t(l.bitCount) + 31) / 32) * 4;
  const Field red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
  for (int y = 0; y < l.height; ++y) {
    const std::uint8_t* src = pixels + stride * std::uint64_t(y);
    Bgr* row = out.Row(l.topDown ? y : l.height - 1 - y);
    switch (l.bitCount) {
      case 24: std::memcpy(row, src, std::size_t(l.width) * 3); break;
      case 32:
        for (int x = 0; x < l.width; ++x) {
          const std::uint32_t v = U32(src + 4 * x);
          row[x] = Bgr{blue.Get(v), green.Get(v), red.Get(v)};
        }
        break;
      case 16:
        for (int x = 0; x < l.width; ++x) {
          const std::uint32_t v = U16(src + 2 * x);
          row[x] = Bgr{blue.Get(v), green.Get(v), red.Get(v)};
        }
        break;
      default: {  // 1, 4, 8 bits: palette indexes, leftmost pixel in the high bits
        const int perByte = 8 / l.bitCount;
        const std::uint32_t indexMask = (1u << l.bitCount) - 1;
        for (int x = 0; x < l.width; ++x) {
          const std::uint32_t byte = src[x / perByte];
          const int shift = l.bitCount * (perByte - 1 - x % perByte);
          row[x] = PaletteColour(l, (byte >> shift) & indexMask);
        }
      }
    }
  }
}

// Run-length coded rows, bottom-up: pairs of (count, index) runs, and
// escapes for end of line, end of image, a jump, and literal runs padded to
// whole words. Pixels off the image are dropped; unset ones stay black.
void DecodeRunLengths(const std::uint8_t* p, const DibLayout& l, PixelRows out) {
  const bool four = l.coding == DibCoding::Rle4;
  const std::size_t n = l.pixelBytes;
  const std::int64_t width = l.width, height = l.height;
  std::int64_t x = 0, y = 0;
  auto put = [&](std::uint32_t index) {
    if (x < width && y < height) out.Row(int(height - 1 - y))[x] = PaletteColour(l, index);
    x = std::min(x + 1, width);
  };
  std::size_t i = 0;
  while (y < height) {
    if (n - i < 2) throw BmpError("Truncated BMP run-length data");
    const std::uint32_t count = p[i], value = p[i + 1];
    i += 2;
    if (count > 0) {
      for (std::uint32_t k = 0; k < count; ++k) put(four ? (k % 2 == 0 ? value >> 4 : value & 15) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of image
      return;
    } else if (value == 2) {  // jump right and up
      if (n - i < 2) throw BmpError("Truncated BMP run-length data");
      x = std::min(x + p[i], width);
      y += p[i + 1];
      i += 2;
    } else {  // literal run
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      if (n - i < bytes) throw BmpError("Truncated BMP run-length data");
      for (std::uint32_t k = 0; k < value; ++k)
        put(four ? (k % 2 == 0 ? p[i + k / 2] >> 4 : p[i + k / 2] & 15) : p[i + k]);
      i += std::min(bytes + (bytes & 1), n - i);
    }
  }
}

}  // namespace

DibLayout ParseDib(const std::uint8_t* dib, std::size_t size, std::int64_t maxPixels,
                   std::optional<std::size_t> pixelOffset) {
  if (size < kCoreHeader) throw BmpError("Truncated BMP header");
  const std::uint32_t headerSize = U32(dib);
  std::int64_t width, height;
  std::uint32_t compression = 0, colorsUsed = 0, entrySize;
  DibLayout l;
  if (headerSize == kCoreHeader) {
    width = U16(dib + 4);
    height = U16(dib + 6);
    l.bitCount = int(U16(dib + 10));
    entrySize = 3;
  } else if (headerSize >= kInfoHeader && headerSize <= kLargestHeader && headerSize <= size) {
    width = std::int32_t(U32(dib + 4));
    height = std::int32_t(U32(dib + 8));
    l.bitCount = int(U16(dib + 14));
    compression = U32(dib + 16);
    colorsUsed = U32(dib + 32);
    entrySize = 4;
  } else {
    throw BmpError("Unsupported BMP header");
  }
  if (l.bitCount != 1 && l.bitCount != 4 && l.bitCount != 8 && l.bitCount != 16 && l.bitCount != 24 &&
      l.bitCount != 32)
    throw BmpError("Unsupported BMP pixel format");
  switch (compression) {
    case 0: l.coding = DibCoding::Rgb; break;
    case 1: l.coding = DibCoding::Rle8; break;
    case 2: l.coding = DibCoding::Rle4; break;
    case 3: l.coding = DibCoding::BitFields; break;
    default: throw BmpError("Compressed BMP images are not supported");
  }
  if ((l.coding == DibCoding::Rle8 && l.bitCount != 8) || (l.coding == DibCoding::Rle4 && l.bitCount != 4) ||
      (l.coding == DibCoding::BitFields && l.bitCount != 16 && l.bitCount != 32))
    throw BmpError("BMP compression does not fit its pixel format");
  l.topDown = height < 0;
  if (l.topDown) height = -height;
  if (width < 0) throw BmpError("Negative BMP width");
  if (l.topDown && l.coding != DibCoding::Rgb && l.coding != DibCoding::BitFields)
    throw BmpError("Run-length BMP images cannot be top-down");
  if (width > 65535 || height > 65535 || width * height > maxPixels) throw BmpError("BMP image too large");
  l.width = int(width);
  l.height = int(height);

  std::size_t offset = headerSize;
  if (l.bitCount == 16) l.masks[0] = 0x7C00, l.masks[1] = 0x03E0, l.masks[2] = 0x001F;
  if (l.bitCount == 32) l.masks[0] = 0xFF0000, l.masks[1] = 0xFF00, l.masks[2] = 0xFF;
  if (l.coding == DibCoding::BitFields) {
    // The masks sit inside headers of 52 bytes and more, else right after it.
    const std::uint8_t* at = dib + kInfoHeader;
    if (headerSize < 52) {
      if (size - offset < 12) throw BmpError("Truncated BMP colour masks");
      at = dib + offset;
      offset += 12;
    }
    for (int i = 0; i < 3; ++i) l.masks[i] = U32(at + 4 * i);
  }

  std::uint64_t tableCount = colorsUsed;
  if (l.bitCount <= 8 && tableCount == 0) tableCount = 1u << l.bitCount;
  if (tableCount * entrySize > size - offset) throw BmpError("Truncated BMP colour table");
  if (l.bitCount <= 8) {
    l.palette.resize(std::size_t(std::min<std::uint64_t>(tableCount, 1u << l.bitCount)));
    for (std::size_t i = 0; i < l.palette.size(); ++i) {
      const std::uint8_t* e = dib + offset + i * entrySize;
      l.palette[i] = Bgr{e[0], e[1], e[2]};
    }
  }
  offset += std::size_t(tableCount * entrySize);

  if (l.width == 0 || l.height == 0) {
    l.width = l.height = 0;
    l.pixelOffset = offset;
    return l;
  }
  const bool coded = l.coding == DibCoding::Rle8 || l.coding == DibCoding::Rle4;
  const std::uint64_t stride = ((std::uint64_t(l.width) * std::uint64_t(l.bitCount) + 31) / 32) * 4;
  const std::uint64_t rowsBytes = stride * std::uint64_t(l.height);
  auto fits = [&](std::size_t at) { return at <= size && (coded || rowsBytes <= size - at); };
  l.pixelOffset = pixelOffset && *pixelOffset >= kCoreHeader && fits(*pixelOffset) ? *pixelOffset : offset;
  if (!fits(l.pixelOffset)) throw BmpError("Truncated BMP pixel data");
  l.pixelBytes = coded ? size - l.pixelOffset : std::size_t(rowsBytes);
  return l;
}

PixelBuffer DecodeDib(const std::uint8_t* dib, const DibLayout& layout) {
  if (layout.width == 0 || layout.height == 0) return PixelBuffer();
  PixelBuffer image{layout.width, layout.height};
  const std::uint8_t* pixels = dib + layout.pixelOffset;
  if (layout.coding == DibCoding::Rle8 || layout.coding == DibCoding::Rle4)
    DecodeRunLengths(pixels, layout, image.Rows());
  else
    DecodeRows(pixels, layout, image.Rows());
  return image;
}

PixelBuffer ReadDib(const std::uint8_t* dib, std::size_t size, std::int64_t maxPixels) {
  return DecodeDib(dib, ParseDib(dib, size, maxPixels));
}

PixelBuffer ReadBmp(const std::uint8_t* data, std::size_t size, const BmpReadOptions& options) {
  constexpr std::size_t kFileHeader = 14;
  if (size < kFileHeader + kCoreHeader || data[0] != 'B' || data[1] != 'M') throw BmpError("Not a BMP file");
  std::optional<std::size_t> pixelOffset;
  if (const std::uint32_t at = U32(data + 10); options.usePixelOffset && at >= kFileHeader) pixelOffset = at - kFileHeader;
  const std::uint8_t* dib = data + kFileHeader;
  return DecodeDib(dib, ParseDib(dib, size - kFileHeader, options.maxPixels, pixelOffset));
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
