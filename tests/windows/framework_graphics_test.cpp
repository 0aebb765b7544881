// Colours, fonts, canvases and bitmaps over GDI.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/Graphics.h"

namespace kestu {
namespace {

// A 24-bit BMP file of w x h, every pixel `colour` ($00BBGGRR).
Bytes Bmp24(int w, int h, std::uint32_t colour, std::uint32_t fileSize, std::uint32_t offBits) {
  const int stride = int(StrideFor(w));
  Bytes b(14 + 40 + std::size_t(stride * h));
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(b.data() + at, &v, 4); };
  auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(b.data() + at, &v, 2); };
  b[0] = 'B', b[1] = 'M';
  put32(2, fileSize);
  put32(10, offBits);
  put32(14, 40);
  put32(18, std::uint32_t(w));
  put32(22, std::uint32_t(h));
  put16(26, 1);
  put16(28, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = b.data() + 54 + y * stride + x * 3;
      p[0] = std::uint8_t(colour >> 16), p[1] = std::uint8_t(colour >> 8), p[2] = std::uint8_t(colour);
    }
  return b;
}

Bytes Stored(const Bytes& bmp) {
  const std::uint32_t n = std::uint32_t(bmp.size());
  Bytes out{std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
  for (std::uint8_t byte : bmp) out.push_back(byte);
  return out;
}

TEST(Colors, SystemColoursAreResolvedWhenUsed) {
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clHighlight), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(ColorToRGB(TColor(0xFF000007)), GetSysColor(COLOR_MENUTEXT));
  EXPECT_EQ(ColorToRGB(clBlue), 0x00FF0000u);
  std::int64_t v = 0;
  EXPECT_TRUE(IdentToColor("clbtnshadow", v));
  EXPECT_EQ(v, 0xFF000010);
  EXPECT_FALSE(IdentToColor("clPink", v));
}

TEST(Bitmap, CanvasDrawingLandsInTopDownRows) {
  TBitmap bitmap(5, 4);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(TColor(0x00336699));
  canvas->FillRect({0, 0, 5, 1});  // top row only
  canvas->Pen()->SetColor(clRed);
  canvas->MoveTo(0, 3);
  canvas->LineTo(5, 3);  // bottom row
  PixelRows rows = bitmap.Rows();
  EXPECT_EQ(rows.width, 5);
  EXPECT_EQ(rows.stride, 16);
  EXPECT_EQ(rows.At(4, 0), BgrFromColor(0x00336699));
  EXPECT_EQ(rows.At(2, 1), (Bgr{0, 0, 0}));
  EXPECT_EQ(rows.At(2, 3), (Bgr{0, 0, 255}));
  // Pixels written directly are seen by GDI.
  rows.At(1, 2) = Bgr{1, 2, 3};
  EXPECT_EQ(canvas->Pixel(1, 2), TColor(0x00010203));
  // The transparent colour defaults to the bottom-left pixel.
  EXPECT_EQ(bitmap.TransparentColor(), clRed);
  // Growing keeps what fits.
  bitmap.SetSize(6, 5);
  EXPECT_EQ(bitmap.Rows().At(4, 0), BgrFromColor(0x00336699));
  EXPECT_EQ(bitmap.Rows().At(5, 4), (Bgr{0, 0, 0}));
}

TEST(Bitmap, StoredDataIgnoresWrongHeaderSizesAndRejectsShortData) {
  TBitmap bitmap;
  bitmap.LoadFromStoredData(Stored(Bmp24(3, 2, 0x00112233, 7, 1000)));  // both header fields wrong
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.Rows().At(2, 1), BgrFromColor(0x00112233));
  Bytes truncated = Stored(Bmp24(3, 2, 0, 0, 0));
  truncated.resize(truncated.size() - 1);
  truncated[0] = std::uint8_t(truncated.size() - 4);
  EXPECT_THROW(bitmap.LoadFromStoredData(truncated), EInvalidGraphic);
  Bytes lying = Stored(Bmp24(3, 2, 0, 0, 0));
  lying[0] = 0xFF;  // declares more bytes than there are
  EXPECT_THROW(bitmap.LoadFromStoredData(lying), EInvalidGraphic);
  Bytes huge = Stored(Bmp24(1, 1, 0, 0, 0));
  const std::int32_t big = 100000;
  std::memcpy(huge.data() + 4 + 18, &big, 4);
  std::memcpy(huge.data() + 4 + 22, &big, 4);
  EXPECT_THROW(bitmap.LoadFromStoredData(huge), EInvalidGraphic);
  EXPECT_THROW(bitmap.LoadFromStoredData({1, 0}), EInvalidGraphic);
}

