#pragma once
// Colours, fonts, brushes, pens, canvases and images over GDI. Every GDI
// object is owned by exactly one C++ object and released with it; a canvas
// selects its font, pen and brush back out before they change or go away.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "base/Colors.h"
#include "base/PixelRows.h"
#include "framework/Classes.h"

namespace kestu {

// The RGB value of a colour, with system colours looked up now.
COLORREF ColorToRGB(TColor color);

// Owns one GDI object.
template <class H> class GdiHandle {
 public:
  GdiHandle() = default;
  explicit GdiHandle(H h) : h_(h) {}
  GdiHandle(GdiHandle&& o) noexcept : h_(o.Release()) {}
  GdiHandle& operator=(GdiHandle&& o) noexcept {
    Reset(o.Release());
    return *this;
  }
  ~GdiHandle() { Reset(); }
  H Get() const { return h_; }
  H Release() {
    H h = h_;
    h_ = nullptr;
    return h;
  }
  void Reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

// Selects an object into a device context and selects the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC on construction, RestoreDC on scope exit.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDC() { RestoreDC(dc_, saved_); }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// A window's device context for the length of a scope: the client area, or
// the whole window with its frame.
class WindowDC {
 public:
  explicit WindowDC(HWND window, bool wholeWindow = false)
      : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Hands a region to a window, which owns it from then on; a region the window
// does not take (SetWindowRgn failed) is deleted. A null region takes the
// window's region away. Returns whether the window took it.
inline bool SetWindowRegion(HWND window, GdiHandle<HRGN> region, bool redraw) {
  if (!SetWindowRgn(window, region.Get(), redraw)) return false;
  region.Release();
  return true;
}

// A memory device context compatible with the screen, deleted on scope exit.
class MemoryDC {
 public:
  MemoryDC() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDC() { DeleteDC(dc_); }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Base of the GDI wrappers that tell their users when they change.
class TGraphicsObject : public TPersistent {
  KESTU_CLASS(TGraphicsObject, TPersistent)
 public:
  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent e) { onChange_ = std::move(e); }
  // The native handle is out of date and is rebuilt on next use.
  bool HandleStale() const { return stale_; }

 protected:
  // Tells the user of a change; a change of what the native handle is built
  // from also marks the handle stale.
  void Changed(bool reshapes = true);
  bool stale_ = false;

 private:
  TNotifyEvent onChange_;
};

using TFontStyles = std::uint32_t;
enum : TFontStyles { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontCharset = std::uint8_t;

class TFont : public TGraphicsObject {
  KESTU_CLASS(TFont, TGraphicsObject)
 public:
  TFont();
  ~TFont() override;
  void Assign(const TPersistent* source) override;

  const String& Name() const { return name_; }
  void SetName(const String& value);
  int Height() const { return height_; }
  void SetHeight(int value);
  // Points: -Height * 72 / PixelsPerInch, rounded.
  int Size() const;
  void SetSize(int value);
  int Charset() const { return charset_; }
  void SetCharset(int value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }

  HFONT Handle();
  // Takes the attributes of a logical font (e.g. the system menu font).
  void AssignLogFont(const LOGFONTW& font);
  // Native fonts built by all fonts of the process so far.
  static std::size_t NativeFontsCreated();

 private:
  // Takes all attributes at once: one change at most, which rebuilds the
  // native font only when one of the shaping attributes differs.
  void SetShape(const String& name, int height, int charset, TFontStyles style, TColor color);

  String name_ = L"MS Sans Serif";
  int height_ = -11;
  int charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
  int pixelsPerInch_ = 96;
  GdiHandle<HFONT> handle_;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
  KESTU_CLASS(TBrush, TGraphicsObject)
 public:
  TBrush() = default;
  void Assign(const TPersistent* source) override;
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);
  HBRUSH Handle();

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  GdiHandle<HBRUSH> handle_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
  KESTU_CLASS(TPen, TGraphicsObject)
 public:
  TPen() = default;
  void Assign(const TPersistent* source) override;
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Width() const { return width_; }
  void SetWidth(int value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  HPEN Handle();

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  GdiHandle<HPEN> handle_;
};

class TGraphic;

class TCanvas : public TPersistent {
  KESTU_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  explicit TCanvas(HDC dc);  // not owned
  ~TCanvas() override;

  HDC Handle();
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }
  TFont* Font() { return &font_; }
  TBrush* Brush() { return &brush_; }
  TPen* Pen() { return &pen_; }

  POINT PenPos() const { return penPos_; }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int cx, int cy);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Polygon(const POINT* points, int count);
  void Polyline(const POINT* points, int count);
  void TextOut(int x, int y, const String& text);
  void TextRect(const RECT& r, int x, int y, const String& text);
  // DrawTextW with the canvas font; returns the text height.
  int DrawText(const String& text, RECT& r, UINT format);
  SIZE TextExtent(const String& text);
  int TextWidth(const String& text) { return int(TextExtent(text).cx); }
  int TextHeight(const String& text) { return int(TextExtent(text).cy); }
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const RECT& r, TGraphic* graphic);
  void CopyRect(const RECT& dest, TCanvas* source, const RECT& sourceRect);
  DWORD CopyMode() const { return copyMode_; }
  void SetCopyMode(DWORD rop) { copyMode_ = rop; }
  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  RECT ClipRect();
  void IntersectClip(const RECT& r) { IntersectClipRect(Handle(), r.left, r.top, r.right, r.bottom); }
  void ExcludeClip(const RECT& r) { ExcludeClipRect(Handle(), r.left, r.top, r.right, r.bottom); }
  // Clips to a region (copied by the context); nullptr removes the clipping.
  void SelectClipRegion(HRGN region) { SelectClipRgn(Handle(), region); }
  int Save() { return SaveDC(Handle()); }
  void Restore(int saved);

 protected:
  // Descendants that get their context on demand (a window's) override this.
  virtual void CreateHandle() {}
  // Puts the original objects back into the context.
  void DeselectHandles();

 private:
  void RequireFont();
  void RequirePen();
  void RequireBrush();

  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  POINT penPos_{0, 0};
  DWORD copyMode_ = SRCCOPY;
  HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
  HFONT selectedFont_ = nullptr;
  HPEN selectedPen_ = nullptr;
  HBRUSH selectedBrush_ = nullptr;
};

// Draws a 3-D frame `width` pixels wide inside `r` and shrinks `r` by it.
void Frame3D(TCanvas* canvas, RECT& r, TColor topLeft, TColor bottomRight, int width);

class TGraphic : public TPersistent {
  KESTU_CLASS(TGraphic, TPersistent)
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  virtual void Draw(TCanvas* canvas, const RECT& r) = 0;
  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent e) { onChange_ = std::move(e); }

