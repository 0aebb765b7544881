#pragma once
// Where a skinned button puts its glyph and caption, and the size it takes
// when it sizes itself to them. Integer arithmetic with truncating division,
// so each rule can be checked without a window.

#include "base/PixRect.h"

namespace kestu {

// Layout: where the glyph sits relative to the caption.
enum TsGlyphLayout : int { glGlyphLeft, glGlyphRight, glGlyphTop, glGlyphBottom };
// Alignment of the block: 0 left, 1 right, 2 centre.
// Text format of the caption: 0 left, 1 centre, 2 right.
enum TsTextFormat : int { tfLeft, tfCentre, tfRight };

struct ButtonContentInput {
  int W = 0, H = 0;    // the control
  int GW = 0, GH = 0;  // the glyph, 0 x 0 without one
  int TW = 0, TH = 0;  // the caption as measured (see CaptionMeasureWidth)
  int S = 0;           // spacing, 0 unless there are both a glyph and a caption
  int Margin = 0;
  int Alignment = 2;
  int Layout = glGlyphLeft;
  bool Down = false;
};

struct ButtonContentLayout {
  PixRect Caption;  // already widened to (left - 1, top, right + 2, bottom)
  PixPoint Glyph;   // top-left corner of the GW x GH glyph
  int TextFormat = tfLeft;
  int d = 0, e = 0;
};

// The spacing in force: Spacing only with both a glyph and a shown caption.
int EffectiveSpacing(int spacing, bool hasGlyph, bool hasCaption);
// The width the caption is word-wrapped in.
int CaptionMeasureWidth(int W, int GW, int margin, int S);
ButtonContentLayout LayoutButtonContent(const ButtonContentInput& in);

// AutoSize: the button's size for its glyph and caption. TW is the caption's
// unwrapped width, charH the height of "W" in the button's font.
struct ButtonAutoSizeInput {
  int GW = 0, GH = 0, TW = 0, charH = 0, S = 0;
  int BevelWidth = 2, Margin = 0, Layout = glGlyphLeft;
  bool HasCaption = false;
};
PixPoint ButtonAutoSize(const ButtonAutoSizeInput& in);

}  // namespace kestu
