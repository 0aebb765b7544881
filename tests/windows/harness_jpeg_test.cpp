// The cross-built libjpeg decodes into the rows of a 24-bit DIB section.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <csetjmp>
#include <vector>

#include <jpeglib.h>

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf resume;
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->resume, 1);
}

struct Decoded {
  HBITMAP bitmap = nullptr;
  BYTE* bits = nullptr;
  int width = 0;
  int height = 0;
  int Stride() const { return (width * 3 + 3) & ~3; }
  COLORREF At(int x, int y) const {
    const BYTE* p = bits + y * Stride() + x * 3;
    return RGB(p[2], p[1], p[0]);
  }
};

// Decodes a JPEG file into a top-down 24-bit DIB section (blue, green, red).
bool DecodeToDib(const char* path, Decoded& out) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  if (setjmp(errors.resume)) {
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = int(info.output_width);
  out.height = int(info.output_height);

  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = out.width;
  header.bmiHeader.biHeight = -out.height;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  out.bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
  out.bits = static_cast<BYTE*>(bits);

  std::vector<JSAMPLE> line(std::size_t(out.width) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = line.data();
    const int y = int(info.output_scanline);
    jpeg_read_scanlines(&info, &row, 1);
    BYTE* target = out.bits + y * out.Stride();
    for (int x = 0; x < out.width; ++x) {
      target[x * 3] = line[std::size_t(x) * 3 + 2];
      target[x * 3 + 1] = line[std::size_t(x) * 3 + 1];
      target[x * 3 + 2] = line[std::size_t(x) * 3];
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
  return true;
}

bool Near(COLORREF got, COLORREF want) {
  auto close = [](int a, int b) { return a - b < 24 && b - a < 24; };
  return close(GetRValue(got), GetRValue(want)) && close(GetGValue(got), GetGValue(want)) &&
         close(GetBValue(got), GetBValue(want));
}

TEST(HarnessJpeg, DecodesColourImageIntoDibRows) {
  Decoded image;
  ASSERT_TRUE(DecodeToDib(KESTU_TEST_DATA "/harness/red-blue.jpg", image));
  EXPECT_EQ(image.width, 16);
  EXPECT_EQ(image.height, 8);
  EXPECT_TRUE(Near(image.At(2, 4), RGB(220, 30, 30)));
  EXPECT_TRUE(Near(image.At(13, 4), RGB(30, 30, 220)));
  DeleteObject(image.bitmap);
}

TEST(HarnessJpeg, GreyImageExpandsToEqualChannels) {
  Decoded image;
  ASSERT_TRUE(DecodeToDib(KESTU_TEST_DATA "/harness/grey.jpg", image));
  const COLORREF c = image.At(3, 3);
  EXPECT_EQ(GetRValue(c), GetGValue(c));
  EXPECT_EQ(GetGValue(c), GetBValue(c));
  DeleteObject(image.bitmap);
}

TEST(HarnessJpeg, InputThatIsNoJpegFailsCleanly) {
  Decoded image;
  EXPECT_FALSE(DecodeToDib(KESTU_TEST_DATA "/harness/not-a-jpeg.jpg", image));
  EXPECT_EQ(image.bitmap, nullptr);
}

}  // namespace
