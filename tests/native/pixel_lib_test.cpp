#include "skin/core/PixelLib.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kestu {
namespace {

constexpr Bgr kKey{255, 0, 255};

PixelBuffer Filled(int w, int h, Bgr c) {
  PixelBuffer b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.At(x, y) = c;
  return b;
}

// A picture-over-mask strip whose picture pixel (x, y) is (x, y, 200), so a
// painted pixel names the source pixel it came from; the mask is 0 (opaque).
PixelBuffer CoordinateStrip(int w, int h) {
  PixelBuffer b(w, h);
  for (int y = 0; y < h / 2; ++y)
    for (int x = 0; x < w; ++x) b.At(x, y) = Bgr{std::uint8_t(x), std::uint8_t(y), 200};
  return b;
}
int SourceX(Bgr p) { return p.r == 200 ? p.b : -1; }
int SourceY(Bgr p) { return p.r == 200 ? p.g : -1; }

TEST(MaskRule, WhiteMaskStillLetsOneTwoHundredFiftySixthThrough) {
  EXPECT_EQ(MaskChannel(0, 0, 0), 0);
  EXPECT_EQ(MaskChannel(17, 99, 0), 99);
  EXPECT_EQ(MaskChannel(0, 255, 255), 0);    // (0 x 255 + 255 x 1) div 256
  EXPECT_EQ(MaskChannel(255, 0, 255), 254);  // a white destination darkens
  EXPECT_EQ(MaskChannel(100, 200, 128), (100 * 128 + 200 * 128) / 256);
}

TEST(CopyMaskedRect, KeyRunsAreSkippedAndCutFromTheRegionAndEdgesClip) {
  PixelBuffer strip = Filled(4, 4, Bgr{10, 20, 30});  // picture rows 0-1, mask rows 2-3
  strip.At(1, 0) = strip.At(2, 0) = kKey;
  strip.At(3, 1) = kKey;
  for (int x = 0; x < 4; ++x) strip.At(x, 2) = strip.At(x, 3) = Bgr{0, 0, 0};
  PixelBuffer dest = Filled(5, 5, Bgr{1, 1, 1});
  RegionCuts cuts;
  CopyMaskedRect({1, 1, 4, 2}, {0, 0, 3, 1}, dest.Rows(), MaskImage::Own(strip.Rows()), 0xFF00FF, &cuts);
  EXPECT_EQ(dest.At(1, 1), (Bgr{10, 20, 30}));
  EXPECT_EQ(dest.At(2, 1), (Bgr{1, 1, 1}));
  EXPECT_EQ(dest.At(4, 1), (Bgr{10, 20, 30}));
  ASSERT_EQ(cuts.size(), 2u);
  EXPECT_EQ(cuts[0], (PixRect{2, 1, 4, 2}));  // closed by a painted pixel
  EXPECT_EQ(cuts[1], (PixRect{4, 2, 5, 3}));  // closed at the row's end
  // Rectangles hanging over any edge copy only what exists on both sides.
  cuts.clear();
  CopyMaskedRect({-2, 3, 9, 9}, {0, 0, 3, 1}, dest.Rows(), MaskImage::Own(strip.Rows()), 0xFF00FF, &cuts);
  EXPECT_EQ(dest.At(0, 3), (Bgr{1, 1, 1}));  // the source moved by 2 as well: (2, 0) is key
  EXPECT_EQ(dest.At(1, 3), (Bgr{10, 20, 30}));
  EXPECT_EQ(dest.At(0, 4), (Bgr{10, 20, 30}));
  EXPECT_EQ(dest.At(1, 4), (Bgr{1, 1, 1}));
  EXPECT_EQ(dest.At(2, 3), (Bgr{1, 1, 1}));  // two columns were left
  ASSERT_EQ(cuts.size(), 2u);
  EXPECT_EQ(cuts[0], (PixRect{0, 3, 1, 4}));
}

TEST(CopyMaskedRect, MasterImageWithoutMaskHalfIsAPlainBlockCopy) {
  PixelBuffer master = Filled(6, 6, kKey);
  master.At(3, 4) = Bgr{5, 6, 7};
  PixelBuffer dest = Filled(4, 4, Bgr{1, 1, 1});
  RegionCuts cuts;
  CopyMaskedRect({0, 0, 3, 3}, {2, 2, 5, 5}, dest.Rows(), MaskImage::InMaster(master.Rows(), {2, 2, 6, 6}, 1, 0),
                 0xFF00FF, &cuts);
  EXPECT_EQ(dest.At(0, 0), kKey);
  EXPECT_EQ(dest.At(1, 2), (Bgr{5, 6, 7}));
  EXPECT_TRUE(cuts.empty());
}

TEST(NinePartBorders, NarrowTargetsSplitTheCornersAndGetNoEdgeTiles) {
  PixelBuffer mask = CoordinateStrip(90, 60);  // cells 10 x 10
  PixelBuffer dest(15, 30);
  PaintMaskedBorders(dest.Rows(), MaskImage::Own(mask.Rows()), 0, false, 0xFF00FF, nullptr);
  EXPECT_EQ(SourceX(dest.At(6, 0)), 6);    // left corner: 7 wide
  EXPECT_EQ(SourceX(dest.At(7, 0)), 22);   // right corner: 8 wide, from 30 - 8
  EXPECT_EQ(SourceX(dest.At(14, 29)), 29);
  EXPECT_EQ(SourceY(dest.At(14, 29)), 29);  // bottom corners from half - B'
  EXPECT_EQ(SourceY(dest.At(0, 19)), 19);  // one left-edge tile clipped at H - B'
  EXPECT_EQ(SourceY(dest.At(0, 20)), 20);
  // Exactly 2 x CW wide: two full corners and nothing in between.
  PixelBuffer exact(20, 20);
  PaintMaskedBorders(exact.Rows(), MaskImage::Own(mask.Rows()), 0, false, 0xFF00FF, nullptr);
  EXPECT_EQ(SourceX(exact.At(9, 0)), 9);
  EXPECT_EQ(SourceX(exact.At(10, 0)), 20);
}

TEST(NinePartBorders, EdgesTileUntilTheFarCornerAndStatesPickTheirColumns) {
  PixelBuffer mask = CoordinateStrip(90, 60);
  PixelBuffer dest(45, 25);
  PaintMaskedBorders(dest.Rows(), MaskImage::Own(mask.Rows()), 1, true, 0xFF00FF, nullptr);
  // State 1: X0 = 30. Top edge tiles at 10, 20 and one clipped to 30..34.
  EXPECT_EQ(SourceX(dest.At(9, 0)), 39);
  EXPECT_EQ(SourceX(dest.At(10, 0)), 40);
  EXPECT_EQ(SourceX(dest.At(29, 0)), 49);
  EXPECT_EQ(SourceX(dest.At(34, 0)), 44);
  EXPECT_EQ(SourceX(dest.At(35, 0)), 50);  // top-right corner
  EXPECT_EQ(SourceX(dest.At(44, 12)), 59);  // right edge from X0 + 2 CW
  // Centre: one clipped row of tiles between the 10-high corners.
  EXPECT_EQ(SourceX(dest.At(12, 12)), 42);
  EXPECT_EQ(SourceY(dest.At(12, 14)), 14);
  EXPECT_EQ(SourceY(dest.At(12, 15)), 20);  // bottom row at H - B' from half - B'
  // A master image's state beyond the last frame paints the last frame.
  PixelBuffer last(20, 20), beyond(20, 20);
  MaskImage inMaster = MaskImage::InMaster(mask.Rows(), {0, 0, 90, 60}, 3, 1);
  PaintMaskedBorders(last.Rows(), inMaster, 2, true, 0xFF00FF, nullptr);
  PaintMaskedBorders(beyond.Rows(), inMaster, 3, true, 0xFF00FF, nullptr);
  EXPECT_EQ(SourceX(beyond.At(0, 0)), 60);
  EXPECT_TRUE(std::equal(&last.At(0, 0), &last.At(0, 0) + 20 * 20, &beyond.At(0, 0),
                         [](Bgr a, Bgr b) { return a == b; }));
}

TEST(NinePartBorders, KeyPixelsCutTheRegionOutsideTheCentreOnly) {
  PixelBuffer mask = CoordinateStrip(90, 60);
  mask.At(0, 0) = mask.At(1, 0) = kKey;  // top-left corner
  mask.At(12, 12) = kKey;                 // centre
  PixelBuffer dest = Filled(30, 30, Bgr{9, 9, 9});
  RegionCuts cuts;
  PaintMaskedBordersRgn(dest.Rows(), &cuts, true, 0, MaskImage::Own(mask.Rows()));
  ASSERT_EQ(cuts.size(), 1u);
  EXPECT_EQ(cuts[0], (PixRect{0, 0, 2, 1}));
  EXPECT_EQ(dest.At(0, 0), (Bgr{9, 9, 9}));
  EXPECT_EQ(dest.At(12, 12), kKey);  // the centre paints key pixels by the rule
}

TEST(NinePartBorders, SkinBordersLetTheParentShowThroughCornersOnly) {
  PixelBuffer mask = CoordinateStrip(90, 60);
  mask.At(0, 0) = kKey;
  mask.At(10, 0) = kKey;  // first column of the top edge
  PixelBuffer parent = Filled(50, 50, Bgr{77, 66, 55});
  parent.At(5 + 2, 6 + 3) = Bgr{1, 2, 3};
  PixelBuffer dest = Filled(30, 30, Bgr{9, 9, 9});
  ParentCacheRef ref{parent.Rows(), 5, 6, true};
  PaintSkinBorders(dest.Rows(), {2, 3, 28, 27}, false, 0, MaskImage::Own(mask.Rows()), ref);
  EXPECT_EQ(dest.At(2, 3), (Bgr{1, 2, 3}));  // corner key pixel: parent at (X + x, Y + y)
  EXPECT_EQ(dest.At(12, 3), kKey);           // edges use the empty reference
  EXPECT_EQ(dest.At(1, 3), (Bgr{9, 9, 9}));
  // The right edge comes from X0 + 3 CW - R' with width R'.
  EXPECT_EQ(SourceX(dest.At(27, 15)), 29);
  // Too small a rectangle paints nothing.
  PixelBuffer tiny = Filled(5, 5, Bgr{9, 9, 9});
  PaintSkinBorders(tiny.Rows(), {0, 0, 1, 5}, true, 0, MaskImage::Own(mask.Rows()), ref);
  EXPECT_EQ(tiny.At(0, 0), (Bgr{9, 9, 9}));
}

TEST(StripGlyph, FramesClampNegativePositionsShiftTheSourceAndModeFades) {
  PixelBuffer glyph = CoordinateStrip(30, 20);  // three 10 x 10 frames
  PixelBuffer dest(12, 12);
  DrawStripGlyph(dest.Rows(), {-3, 2}, 7, MaskImage::Own(glyph.Rows()), 1);
  EXPECT_EQ(SourceX(dest.At(0, 2)), 23);  // frame 2, moved by 3
  EXPECT_EQ(SourceY(dest.At(0, 2)), 0);
  EXPECT_EQ(SourceX(dest.At(6, 11)), 29);
  // Faded: M = min(0 + 100, 255) over a black destination.
  PixelBuffer faded(10, 10);
  DrawStripGlyph(faded.Rows(), {0, 0}, 0, MaskImage::Own(glyph.Rows()), 0);
  EXPECT_EQ(faded.At(0, 0).r, 200 * 156 / 256);
  // A master glyph without a mask half: mode 1 copies non-key pixels, any
  // other mode mixes them half and half.
  PixelBuffer master = Filled(4, 2, Bgr{100, 100, 100});
  master.At(1, 0) = kKey;
  PixelBuffer d1 = Filled(2, 2, Bgr{51, 51, 51}), d2 = Filled(2, 2, Bgr{51, 51, 51});
  MaskImage plain = MaskImage::InMaster(master.Rows(), {0, 0, 4, 2}, 2, 0);
  DrawStripGlyph(d1.Rows(), {0, 0}, 0, plain, 1);
  DrawStripGlyph(d2.Rows(), {0, 0}, 0, plain, 2);
  EXPECT_EQ(d1.At(0, 0), (Bgr{100, 100, 100}));
  EXPECT_EQ(d1.At(1, 0), (Bgr{51, 51, 51}));
  EXPECT_EQ(d2.At(0, 1), (Bgr{76, 76, 76}));  // 75.5 rounds to even 76
}

TEST(ColourArithmetic, PercentBlendsRoundHalfToEvenAndClipInclusively) {
  PixelBuffer b = Filled(4, 3, Bgr{3, 1, 200});
  BlendRectWithColor(b.Rows(), {1, 1, 9, 9}, 50, 0x000000);
  EXPECT_EQ(b.At(0, 0), (Bgr{3, 1, 200}));
  EXPECT_EQ(b.At(3, 2), (Bgr{2, 0, 100}));  // 1.5 -> 2, 0.5 -> 0
  BlendRectWithColor(b.Rows(), {0, 0, 3, 2}, 100, 0x123456);
  EXPECT_EQ(b.At(0, 0), (Bgr{3, 1, 200}));
  BlendRectWithColor(b.Rows(), {0, 0, 0, 0}, 0, 0x123456);
  EXPECT_EQ(b.At(0, 0), BgrFromColor(0x123456));
  EXPECT_EQ(b.At(1, 0), (Bgr{3, 1, 200}));
}

TEST(ColourArithmetic, BitmapMixesUseFactorOver256AndStayInsideBothBitmaps) {
  PixelBuffer d = Filled(3, 2, Bgr{1, 3, 255}), s = Filled(3, 2, Bgr{0, 0, 0});
  BlendBitmaps(d.Rows(), s.Rows(), 128 + 256);  // only the low byte counts
  EXPECT_EQ(d.At(2, 1), (Bgr{0, 2, 128}));    // 0.5 -> 0, 1.5 -> 2, 127.5 -> 128
  PixelBuffer other(2, 2);
  BlendBitmaps(d.Rows(), other.Rows(), 0);
  EXPECT_EQ(d.At(0, 0), (Bgr{0, 2, 128}));  // different sizes: nothing
  // BlendBitmapRect: rows and columns up to size + 1, clipped to both sides.
  PixelBuffer dest = Filled(4, 4, Bgr{200, 200, 200}), src = Filled(3, 3, Bgr{100, 100, 100});
  BlendBitmapRect(dest.Rows(), src.Rows(), 0x404040, {2, 2}, {0, 0, 3, 3});
  EXPECT_EQ(dest.At(3, 3), (Bgr{125, 125, 125}));  // (200 - 100) x 64/256 + 100
  EXPECT_EQ(dest.At(1, 3), (Bgr{200, 200, 200}));
  // Unequal factor bytes average to k = sum / 768.
  PixelBuffer d3 = Filled(1, 1, Bgr{200, 200, 200});
  BlendBitmapRect(d3.Rows(), src.Rows(), 0x0000FF, {0, 0}, {0, 0, 0, 0});
  EXPECT_EQ(d3.At(0, 0).b, 133);  // 100 x 255/768 + 100 = 133.2
}

TEST(ColourArithmetic, MaskTintsKeyedCopiesGreysAndTwoColourMixes) {
  PixelBuffer d = Filled(2, 1, Bgr{200, 100, 0}), m = Filled(2, 1, Bgr{255, 0, 128});
  ColorizeByMask(d.Rows(), m.Rows(), 0x0A0A0A);
  EXPECT_EQ(d.At(0, 0), (Bgr{(10 * 0 + 255 * 200) / 256, 10 * 255 / 256, (10 * 127 + 0) / 256}));
  PixelBuffer e = Filled(3, 3, Bgr{200, 200, 200}), band = Filled(2, 2, Bgr{0, 0, 0});
  BlendByMaskWithColor(e.Rows(), band.Rows(), 2, 0x191919, -1);
  EXPECT_EQ(e.At(2, 0), (Bgr{25, 25, 25}));
  EXPECT_EQ(e.At(2, 1), (Bgr{200, 200, 200}));
  PixelBuffer g = Filled(2, 1, Bgr{10, 20, 31});
  g.At(1, 0) = kKey;
  GrayBitmapExcept(g.Rows(), clFuchsia);
  EXPECT_EQ(g.At(0, 0), (Bgr{20, 20, 20}));
  EXPECT_EQ(g.At(1, 0), kKey);
  EXPECT_EQ(BlendTwoColors(0x0000FF, 0x000000, 0.5), 0x000080u);  // 127.5 -> 128
  EXPECT_EQ(BlendTwoColors(0x0000FF, 0x000000, -0.5), 0x0000FFu);  // 382.5 capped at 255
  PixelBuffer t = Filled(2, 2, Bgr{1, 1, 1}), src = Filled(2, 2, Bgr{50, 50, 50});
  src.At(0, 0) = kKey;
  CopyTransparent(t.Rows(), src.Rows(), 1, clFuchsia, -1);
  EXPECT_EQ(t.At(1, 0), (Bgr{50, 50, 50}));  // source (0, 1)
  EXPECT_EQ(t.At(0, 0), (Bgr{1, 1, 1}));
  PixelBuffer f = Filled(1, 1, Bgr{0, 0, 0});
  FadeBitmapToColor(f.Rows(), 0xFFFFFF, clFuchsia, 0.5);
  EXPECT_EQ(f.At(0, 0), (Bgr{128, 128, 128}));  // 127.5 -> 128
}

TEST(FrameLines, SoftLinesStepTowardTheFillColour) {
  std::vector<FrameLine> lines = FrameLineRuns({0, 0, 10, 8}, 0xC0C0C0, 0x404040, true, 0, 2, 0x000000);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].colour, clWhite);  // outermost line of each side
  EXPECT_EQ(lines[2].colour, clWhite);
  EXPECT_EQ(lines[4].run, (PixRect{1, 1, 2, 7}));  // inner left line, ends stepped in
  EXPECT_EQ(lines[4].colour, BlendTwoColors(0xC0C0C0, 0, 0.5));
  EXPECT_EQ(lines[6].colour, BlendTwoColors(0x404040, 0, 0.5));
  lines = FrameLineRuns({0, 0, 10, 8}, 0xC0C0C0, 0x404040, true, 1, 2, 0x000000);
  EXPECT_EQ(lines[0].colour, clBlack);
  EXPECT_EQ(lines[4].colour, BlendTwoColors(BlendTwoColors(0x404040, 0, 0.5), 0, 0.5));
  lines = FrameLineRuns({0, 0, 10, 8}, 0xC0C0C0, 0x404040, false, 0, 1, 0);
  EXPECT_EQ(lines[3].colour, 0x404040u);
}

