// The file formats under the skin loaders: BMP, JPEG, INI and numbers.
#include "base/Bmp.h"
#include "base/FileBytes.h"
#include "base/IniFile.h"
#include "base/Jpeg.h"
#include "base/TextUtil.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kestu {
namespace {

const std::string kSkinDir = std::string(KESTU_TEST_DATA) + "/skin/TestSkin/";

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

TEST(Bmp, TwentyFourBitImagesSurviveARoundTrip) {
  PixelBuffer image(5, 3);
  image.At(0, 0) = Bgr{1, 2, 3};
  image.At(4, 2) = Bgr{7, 8, 9};
  std::vector<std::uint8_t> file = WriteBmp(image.Rows());
  PixelBuffer back = ReadBmp(file.data(), file.size());
  ASSERT_EQ(back.Width(), 5);
  ASSERT_EQ(back.Height(), 3);
  EXPECT_EQ(back.At(0, 0), (Bgr{1, 2, 3}));
  EXPECT_EQ(back.At(4, 2), (Bgr{7, 8, 9}));
  // Top-down (negative height).
  Put32(file, 22, std::uint32_t(-3));
  back = ReadBmp(file.data(), file.size());
  EXPECT_EQ(back.At(0, 2), (Bgr{1, 2, 3}));
}

TEST(Bmp, PalettedImagesAndStoredImagesWithAWrongPixelOffset) {
  // 4-bit, 3 x 1, palette of two used colours; pixel indexes 1, 0, 5 (out of
  // the table: black).
  std::vector<std::uint8_t> file(14 + 40 + 8 + 4, 0);
  file[0] = 'B', file[1] = 'M';
  Put32(file, 10, 14 + 40 + 8 + 1024);  // a wrong offset, as in stored form data
  Put32(file, 14, 40);
  Put32(file, 18, 3);
  Put32(file, 22, 1);
  file[26] = 1;
  file[28] = 4;
  Put32(file, 46, 2);
  file[54] = 10, file[55] = 20, file[56] = 30;  // colour 0
  file[58] = 40, file[59] = 50, file[60] = 60;  // colour 1
  file[62] = 0x10, file[63] = 0x50;
  BmpReadOptions stored;
  stored.usePixelOffset = false;
  PixelBuffer image = ReadBmp(file.data(), file.size(), stored);
  EXPECT_EQ(image.At(0, 0), (Bgr{40, 50, 60}));
  EXPECT_EQ(image.At(1, 0), (Bgr{10, 20, 30}));
  EXPECT_EQ(image.At(2, 0), (Bgr{0, 0, 0}));
  // The file reader falls back to the rows after the table as well when the
  // offset points past the data.
  EXPECT_EQ(ReadBmp(file.data(), file.size()).At(0, 0), (Bgr{40, 50, 60}));
}

TEST(Bmp, LyingHeadersAreRejectedNotFollowed) {
  PixelBuffer image(4, 4);
  const std::vector<std::uint8_t> good = WriteBmp(image.Rows());
  auto rejects = [&](auto change) {
    std::vector<std::uint8_t> file = good;
    change(file);
    EXPECT_THROW(ReadBmp(file.data(), file.size()), BmpError);
  };
  rejects([](auto& f) { Put32(f, 22, 5000); });                 // more rows than data
  rejects([](auto& f) { Put32(f, 18, 0x7FFFFFFF); });           // absurd width
  rejects([](auto& f) { Put32(f, 30, 1); });                    // run-length compressed
  rejects([](auto& f) { f[28] = 8, Put32(f, 46, 0x10000000); });  // colour table past the end
  rejects([](auto& f) { Put32(f, 14, 7); });                    // unknown header size
  rejects([](auto& f) { f.resize(20); });
  // Bit-field masks promised after a 43-byte header that the file lacks.
  rejects([](auto& f) { Put32(f, 14, 43), f[28] = 16, Put32(f, 30, 3), f.resize(14 + 43 + 4); });
  rejects([](auto& f) { f[0] = 'X'; });
  std::vector<std::uint8_t> empty = good;
  Put32(empty, 18, 0);
  EXPECT_EQ(ReadBmp(empty.data(), empty.size()).Width(), 0);  // width 0: an empty image
  EXPECT_THROW(ReadBmpFile(kSkinDir + "liar.bmp"), BmpError);
  EXPECT_THROW(ReadBmpFile(kSkinDir + "absent.bmp"), BmpError);
}

TEST(Jpeg, DecodesColourAndGreyAndRejectsDamagedData) {
  PixelBuffer image = DecodeJpegFile(kSkinDir + "pattern.jpg");
  ASSERT_EQ(image.Width(), 8);
  EXPECT_NEAR(image.At(7, 7).r, 128, 2);
  PixelBuffer grey = DecodeJpegFile(kSkinDir + "pattern.jpg", true);
  EXPECT_EQ(grey.At(2, 5).r, grey.At(2, 5).b);
  std::vector<unsigned char> bytes = ReadFileBytes(kSkinDir + "pattern.jpg", 1 << 20);
  EXPECT_THROW(DecodeJpeg(bytes.data(), 40), JpegError);
  EXPECT_THROW(DecodeJpeg(bytes.data(), bytes.size(), false, 10), JpegError);  // above the pixel limit
  const std::uint8_t junk[] = {0xFF, 0xD8, 0x00, 0x01};
  EXPECT_THROW(DecodeJpeg(junk, sizeof junk), JpegError);
}

TEST(IniFile, SectionsAndKeysCompareWithoutCaseAndKeepFileOrder) {
  IniFile ini = IniFile::Parse(
      "junk before any section\r\n[One]\r\nKey = a=b \r\n; comment\nkey=second\nNoEquals\n"
      "[two]\nX=1\n[ONE]\nLate=3\n[]\n");
  ASSERT_EQ(ini.Sections().size(), 3u);
  EXPECT_EQ(ini.Sections()[0].keys.size(), 3u);  // the repeated section continues the first
  EXPECT_EQ(ini.ReadString("one", "KEY", "-"), "a=b");  // the first of equal keys
  EXPECT_EQ(ini.ReadString("ONE", "late", "-"), "3");
  EXPECT_EQ(ini.ReadString("Two", "y", "-"), "-");
  EXPECT_EQ(ini.ReadString("three", "x", "dflt"), "dflt");
  EXPECT_THROW(IniFile::Load(kSkinDir + "Options.dat", 10), std::runtime_error);
}

TEST(TextUtil, NumbersAreDecimalOrDollarOrZeroXHex) {
  EXPECT_EQ(TryParseInt32(" -42 "), -42);
  EXPECT_EQ(TryParseInt32("$FF00FF"), 0xFF00FF);
  EXPECT_EQ(TryParseInt32("0x10"), 16);
  EXPECT_EQ(TryParseInt32("$FFFFFFFF"), -1);
  EXPECT_EQ(TryParseInt32("-2147483648"), INT32_MIN);
  EXPECT_FALSE(TryParseInt32("2147483648"));
  EXPECT_FALSE(TryParseInt32("$1FFFFFFFF"));
  EXPECT_FALSE(TryParseInt32("12a"));
  EXPECT_FALSE(TryParseInt32("$"));
  EXPECT_FALSE(TryParseInt32(""));
  EXPECT_EQ(SplitWords("#m (1,2,3,4)  (3,1)", " ()").size(), 3u);
  EXPECT_TRUE(SameText("TsButton", "TSBUTTON"));
}

}  // namespace
}  // namespace kestu
