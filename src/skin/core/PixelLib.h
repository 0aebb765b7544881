#pragma once
// The skin engine's pixel library, portable half: masked copies (the mask
// rule), nine-part borders from mask strips, strip glyphs, colour arithmetic
// on whole bitmaps and rectangles, bevels and frame lines, tiling. All of it
// works on directly addressed 24-bit rows (PixelRows). Routines clip to the
// bitmaps they touch; none reports an error to its caller.

#include "base/Colors.h"
#include "base/PixRect.h"
#include "base/PixelRows.h"

#include <cstdint>
#include <vector>

namespace kestu {

// Rule 1 of the mask: each channel D' = (D x M + S x (256 - M)) div 256.
// M = 0 gives S; M = 255 still lets 1/256 of the picture through.
constexpr std::uint8_t MaskChannel(unsigned d, unsigned s, unsigned m) {
  return std::uint8_t((d * m + s * (256 - m)) >> 8);
}

// A key (transparent) colour. Values of $FF000000 and above (unresolved
// system colours) match no pixel.
struct KeyColour {
  bool active = false;
  Bgr value{};
  static KeyColour From(std::uint32_t colour) {
    return colour >= 0xFF000000u ? KeyColour{} : KeyColour{true, BgrFromColor(colour)};
  }
  bool Matches(Bgr p) const { return active && p == value; }
};

// The already painted background of a control's parent (ParentCacheRef).
struct ParentCacheRef {
  PixelRows Bitmap;  // the parent's cached background
  int X = 0;         // this control's origin in Bitmap
  int Y = 0;
  bool Valid = false;  // when false no parent pixel is ever read
  bool Ready() const { return Valid && !Bitmap.Empty(); }
  ParentCacheRef Shifted(int dx, int dy) const { return {Bitmap, X + dx, Y + dy, Valid}; }
};
inline const ParentCacheRef EmptyCacheRef{};

// A picture with (optionally) its mask below it, as found either in an own
// bitmap (3 frames, picture half above mask half) or in a rectangle of the
// master bitmap (ImageCount frames, MaskType + 1 halves).
struct MaskImage {
  PixelRows bits;    // the bitmap that holds the image (own or master)
  PixRect area;      // the image inside bits (Right, Bottom exclusive)
  int frames = 3;    // state pictures side by side
  int halves = 2;    // picture half plus mask halves
  bool masked = true;  // false: no mask half (plain copies)
  bool own = true;     // the image is a bitmap of its own