TEST(Bevel, BandsTintEachPixelOnceAndWidthIsLimited) {
  PixelBuffer b = Filled(10, 8, Bgr{128, 128, 128});
  PaintBevel(b.Rows(), {0, 0, 10, 8}, 5, false, cbRaisedSoft);  // width limited to 8/2 - 1 = 3
  const Bgr lightTint{MaskChannel(128, 240, 127), MaskChannel(128, 240, 127), MaskChannel(128, 240, 127)};
  const Bgr darkTint{MaskChannel(128, 25, 127), MaskChannel(128, 25, 127), MaskChannel(128, 25, 127)};
  EXPECT_EQ(b.At(0, 0), lightTint);
  EXPECT_EQ(b.At(5, 2), lightTint);
  EXPECT_EQ(b.At(9, 0), darkTint);
  EXPECT_EQ(b.At(5, 7), darkTint);
  EXPECT_EQ(b.At(4, 3), (Bgr{128, 128, 128}));  // inside the bands
  // Width 1 is a frame: lowered kinds have black top and left.
  PaintBevel(b.Rows(), {0, 0, 10, 8}, 1, true, cbLoweredHard);
  EXPECT_EQ(b.At(0, 4), (Bgr{0, 0, 0}));
  EXPECT_EQ(b.At(9, 4), (Bgr{255, 255, 255}));
  PixelBuffer small = Filled(5, 5, Bgr{1, 1, 1});
  PaintBevel(small.Rows(), {0, 0, 5, 5}, 4, true, cbRaisedHard);  // 5/2 - 1 < 2: nothing
  EXPECT_EQ(small.At(0, 0), (Bgr{1, 1, 1}));
}