TEST(Bitmap, NamedResourceAndFileGiveTheSamePixels) {
  // An 8-bit strip of the program's resources, read both ways.
  TBitmap fromResource, fromFile;
  fromResource.LoadFromResourceName(GetModuleHandleW(nullptr), L"MSGDLG");
  fromFile.LoadFromFile(Utf8ToString(KESTU_TEST_DATA "/../../resources/artwork/MSGDLG.bmp"));
  ASSERT_EQ(fromResource.Width(), 168);
  ASSERT_EQ(fromResource.Height(), 42);
  ASSERT_EQ(fromFile.Width(), 168);
  int differences = 0;
  for (int y = 0; y < 42; ++y)
    for (int x = 0; x < 168; ++x) differences += !(fromResource.Rows().At(x, y) == fromFile.Rows().At(x, y));
  EXPECT_EQ(differences, 0);
  EXPECT_THROW(fromResource.LoadFromResourceName(GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP"), EInvalidGraphic);
}

TEST(Bitmap, AssignCopiesPixelsAndDrawHonoursTransparency) {
  TBitmap source(2, 2);
  source.Rows().At(0, 0) = Bgr{0, 255, 0};
  source.Rows().At(1, 0) = Bgr{255, 0, 255};  // key colour
  source.Rows().At(0, 1) = Bgr{255, 0, 255};
  source.Rows().At(1, 1) = Bgr{255, 0, 255};
  TBitmap copy;
  copy.Assign(&source);
  source.Rows().At(0, 0) = Bgr{9, 9, 9};
  EXPECT_EQ(copy.Rows().At(0, 0), (Bgr{0, 255, 0}));  // not shared
  copy.SetTransparent(true);
  copy.SetTransparentColor(clFuchsia);
  TBitmap target(2, 2);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect({0, 0, 2, 2});
  target.Canvas()->Draw(0, 0, &copy);
  EXPECT_EQ(target.Rows().At(0, 0), (Bgr{0, 255, 0}));
  EXPECT_EQ(target.Rows().At(1, 0), (Bgr{255, 255, 255}));
}

TEST(Bitmap, DrawsItsPixelsAlsoAfterItsOwnCanvasWasUsed) {
  TBitmap source(3, 2);
  source.Canvas()->Brush()->SetColor(clRed);
  source.Canvas()->FillRect({0, 0, 3, 2});
  for (bool stretched : {false, true}) {
    TBitmap target(6, 4);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect({0, 0, 6, 4});
    if (stretched)
      target.Canvas()->StretchDraw({0, 0, 6, 4}, &source);
    else
      target.Canvas()->Draw(0, 0, &source);
    EXPECT_EQ(target.Rows().At(2, 1), (Bgr{0, 0, 255})) << (stretched ? "stretched" : "1:1");
  }
}

TEST(Font, ChangesNotifyAndRecreateTheHandle) {
  TFont font;
  int changes = 0;
  font.SetOnChange([&](TObject*) { ++changes; });
  HFONT first = font.Handle();
  font.SetHeight(font.Height());  // unchanged: nothing happens
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(font.Handle(), first);
  font.SetHeight(-20);
  font.SetStyle(fsBold | fsItalic);
  EXPECT_EQ(changes, 2);
  LOGFONTW lf{};
  GetObjectW(font.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  font.SetPixelsPerInch(96);
  font.SetSize(9);
  EXPECT_EQ(font.Height(), -12);
  EXPECT_EQ(font.Size(), 9);
  TFont copy;
  copy.Assign(&font);
  EXPECT_EQ(copy.Height(), -12);
  EXPECT_EQ(copy.Style(), TFontStyles(fsBold | fsItalic));
}

TEST(Font, OnlyAttributesThatShapeTheGlyphsRebuildTheNativeFont) {
  TFont font;
  int changes = 0;
  font.SetOnChange([&](TObject*) { ++changes; });
  const HFONT first = font.Handle();
  const std::size_t built = TFont::NativeFontsCreated();
  font.SetColor(clRed);  // the text colour: told, but the font stays
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(font.Handle(), first);
  TFont other;
  other.Assign(&font);
  font.Assign(&other);  // nothing differs: no change at all
  EXPECT_EQ(changes, 1);
  other.SetColor(clBlue);
  font.Assign(&other);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(font.Color(), clBlue);
  EXPECT_EQ(font.Handle(), first);
  EXPECT_EQ(TFont::NativeFontsCreated(), built);
  for (auto reshape : {+[](TFont& f) { f.SetHeight(-30); }, +[](TFont& f) { f.SetName(L"Arial"); },
                       +[](TFont& f) { f.SetStyle(fsUnderline); }, +[](TFont& f) { f.SetCharset(GB2312_CHARSET); }}) {
    const std::size_t before = TFont::NativeFontsCreated();
    reshape(other);
    font.Assign(&other);
    font.Handle();
    EXPECT_EQ(TFont::NativeFontsCreated(), before + 1);
  }
  LOGFONTW lf{};
  GetObjectW(font.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -30);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  const int told = changes;
  font.AssignLogFont(lf);  // the same attributes again
  EXPECT_EQ(changes, told);
}

TEST(Canvas, TextColourChangesKeepTheSelectedFont) {
  TBitmap bitmap(40, 20);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(0, 0, L"A");
  const HDC dc = canvas->Handle();
  const HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
  const std::size_t built = TFont::NativeFontsCreated();
  for (TColor c : {clRed, clLime, clBlue}) {
    canvas->Font()->SetColor(c);
    canvas->TextOut(0, 0, L"A");
    EXPECT_EQ(GetTextColor(dc), ColorToRGB(c));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), selected);
  }
  EXPECT_EQ(TFont::NativeFontsCreated(), built);
}

TEST(Canvas, ToolsChangedMidDrawingLeaveNoObjectSelected) {
  TBitmap bitmap(40, 20);
  TCanvas* canvas = bitmap.Canvas();
  HDC dc = canvas->Handle();
  HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
  for (int i = 0; i < 50; ++i) {
    canvas->Font()->SetHeight(-10 - i % 5);
    canvas->Pen()->SetColor(TColor(i));
    canvas->Brush()->SetColor(TColor(i * 3));
    canvas->TextOut(0, 0, L"Ab");
    canvas->Rectangle(0, 0, 10, 10);
  }
  EXPECT_GT(canvas->TextWidth(L"WWW"), canvas->TextWidth(L"W"));
  RECT r{0, 0, 40, 20};
  EXPECT_GT(canvas->DrawText(L"x", r, DT_CALCRECT), 0);
  // The font selected now is the canvas's current one; the stale ones were
  // selected out before they were deleted (deleting a selected font fails).
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas->Font()->Handle());
  int saved = canvas->Save();
  canvas->Restore(saved);
  canvas->SetHandle(nullptr);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), originalFont);
}

