#include "base/PixelRows.h"

#include <gtest/gtest.h>

namespace kestu {

TEST(PixelRows, StrideIsPaddedToFourBytesLikeADib) {
  EXPECT_EQ(StrideFor(1), 4);
  EXPECT_EQ(StrideFor(4), 12);
  EXPECT_EQ(StrideFor(5), 16);
  EXPECT_EQ(StrideFor(0), 0);
}

TEST(PixelRows, ColourRoundTripKeepsRedInTheLowByte) {
  Bgr p = BgrFromColor(0x00A1B2C3);
  EXPECT_EQ(p.r, 0xC3);
  EXPECT_EQ(p.g, 0xB2);
  EXPECT_EQ(p.b, 0xA1);
  EXPECT_EQ(ColorFromBgr(p), 0x00A1B2C3u);
}

TEST(PixelRows, RowsAddressTheBufferTopDownWithPadding) {
  PixelBuffer image(5, 3);
  image.At(4, 2) = Bgr{1, 2, 3};
  PixelRows rows = image.Rows();
  const std::uint8_t* last = rows.bits + 2 * StrideFor(5) + 4 * 3;
  EXPECT_EQ(last[0], 1);
  EXPECT_EQ(last[2], 3);
  EXPECT_TRUE(rows.Contains(4, 2));
  EXPECT_FALSE(rows.Contains(5, 0));
  EXPECT_FALSE(rows.Contains(-1, 0));
}

TEST(PixelRows, NegativeSizesGiveAnEmptyImage) {
  PixelBuffer image(-4, 7);
  EXPECT_TRUE(image.Rows().Empty());
}

}  // namespace kestu