TEST(BlockCopy, SourceRectanglesOutsideTheSourceCopyNothing) {
  PixelBuffer src = Filled(4, 4, Bgr{5, 5, 5}), dest = Filled(4, 4, Bgr{1, 1, 1});
  CopyRect(dest.Rows(), 0, 0, src.Rows(), {300, 0, 310, 4});
  CopyRect(dest.Rows(), 0, 0, src.Rows(), {0, -20, 4, -2});
  CopyRect(dest.Rows(), 3, 3, src.Rows(), {-2, -2, 4, 4});
  EXPECT_EQ(dest.At(0, 0), (Bgr{1, 1, 1}));
  EXPECT_EQ(dest.At(3, 3), (Bgr{1, 1, 1}));  // (3, 3) would take source (-2, -2): clipped away
  CopyRect(dest.Rows(), 1, 1, src.Rows(), {-2, -2, 4, 4});
  EXPECT_EQ(dest.At(1, 1), (Bgr{1, 1, 1}));
  EXPECT_EQ(dest.At(3, 3), (Bgr{5, 5, 5}));  // source (0, 0) lands at (1 + 2, 1 + 2)
}

TEST(Tiling, TilesStartAtTheCornerAndTheLastAreClipped) {
  PixelBuffer tile = CoordinateStrip(3, 4);  // picture rows 0-1 only
  PixelRows picture = SubRows(tile.Rows(), {0, 0, 3, 2});
  PixelBuffer dest = Filled(8, 6, Bgr{9, 9, 9});
  TileImage(dest.Rows(), {-4, 1, 7, 40}, picture);
  EXPECT_EQ(SourceX(dest.At(0, 1)), 1);  // tiles start at -4: -4, -1, 2, 5
  EXPECT_EQ(SourceX(dest.At(2, 2)), 0);
  EXPECT_EQ(SourceX(dest.At(6, 5)), 1);
  EXPECT_EQ(dest.At(7, 5), (Bgr{9, 9, 9}));
  EXPECT_EQ(dest.At(0, 0), (Bgr{9, 9, 9}));
}

