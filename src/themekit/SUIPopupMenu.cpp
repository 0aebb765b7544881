#include "themekit/SUIPopupMenu.h"

namespace kestu {

namespace {

constexpr TColor kGreyText = TColor(0x00808080);
constexpr int kMacItemHeight = 20;
constexpr int kMacSeparatorHeight = 12;

bool HasOwnImage(const TMenuItem* item, TImageList* images) {
  return item->ImageIndex() != -1 && images && item->ImageIndex() < images->Count();
}

}  // namespace

void TsuiMenuPainter::ApplyMenuStyle(TsuiUIStyle style) {
  UIStyle = style;
  BarWidth = 26;
  if (style == TsuiUIStyle::MacOS) {
    MenuItemHeight = kMacItemHeight;
    SeparatorHeight = kMacSeparatorHeight;
    SeparatorColor = clBlack;
  } else {
    MenuItemHeight = 21;
    SeparatorHeight = 5;
    SeparatorColor = TColor(0x00848284);
  }
  BarColor = ElementColour(FileTheme, style, TsuiElement::MenuBarColor);
  Color = ElementColour(FileTheme, style, TsuiElement::MenuBackgroundColor);
  FontColor = ElementColour(FileTheme, style, TsuiElement::MenuFontColor);
  SelectedBorderColor = ElementColour(FileTheme, style, TsuiElement::MenuSelectedBorderColor);
  SelectedColor = ElementColour(FileTheme, style, TsuiElement::MenuSelectedBackgroundColor);
  SelectedFontColor = ElementColour(FileTheme, style, TsuiElement::MenuSelectedFontColor);
}

void TsuiMenuPainter::Measure(TMenuItem* item, TCanvas* canvas, int& width, int& height) const {
  height = item->IsLine() ? SeparatorHeight : MenuItemHeight;
  const String shortCut = item->ShortCut() ? ShortCutToText(item->ShortCut()) : String();
  width = canvas->TextWidth(item->Caption()) + canvas->TextWidth(shortCut) + BarWidth + 40;
}

void TsuiMenuPainter::Draw(TMenuItem* item, TCanvas* canvas, const RECT& R, bool selected, TImageList* images,
                           TImageList* checkImages) const {
  const bool mac = UIStyle == TsuiUIStyle::MacOS;
  if (FlatMenu)
    if (HWND window = WindowFromDC(canvas->Handle()))
      DrawMenuWindowBorder(window, clBlack, ElementColour(FileTheme, UIStyle, TsuiElement::FormBackgroundColor));

  auto plainBackground = [&] {
    if (BarWidth > 0) FillColorRect(canvas, RECT{R.left, R.top, R.left + BarWidth, R.bottom}, BarColor);
    FillColorRect(canvas, RECT{R.left + BarWidth, R.top, R.right, R.bottom}, Color);
  };
  if (item->IsLine()) {
    if (mac) return DrawMacMenuBackground(canvas, R, kMacSeparatorHeight);
    plainBackground();
    DrawMenuSeparatorLine(canvas, R, SeparatorColor, BarWidth);
    return;
  }

  if (selected && item->Enabled()) {
    if (mac) {
      DrawMacMenuSelection(canvas, R);
    } else {
      FillColorRect(canvas, R, SelectedColor);
      FrameColorRect(canvas, R, SelectedBorderColor);
    }
  } else if (mac) {
    DrawMacMenuBackground(canvas, R, kMacItemHeight);
  } else {
    plainBackground();
  }

  if (UseSystemFont) {
    CreateMenuFont(canvas->Font());
  } else {
    canvas->Font()->SetName(FontName);
    canvas->Font()->SetSize(FontSize);
    canvas->Font()->SetCharset(FontCharset);
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->SetColor(!item->Enabled() ? kGreyText : selected ? SelectedFontColor : FontColor);
  if (item->Default()) canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);

  RECT text{R.left + BarWidth + 4, R.top + 4, R.right, R.bottom};
  canvas->DrawText(item->Caption(), text, DT_SINGLELINE);
  const String shortCut = item->ShortCut() ? ShortCutToText(item->ShortCut()) : String();
  if (!shortCut.empty()) canvas->TextOut(R.right - canvas->TextWidth(shortCut) - 16, R.top + 4, shortCut);

  const bool hasImage = HasOwnImage(item, images);
  if (item->Checked()) {
    if (hasImage) {
      FrameColorRect(canvas, RECT{R.left + 2, R.top + 1, R.left + 21, R.top + 20}, clBlack);
      FillColorRect(canvas, RECT{R.left + 3, R.top + 2, R.left + 20, R.top + 19}, SelectedColor);
    } else if (checkImages) {
      checkImages->Draw(canvas, R.left + 4, R.top + 3, 0, item->Enabled());
    }
  }
  if (hasImage) images->Draw(canvas, R.left + 4, R.top + 3, item->ImageIndex(), item->Enabled());
}

KESTU_PUBLISH(TsuiPopupMenu) { PublishMenuLook(p); }

}  // namespace kestu
