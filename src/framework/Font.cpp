// TFont: the attributes of a logical font and the native font built from
// them. Only the attributes that shape the glyphs (face, height, character
// set, style) rebuild the native font; the colour is the canvas's text colour
// and only tells the font's user.
#include "framework/Graphics.h"

namespace kestu {

namespace {

bool CharsetIdent(std::string_view name, std::int64_t& value) {
  static const struct {
    const char* name;
    int value;
  } kCharsets[] = {{"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2},
                   {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129}, {"GB2312_CHARSET", 134},
                   {"CHINESEBIG5_CHARSET", 136}, {"OEM_CHARSET", 255}, {"EASTEUROPE_CHARSET", 238},
                   {"RUSSIAN_CHARSET", 204}, {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162}};
  for (const auto& c : kCharsets)
    if (SameText(c.name, name)) return value = c.value, true;
  return false;
}

std::size_t nativeFontsCreated = 0;

}  // namespace

KESTU_PUBLISH(TFont) {
  p.Int("Charset", &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET).Idents(&CharsetIdent);
  p.Color("Color", &TFont::Color, &TFont::SetColor, clWindowText);
  p.Int("Height", &TFont::Height, &TFont::SetHeight, -11);
  p.Str("Name", &TFont::Name, &TFont::SetName);
  p.Int("Size", &TFont::Size, &TFont::SetSize, 8);
  p.Set("Style", &TFont::Style, &TFont::SetStyle, 0, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
}

TFont::TFont() {
  HDC screen = GetDC(nullptr);
  pixelsPerInch_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
}

TFont::~TFont() = default;

void TFont::Assign(const TPersistent* source) {
  auto* f = dynamic_cast<const TFont*>(source);
  if (!f) return TPersistent::Assign(source);
  SetShape(f->name_, f->height_, f->charset_, f->style_, f->color_);
}

void TFont::SetShape(const String& name, int height, int charset, TFontStyles style, TColor color) {
  const bool reshapes = name != name_ || height != height_ || charset != charset_ || style != style_;
  if (!reshapes && color == color_) return;
  name_ = name;
  height_ = height;
  charset_ = charset;
  style_ = style;
  color_ = color;
  Changed(reshapes);
}

void TFont::SetName(const String& value) {
  if (value == name_ || value.empty()) return;
  name_ = value;
  Changed();
}
void TFont::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  Changed();
}
int TFont::Size() const { return MulDiv(-height_, 72, pixelsPerInch_); }
void TFont::SetSize(int value) { SetHeight(-MulDiv(value, pixelsPerInch_, 72)); }
void TFont::SetCharset(int value) {
  if ((value & 0xFF) == charset_) return;
  charset_ = value & 0xFF;
  Changed();
}
void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed(false);
}
void TFont::SetStyle(TFontStyles value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

std::size_t TFont::NativeFontsCreated() { return nativeFontsCreated; }

HFONT TFont::Handle() {
  if (stale_) {
    handle_.Reset();
    stale_ = false;
  }
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = BYTE(charset_);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.Reset(CreateFontIndirectW(&lf));
    ++nativeFontsCreated;
  }
  return handle_.Get();
}

void TFont::AssignLogFont(const LOGFONTW& lf) {
  TFontStyles style = 0;
  if (lf.lfWeight >= FW_BOLD) style |= fsBold;
  if (lf.lfItalic) style |= fsItalic;
  if (lf.lfUnderline) style |= fsUnderline;
  if (lf.lfStrikeOut) style |= fsStrikeOut;
  SetShape(lf.lfFaceName, lf.lfHeight, lf.lfCharSet, style, color_);
}

}  // namespace kestu
