#pragma once
// The device half of the skin engine's pixel library: soft shadows and tints
// (rounded-rectangle and ellipse masks drawn by GDI), frame lines with pens,
// window regions cut from border masks, the disabled look, skinned captions,
// and painting a section onto a device context. Pixel arithmetic stays in
// skin/core; this file draws masks and moves pixels in and out of DCs.

#include "base/PixRect.h"
#include "base/PixelRows.h"
#include "skin/core/PixelLib.h"
#include "skin/core/SkinData.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace kestu {

// A colour of the form $FF000000 + n is system colour n, resolved to RGB.
std::uint32_t ResolveColor(std::uint32_t colour);

// A 24-bit top-down DIB section selected into its own memory DC.
class DibSection {
 public:
  DibSection(int width, int height);
  ~DibSection();
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  bool Valid() const { return dc_ != nullptr && rows_.bits != nullptr; }
  HDC Dc() const { return dc_; }
  HBITMAP Bitmap() const { return bitmap_; }
  PixelRows Rows() const { return rows_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  PixelRows rows_;
};

// Removes the runs from the region.
void CutRegion(HRGN region, const RegionCuts& cuts);

// Nine-part borders that shrink a window region to the visible shape.
void PaintMaskedBorders(PixelRows dest, const MaskImage& mask, int state, bool fillCentre, std::uint32_t key,
                        HRGN region);
void PaintMaskedBordersRgn(PixelRows dest, HRGN region, bool fillCentre, int state, const MaskImage& mask);

// Soft shadow: the background under sourceRect of source, tinted by a mask
// of concentric rounded rectangles (ellipses with shape 1), copied to dest at
// point. Transparency 0 paints the plain colour, 100 the background.
void PaintSoftShadow(HDC source, PixRect sourceRect, HDC dest, int radius, int shape, int blur,
                     std::uint32_t colour, int transparency, PixPoint point);
// Soft rounded tint of rect (exclusive) of the bitmap, in place.
void PaintSoftBlend(PixelRows bitmap, PixRect rect, int percent, int radius, int blur, std::uint32_t colour);

enum TsDisabledKindFlag : unsigned { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKind = unsigned;  // a set of TsDisabledKindFlag
// The disabled look of a control image at position in its parent.
void ApplyDisabledKind(PixelRows bitmap, TsDisabledKind kind, std::uint32_t controlColour, PixPoint position,
                       const ParentCacheRef& parent);

// Frame lines on a device context (see FrameLineRuns for the colours).
void PaintFrameLines(HDC dc, PixRect rect, std::uint32_t light, std::uint32_t dark, bool soft, int kind, int width,
                     std::uint32_t fill);
void PaintEdgeFrame(HDC dc, PixRect rect, int width, std::uint32_t topLeft, std::uint32_t bottomRight);
void PaintDottedFrame(HDC dc, PixRect rect);
void FillDeviceRect(HDC dc, PixRect rect, std::uint32_t colour);

// Captions. ShortenText cuts the text to width with "..." appended.
std::wstring ShortenText(HDC dc, std::wstring_view text, int width);
// Without a section the text is drawn once in the DC's text colour.
void DrawSkinCaption(HDC dc, std::wstring_view text, bool enabled, bool hot, const TsGeneralData* section,
                     UINT format, PixRect rect);
void DrawControlCaption(HDC dc, std::wstring_view text, bool enabled, UINT format, PixRect rect);

// PaintSectionItem through a scratch bitmap of the rectangle's size, copied
// to the DC at the rectangle. A negative Left or Top paints nothing.
void PaintSectionToDC(const TsSkinData& skin, int sectionIndex, std::string_view sectionName,
                      const ParentCacheRef& parent, HDC dc, PixPoint offset, PixRect rect, bool hot, bool fillCentre);

}  // namespace kestu
