// The GDI-backed half of the skin pixel library, drawn into DIB sections.
#include "skin/SkinGdi.h"
#include "skin/SkinResources.h"

#include <gtest/gtest.h>

namespace kestu {
namespace {

constexpr Bgr kWhite{255, 255, 255};

void Fill(const DibSection& dib, Bgr c) {
  PixelRows r = dib.Rows();
  for (int y = 0; y < r.height; ++y)
    for (int x = 0; x < r.width; ++x) r.At(x, y) = c;
}

Bgr Grey(int v) { return Bgr{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)}; }

TEST(SoftShadow, RingsLightenTowardTheEdgeAndTheCornersRound) {
  DibSection background(40, 30), dest(40, 30);
  Fill(background, kWhite);
  PaintSoftShadow(background.Dc(), {0, 0, 40, 30}, dest.Dc(), 0, 0, 4, 0x000000, 50, {0, 0});
  GdiFlush();
  PixelRows d = dest.Rows();
  // base = 127; ring i grey = 127 + round(128 / 5 x (4 - i)); a black tint
  // leaves white x grey / 256.
  EXPECT_EQ(d.At(0, 15), Grey(229 * 255 / 256));
  EXPECT_EQ(d.At(1, 15), Grey(204 * 255 / 256));
  EXPECT_EQ(d.At(20, 2), Grey(178 * 255 / 256));
  EXPECT_EQ(d.At(39, 15), Grey(229 * 255 / 256));  // the last column belongs to ring 0 too
  EXPECT_EQ(d.At(20, 29), Grey(229 * 255 / 256));
  EXPECT_EQ(d.At(20, 15), Grey(127 * 255 / 256));
  EXPECT_EQ(d.At(0, 0), Grey(254));  // outside the rounded corner: background
  // Ellipses leave all four corners; 0 and 100 % are plain colour and plain background.
  PaintSoftShadow(background.Dc(), {0, 0, 40, 30}, dest.Dc(), 0, 1, 4, 0x000000, 50, {0, 0});
  GdiFlush();
  EXPECT_EQ(d.At(39, 29), Grey(254));
  EXPECT_EQ(d.At(20, 15), Grey(126));
  PaintSoftShadow(background.Dc(), {0, 0, 40, 30}, dest.Dc(), 0, 0, 4, 0x0000FF, 0, {0, 0});
  GdiFlush();
  EXPECT_EQ(d.At(0, 0), (Bgr{0, 0, 255}));
  PaintSoftShadow(background.Dc(), {0, 0, 40, 30}, dest.Dc(), 0, 0, 4, 0x0000FF, 100, {0, 0});
  GdiFlush();
  EXPECT_EQ(d.At(20, 15), kWhite);
}

TEST(DisabledLook, BlendWithColourOrParentHalfAndHalf) {
  DibSection image(6, 4);
  Fill(image, Grey(200));
  ApplyDisabledKind(image.Rows(), dkBlended, 0x0A0A0A, {0, 0}, EmptyCacheRef);
  EXPECT_EQ(image.Rows().At(0, 0), Grey((10 * 128 + 127 * 200) / 256));
  EXPECT_EQ(image.Rows().At(5, 3), Grey((10 * 128 + 127 * 200) / 256));
  PixelBuffer parent(20, 20);
  parent.At(3 + 1, 4 + 2) = Grey(101);
  Fill(image, Bgr{10, 20, 31});
  ApplyDisabledKind(image.Rows(), dkBlended | dkGrayed, 0, {1, 2}, {parent.Rows(), 3, 4, true});
  EXPECT_EQ(image.Rows().At(0, 0), Grey(60));  // grey 20, then (20 + 101) / 2 = 60.5 -> 60
  EXPECT_EQ(image.Rows().At(1, 0), Grey(10));
}

TEST(FrameLines, PensDrawExactlyTheRunsOfThePixelPainter) {
  for (int kind = 0; kind < 4; ++kind) {
    DibSection dib(20, 16);
    PixelBuffer expected(20, 16);
    Fill(dib, Grey(90));
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 20; ++x) expected.At(x, y) = Grey(90);
    PaintFrameLines(dib.Dc(), {2, 1, 18, 15}, 0xE0E0E0, 0x303030, true, kind, 3, 0x808080);
    PaintFrameLines(expected.Rows(), {2, 1, 18, 15}, 0xE0E0E0, 0x303030, true, kind, 3, 0x808080);
    GdiFlush();
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 20; ++x) ASSERT_EQ(dib.Rows().At(x, y), expected.At(x, y)) << kind << ": " << x << "," << y;
  }
  // Edge frames: left and top in the first colour, right and bottom (with
  // both far corners) in the second.
  DibSection edge(10, 10);
  Fill(edge, Grey(90));
  PaintEdgeFrame(edge.Dc(), {0, 0, 10, 10}, 2, 0xFFFFFF, 0x000000);
  GdiFlush();
  PixelRows e = edge.Rows();
  EXPECT_EQ(e.At(0, 0), kWhite);
  EXPECT_EQ(e.At(9, 0), Grey(0));
  EXPECT_EQ(e.At(0, 9), Grey(0));
  EXPECT_EQ(e.At(1, 1), kWhite);
  EXPECT_EQ(e.At(8, 5), Grey(0));
  EXPECT_EQ(e.At(2, 2), Grey(90));
}