  static MaskImage Own(PixelRows bitmap) { return {bitmap, {0, 0, bitmap.width, bitmap.height}, 3, 2, true, true}; }
  // A rectangle with a coordinate beyond +-2^20 (no bitmap is that large)
  // gives no image.
  static MaskImage InMaster(PixelRows master, PixRect sourceRect, int imageCount, int maskType) {
    constexpr int kFar = 1 << 20;
    for (int v : {sourceRect.Left, sourceRect.Top, sourceRect.Right, sourceRect.Bottom})
      if (v < -kFar || v > kFar) return {{}, {}, 1, 1, false, false};
    return {master, sourceRect, imageCount < 1 ? 1 : imageCount, (maskType < 0 ? 0 : maskType) + 1,
            maskType >= 1, false};
  }
  bool Present() const { return !bits.Empty() && area.Width() > 0 && area.Height() > 0; }
  int MaskOffset() const { return masked ? area.Height() / 2 : 0; }  // picture row to mask row
  int PictureBottom() const { return area.Top + area.Height() / halves; }  // exclusive
};

// Rectangles cut from a window region: runs of key-colour pixels, one row
// high, in destination coordinates (Right and Bottom exclusive).
using RegionCuts = std::vector<PixRect>;

// ---- masked copies

// Masked copy of one rectangle; both rectangles are inclusive, src lies in
// the picture half. Key-colour pixels are left out and, when cuts is given,
// recorded as runs to remove from the region. An image without mask half is
// a plain block copy.
void CopyMaskedRect(PixRect dst, PixRect src, PixelRows dest, const MaskImage& mask, std::uint32_t key,
                    RegionCuts* cuts);
// The same for glyphs; any mode but 1 fades the picture (M := min(M + 100, 255)).
void CopyMaskedGlyphRect(PixRect dst, PixRect src, PixelRows dest, const MaskImage& mask, int mode,
                         std::uint32_t key);
// Masked copy where clFuchsia pixels take the parent's pixel (when the
// reference is ready). Rectangles exclusive; negative starts are clipped.
void CopyMaskedRectCI(PixRect dst, PixRect src, PixelRows dest, const ParentCacheRef& parent,
                      const MaskImage& mask);

// ---- nine-part borders

// Borders over the whole destination from a 9 x 6-cell mask bitmap (or a
// master-bitmap image); corners and edges cut key-colour runs from the region.
void PaintMaskedBorders(PixelRows dest, const MaskImage& mask, int state, bool fillCentre, std::uint32_t key,
                        RegionCuts* cuts);
// The same from a skin image entry with the key colour fixed to clFuchsia;
// an image without mask half is block-copied and cuts nothing.
void PaintMaskedBordersRgn(PixelRows dest, RegionCuts* cuts, bool fillCentre, int state, const MaskImage& mask);
// Borders inside rect (exclusive); the corners see the parent (the reference
// must already be shifted by the control's offset).
void PaintSkinBorders(PixelRows dest, PixRect rect, bool fillCentre, int state, const MaskImage& mask,
                      const ParentCacheRef& parent);

// One frame of a glyph strip at a position.
void DrawStripGlyph(PixelRows dest, PixPoint position, int state, const MaskImage& mask, int mode);

// ---- colour arithmetic (rounding: nearest, ties to even)

void BlendRectWithColor(PixelRows bitmap, PixRect rect /*inclusive*/, int percent, std::uint32_t colour);
void BlendBitmapRect(PixelRows dest, PixelRows src, std::uint32_t factorColour, PixPoint point, PixRect srcRect);
void BlendBitmaps(PixelRows dest, PixelRows src, int factor);
void BlendTransparent(PixelRows dest, int x, int y, std::uint32_t key, double factor, PixRect srcRect,
                      PixelRows src);
void FadeBitmapToColor(PixelRows bitmap, std::uint32_t colour, std::uint32_t key, double factor);
void ColorizeByMask(PixelRows dest, PixelRows mask, std::uint32_t colour);
void BlendByMaskWithColor(PixelRows dest, PixelRows mask, int x, std::uint32_t colour, int y);
void GrayBitmap(PixelRows bitmap);
void GrayBitmapExcept(PixelRows bitmap, std::uint32_t key);
std::uint32_t BlendTwoColors(std::uint32_t c1, std::uint32_t c2, double factor);
void CopyTransparent(PixelRows dest, PixelRows src, int x, std::uint32_t key, int y);
void CopyTransparentRect(PixelRows dest, PixelRows src, int x, std::uint32_t key, PixRect srcRect, int y);
// Plain block copy of srcRect (exclusive) to (x, y), clipped on both sides.
void CopyRect(PixelRows dest, int x, int y, PixelRows src, PixRect srcRect);

// ---- bevels and frame lines

enum TsControlBevel : std::uint8_t { cbNone, cbRaisedSoft, cbLoweredSoft, cbRaisedHard, cbLoweredHard };
enum TsEditorBevel : std::uint8_t { ebNone, ebRaised, ebLowered, ebAsTopBorder, ebAsBottomBorder };
// The names the kinds are stored under in form descriptions, in value order.
inline constexpr const char* kControlBevelNames[] = {"cbNone", "cbRaisedSoft", "cbLoweredSoft", "cbRaisedHard",
                                                     "cbLoweredHard"};
inline constexpr const char* kEditorBevelNames[] = {"ebNone", "ebRaised", "ebLowered", "ebAsTopBorder",
                                                    "ebAsBottomBorder"};

// One line of a frame: a one-pixel-thick run (Right, Bottom exclusive).
struct FrameLine {
  PixRect run;
  std::uint32_t colour;
};
// The lines of PaintFrameLines in drawing order: for each nested line i,
// left, top, right and bottom sides; kind 0 raised, 1 lowered, 2 flat light,
// 3 flat dark.
std::vector<FrameLine> FrameLineRuns(PixRect rect, std::uint32_t light, std::uint32_t dark, bool soft, int kind,
                                     int width, std::uint32_t fill);
void PaintFrameLines(PixelRows bitmap, PixRect rect, std::uint32_t light, std::uint32_t dark, bool soft, int kind,
                     int width, std::uint32_t fill);
// The bevel of a section (rect exclusive).
void PaintBevel(PixelRows bitmap, PixRect rect, int width, bool soft, TsControlBevel kind);

// ---- tiling

// The part of the rows inside rect (clipped); empty when nothing is left.
PixelRows SubRows(PixelRows rows, PixRect rect);
// Tiles rect (exclusive) of dest from its top-left corner with the tile.
void TileImage(PixelRows dest, PixRect rect, PixelRows tile);

}  // namespace kestu