TEST(Icon, StoredIconDataPicksTheSystemSize) {
  TIcon icon;
  icon.LoadFromIco(ReadFileBytes(Utf8ToString(KESTU_TEST_DATA "/../../resources/MAINICON.ico")));
  ASSERT_NE(icon.Handle(), nullptr);
  EXPECT_EQ(icon.Width(), GetSystemMetrics(SM_CXICON));
  TIcon copy;
  copy.Assign(&icon);
  EXPECT_NE(copy.Handle(), icon.Handle());
  EXPECT_EQ(copy.Height(), icon.Height());
  EXPECT_THROW(icon.LoadFromIco({0, 0, 1, 0, 1, 0, 32, 32}), EInvalidGraphic);
  EXPECT_THROW(icon.LoadFromIco({0, 0, 2, 0, 1, 0}), EInvalidGraphic);
}

TEST(Picture, HoldsCopiesAndReadsClassPrefixedData) {
  TPicture picture;
  TBitmap bitmap(4, 3);
  picture.SetGraphic(&bitmap);
  EXPECT_EQ(picture.Width(), 4);
  EXPECT_NE(picture.Graphic(), &bitmap);
  Bytes data{7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
  Bytes stored = Stored(Bmp24(2, 5, 0, 0, 0));
  for (std::uint8_t byte : stored) data.push_back(byte);
  picture.LoadFromStoredData(data);
  EXPECT_EQ(picture.Height(), 5);
  const Bytes ico = ReadFileBytes(Utf8ToString(KESTU_TEST_DATA "/../../resources/MAINICON.ico"));
  Bytes storedIcon{5, 'T', 'I', 'c', 'o', 'n'};
  for (std::uint8_t byte : ico) storedIcon.push_back(byte);
  picture.LoadFromStoredData(storedIcon);
  EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), GetSystemMetrics(SM_CXICON));
  EXPECT_THROW(picture.LoadFromStoredData({10, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e', 9, 0, 0, 0}),
               EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromStoredData({9, 'T', 'B'}), EInvalidGraphic);
}

}  // namespace
}  // namespace kestu