TEST(BorderRegion, KeyColourPixelsOfCornersAndEdgesLeaveTheWindowShape) {
  PixelBuffer mask(36, 24);  // cells 4 x 4
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 36; ++x) mask.At(x, y) = Grey(50);
  mask.At(0, 0) = mask.At(1, 0) = mask.At(0, 1) = Bgr{255, 0, 255};
  mask.At(5, 0) = Bgr{255, 0, 255};  // top edge tile, column 1
  mask.At(5, 5) = Bgr{255, 0, 255};  // centre: never cut
  DibSection dest(20, 12);
  HRGN region = CreateRectRgn(0, 0, 20, 12);
  PaintMaskedBordersRgn(dest.Rows(), region, true, 0, MaskImage::Own(mask.Rows()));
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 1, 0));
  EXPECT_FALSE(PtInRegion(region, 0, 1));
  EXPECT_TRUE(PtInRegion(region, 2, 0));
  EXPECT_FALSE(PtInRegion(region, 5, 0));  // every top-edge tile
  EXPECT_FALSE(PtInRegion(region, 9, 0));
  EXPECT_TRUE(PtInRegion(region, 5, 5));
  EXPECT_TRUE(PtInRegion(region, 19, 11));
  DeleteObject(region);
}

struct TextDc : ::testing::Test {
  DibSection dib{80, 24};
  HFONT font = CreateFontW(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                           L"Tahoma");
  HGDIOBJ previous = SelectObject(dib.Dc(), font);
  void TearDown() override {
    SelectObject(dib.Dc(), previous);
    DeleteObject(font);
  }
  // Leftmost and rightmost column holding colour c, or -1.
  std::pair<int, int> Columns(Bgr c) {
    GdiFlush();
    int first = -1, last = -1;
    for (int y = 0; y < dib.Rows().height; ++y)
      for (int x = 0; x < dib.Rows().width; ++x)
        if (dib.Rows().At(x, y) == c) {
          if (first < 0 || x < first) first = x;
          last = std::max(last, x);
        }
    return {first, last};
  }
};

TEST_F(TextDc, OutlineColoursSurroundTheTextAndDisabledTextIsEmbossed) {
  Fill(dib, kWhite);
  TsGeneralData section;
  std::int32_t colours[5] = {0x000000, 0x0000FF, -1, 0xFF0000, -1};  // left red, right blue
  std::copy(colours, colours + 5, section.FontColor);
  DrawSkinCaption(dib.Dc(), L"HH", true, false, &section, DT_CENTER | DT_SINGLELINE, {0, 0, 80, 24});
  auto black = Columns(Bgr{0, 0, 0});
  auto red = Columns(Bgr{0, 0, 255});
  auto blue = Columns(Bgr{255, 0, 0});
  ASSERT_GE(black.first, 0);
  EXPECT_EQ(red.first, black.first - 1);
  EXPECT_EQ(blue.second, black.second + 1);
  EXPECT_NEAR((black.first + black.second) / 2.0, 40, 3);  // centred
  Fill(dib, Grey(128));
  DrawSkinCaption(dib.Dc(), L"HH", false, false, &section, DT_SINGLELINE, {0, 0, 80, 24});
  auto shadow = Columns(BgrFromColor(ResolveColor(0xFF000010)));
  auto light = Columns(BgrFromColor(ResolveColor(0xFF000014)));
  ASSERT_GE(shadow.first, 0);
  EXPECT_LT(shadow.first, 4);  // left aligned
  EXPECT_EQ(light.second, shadow.second + 1);
  EXPECT_EQ(Columns(Bgr{0, 0, 0}).first, -1);
}

