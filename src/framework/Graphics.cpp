#include "framework/Graphics.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <iterator>
#include <optional>

#include "base/Bmp.h"
#include "base/Jpeg.h"

namespace kestu {

COLORREF ColorToRGB(TColor color) {
  const std::uint32_t c = color;
  if ((c & 0xFF000000u) == 0xFF000000u) return GetSysColor(int(c & 0xFF));
  return c & 0x00FFFFFFu;
}

bool IdentToColor(std::string_view name, std::int64_t& value) {
  static const struct {
    const char* name;
    TColor color;
  } kColors[] = {
      {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
      {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
      {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
      {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
      {"clNone", clNone}, {"clDefault", clDefault}, {"clScrollBar", clScrollBar},
      {"clBackground", clBackground}, {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption}, {"clMenu", clMenu}, {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame}, {"clMenuText", clMenuText}, {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText}, {"clActiveBorder", clActiveBorder},
      {"clInactiveBorder", clInactiveBorder}, {"clAppWorkSpace", clAppWorkSpace},
      {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow}, {"clGrayText", clGrayText}, {"clBtnText", clBtnText},
      {"clInactiveCaptionText", clInactiveCaptionText}, {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk}, {"clHotLight", clHotLight},
      {"clGradientActiveCaption", clGradientActiveCaption},
      {"clGradientInactiveCaption", clGradientInactiveCaption}, {"clMenuHighlight", clMenuHighlight},
      {"clMenuBar", clMenuBar},
  };
  for (const auto& c : kColors) {
    if (SameText(c.name, name)) {
      value = std::int64_t(c.color);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------

KESTU_PUBLISH(TGraphicsObject) {}

void TGraphicsObject::Changed(bool reshapes) {
  if (reshapes) stale_ = true;
  if (onChange_) onChange_(this);
}

KESTU_PUBLISH(TBrush) {
  p.Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite);
  p.Enum("Style", &TBrush::Style, &TBrush::SetStyle, bsSolid,
         {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
}

void TBrush::Assign(const TPersistent* source) {
  auto* b = dynamic_cast<const TBrush*>(source);
  if (!b) return TPersistent::Assign(source);
  if (color_ == b->color_ && style_ == b->style_) return;
  color_ = b->color_;
  style_ = b->style_;
  Changed();
}
void TBrush::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}
HBRUSH TBrush::Handle() {
  if (stale_) {
    handle_.Reset();
    stale_ = false;
  }
  if (!handle_) {
    LOGBRUSH lb{};
    lb.lbColor = ColorToRGB(color_);
    switch (style_) {
      case bsSolid: lb.lbStyle = BS_SOLID; break;
      case bsClear: lb.lbStyle = BS_HOLLOW; break;
      default:
        lb.lbStyle = BS_HATCHED;
        lb.lbHatch = ULONG_PTR(style_ - bsHorizontal);
    }
    handle_.Reset(CreateBrushIndirect(&lb));
  }
  return handle_.Get();
}

KESTU_PUBLISH(TPen) {
  p.Color("Color", &TPen::Color, &TPen::SetColor, clBlack);
  p.Enum("Style", &TPen::Style, &TPen::SetStyle, psSolid,
         {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"});
  p.Int("Width", &TPen::Width, &TPen::SetWidth, 1);
}

void TPen::Assign(const TPersistent* source) {
  auto* p = dynamic_cast<const TPen*>(source);
  if (!p) return TPersistent::Assign(source);
  if (color_ == p->color_ && width_ == p->width_ && style_ == p->style_) return;
  color_ = p->color_;
  width_ = p->width_;
  style_ = p->style_;
  Changed();
}
void TPen::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}
void TPen::SetWidth(int value) {
  if (value == width_) return;
  width_ = value;
  Changed();
}
void TPen::SetStyle(TPenStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}
HPEN TPen::Handle() {
  if (stale_) {
    handle_.Reset();
    stale_ = false;
  }
  if (!handle_) {
    static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    handle_.Reset(CreatePen(kStyles[style_], width_, ColorToRGB(color_)));
  }
  return handle_.Get();
}

// ---------------------------------------------------------------------------
// TCanvas

KESTU_PUBLISH(TCanvas) {}

TCanvas::TCanvas() {
  // A changed tool must leave the context before its old handle is deleted.
  font_.SetOnChange([this](TObject*) {
    if (font_.HandleStale() && dc_ && oldFont_) SelectObject(dc_, oldFont_), oldFont_ = nullptr, selectedFont_ = nullptr;
  });
  pen_.SetOnChange([this](TObject*) {
    if (dc_ && oldPen_) SelectObject(dc_, oldPen_), oldPen_ = nullptr, selectedPen_ = nullptr;
  });
  brush_.SetOnChange([this](TObject*) {
    if (dc_ && oldBrush_) SelectObject(dc_, oldBrush_), oldBrush_ = nullptr, selectedBrush_ = nullptr;
  });
}

TCanvas::TCanvas(HDC dc) : TCanvas() { dc_ = dc; }

TCanvas::~TCanvas() { DeselectHandles(); }

void TCanvas::DeselectHandles() {
  if (!dc_) return;
  if (oldFont_) SelectObject(dc_, oldFont_);
  if (oldPen_) SelectObject(dc_, oldPen_);
  if (oldBrush_) SelectObject(dc_, oldBrush_);
  oldFont_ = oldPen_ = oldBrush_ = nullptr;
  selectedFont_ = nullptr;
  selectedPen_ = nullptr;
  selectedBrush_ = nullptr;
}

HDC TCanvas::Handle() {
  if (!dc_) CreateHandle();
  if (!dc_) throw Exception(L"Canvas does not allow drawing");
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  DeselectHandles();
  dc_ = dc;
}

void TCanvas::RequireFont() {
  HDC dc = Handle();
  HFONT f = font_.Handle();
  if (f != selectedFont_) {
    HGDIOBJ old = SelectObject(dc, f);
    if (!oldFont_) oldFont_ = old;
    selectedFont_ = f;
  }
  SetTextColor(dc, ColorToRGB(font_.Color()));
}

void TCanvas::RequirePen() {
  HDC dc = Handle();
  HPEN p = pen_.Handle();
  if (p != selectedPen_) {
    HGDIOBJ old = SelectObject(dc, p);
    if (!oldPen_) oldPen_ = old;
    selectedPen_ = p;
  }
}

void TCanvas::RequireBrush() {
  HDC dc = Handle();
  HBRUSH b = brush_.Handle();
  if (b != selectedBrush_) {
    HGDIOBJ old = SelectObject(dc, b);
    if (!oldBrush_) oldBrush_ = old;
    selectedBrush_ = b;
  }
  SetBkColor(dc, ColorToRGB(brush_.Color()));
  SetBkMode(dc, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::MoveTo(int x, int y) {
  MoveToEx(Handle(), x, y, nullptr);
  penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
  RequirePen();
  ::LineTo(Handle(), x, y);
  penPos_ = {x, y};
}

void TCanvas::FillRect(const RECT& r) {
  RequireBrush();
  ::FillRect(Handle(), &r, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& r) {
  RequireBrush();
  ::FrameRect(Handle(), &r, brush_.Handle());
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  RequirePen();
  RequireBrush();
  ::Rectangle(Handle(), x1, y1, x2, y2);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cx, int cy) {
  RequirePen();
  RequireBrush();
  ::RoundRect(Handle(), x1, y1, x2, y2, cx, cy);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  RequirePen();
  RequireBrush();
  ::Ellipse(Handle(), x1, y1, x2, y2);
}

void TCanvas::Polygon(const POINT* points, int count) {
  RequirePen();
  RequireBrush();
  ::Polygon(Handle(), points, count);
}

void TCanvas::Polyline(const POINT* points, int count) {
  RequirePen();
  ::Polyline(Handle(), points, count);
}

void TCanvas::TextOut(int x, int y, const String& text) {
  RequireFont();
  RequireBrush();
  ExtTextOutW(Handle(), x, y, 0, nullptr, text.c_str(), UINT(text.size()), nullptr);
}

void TCanvas::TextRect(const RECT& r, int x, int y, const String& text) {
  RequireFont();
  RequireBrush();
  UINT options = ETO_CLIPPED | (brush_.Style() != bsClear ? ETO_OPAQUE : 0);
  ExtTextOutW(Handle(), x, y, options, &r, text.c_str(), UINT(text.size()), nullptr);
}

int TCanvas::DrawText(const String& text, RECT& r, UINT format) {
  RequireFont();
  RequireBrush();
  return ::DrawTextW(Handle(), text.c_str(), int(text.size()), &r, format);
}

SIZE TCanvas::TextExtent(const String& text) {
  RequireFont();
  SIZE s{0, 0};
  GetTextExtentPoint32W(Handle(), text.c_str(), int(text.size()), &s);
  return s;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  RECT r{x, y, x + graphic->Width(), y + graphic->Height()};
  graphic->Draw(this, r);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic* graphic) {
  if (graphic && !graphic->Empty()) graphic->Draw(this, r);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas* source, const RECT& s) {
  StretchBlt(Handle(), dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source->Handle(),
             s.left, s.top, s.right - s.left, s.bottom - s.top, copyMode_);
}

TColor TCanvas::Pixel(int x, int y) { return TColor(GetPixel(Handle(), x, y)); }

void TCanvas::SetPixel(int x, int y, TColor color) { ::SetPixelV(Handle(), x, y, ColorToRGB(color)); }

RECT TCanvas::ClipRect() {
  RECT r{};
  GetClipBox(Handle(), &r);
  return r;
}

void TCanvas::Restore(int saved) {
  // RestoreDC puts back whatever was selected at Save time.
  RestoreDC(Handle(), saved);
  selectedFont_ = nullptr;
  selectedPen_ = nullptr;
  selectedBrush_ = nullptr;
}

void Frame3D(TCanvas* canvas, RECT& r, TColor topLeft, TColor bottomRight, int width) {
  canvas->Pen()->SetWidth(1);
  --r.bottom, --r.right;
  for (int i = 0; i < width; ++i) {
    canvas->Pen()->SetColor(topLeft);
    POINT tl[] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
    canvas->Polyline(tl, 3);
    canvas->Pen()->SetColor(bottomRight);
    POINT br[] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
    canvas->Polyline(br, 3);
    InflateRect(&r, -1, -1);
  }
  ++r.bottom, ++r.right;
}

// ---------------------------------------------------------------------------
// TGraphic, TBitmap

KESTU_PUBLISH(TGraphic) {}

void TGraphic::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed();
}

void TGraphic::Changed() {
  if (onChange_) onChange_(this);
}

KESTU_PUBLISH(TBitmap) { p.Binary("Data", &TBitmap::LoadFromStoredData); }

TBitmap::TBitmap() = default;
TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() { ReleaseCanvas(); }

void TBitmap::ReleaseCanvas() {
  canvas_.reset();
  if (dc_ && oldBitmap_) SelectObject(dc_->Get(), oldBitmap_);
  oldBitmap_ = nullptr;
  dc_.reset();
}

namespace {
// Pixel counts beyond this are refused rather than allocated.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;
}  // namespace

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  if (std::int64_t(width) * height > kMaxPixels) throw EInvalidGraphic(L"Bitmap too large");
  GdiHandle<HBITMAP> fresh;
  std::uint8_t* bits = nullptr;
  if (width > 0 && height > 0) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    fresh.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
    if (!fresh) throw EInvalidGraphic(L"Out of system resources");
    bits = static_cast<std::uint8_t*>(p);
    std::memset(bits, 0, std::size_t(StrideFor(width)) * std::size_t(height));
    if (bits_) {
      GdiFlush();
      const std::size_t rowBytes = std::size_t(std::min(width, width_)) * 3;
      for (int y = 0; y < std::min(height, height_); ++y)
        std::memcpy(bits + StrideFor(width) * y, bits_ + StrideFor(width_) * y, rowBytes);
    }
  }
  ReleaseCanvas();
  bitmap_ = std::move(fresh);
  bits_ = bits;
  width_ = width;
  height_ = height;
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    if (!bitmap_) SetSize(std::max(width_, 1), std::max(height_, 1));
    dc_ = std::make_unique<MemoryDC>();
    oldBitmap_ = SelectObject(dc_->Get(), bitmap_.Get());
    canvas_ = std::make_unique<TCanvas>(dc_->Get());
  }
  return canvas_.get();
}

PixelRows TBitmap::Rows() {
  GdiFlush();
  return PixelRows{bits_, width_, height_, StrideFor(width_)};
}

TColor TBitmap::TransparentColor() {
  if (transparentColor_ != clDefault) return transparentColor_;
  if (!bits_) return clDefault;
  return TColor(ColorFromBgr(Rows().At(0, height_ - 1)));
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == transparentColor_) return;
  transparentColor_ = value;
  Changed();
}

void TBitmap::Draw(TCanvas* canvas, const RECT& r) {
  if (!bitmap_) return;
  // A bitmap is selected into one device context at a time: once its own
  // canvas holds it, the copy reads through that canvas.
  std::optional<MemoryDC> scratch;
  std::optional<SelectedObject> selected;
  HDC source = dc_ ? dc_->Get() : nullptr;
  if (!source) {
    source = scratch.emplace().Get();
    selected.emplace(source, bitmap_.Get());
  }
  HDC dc = canvas->Handle();
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (transparent_) {
    TransparentBlt(dc, r.left, r.top, w, h, source, 0, 0, width_, height_, ColorToRGB(TransparentColor()));
  } else if (w == width_ && h == height_) {
    BitBlt(dc, r.left, r.top, w, h, source, 0, 0, canvas->CopyMode());
  } else {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, w, h, source, 0, 0, width_, height_, canvas->CopyMode());
  }
}

void TBitmap::Assign(const TPersistent* source) {
  auto* b = dynamic_cast<const TBitmap*>(source);
  if (!b) return TPersistent::Assign(source);
  if (b == this) return;
  ReleaseCanvas();
  bitmap_.Reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  SetSize(b->width_, b->height_);
  if (bits_) {
    GdiFlush();
    std::memcpy(bits_, b->bits_, std::size_t(StrideFor(width_)) * std::size_t(height_));
  }
  transparent_ = b->transparent_;
  transparentColor_ = b->transparentColor_;
  Changed();
}

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

namespace {

// Bitmaps from outside are checked and decoded by the portable reader (one
// place for every header), so GDI is never handed a header of outside data.
template <class Read>
PixelBuffer Checked(Read read) {
  PixelBuffer pixels;
  try {
    pixels = read();
  } catch (const BmpError& e) {
    throw EInvalidGraphic(L"Bitmap image is not valid: " + Utf8ToString(e.what()));
  }
  if (pixels.Width() == 0) throw EInvalidGraphic(L"Bitmap image is not valid");
  return pixels;
}

}  // namespace

void TBitmap::AssignPixels(PixelBuffer pixels) {
  ReleaseCanvas();
  bitmap_.Reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  SetSize(pixels.Width(), pixels.Height());
  PixelRows to = Rows();
  for (int y = 0; y < to.height; ++y) std::memcpy(to.Row(y), pixels.Rows().Row(y), std::size_t(to.width) * 3);
  Changed();
}

void TBitmap::LoadDib(const std::uint8_t* info, std::size_t size) {
  AssignPixels(Checked([&] { return ReadDib(info, size, kMaxPixels); }));
}

void TBitmap::LoadFromBmp(const std::uint8_t* data, std::size_t size) {
  // The file header's total size and pixel offset are not used: the pixels
  // follow the info header and colour table.
  AssignPixels(Checked([&] { return ReadBmp(data, size, {.usePixelOffset = false, .maxPixels = kMaxPixels}); }));
}

void TBitmap::LoadFromStoredData(const Bytes& data) {
  if (data.size() < 4) throw EInvalidGraphic(L"Bitmap data is truncated");
  const std::uint32_t length = Le32(data.data());
  if (length > data.size() - 4) throw EInvalidGraphic(L"Bitmap data is truncated");
  if (length == 0) {
    ReleaseCanvas();
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    Changed();
    return;
  }
  LoadFromBmp(data.data() + 4, length);
}

Bytes ReadFileBytes(const String& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw Exception(L"Cannot open file \"" + path + L"\"");
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  Bytes data;
  if (size.QuadPart >= (std::int64_t(1) << 30)) {
    CloseHandle(file);
    throw Exception(L"File \"" + path + L"\" is too large");
  }
  data.resize(std::size_t(size.QuadPart));
  DWORD read = 0;
  if (!data.empty()) ReadFile(file, data.data(), DWORD(data.size()), &read, nullptr);
  data.resize(read);
  CloseHandle(file);
  return data;
}

void TBitmap::LoadFromFile(const String& path) {
  const Bytes data = ReadFileBytes(path);
  // A file's pixels are where its header says, when they fit there.
  AssignPixels(Checked([&] { return ReadBmp(data.data(), data.size(), {.usePixelOffset = true, .maxPixels = kMaxPixels}); }));
}

KESTU_PUBLISH(TJPEGImage) {}

void TJPEGImage::Assign(const TPersistent* source) {
  auto* j = dynamic_cast<const TJPEGImage*>(source);
  if (!j) return TPersistent::Assign(source);
  bitmap_.Assign(&j->bitmap_);
  grayscale_ = j->grayscale_;
  Changed();
}

void TJPEGImage::LoadFromData(const std::uint8_t* data, std::size_t size) {
  PixelBuffer pixels;
  try {
    pixels = DecodeJpeg(data, size, grayscale_, kMaxPixels);
  } catch (const JpegError& e) {
    throw EInvalidGraphic(L"JPEG error: " + Utf8ToString(e.what()));
  }
  bitmap_.SetSize(0, 0);
  bitmap_.SetSize(pixels.Width(), pixels.Height());
  PixelRows to = bitmap_.Rows(), from = pixels.Rows();
  for (int y = 0; y < to.height; ++y) std::memcpy(to.Row(y), from.Row(y), std::size_t(to.width) * 3);
  Changed();
}

void TJPEGImage::LoadFromFile(const String& path) {
  const Bytes data = ReadFileBytes(path);
  LoadFromData(data.data(), data.size());
}

void TJPEGImage::Draw(TCanvas* canvas, const RECT& r) { bitmap_.Draw(canvas, r); }

void TBitmap::LoadFromResourceName(HINSTANCE instance, const String& name) {
  HRSRC res = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!res) throw EInvalidGraphic(L"Resource " + name + L" not found");
  HGLOBAL mem = LoadResource(instance, res);
  const auto* p = static_cast<const std::uint8_t*>(LockResource(mem));
  LoadDib(p, SizeofResource(instance, res));
}

void TBitmap::SaveToBmp(Bytes& out) {
  const std::size_t imageBytes = std::size_t(StrideFor(width_)) * std::size_t(height_);
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = DWORD(fh.bfOffBits + imageBytes);
  ih.biSize = sizeof ih;
  ih.biWidth = width_;
  ih.biHeight = height_;  // bottom-up on disk
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biSizeImage = DWORD(imageBytes);
  out.resize(fh.bfSize);
  std::memcpy(out.data(), &fh, sizeof fh);
  std::memcpy(out.data() + sizeof fh, &ih, sizeof ih);
  PixelRows rows = Rows();
  for (int y = 0; y < height_; ++y)
    std::memcpy(out.data() + fh.bfOffBits + std::size_t(StrideFor(width_)) * std::size_t(height_ - 1 - y),
                rows.Row(y), std::size_t(StrideFor(width_)));
}

// ---------------------------------------------------------------------------
// TIcon, TPicture

KESTU_PUBLISH(TIcon) { p.Binary("Data", &TIcon::LoadFromIco); }

void TIcon::LoadFromIco(const Bytes& data) {
  if (data.empty()) return SetHandle(nullptr);
  // ICONDIR (6 bytes) then 16-byte entries: size at 8, offset at 12.
  if (data.size() < 6 || data[0] != 0 || data[1] != 0 || data[2] != 1 || data[3] != 0)
    throw EInvalidGraphic(L"Icon image is not valid");
  const std::size_t count = std::size_t(data[4] | data[5] << 8);
  if (count == 0 || 6 + count * 16 > data.size()) throw EInvalidGraphic(L"Icon image is truncated");
  const int want = GetSystemMetrics(SM_CXICON);
  std::size_t best = 0;
  int bestDistance = 1 << 30;
  for (std::size_t i = 0; i < count; ++i) {
    const int w = data[6 + i * 16] ? data[6 + i * 16] : 256;
    if (std::abs(w - want) < bestDistance) bestDistance = std::abs(w - want), best = i;
  }
  const std::uint8_t* entry = data.data() + 6 + best * 16;
  const std::uint32_t size = Le32(entry + 8), offset = Le32(entry + 12);
  if (offset > data.size() || size > data.size() - offset || size < 40) throw EInvalidGraphic(L"Icon image is truncated");
  const int w = entry[0] ? entry[0] : 256, h = entry[1] ? entry[1] : 256;
  HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(data.data() + offset), size, TRUE, 0x00030000, w, h,
                                        LR_DEFAULTCOLOR);
  if (!icon) throw EInvalidGraphic(L"Icon image is not valid");
  SetHandle(icon);
}

TIcon::~TIcon() {
  if (icon_) DestroyIcon(icon_);
}

void TIcon::SetHandle(HICON icon) {
  if (icon == icon_) return;
  if (icon_) DestroyIcon(icon_);
  icon_ = icon;
  width_ = height_ = 0;
  if (icon_) {
    ICONINFO ii{};
    if (GetIconInfo(icon_, &ii)) {
      BITMAP bm{};
      GetObjectW(ii.hbmMask, sizeof bm, &bm);
      width_ = bm.bmWidth;
      height_ = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
      if (ii.hbmColor) DeleteObject(ii.hbmColor);
      if (ii.hbmMask) DeleteObject(ii.hbmMask);
    }
  }
  Changed();
}

void TIcon::Assign(const TPersistent* source) {
  auto* i = dynamic_cast<const TIcon*>(source);
  if (!i) return TPersistent::Assign(source);
  if (i == this) return;
  SetHandle(i->icon_ ? CopyIcon(i->icon_) : nullptr);
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const String& name, int size) {
  auto icon = static_cast<HICON>(LoadImageW(instance, name.c_str(), IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE));
  if (!icon) throw EInvalidGraphic(L"Icon " + name + L" not found");
  SetHandle(icon);
}

void TIcon::Draw(TCanvas* canvas, const RECT& r) {
  if (icon_) DrawIconEx(canvas->Handle(), r.left, r.top, icon_, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
}

KESTU_PUBLISH(TPicture) { p.Binary("Data", &TPicture::LoadFromStoredData); }

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (onChange_) onChange_(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->SetOnChange([this](TObject*) { Changed(); });
  Changed();
}

void TPicture::SetGraphic(TGraphic* graphic) {
  if (!graphic) return Take(nullptr);
  std::unique_ptr<TGraphic> copy;
  if (dynamic_cast<TBitmap*>(graphic)) copy = std::make_unique<TBitmap>();
  else if (dynamic_cast<TJPEGImage*>(graphic)) copy = std::make_unique<TJPEGImage>();
  else if (dynamic_cast<TIcon*>(graphic)) copy = std::make_unique<TIcon>();
  else throw EInvalidGraphic(L"Unsupported graphic " + graphic->ClassName());
  copy->Assign(graphic);
  Take(std::move(copy));
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) return Take(nullptr);
  if (auto* p = dynamic_cast<const TPicture*>(source)) return SetGraphic(p->graphic_.get());
  if (auto* g = dynamic_cast<const TGraphic*>(source)) return SetGraphic(const_cast<TGraphic*>(g));
  TPersistent::Assign(source);
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_.get())) Take(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(graphic_.get())) Take(std::make_unique<TIcon>());
  return static_cast<TIcon*>(graphic_.get());
}

void TPicture::LoadFromFile(const String& path, bool grayscale) {
  const std::size_t dot = path.find_last_of(L'.');
  String ext = dot == String::npos ? String() : path.substr(dot + 1);
  for (wchar_t& c : ext) c = wchar_t(std::towlower(c));
  if (ext == L"jpg" || ext == L"jpeg") {
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->SetGrayscale(grayscale);
    jpeg->LoadFromFile(path);
    Take(std::move(jpeg));
  } else if (ext == L"ico") {
    auto icon = std::make_unique<TIcon>();
    auto handle = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    if (!handle) throw EInvalidGraphic(L"Cannot load icon " + path);
    icon->SetHandle(handle);
    Take(std::move(icon));
  } else {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromFile(path);
    Take(std::move(bitmap));
  }
}

void TPicture::LoadFromStoredData(const Bytes& data) {
  if (data.empty()) return Take(nullptr);
  const std::size_t nameLength = data[0];
  if (1 + nameLength > data.size()) throw EInvalidGraphic(L"Picture data is truncated");
  const std::string className(reinterpret_cast<const char*>(data.data() + 1), nameLength);
  Bytes rest(data.begin() + std::ptrdiff_t(1 + nameLength), data.end());
  if (SameText(className, "TBitmap")) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromStoredData(rest);
    Take(std::move(bitmap));
  } else if (SameText(className, "TIcon")) {  // the .ico file itself
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromIco(rest);
    Take(std::move(icon));
  } else if (SameText(className, "TJPEGImage")) {  // a 4-byte length, then the JPEG file
    if (rest.size() < 4) throw EInvalidGraphic(L"Picture data is truncated");
    const std::uint32_t length = Le32(rest.data());
    if (length > rest.size() - 4) throw EInvalidGraphic(L"Picture data is truncated");
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromData(rest.data() + 4, length);
    Take(std::move(jpeg));
  } else {
    throw EInvalidGraphic(L"Unsupported picture class " + Utf8ToString(className));
  }
}

}  // namespace kestu
