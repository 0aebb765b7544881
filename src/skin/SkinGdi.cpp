#include "skin/SkinGdi.h"

#include "skin/core/PixelFill.h"
#include "skin/core/SectionPaint.h"

#include <algorithm>
#include <cmath>

namespace kestu {

namespace {

// RAII for the handles this file creates.
struct GdiObject {
  HGDIOBJ handle;
  explicit GdiObject(HGDIOBJ h) : handle(h) {}
  ~GdiObject() {
    if (handle) DeleteObject(handle);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
};

struct Selected {
  HDC dc;
  HGDIOBJ previous;
  Selected(HDC d, HGDIOBJ object) : dc(d), previous(SelectObject(d, object)) {}
  ~Selected() {
    if (previous) SelectObject(dc, previous);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
};

struct SavedDc {
  HDC dc;
  int state;
  explicit SavedDc(HDC d) : dc(d), state(SaveDC(d)) {}
  ~SavedDc() {
    if (state) RestoreDC(dc, state);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;
};

COLORREF Ref(std::uint32_t colour) { return COLORREF(ResolveColor(colour) & 0xFFFFFF); }

// Fills [left, right) x [top, bottom) of a mask with a grey shape. The pen
// has the brush's colour: without one GDI implementations disagree on
// whether the last row and column are filled.
void FillRing(HDC dc, int left, int top, int right, int bottom, int corner, bool ellipse, int grey) {
  if (right <= left || bottom <= top) return;
  GdiObject brush(CreateSolidBrush(RGB(grey, grey, grey)));
  GdiObject pen(CreatePen(PS_SOLID, 1, RGB(grey, grey, grey)));
  Selected b(dc, brush.handle);
  Selected p(dc, pen.handle);
  if (ellipse)
    Ellipse(dc, left, top, right, bottom);
  else if (corner > 0)
    RoundRect(dc, left, top, right, bottom, corner, corner);
  else
    Rectangle(dc, left, top, right, bottom);
}

int RoundToEven(double v) { return int(std::nearbyint(v)); }

}  // namespace

std::uint32_t ResolveColor(std::uint32_t colour) {
  if (colour >= 0xFF000000u) return std::uint32_t(GetSysColor(int(colour & 0xFF)));
  return colour & 0xFFFFFF;
}

DibSection::DibSection(int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  dc_ = CreateCompatibleDC(nullptr);
  if (!dc_) return;
  previous_ = SelectObject(dc_, bitmap_);
  rows_ = {static_cast<std::uint8_t*>(bits), width, height, StrideFor(width)};
}

DibSection::~DibSection() {
  if (dc_) {
    if (previous_) SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

void CutRegion(HRGN region, const RegionCuts& cuts) {
  if (!region || cuts.empty()) return;
  GdiObject run(CreateRectRgn(0, 0, 0, 0));
  for (const PixRect& r : cuts) {
    SetRectRgn(HRGN(run.handle), r.Left, r.Top, r.Right, r.Bottom);
    CombineRgn(region, region, HRGN(run.handle), RGN_DIFF);
  }
}

void PaintMaskedBorders(PixelRows dest, const MaskImage& mask, int state, bool fillCentre, std::uint32_t key,
                        HRGN region) {
  RegionCuts cuts;
  PaintMaskedBorders(dest, mask, state, fillCentre, ResolveColor(key), region ? &cuts : static_cast<RegionCuts*>(nullptr));
  CutRegion(region, cuts);
}

void PaintMaskedBordersRgn(PixelRows dest, HRGN region, bool fillCentre, int state, const MaskImage& mask) {
  RegionCuts cuts;
  PaintMaskedBordersRgn(dest, region ? &cuts : static_cast<RegionCuts*>(nullptr), fillCentre, state, mask);
  CutRegion(region, cuts);
}

void PaintSoftShadow(HDC source, PixRect sourceRect, HDC dest, int radius, int shape, int blur,
                     std::uint32_t colour, int transparency, PixPoint point) {
  const int W = sourceRect.Width(), H = sourceRect.Height();
  if (W <= 0 || H <= 0) return;
  DibSection background(W, H);
  if (!background.Valid()) return;
  BitBlt(background.Dc(), 0, 0, W, H, source, sourceRect.Left, sourceRect.Top, SRCCOPY);
  const std::uint32_t c = ResolveColor(colour);
  if (transparency <= 0) {
    FillSolid(background.Rows(), {0, 0, W, H}, BgrFromColor(c));
  } else if (transparency < 100) {
    DibSection mask(W, H);
    if (!mask.Valid()) return;
    FillSolid(mask.Rows(), {0, 0, W, H}, Bgr{255, 255, 255});
    const int b = std::clamp(blur, 0, std::min(W, H) / 2);
    const int base = transparency * 255 / 100;
    for (int i = 0; i <= b; ++i) {
      int grey = base + RoundToEven((255.0 - base) / (b + 1) * (b - i));
      FillRing(mask.Dc(), i, i, W - i, H - i, radius + b, shape == 1, grey);
    }
    GdiFlush();
    ColorizeByMask(background.Rows(), mask.Rows(), c);
  }
  GdiFlush();
  BitBlt(dest, point.X, point.Y, W, H, background.Dc(), 0, 0, SRCCOPY);
}

void PaintSoftBlend(PixelRows bitmap, PixRect rect, int percent, int radius, int blur, std::uint32_t colour) {
  PixelRows area = SubRows(bitmap, rect);
  if (area.Empty()) return;
  const int W = area.width, H = area.height;
  DibSection mask(W, H);
  if (!mask.Valid()) return;
  FillSolid(mask.Rows(), {0, 0, W, H}, Bgr{255, 255, 255});  // ring 0 and the corners
  const int b = std::clamp(blur, 0, std::min(W, H) / 2);
  const int base = std::clamp(percent, 0, 100) * 255 / 100;
  for (int i = 1; i <= b; ++i) {
    int grey = base + RoundToEven((255.0 - base) / (b + 1) * (b - i + 1));
    FillRing(mask.Dc(), i, i, W - i, H - i, radius, false, grey);
  }
  if (radius > 0) {
    FillRing(mask.Dc(), b, b, W - b, H - b, radius, false, std::clamp(base, 0, 255));
    GdiFlush();
  } else {
    GdiFlush();
    auto grey = std::uint8_t(std::clamp(base, 0, 255));
    FillSolid(mask.Rows(), {b, b, W - b, H - b}, Bgr{grey, grey, grey});
  }
  ColorizeByMask(area, mask.Rows(), ResolveColor(colour));
}

void ApplyDisabledKind(PixelRows bitmap, TsDisabledKind kind, std::uint32_t controlColour, PixPoint position,
                       const ParentCacheRef& parent) {
  if (bitmap.Empty()) return;
  if (kind & dkGrayed) GrayBitmap(bitmap);
  if (!(kind & dkBlended)) return;
  if (parent.Ready()) {
    const int x = parent.X + position.X, y = parent.Y + position.Y;
    BlendTransparent(bitmap, 0, 0, 0xFFFFFFFFu, 0.5, {x, y, x + bitmap.width, y + bitmap.height}, parent.Bitmap);
  } else {
    PaintSoftBlend(bitmap, {0, 0, bitmap.width, bitmap.height}, 50, 0, 0, controlColour);
  }
}

void PaintFrameLines(HDC dc, PixRect rect, std::uint32_t light, std::uint32_t dark, bool soft, int kind, int width,
                     std::uint32_t fill) {
  Selected brush(dc, GetStockObject(NULL_BRUSH));
  for (const FrameLine& line : FrameLineRuns(rect, ResolveColor(light), ResolveColor(dark), soft, kind, width,
                                             ResolveColor(fill))) {
    GdiObject pen(CreatePen(PS_SOLID, 1, Ref(line.colour)));
    Selected selected(dc, pen.handle);
    const PixRect& r = line.run;
    // A run is one pixel thick; LineTo leaves out its end point.
    if (r.Height() == 1) {
      MoveToEx(dc, r.Left, r.Top, nullptr);
      LineTo(dc, r.Right, r.Top);
    } else {
      MoveToEx(dc, r.Left, r.Top, nullptr);
      LineTo(dc, r.Left, r.Bottom);
    }
  }
}

void PaintEdgeFrame(HDC dc, PixRect rect, int width, std::uint32_t topLeft, std::uint32_t bottomRight) {
  Selected brush(dc, GetStockObject(NULL_BRUSH));
  GdiObject light(CreatePen(PS_SOLID, 1, Ref(topLeft)));
  GdiObject dark(CreatePen(PS_SOLID, 1, Ref(bottomRight)));
  for (int i = 0; i < width; ++i) {
    const int L = rect.Left + i, T = rect.Top + i, R = rect.Right - 1 - i, B = rect.Bottom - 1 - i;
    if (R < L || B < T) break;
    {
      Selected pen(dc, light.handle);
      POINT first[3] = {{L, B}, {L, T}, {R, T}};
      Polyline(dc, first, 3);
    }
    Selected pen(dc, dark.handle);
    POINT second[3] = {{L, B}, {R, B}, {R, T - 1}};
    Polyline(dc, second, 3);
  }
}

void PaintDottedFrame(HDC dc, PixRect rect) {
  const int L = rect.Left, T = rect.Top, R = rect.Right - 1, B = rect.Bottom - 1;
  if (R < L || B < T) return;
  // The outline clockwise from the top-left corner; every third pixel.
  int index = 0;
  auto dot = [&](int x, int y) {
    if (index++ % 3 != 0) return;
    SetPixel(dc, x, y, RGB(0, 0, 0));
    SetPixel(dc, x - 1, y - 1, RGB(255, 255, 255));
  };
  for (int x = L; x < R; ++x) dot(x, T);
  for (int y = T; y < B; ++y) dot(R, y);
  for (int x = R; x > L; --x) dot(x, B);
  for (int y = B; y > T; --y) dot(L, y);
  if (R == L || B == T) dot(R, B);
}

void FillDeviceRect(HDC dc, PixRect rect, std::uint32_t colour) {
  GdiObject brush(CreateSolidBrush(Ref(colour)));
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  FillRect(dc, &r, HBRUSH(brush.handle));
}

namespace {

int TextWidth(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), int(text.size()), &size);
  return size.cx;
}

void DrawAt(HDC dc, std::wstring_view text, RECT r, int dx, int dy, COLORREF colour, UINT format) {
  OffsetRect(&r, dx, dy);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.data(), int(text.size()), &r, format);
}

}  // namespace

std::wstring ShortenText(HDC dc, std::wstring_view text, int width) {
  if (width <= 0) return {};
  if (TextWidth(dc, text) <= width) return std::wstring(text);
  std::wstring shortened(text);
  while (!shortened.empty()) {
    shortened.pop_back();
    if (TextWidth(dc, shortened + L"...") <= width) break;
  }
  return shortened.empty() ? std::wstring() : shortened + L"...";
}

void DrawSkinCaption(HDC dc, std::wstring_view text, bool enabled, bool hot, const TsGeneralData* section,
                     UINT format, PixRect rect) {
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  if (!(format & DT_WORDBREAK)) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.data(), int(text.size()), &extent);
    r.top += (rect.Height() - extent.cy) / 2;
    r.bottom = r.top + extent.cy;
    if (format & DT_CENTER)
      r.left += (rect.Width() - extent.cx) / 2;
    else if (format & DT_RIGHT)
      r.left = r.right - extent.cx;
    r.right = r.left + extent.cx;
    InflateRect(&r, 1, 1);
  }
  SavedDc saved(dc);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  if (!enabled) {
    DrawAt(dc, text, r, 1, 1, GetSysColor(COLOR_BTNHIGHLIGHT), format);
    DrawAt(dc, text, r, 0, 0, GetSysColor(COLOR_BTNSHADOW), format);
  } else if (section) {
    const std::int32_t* colours = hot ? section->HotFontColor : section->FontColor;
    static constexpr int kDx[5] = {0, -1, 0, 1, 0}, kDy[5] = {0, 0, -1, 0, 1};
    for (int i = 1; i < 5; ++i)
      if (colours[i] != -1) DrawAt(dc, text, r, kDx[i], kDy[i], Ref(std::uint32_t(colours[i])), format);
    DrawAt(dc, text, r, 0, 0, Ref(std::uint32_t(colours[0])), format);
  } else {
    DrawTextW(dc, text.data(), int(text.size()), &r, format);
  }
}

void DrawControlCaption(HDC dc, std::wstring_view text, bool enabled, UINT format, PixRect rect) {
  DrawSkinCaption(dc, text, enabled, false, nullptr, format, rect);
}

void PaintSectionToDC(const TsSkinData& skin, int sectionIndex, std::string_view sectionName,
                      const ParentCacheRef& parent, HDC dc, PixPoint offset, PixRect rect, bool hot, bool fillCentre) {
  if (rect.Left < 0 || rect.Top < 0 || rect.Width() <= 0 || rect.Height() <= 0 || !skin.IsValidSection(sectionIndex))
    return;
  SavedDc saved(dc);
  DibSection scratch(rect.Width(), rect.Height());
  if (!scratch.Valid()) return;
  PaintSectionItem(skin, sectionIndex, sectionName, parent, scratch.Rows(),
                   {offset.X + rect.Left, offset.Y + rect.Top}, {0, 0, rect.Width(), rect.Height()}, hot, fillCentre);
  BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), scratch.Dc(), 0, 0, SRCCOPY);
}

}  // namespace kestu