// Tiling pixel by pixel, the meaning the fast tiling must keep.
void ReferenceTile(PixelRows dest, PixRect rect, PixelRows tile) {
  for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, dest.height); ++y)
    for (int x = std::max(rect.Left, 0); x < std::min(rect.Right, dest.width); ++x)
      dest.At(x, y) = tile.At(((x - rect.Left) % tile.width + tile.width) % tile.width,
                              ((y - rect.Top) % tile.height + tile.height) % tile.height);
}

TEST(Tiling, EqualsThePixelByPixelTilingForEveryPhaseAndTileSize) {
  for (int tw : {1, 2, 3, 7, 64})
    for (int th : {1, 3, 5})
      for (PixRect r : {PixRect{0, 0, 50, 20}, PixRect{-5, -4, 33, 17}, PixRect{3, 2, 4, 3}, PixRect{-70, 1, 70, 30},
                        PixRect{10, 10, 10, 12}}) {
        PixelBuffer tile(tw, th);
        for (int y = 0; y < th; ++y)
          for (int x = 0; x < tw; ++x) tile.At(x, y) = Bgr{std::uint8_t(x * 7 + y), std::uint8_t(y * 13), 77};
        PixelBuffer fast = Filled(41, 23, Bgr{9, 9, 9}), slow = Filled(41, 23, Bgr{9, 9, 9});
        TileImage(fast.Rows(), r, tile.Rows());
        ReferenceTile(slow.Rows(), r, tile.Rows());
        for (int y = 0; y < 23; ++y)
          for (int x = 0; x < 41; ++x)
            ASSERT_EQ(fast.At(x, y), slow.At(x, y)) << tw << "x" << th << " at " << x << "," << y;
      }
}

TEST(Borders, AnUnmaskedCentreIsTheCentreCellTiled) {
  // Nine 2 x 3 cells, each of its own colour, no mask half.
  PixelBuffer mask(6, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 6; ++x) mask.At(x, y) = Bgr{std::uint8_t(x), std::uint8_t(y), 200};
  const MaskImage image = MaskImage::InMaster(mask.Rows(), {0, 0, 6, 9}, 1, 0);
  PixelBuffer dest = Filled(31, 20, Bgr{9, 9, 9});
  PaintSkinBorders(dest.Rows(), {1, 1, 30, 19}, true, 0, image, EmptyCacheRef);
  for (int y = 4; y < 16; ++y)
    for (int x = 3; x < 28; ++x)
      ASSERT_EQ(dest.At(x, y), (Bgr{std::uint8_t(2 + (x - 3) % 2), std::uint8_t(3 + (y - 4) % 3), 200})) << x << "," << y;
  EXPECT_EQ(dest.At(28, 10), (Bgr{4, 3 + (10 - 4) % 3, 200}));  // the right edge begins
}

}  // namespace
}  // namespace kestu