 protected:
  void Changed();
  bool transparent_ = false;

 private:
  TNotifyEvent onChange_;
};

class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

// A 24-bit top-down DIB section whose rows are addressed directly.
class TBitmap : public TGraphic {
  KESTU_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;
  void Assign(const TPersistent* source) override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int value) { SetSize(value, height_); }
  void SetHeight(int value) { SetSize(width_, value); }
  // Keeps the pixels that still fit; new pixels are black.
  void SetSize(int width, int height);
  HBITMAP Handle() const { return bitmap_.Get(); }
  TCanvas* Canvas();
  // The rows, after flushing pending GDI drawing.
  PixelRows Rows();

  // The key colour: clDefault means the bottom-left pixel.
  TColor TransparentColor();
  void SetTransparentColor(TColor value);

  void Draw(TCanvas* canvas, const RECT& r) override;

  void LoadFromResourceName(HINSTANCE instance, const String& name);
  // A BMP file image; its total-size and pixel-offset fields are not trusted.
  void LoadFromBmp(const std::uint8_t* data, std::size_t size);
  void LoadFromFile(const String& path);
  // A stored bitmap: a 4-byte little-endian length, then a BMP file.
  void LoadFromStoredData(const Bytes& data);
  void SaveToBmp(Bytes& out);

 private:
  void LoadDib(const std::uint8_t* info, std::size_t size);
  void AssignPixels(PixelBuffer pixels);
  void ReleaseCanvas();

  int width_ = 0, height_ = 0;
  GdiHandle<HBITMAP> bitmap_;
  std::uint8_t* bits_ = nullptr;
  TColor transparentColor_ = clDefault;
  std::unique_ptr<MemoryDC> dc_;
  HGDIOBJ oldBitmap_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
};

class TIcon : public TGraphic {
  KESTU_CLASS(TIcon, TGraphic)
 public:
  TIcon() = default;
  ~TIcon() override;
  void Assign(const TPersistent* source) override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  HICON Handle() const { return icon_; }
  // Takes ownership of the icon.
  void SetHandle(HICON icon);
  void LoadFromResourceName(HINSTANCE instance, const String& name, int size = 0);
  // An .ico file image; the entry closest to the system icon size is used.
  void LoadFromIco(const Bytes& data);
  void Draw(TCanvas* canvas, const RECT& r) override;

 private:
  HICON icon_ = nullptr;
  int width_ = 0, height_ = 0;
};

// A JPEG image, decoded into a 24-bit bitmap when loaded.
class TJPEGImage : public TGraphic {
  KESTU_CLASS(TJPEGImage, TGraphic)
 public:
  TJPEGImage() = default;
  void Assign(const TPersistent* source) override;
  int Width() const override { return bitmap_.Width(); }
  int Height() const override { return bitmap_.Height(); }
  // Decode as grey-scale from the next load on.
  bool Grayscale() const { return grayscale_; }
  void SetGrayscale(bool v) { grayscale_ = v; }
  void LoadFromData(const std::uint8_t* data, std::size_t size);
  void LoadFromFile(const String& path);
  TBitmap* Bitmap() { return &bitmap_; }
  void Draw(TCanvas* canvas, const RECT& r) override;

 private:
  TBitmap bitmap_;
  bool grayscale_ = false;
};

// Reads a whole file; raises Exception naming it when it cannot be read.
Bytes ReadFileBytes(const String& path);

// Holds one graphic: a bitmap, an icon or a JPEG image.
class TPicture : public TPersistent {
  KESTU_CLASS(TPicture, TPersistent)
 public:
  TPicture();
  ~TPicture() override;
  void Assign(const TPersistent* source) override;
  TGraphic* Graphic() const { return graphic_.get(); }
  // Copies the graphic (nullptr clears).
  void SetGraphic(TGraphic* graphic);
  // The held bitmap, replacing any other graphic with an empty bitmap.
  TBitmap* Bitmap();
  TIcon* Icon();
  // Loads a .bmp, .jpg/.jpeg or .ico file by its extension.
  void LoadFromFile(const String& path, bool grayscale = false);
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  // Stored form: a length-prefixed class name, then that class's stored data.
  void LoadFromStoredData(const Bytes& data);
  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent e) { onChange_ = std::move(e); }

 private:
  void Changed();
  void Take(std::unique_ptr<TGraphic> graphic);
  std::unique_ptr<TGraphic> graphic_;
  TNotifyEvent onChange_;
};

}  // namespace kestu
