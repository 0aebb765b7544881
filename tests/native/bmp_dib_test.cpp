// Packed bitmaps as resources and files carry them: the header kinds with
// bit-field masks inside or after them, run-length coded rows, and a layout
// that never points outside the bytes it came in.
#include "base/Bmp.h"

#include <gtest/gtest.h>

namespace kestu {
namespace {

struct Dib {
  std::vector<std::uint8_t> bytes;
  void U16(std::size_t at, std::uint32_t v) {
    if (bytes.size() < at + 2) bytes.resize(at + 2);
    bytes[at] = std::uint8_t(v), bytes[at + 1] = std::uint8_t(v >> 8);
  }
  void U32(std::size_t at, std::uint32_t v) { U16(at, v & 0xFFFF), U16(at + 2, v >> 16); }
  void Append(std::initializer_list<std::uint8_t> more) { bytes.insert(bytes.end(), more); }
  // An info header of `size` bytes: width, height, bits, compression.
  static Dib Header(std::uint32_t size, int w, int h, int bits, std::uint32_t compression) {
    Dib d;
    d.bytes.resize(size);
    d.U32(0, size);
    d.U32(4, std::uint32_t(w));
    d.U32(8, std::uint32_t(h));
    d.U16(12, 1);
    d.U16(14, std::uint32_t(bits));
    d.U32(16, compression);
    return d;
  }
  PixelBuffer Read() const { return ReadDib(bytes.data(), bytes.size(), 1 << 20); }
};

TEST(Dib, BitFieldMasksAreTakenFromInsideLargeHeadersAndAfterSmallOnes) {
  // A 124-byte header holds its masks; these ones swap red and blue.
  Dib v5 = Dib::Header(124, 2, 1, 32, 3);
  v5.U32(40, 0x000000FF), v5.U32(44, 0x0000FF00), v5.U32(48, 0x00FF0000);
  v5.Append({0xFF, 0, 0, 0, 0, 0, 0xFF, 0});
  PixelBuffer image = v5.Read();
  EXPECT_EQ(image.At(0, 0), (Bgr{0, 0, 255}));  // the low byte is red here
  EXPECT_EQ(image.At(1, 0), (Bgr{255, 0, 0}));
  // A 40-byte header has them after it: 5-6-5 bits of 16.
  Dib info = Dib::Header(40, 1, 1, 16, 3);
  info.Append({0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0});
  info.Append({0x1F, 0x00, 0, 0});
  EXPECT_EQ(info.Read().At(0, 0), (Bgr{255, 0, 0}));
  // Masks a header promises but the data lacks.
  Dib missing = Dib::Header(40, 1, 1, 16, 3);
  missing.Append({0, 0, 0, 0});
  EXPECT_THROW(missing.Read(), BmpError);
  // Bit fields only for 16 and 32 bits.
  EXPECT_THROW(Dib::Header(124, 1, 1, 24, 3).Read(), BmpError);
}

TEST(Dib, RunLengthRowsWithEndsOfLineJumpsAndLiteralRuns) {
  // 8 bits, 4 x 3, bottom-up; palette 0 black, 1 red, 2 green, 3 blue.
  Dib rle = Dib::Header(40, 4, 3, 8, 1);
  rle.U32(32, 4);
  rle.Append({0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0});
  rle.Append({3, 1, 0, 0,              // bottom row: three reds, end of line
              0, 2, 1, 0,              // jump one right on the second row
              0, 3, 2, 3, 2, 0,        // literal run of three (padded)
              5, 3,                    // a run past the row's end is cut
              0, 1});                  // end of image
  PixelBuffer image = rle.Read();
  const Bgr red{0, 0, 255}, green{0, 255, 0}, blue{255, 0, 0}, black{0, 0, 0};
  EXPECT_EQ(image.At(0, 2), red);
  EXPECT_EQ(image.At(2, 2), red);
  EXPECT_EQ(image.At(3, 2), black);
  EXPECT_EQ(image.At(0, 1), black);  // skipped by the jump
  EXPECT_EQ(image.At(1, 1), green);
  EXPECT_EQ(image.At(2, 1), blue);
  EXPECT_EQ(image.At(3, 1), green);
  EXPECT_EQ(image.At(0, 0), black);  // the top row was never reached

  // 4 bits: a run alternates the two nibbles.
  Dib four = Dib::Header(40, 3, 1, 4, 2);
  four.U32(32, 2);
  four.Append({0, 0, 0, 0, 0, 0, 255, 0});
  four.Append({3, 0x01, 0, 1});
  PixelBuffer nibbles = four.Read();
  EXPECT_EQ(nibbles.At(0, 0), black);
  EXPECT_EQ(nibbles.At(1, 0), red);
  EXPECT_EQ(nibbles.At(2, 0), black);
}

TEST(Dib, BrokenRunLengthDataAndCodingsThatDoNotFitAreRejected) {
  Dib truncated = Dib::Header(40, 4, 2, 8, 1);
  truncated.U32(32, 1);
  truncated.Append({0, 0, 0, 0, 0, 5, 1, 2});  // a literal run of five with two bytes
  EXPECT_THROW(truncated.Read(), BmpError);
  Dib endless = Dib::Header(40, 4, 2, 8, 1);
  endless.U32(32, 1);
  endless.Append({0, 0, 0, 0, 2, 0});  // no end of line or image before the data ends
  EXPECT_THROW(endless.Read(), BmpError);
  EXPECT_THROW(Dib::Header(40, 4, -2, 8, 1).Read(), BmpError);  // coded rows are bottom-up
  EXPECT_THROW(Dib::Header(40, 4, 2, 24, 1).Read(), BmpError);  // 8-bit coding of 24 bits
  EXPECT_THROW(Dib::Header(40, 4, 2, 8, 4).Read(), BmpError);   // an unknown coding
}

TEST(Dib, TheLayoutStaysInsideTheDataWhateverThePixelOffsetSays) {
  Dib plain = Dib::Header(40, 2, 2, 24, 0);
  plain.bytes.resize(40 + 2 * 8);
  for (std::size_t offset : {0u, 12u, 40u, 48u, 56u, 1000u}) {
    const DibLayout layout = ParseDib(plain.bytes.data(), plain.bytes.size(), 1 << 20, offset);
    EXPECT_LE(layout.pixelOffset + layout.pixelBytes, plain.bytes.size()) << offset;
  }
  EXPECT_EQ(ParseDib(plain.bytes.data(), plain.bytes.size(), 1 << 20, 1000).pixelOffset, 40u);
  EXPECT_THROW(ParseDib(plain.bytes.data(), 40 + 15, 1 << 20), BmpError);
}

}  // namespace
}  // namespace kestu
