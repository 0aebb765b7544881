#include "skin/core/SectionPaint.h"

#include <gtest/gtest.h>

namespace kestu {
namespace {

PixelBuffer Filled(int w, int h, Bgr c) {
  PixelBuffer b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.At(x, y) = c;
  return b;
}

// A one-section skin whose IMAGEFILE is a 2 x 1 tile of the master bitmap.
struct OneSection : ::testing::Test {
  TsSkinData skin;
  TsGeneralData& s() { return skin.gd[0]; }
  void SetUp() override {
    skin.gd.emplace_back();
    s().SectionName = "Item";
    s().PaintingColor = 0x0000FF;  // red
    skin.MasterBitmap = std::make_unique<PixelBuffer>(Filled(4, 4, Bgr{255, 0, 255}));
    skin.MasterBitmap->At(0, 0) = Bgr{100, 100, 100};
    skin.MasterBitmap->At(1, 0) = Bgr{200, 200, 200};
    TsMaskData image;
    image.SectionName = "ITEM";
    image.PropertyName = "IMAGEFILE";
    image.SourceRect = {0, 0, 2, 1};
    image.ImageCount = 1;
    skin.ma.push_back(std::move(image));
    skin.SkinLoaded = true;
  }
};

TEST_F(OneSection, SharesOfNothingFillTheColourAndFullSharesPaintNoColour) {
  PixelBuffer b = Filled(4, 2, Bgr{1, 1, 1});
  PaintSectionBackground(skin, 0, "Item", EmptyCacheRef, b.Rows(), {0, 0}, {1, 0, 3, 2}, false);
  EXPECT_EQ(b.At(0, 0), (Bgr{1, 1, 1}));
  EXPECT_EQ(b.At(1, 1), (Bgr{0, 0, 255}));
  // 30 % image and 70 % vertical black-to-black gradient: the image keeps
  // 30 x 256 div 100 = 76 / 256 and no red appears.
  s().ImagePercent = 30;
  s().GradientPercent = 70;
  s().Gradient = {{0, 0, 100, 0}};
  PaintSectionBackground(skin, 0, "Item", EmptyCacheRef, b.Rows(), {0, 0}, {0, 0, 4, 2}, false);
  EXPECT_EQ(b.At(0, 0), (Bgr{30, 30, 30}));  // 100 x 76 / 256 = 29.7
  EXPECT_EQ(b.At(3, 1), (Bgr{59, 59, 59}));  // 200 x 76 / 256 = 59.4
}

TEST_F(OneSection, PartialSharesBlendWithTheColourAndMissingImagesFill) {
  s().ImagePercent = 50;  // s = 50: the image keeps half, red the rest
  PixelBuffer b(2, 1);
  PaintSectionBackground(skin, 0, "Item", EmptyCacheRef, b.Rows(), {0, 0}, {0, 0, 2, 1}, false);
  EXPECT_EQ(b.At(0, 0), (Bgr{50, 50, 178}));  // red: 0.5 x 100 + 0.5 x 255 = 177.5 -> 178
  // The hot look has no HOTIMAGEFILE: the colour is filled instead.
  s().HotImagePercent = 50;
  s().HotPaintingColor = 0x000000;
  PaintSectionBackground(skin, 0, "Item", EmptyCacheRef, b.Rows(), {0, 0}, {0, 0, 2, 1}, true);
  EXPECT_EQ(b.At(1, 0), (Bgr{0, 0, 0}));
}

TEST_F(OneSection, TransparencyShowsTheParentInProportion) {
  PixelBuffer parent = Filled(10, 10, Bgr{0, 0, 0});
  parent.At(3 + 2, 4 + 1) = Bgr{9, 8, 7};
  ParentCacheRef ref{parent.Rows(), 3, 4, true};
  PixelBuffer b = Filled(3, 3, Bgr{1, 1, 1});
  s().PaintingTransparency = 100;
  PaintSectionBackground(skin, 0, "Item", ref, b.Rows(), {0, 1}, {2, 0, 3, 3}, false);
  EXPECT_EQ(b.At(2, 0), (Bgr{9, 8, 7}));  // exactly the parent's pixel
  EXPECT_EQ(b.At(2, 1), (Bgr{0, 0, 0}));
  EXPECT_EQ(b.At(1, 0), (Bgr{1, 1, 1}));
  // 40 %: the parent counts 40 x 255 div 100 = 102 / 256 over red.
  s().PaintingTransparency = 40;
  PaintSectionBackground(skin, 0, "Item", ref, b.Rows(), {0, 1}, {0, 0, 3, 3}, false);
  EXPECT_EQ(b.At(0, 0), (Bgr{0, 0, 153}));  // 255 x 154 / 256 = 153.4
  // Without a ready reference the section paints opaque.
  PaintSectionBackground(skin, 0, "Item", EmptyCacheRef, b.Rows(), {0, 1}, {0, 0, 3, 3}, false);
  EXPECT_EQ(b.At(0, 0), (Bgr{0, 0, 255}));
}

TEST_F(OneSection, ItemsAddBordersAndRefuseRectanglesOutsideTheBitmap) {
  // A 3 x 2-pixel border image without mask half: cells of 1 x 1 pixel.
  skin.MasterBitmap->At(0, 2) = Bgr{7, 7, 7};
  TsMaskData borders;
  borders.SectionName = "ITEM";
  borders.PropertyName = "BORDERSMASK";
  borders.SourceRect = {0, 2, 3, 5};
  borders.ImageCount = 1;
  skin.ma.push_back(std::move(borders));
  PixelBuffer b = Filled(4, 4, Bgr{1, 1, 1});
  PaintSectionItem(skin, 0, "Item", EmptyCacheRef, b.Rows(), {0, 0}, {0, 0, 4, 4}, false, false);
  EXPECT_EQ(b.At(0, 0), (Bgr{7, 7, 7}));
  EXPECT_EQ(b.At(1, 1), (Bgr{0, 0, 255}));
  PixelBuffer c = Filled(4, 4, Bgr{1, 1, 1});
  PaintSectionItem(skin, 0, "Item", EmptyCacheRef, c.Rows(), {0, 0}, {0, 0, 5, 4}, false, false);
  PaintSectionItem(skin, 0, "Item", EmptyCacheRef, c.Rows(), {0, 0}, {-1, 0, 2, 2}, false, false);
  PaintSectionItem(skin, 1, "Item", EmptyCacheRef, c.Rows(), {0, 0}, {0, 0, 2, 2}, false, false);
  EXPECT_EQ(c.At(1, 1), (Bgr{1, 1, 1}));
}

TEST_F(OneSection, ExtremeValuesFromAFileStayWithinArithmeticAndBitmap) {
  s().ImagePercent = INT32_MAX;
  s().GradientPercent = INT32_MAX;
  s().PaintingTransparency = INT32_MAX - 1;
  skin.ma[0].SourceRect = {INT32_MIN, 0, INT32_MAX, 1};
  PixelBuffer b = Filled(3, 3, Bgr{1, 1, 1});
  PixelBuffer parent = Filled(3, 3, Bgr{4, 4, 4});
  PaintSectionBackground(skin, 0, "Item", EmptyCacheRef, b.Rows(), {0, 0}, {-5, -5, 1 << 30, 1 << 30}, false);
  EXPECT_EQ(b.At(2, 2), (Bgr{0, 0, 255}));  // shares above 100 in sum: the colour
  PaintSectionBackground(skin, 0, "Item", {parent.Rows(), 0, 0, true}, b.Rows(), {0, 0}, {0, 0, 3, 3}, false);
  EXPECT_EQ(b.At(1, 1), (Bgr{4, 4, 4}));  // beyond 100 % see-through: the parent
  EXPECT_EQ(skin.GetMaskSize(0).Width, INT32_MAX);  // saturated, not wrapped
}

}  // namespace
}  // namespace kestu
