#pragma once
// A 24-bit image as rows of blue, green, red bytes, top row first.
// PixelRows is a non-owning view (a DIB section's bits, a buffer, a part of
// either); PixelBuffer owns its rows. Rows are 4-byte aligned like a DIB.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestu {

struct Bgr {
  std::uint8_t b, g, r;
  friend bool operator==(Bgr, Bgr) = default;
};
static_assert(sizeof(Bgr) == 3);

// Colour in the engines' $00BBGGRR layout (red in the low byte).
constexpr Bgr BgrFromColor(std::uint32_t c) {
  return Bgr{std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)};
}
constexpr std::uint32_t ColorFromBgr(Bgr p) {
  return std::uint32_t(p.r) | std::uint32_t(p.g) << 8 | std::uint32_t(p.b) << 16;
}

// Bytes per row of a 24-bit DIB of the given width.
constexpr std::ptrdiff_t StrideFor(int width) { return (std::ptrdiff_t(width) * 3 + 3) & ~std::ptrdiff_t(3); }

struct PixelRows {
  std::uint8_t* bits = nullptr;  // first byte of the top row
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;  // bytes from one row to the next (may be negative)

  bool Empty() const { return width <= 0 || height <= 0 || bits == nullptr; }
  Bgr* Row(int y) const { return reinterpret_cast<Bgr*>(bits + stride * y); }
  Bgr& At(int x, int y) const { return Row(y)[x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

class PixelBuffer {
 public:
  PixelBuffer() = default;
  PixelBuffer(int width, int height) { Resize(width, height); }

  void Resize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    bytes_.assign(std::size_t(StrideFor(width_)) * std::size_t(height_), 0);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelRows Rows() { return {bytes_.data(), width_, height_, StrideFor(width_)}; }
  Bgr& At(int x, int y) { return Rows().At(x, y); }
  Bgr At(int x, int y) const { return const_cast<PixelBuffer*>(this)->Rows().At(x, y); }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace kestu