TEST_F(TextDc, ShortenedTextsFitWithDotsAndFittingTextsStay) {
  EXPECT_EQ(ShortenText(dib.Dc(), L"OK", 200), L"OK");
  std::wstring cut = ShortenText(dib.Dc(), L"A rather long caption", 60);
  ASSERT_GT(cut.size(), 3u);
  EXPECT_EQ(cut.substr(cut.size() - 3), L"...");
  SIZE size{};
  GetTextExtentPoint32W(dib.Dc(), cut.c_str(), int(cut.size()), &size);
  EXPECT_LE(size.cx, 60);
  EXPECT_EQ(ShortenText(dib.Dc(), L"Caption", 0), L"");
  EXPECT_EQ(ShortenText(dib.Dc(), L"Caption", 1), L"");
}

TEST(SectionToDc, PaintsThroughAScratchBitmapAndRefusesNegativeStarts) {
  TsSkinData skin;
  skin.gd.emplace_back();
  skin.gd[0].SectionName = "S";
  skin.gd[0].PaintingColor = 0x00FF00;
  skin.SkinLoaded = true;
  DibSection dib(10, 10);
  Fill(dib, Grey(1));
  PaintSectionToDC(skin, 0, "S", EmptyCacheRef, dib.Dc(), {0, 0}, {2, 3, 6, 8}, false, false);
  PaintSectionToDC(skin, 0, "S", EmptyCacheRef, dib.Dc(), {0, 0}, {-1, 0, 1, 1}, false, false);
  GdiFlush();
  EXPECT_EQ(dib.Rows().At(2, 3), (Bgr{0, 255, 0}));
  EXPECT_EQ(dib.Rows().At(5, 7), (Bgr{0, 255, 0}));
  EXPECT_EQ(dib.Rows().At(6, 7), Grey(1));
  EXPECT_EQ(dib.Rows().At(0, 0), Grey(1));
}

TEST(PredefinedBorders, LoadWithTheFirstUseAndGoWithTheLast) {
  EXPECT_TRUE(PredefinedBorderMask(pdBorder1, {}).Empty());
  PixelBuffer own(18, 12);
  {
    SkinGraphicsUse use;
    {
      SkinGraphicsUse nested;
    }
    PixelRows first = PredefinedBorderMask(pdBorder1, {});
    EXPECT_EQ(first.width, 90);
    EXPECT_EQ(first.height, 60);
    EXPECT_EQ(PredefinedBorderMask(pdBorder5, {}).width, 54);
    EXPECT_EQ(PredefinedBorderMask(pdBorder6, {}).height, 96);
    EXPECT_EQ(PredefinedBorderMask(pdCustom, {}).bits, first.bits);  // no own mask: BORD1
    EXPECT_EQ(PredefinedBorderMask(pdCustom, own.Rows()).bits, own.Rows().bits);
  }
  EXPECT_TRUE(PredefinedBorderMask(pdBorder2, {}).Empty());
  EXPECT_EQ(LoadResourceBitmap(L"NO_SUCH_BITMAP").Width(), 0);
}

TEST(DottedFrame, EveryThirdOutlinePixelIsBlackWithAWhiteNeighbourUpLeft) {
  DibSection dib(12, 8);
  Fill(dib, Grey(90));
  PaintDottedFrame(dib.Dc(), {2, 2, 11, 7});
  GdiFlush();
  PixelRows d = dib.Rows();
  EXPECT_EQ(d.At(2, 2), Grey(0));
  EXPECT_EQ(d.At(1, 1), kWhite);
  EXPECT_EQ(d.At(3, 2), Grey(90));
  EXPECT_EQ(d.At(5, 2), Grey(0));
  EXPECT_EQ(d.At(8, 2), Grey(0));
}

}  // namespace
}  // namespace kestu
