// Where the skinned button puts glyph and caption for each layout and
// alignment, and the size AutoSize gives it; the numbers are worked out by
// hand from the rules.
#include "skin/core/ButtonLayout.h"

#include <gtest/gtest.h>

namespace kestu {
namespace {

ButtonContentInput Sample(int layout, int alignment, int H = 25) {
  ButtonContentInput in;
  in.W = 75;
  in.H = H;
  in.GW = in.GH = 16;
  in.TW = 20;
  in.TH = 13;
  in.S = 3;
  in.Layout = layout;
  in.Alignment = alignment;
  return in;
}

struct Expected {
  int layout, alignment, captionLeft, captionRight, glyphX;
};

TEST(SkinButtonLayout, GlyphBesideTheCaptionForEachAlignment) {
  // d = (75 - 16 - 3 - 20) div 2 = 18; the caption spans rows 6..19 and the
  // glyph starts at row (25 - 16) div 2 = 4.
  const Expected cases[] = {
      {glGlyphLeft, 2, 36, 59, 18},  {glGlyphLeft, 0, 18, 41, 0},   {glGlyphLeft, 1, 54, 77, 36},
      {glGlyphRight, 0, -1, 22, 20}, {glGlyphRight, 1, 35, 58, 59}, {glGlyphRight, 2, 17, 40, 41},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.layout << " alignment " << c.alignment);
    const ButtonContentLayout l = LayoutButtonContent(Sample(c.layout, c.alignment));
    EXPECT_EQ(l.d, 18);
    EXPECT_EQ(l.Caption.Left, c.captionLeft);
    EXPECT_EQ(l.Caption.Right, c.captionRight);
    EXPECT_EQ(l.Caption.Top, 6);
    EXPECT_EQ(l.Caption.Bottom, 19);
    EXPECT_EQ(l.Glyph.X, c.glyphX);
    EXPECT_EQ(l.Glyph.Y, 4);
    EXPECT_EQ(l.TextFormat, c.layout == glGlyphLeft ? tfLeft : tfRight);
  }
}

TEST(SkinButtonLayout, GlyphAboveOrBelowTheCaptionCentresTheBlock) {
  // e = (50 - 16 - 3 - 13) div 2 = 9: the block of glyph, spacing and
  // caption runs from row 9 to row 41 either way.
  const ButtonContentLayout top = LayoutButtonContent(Sample(glGlyphTop, 2, 50));
  EXPECT_EQ(top.e, 9);
  EXPECT_EQ(top.Glyph, (PixPoint{29, 9}));
  EXPECT_EQ(top.Caption.Top, 28);
  EXPECT_EQ(top.Caption.Bottom, 41);
  EXPECT_EQ(top.Caption.Left, 26);
  EXPECT_EQ(top.Caption.Right, 50);
  EXPECT_EQ(top.TextFormat, tfCentre);

  const ButtonContentLayout bottom = LayoutButtonContent(Sample(glGlyphBottom, 0, 50));
  EXPECT_EQ(bottom.Glyph, (PixPoint{29, 25}));
  EXPECT_EQ(bottom.Caption.Top, 9);
  EXPECT_EQ(bottom.Caption.Bottom, 22);
  EXPECT_EQ(bottom.TextFormat, tfCentre);

  // A margin moves nothing of a centred block: e shrinks by what y gains.
  ButtonContentInput margin = Sample(glGlyphTop, 2, 50);
  margin.Margin = 2;
  EXPECT_EQ(LayoutButtonContent(margin).e, 7);
  EXPECT_EQ(LayoutButtonContent(margin).Glyph.Y, 9);
}

TEST(SkinButtonLayout, DownMovesGlyphAndCaptionOnePixelRightAndDown) {
  ButtonContentInput in = Sample(glGlyphLeft, 2);
  const ButtonContentLayout up = LayoutButtonContent(in);
  in.Down = true;
  const ButtonContentLayout down = LayoutButtonContent(in);
  EXPECT_EQ(down.Glyph, (PixPoint{up.Glyph.X + 1, up.Glyph.Y + 1}));
  EXPECT_EQ(down.Caption.Left, up.Caption.Left + 1);
  EXPECT_EQ(down.Caption.Bottom, up.Caption.Bottom + 1);
}

TEST(SkinButtonLayout, CaptionAloneAndItsMeasureWidth) {
  // Without a glyph there is no spacing, and the caption is centred.
  EXPECT_EQ(EffectiveSpacing(3, false, true), 0);
  EXPECT_EQ(EffectiveSpacing(3, true, false), 0);
  EXPECT_EQ(EffectiveSpacing(3, true, true), 3);
  // The caption wraps in the width left by glyph, margins and spacing.
  EXPECT_EQ(CaptionMeasureWidth(75, 16, 2, 3), 52);
  ButtonContentInput in;
  in.W = 193;
  in.H = 25;
  in.TW = 151;
  in.TH = 12;
  const ButtonContentLayout l = LayoutButtonContent(in);
  EXPECT_EQ(l.d, 21);
  EXPECT_EQ(l.Caption.Left, 20);
  EXPECT_EQ(l.Caption.Right, 174);
  EXPECT_EQ(l.Caption.Top, 6);
  EXPECT_EQ(l.Caption.Bottom, 19);
}

TEST(SkinButtonLayout, AutoSizeCountsBevelsSpacingAndMargins) {
  ButtonAutoSizeInput in;
  in.GW = in.GH = 16;
  in.TW = 20;
  in.charH = 13;
  in.S = 3;
  in.BevelWidth = 2;
  in.Margin = 1;
  in.HasCaption = true;
  EXPECT_EQ(ButtonAutoSize(in), (PixPoint{45, 22}));
  in.Layout = glGlyphBottom;
  EXPECT_EQ(ButtonAutoSize(in), (PixPoint{22, 38}));
  in.TW = 30;  // a caption wider than the glyph sets the width
  EXPECT_EQ(ButtonAutoSize(in).X, 32);
  in.HasCaption = false;
  EXPECT_EQ(ButtonAutoSize(in), (PixPoint{22, 22}));
}

}  // namespace
}  // namespace kestu
