// Bitmaps from outside reach GDI only as our own 24-bit rows: headers with
// bit-field masks inside them, run-length rows and lying headers, through
// every way a bitmap is loaded.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/Graphics.h"

namespace kestu {
namespace {

void Put32(Bytes& b, std::size_t at, std::uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

// A BMP file of two 32-bit pixels with a 124-byte header whose masks swap
// red and blue: the first pixel, 0x000000FF, is red.
Bytes SwappedMasksFile() {
  Bytes b(14 + 124 + 8, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 10, 14 + 124);
  Put32(b, 14, 124);
  Put32(b, 18, 2);
  Put32(b, 22, 1);
  b[26] = 1;
  b[28] = 32;
  Put32(b, 30, 3);  // bit fields
  Put32(b, 54, 0x000000FF), Put32(b, 58, 0x0000FF00), Put32(b, 62, 0x00FF0000);
  Put32(b, 138, 0x000000FF), Put32(b, 142, 0x00FF0000);
  return b;
}

Bytes Stored(const Bytes& bmp) {
  Bytes out(4);
  Put32(out, 0, std::uint32_t(bmp.size()));
  out.insert(out.end(), bmp.begin(), bmp.end());
  return out;
}

TEST(BitmapFiles, MasksInsideALargeHeaderAreTheOnesUsed) {
  TBitmap bitmap;
  bitmap.LoadFromStoredData(Stored(SwappedMasksFile()));
  ASSERT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.Rows().At(0, 0), (Bgr{0, 0, 255}));
  EXPECT_EQ(bitmap.Rows().At(1, 0), (Bgr{255, 0, 0}));
  // The same from a file on disk.
  wchar_t folder[MAX_PATH], path[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"bmp", 0, path);
  const Bytes file = SwappedMasksFile();
  HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, file.data(), DWORD(file.size()), &written, nullptr);
  CloseHandle(h);
  TBitmap fromFile;
  fromFile.LoadFromFile(path);
  DeleteFileW(path);
  EXPECT_EQ(fromFile.Rows().At(0, 0), (Bgr{0, 0, 255}));
}

TEST(BitmapFiles, RunLengthRowsAreDecodedAndLyingHeadersRefused) {
  // 8 bits, 2 x 1, one colour (red), a run of two, then the end.
  Bytes rle(14 + 40 + 4 + 4, 0);
  rle[0] = 'B', rle[1] = 'M';
  Put32(rle, 14, 40);
  Put32(rle, 18, 2);
  Put32(rle, 22, 1);
  rle[26] = 1;
  rle[28] = 8;
  Put32(rle, 30, 1);
  Put32(rle, 46, 1);
  rle[56] = 255;
  rle[58] = 2, rle[59] = 0, rle[60] = 0, rle[61] = 1;
  TBitmap bitmap;
  bitmap.LoadFromBmp(rle.data(), rle.size());
  EXPECT_EQ(bitmap.Rows().At(1, 0), (Bgr{0, 0, 255}));

  Bytes lying = SwappedMasksFile();
  Put32(lying, 22, 1000);  // rows the data does not have
  EXPECT_THROW(bitmap.LoadFromBmp(lying.data(), lying.size()), EInvalidGraphic);
  Bytes noMasks = SwappedMasksFile();
  Put32(noMasks, 14, 40);  // masks promised after the header, which is where the pixels are
  noMasks.resize(14 + 40 + 4);
  EXPECT_THROW(bitmap.LoadFromBmp(noMasks.data(), noMasks.size()), EInvalidGraphic);
  EXPECT_EQ(bitmap.Width(), 2);  // a refused load leaves the bitmap as it was
}

}  // namespace
}  // namespace kestu
