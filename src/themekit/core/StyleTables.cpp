#include "themekit/core/StyleTables.h"

#include <array>

namespace kestu {
namespace {

using K = TsuiElementKind;

struct ElementRow {
  std::string_view Name;
  TsuiElementKind Kind;
  // In style order: MacOS, WinXP, DeepBlue, Protein, BlueGlass.
  std::array<StyleValue, kBuiltInStyleCount> Values;
};

constexpr StyleValue Num(std::int32_t n) { return {n, nullptr, 0, 0}; }
constexpr StyleValue Bool(bool b) { return {b ? 1 : 0, nullptr, 0, 0}; }
constexpr StyleValue Bmp(const wchar_t* name, int width, int height) { return {0, name, width, height}; }

// The catalogue and the five built-in records, one row per element. Bitmap
// values name resources whole: three styles share "MORE_SCROLLBUTTON", and
// the side-channel images are spelled SIDECHENNEL.
constexpr std::array<ElementRow, kStyleElementCount> kElements = {{
    /*  1 */ {"ButtonImage", K::Bitmap,
      {Bmp(L"MACOS_BUTTON", 252, 23),
       Bmp(L"WINXP_BUTTON", 54, 21),
       Bmp(L"DEEPBLUE_BUTTON", 222, 21),
       Bmp(L"PROTEIN_BUTTON", 222, 21),
       Bmp(L"BLUEGLASS_BUTTON", 231, 27)}},
    /*  2 */ {"ButtonTransparentBool", K::Boolean,
      {Bool(true), Bool(false), Bool(false), Bool(false), Bool(true)}},
    /*  3 */ {"CheckBoxImage", K::Bitmap,
      {Bmp(L"MACOS_CHECKBOX", 60, 17),
       Bmp(L"WINXP_CHECKBOX", 52, 13),
       Bmp(L"DEEPBLUE_CHECKBOX", 52, 13),
       Bmp(L"PROTEIN_CHECKBOX", 52, 13),
       Bmp(L"BLUEGLASS_CHECKBOX", 52, 13)}},
    /*  4 */ {"RadioButtonImage", K::Bitmap,
      {Bmp(L"MACOS_RADIOBUTTON", 64, 17),
       Bmp(L"WINXP_RADIOBUTTON", 52, 13),
       Bmp(L"DEEPBLUE_RADIOBUTTON", 52, 13),
       Bmp(L"PROTEIN_RADIOBUTTON", 52, 13),
       Bmp(L"BLUEGLASS_RADIOBUTTON", 52, 13)}},
    /*  5 */ {"TitleBarButtonImage", K::Bitmap,
      {Bmp(L"MACOS_TITLEBTN", 306, 17),
       Bmp(L"WINXP_TITLEBTN", 378, 21),
       Bmp(L"DEEPBLUE_TITLEBTN", 342, 19),
       Bmp(L"PROTEIN_TITLEBTN", 342, 19),
       Bmp(L"BLUEGLASS_TITLEBTN", 342, 19)}},
    /*  6 */ {"TitleBarButtonTransparentBool", K::Boolean,
      {Bool(false), Bool(false), Bool(false), Bool(true), Bool(true)}},
    /*  7 */ {"TitleBarButtonLeftOffsetInt", K::Integer,
      {Num(3), Num(2), Num(0), Num(0), Num(4)}},
    /*  8 */ {"TitleBarButtonRightOffsetInt", K::Integer,
      {Num(-2), Num(-2), Num(0), Num(0), Num(-3)}},
    /*  9 */ {"TitleBarButtonTopInt", K::Integer,
      {Num(4), Num(5), Num(2), Num(2), Num(6)}},
    /* 10 */ {"TitleBarLeftImage", K::Bitmap,
      {Bmp(L"MACOS_TITLE_LEFT", 48, 23),
       Bmp(L"WINXP_TITLE_LEFT", 35, 29),
       Bmp(L"DEEPBLUE_TITLE_LEFT", 97, 32),
       Bmp(L"PROTEIN_TITLE_LEFT", 441, 23),
       Bmp(L"BLUEGLASS_TITLE_LEFT", 162, 33)}},
    /* 11 */ {"TitleBarClientImage", K::Bitmap,
      {Bmp(L"MACOS_TITLE_CLIENT", 49, 23),
       Bmp(L"WINXP_TITLE_CLIENT", 37, 29),
       Bmp(L"DEEPBLUE_TITLE_CLIENT", 98, 32),
       Bmp(L"PROTEIN_TITLE_CLIENT", 1, 23),
       Bmp(L"BLUEGLASS_TITLE_CLIENT", 179, 33)}},
    /* 12 */ {"TitleBarRightImage", K::Bitmap,
      {Bmp(L"MACOS_TITLE_RIGHT", 48, 23),
       Bmp(L"WINXP_TITLE_RIGHT", 35, 29),
       Bmp(L"DEEPBLUE_TITLE_RIGHT", 97, 32),
       Bmp(L"PROTEIN_TITLE_RIGHT", 1, 23),
       Bmp(L"BLUEGLASS_TITLE_RIGHT", 101, 33)}},
    /* 13 */ {"FormMinWidthInt", K::Integer,
      {Num(130), Num(150), Num(130), Num(130), Num(270)}},
    /* 14 */ {"FormRoundCornerInt", K::Integer,
      {Num(0), Num(13), Num(0), Num(0), Num(11)}},
    /* 15 */ {"FormBackgroundColor", K::Colour,
      {Num(0x00E7E7E7), Num(0x00DEEBEF), Num(0x00E8E8E8), Num(0x00FBFBFB), Num(0x00E7E7E7)}},
    /* 16 */ {"FormBorderColor", K::Colour,
      {Num(0x007F7F7F), Num(0x00C82C00), Num(0x00000000), Num(0x00000000), Num(0x00000000)}},
    /* 17 */ {"FormBorderWidthInt", K::Integer,
      {Num(1), Num(3), Num(1), Num(1), Num(1)}},
    /* 18 */ {"MenuSelectedBorderColor", K::Colour,
      {Num(0x00C47339), Num(0x00C66931), Num(0x00A04A44), Num(0x00C4302D), Num(0x00EC5E5E)}},
    /* 19 */ {"MenuSelectedBackgroundColor", K::Colour,
      {Num(0x00C47339), Num(0x00EFD3C6), Num(0x00A04A44), Num(0x00C4302D), Num(0x00EC5E5E)}},
    /* 20 */ {"MenuSelectedFontColor", K::Colour,
      {Num(0x00FFFFFF), Num(0x00000000), Num(0x00FFFFFF), Num(0x00FFFFFF), Num(0x00FFFFFF)}},
    /* 21 */ {"MenuBackgroundColor", K::Colour,
      {Num(0x00000000), Num(0x00FFFFFF), Num(0x00FFFFFF), Num(0x00FFFFFF), Num(0x00E7E7E7)}},
    /* 22 */ {"MenuFontColor", K::Colour,
      {Num(0x00000000), Num(0x00000000), Num(0x00000000), Num(0x00000000), Num(0x00000000)}},
    /* 23 */ {"MenuBarColor", K::Colour,
      {Num(0x00000000), Num(0x00CED3D6), Num(0x00CED3D6), Num(0x00CED3D6), Num(0x00CED3D6)}},
    /* 24 */ {"ProgressBarImage", K::Bitmap,
      {Bmp(L"MACOS_PROGRESSBAR", 13, 10),
       Bmp(L"WINXP_PROGRESSBAR", 6, 10),
       Bmp(L"DEEPBLUE_PROGRESSBAR", 1, 10),
       Bmp(L"PROTEIN_PROGRESSBAR", 1, 10),
       Bmp(L"BLUEGLASS_PROGRESSBAR", 1, 10)}},
    /* 25 */ {"ControlBorderColor", K::Colour,
      {Num(0x007F7F7F), Num(0x00686868), Num(0x00000000), Num(0x00000000), Num(0x00000000)}},
    /* 26 */ {"ControlBackgroundColor", K::Colour,
      {Num(0x00E7E7E7), Num(0x00DEEBEF), Num(0x00E8E8E8), Num(0x00FBFBFB), Num(0x00E7E7E7)}},
    /* 27 */ {"ControlFontColor", K::Colour,
      {Num(0x00000000), Num(0x00CF4602), Num(0x00000000), Num(0x00000000), Num(0x00000000)}},
    /* 28 */ {"TrackBarBarImage", K::Bitmap,
      {Bmp(L"MACOS_TRACKBAR_BAR", 45, 5),
       Bmp(L"WINXP_TRACKBAR_BAR", 45, 8),
       Bmp(L"DEEPBLUE_TRACKBAR_BAR", 45, 4),
       Bmp(L"PROTEIN_TRACKBAR_BAR", 45, 4),
       Bmp(L"BLUEGLASS_TRACKBAR_BAR", 45, 4)}},
    /* 29 */ {"TrackBarSliderImage", K::Bitmap,
      {Bmp(L"MACOS_TRACKBAR_SLIDER", 11, 20),
       Bmp(L"WINXP_TRACKBAR_SLIDER", 11, 21),
       Bmp(L"DEEPBLUE_TRACKBAR_SLIDER", 11, 20),
       Bmp(L"PROTEIN_TRACKBAR_SLIDER", 11, 20),
       Bmp(L"BLUEGLASS_TRACKBAR_SLIDER", 11, 20)}},
    /* 30 */ {"TrackBarSliderVImage", K::Bitmap,
      {Bmp(L"MACOS_TRACKBAR_SLIDER_V", 19, 11),
       Bmp(L"WINXP_TRACKBAR_SLIDER_V", 22, 11),
       Bmp(L"DEEPBLUE_TRACKBAR_SLIDER_V", 18, 11),
       Bmp(L"PROTEIN_TRACKBAR_SLIDER_V", 18, 11),
       Bmp(L"BLUEGLASS_TRACKBAR_SLIDER_V", 18, 11)}},
    /* 31 */ {"ScrollBarBackgroundColor", K::Colour,
      {Num(0x00C9C9C9), Num(0x00F9F9F9), Num(0x00F5F5F5), Num(0x00F5F5F5), Num(0x00F4F4F4)}},
    /* 32 */ {"ScrollBarButtonImage", K::Bitmap,
      {Bmp(L"MACOS_SCROLLBAR_BUTTON", 96, 22),
       Bmp(L"WINXP_SCROLLBAR_BUTTON", 96, 17),
       Bmp(L"DEEPBLUE_SCROLLBAR_BUTTON", 96, 16),
       Bmp(L"PROTEIN_SCROLLBAR_BUTTON", 96, 16),
       Bmp(L"BLUEGLASS_SCROLLBAR_BUTTON", 102, 16)}},
    /* 33 */ {"ScrollBarSliderImage", K::Bitmap,
      {Bmp(L"MACOS_SCROLLBAR_TRACK", 33, 16),
       Bmp(L"WINXP_SCROLLBAR_TRACK", 21, 16),
       Bmp(L"DEEPBLUE_SCROLLBAR_TRACK", 21, 16),
       Bmp(L"PROTEIN_SCROLLBAR_TRACK", 21, 16),
       Bmp(L"BLUEGLASS_SCROLLBAR_TRACK", 21, 16)}},
    /* 34 */ {"CheckListBoxImage", K::Bitmap,
      {Bmp(L"MACOS_CHECKLIST", 40, 11),
       Bmp(L"WINXP_CHECKLIST", 44, 11),
       Bmp(L"DEEPBLUE_CHECKLIST", 44, 11),
       Bmp(L"PROTEIN_CHECKLIST", 44, 11),
       Bmp(L"BLUEGLASS_CHECKLIST", 44, 11)}},
    /* 35 */ {"ToolBarButtonBorderColor", K::Colour,
      {Num(0x00474747), Num(0x00C66931), Num(0x00474747), Num(0x00474747), Num(0x00474747)}},
    /* 36 */ {"ToolBarButtonBackgroundColor", K::Colour,
      {Num(0x00EFEFEF), Num(0x00EFD3C6), Num(0x00EFEFEF), Num(0x00EFEFEF), Num(0x00EFEFEF)}},
    /* 37 */ {"ToolBarButtonDownBackgroundColor", K::Colour,
      {Num(0x00D8D8D8), Num(0x00E1AC93), Num(0x00D8D8D8), Num(0x00D8D8D8), Num(0x00D8D8D8)}},
    /* 38 */ {"ScrollButtonImage", K::Bitmap,
      {Bmp(L"MACOS_SCROLLBUTTON", 72, 18),
       Bmp(L"WINXP_SCROLLBUTTON", 72, 18),
       Bmp(L"MORE_SCROLLBUTTON", 72, 17),
       Bmp(L"MORE_SCROLLBUTTON", 72, 17),
       Bmp(L"MORE_SCROLLBUTTON", 72, 17)}},
    /* 39 */ {"TabControlTabImage", K::Bitmap,
      {Bmp(L"MACOS_TAB", 36, 27),
       Bmp(L"WINXP_TAB", 18, 18),
       Bmp(L"DEEPBLUE_TAB", 12, 17),
       Bmp(L"PROTEIN_TAB", 18, 17),
       Bmp(L"BLUEGLASS_TAB", 18, 17)}},
    /* 40 */ {"TabControlBarImage", K::Bitmap,
      {Bmp(L"MACOS_TAB_LINE", 17, 7),
       Bmp(L"WINXP_TAB_LINE", 8, 1),
       Bmp(L"DEEPBLUE_TAB_LINE", 5, 5),
       Bmp(L"PROTEIN_TAB_LINE", 10, 5),
       Bmp(L"BLUEGLASS_TAB_LINE", 10, 5)}},
    /* 41 */ {"SideChannelHandleImage", K::Bitmap,
      {Bmp(L"MACOS_SIDECHENNEL_HANDLE", 7, 84),
       Bmp(L"WINXP_SIDECHENNEL_HANDLE", 8, 86),
       Bmp(L"DEEPBLUE_SIDECHENNEL_HANDLE", 8, 83),
       Bmp(L"PROTEIN_SIDECHENNEL_HANDLE", 8, 83),
       Bmp(L"BLUEGLASS_SIDECHENNEL_HANDLE", 8, 86)}},
    /* 42 */ {"SideChannelBarImage", K::Bitmap,
      {Bmp(L"MACOS_SIDECHENNEL_BAR", 1, 21),
       Bmp(L"WINXP_SIDECHENNEL_BAR", 1, 21),
       Bmp(L"DEEPBLUE_SIDECHENNEL_BAR", 1, 20),
       Bmp(L"PROTEIN_SIDECHENNEL_BAR", 1, 21),
       Bmp(L"BLUEGLASS_SIDECHENNEL_BAR", 1, 21)}},
}};

constexpr const ElementRow& Row(int index) { return kElements[std::size_t(index - 1)]; }

// The element numbers and the rows name the same elements.
#define KESTU_SAME_ELEMENT(name) static_assert(Row(TsuiElement::name).Name == #name)
KESTU_SAME_ELEMENT(ButtonImage);
KESTU_SAME_ELEMENT(ButtonTransparentBool);
KESTU_SAME_ELEMENT(CheckBoxImage);
KESTU_SAME_ELEMENT(RadioButtonImage);
KESTU_SAME_ELEMENT(TitleBarButtonImage);
KESTU_SAME_ELEMENT(TitleBarButtonTransparentBool);
KESTU_SAME_ELEMENT(TitleBarButtonLeftOffsetInt);
KESTU_SAME_ELEMENT(TitleBarButtonRightOffsetInt);
KESTU_SAME_ELEMENT(TitleBarButtonTopInt);
KESTU_SAME_ELEMENT(TitleBarLeftImage);
KESTU_SAME_ELEMENT(TitleBarClientImage);
KESTU_SAME_ELEMENT(TitleBarRightImage);
KESTU_SAME_ELEMENT(FormMinWidthInt);
KESTU_SAME_ELEMENT(FormRoundCornerInt);
KESTU_SAME_ELEMENT(FormBackgroundColor);
KESTU_SAME_ELEMENT(FormBorderColor);
KESTU_SAME_ELEMENT(FormBorderWidthInt);
KESTU_SAME_ELEMENT(MenuSelectedBorderColor);
KESTU_SAME_ELEMENT(MenuSelectedBackgroundColor);
KESTU_SAME_ELEMENT(MenuSelectedFontColor);
KESTU_SAME_ELEMENT(MenuBackgroundColor);
KESTU_SAME_ELEMENT(MenuFontColor);
KESTU_SAME_ELEMENT(MenuBarColor);
KESTU_SAME_ELEMENT(ProgressBarImage);
KESTU_SAME_ELEMENT(ControlBorderColor);
KESTU_SAME_ELEMENT(ControlBackgroundColor);
KESTU_SAME_ELEMENT(ControlFontColor);
KESTU_SAME_ELEMENT(TrackBarBarImage);
KESTU_SAME_ELEMENT(TrackBarSliderImage);
KESTU_SAME_ELEMENT(TrackBarSliderVImage);
KESTU_SAME_ELEMENT(ScrollBarBackgroundColor);
KESTU_SAME_ELEMENT(ScrollBarButtonImage);
KESTU_SAME_ELEMENT(ScrollBarSliderImage);
KESTU_SAME_ELEMENT(CheckListBoxImage);
KESTU_SAME_ELEMENT(ToolBarButtonBorderColor);
KESTU_SAME_ELEMENT(ToolBarButtonBackgroundColor);
KESTU_SAME_ELEMENT(ToolBarButtonDownBackgroundColor);
KESTU_SAME_ELEMENT(ScrollButtonImage);
KESTU_SAME_ELEMENT(TabControlTabImage);
KESTU_SAME_ELEMENT(TabControlBarImage);
KESTU_SAME_ELEMENT(SideChannelHandleImage);
KESTU_SAME_ELEMENT(SideChannelBarImage);
#undef KESTU_SAME_ELEMENT

constexpr bool ValidIndex(int index) { return index >= 1 && index <= kStyleElementCount; }

}  // namespace

std::string_view ElementName(int index) { return ValidIndex(index) ? Row(index).Name : std::string_view(); }

TsuiElementKind ElementKind(int index) { return ValidIndex(index) ? Row(index).Kind : TsuiElementKind::Integer; }

StyleElement LookUpStyleElement(TsuiUIStyle style, int index) {
  const int s = static_cast<std::uint8_t>(style) & 0x7F;
  if (s < 1 || s > kBuiltInStyleCount || !ValidIndex(index)) return {Num(-1), TsuiElementKind::Integer};
  const ElementRow& row = Row(index);
  return {row.Values[std::size_t(s - 1)], row.Kind};
}

bool StyleBoolean(TsuiUIStyle style, int index) {
  const StyleElement e = LookUpStyleElement(style, index);
  return e.Kind == TsuiElementKind::Boolean && e.Value.Number != 0;
}

std::uint32_t StyleColour(TsuiUIStyle style, int index) {
  const StyleElement e = LookUpStyleElement(style, index);
  return e.Kind == TsuiElementKind::Colour ? static_cast<std::uint32_t>(e.Value.Number) : 0;
}

std::int32_t StyleInteger(TsuiUIStyle style, int index) {
  const StyleElement e = LookUpStyleElement(style, index);
  return e.Kind == TsuiElementKind::Integer ? e.Value.Number : -1;
}

const wchar_t* StyleBitmapName(TsuiUIStyle style, int index) {
  const StyleElement e = LookUpStyleElement(style, index);
  return e.Kind == TsuiElementKind::Bitmap ? e.Value.Bitmap : nullptr;
}

FileThemeChoice ResolveFileThemeStyle(bool hasFileTheme, bool themeLoaded, TsuiUIStyle style) {
  if (style != TsuiUIStyle::FromThemeFile) return {false, style};
  if (hasFileTheme && themeLoaded) return {true, style};
  return {false, TsuiUIStyle::DeepBlue};
}

}  // namespace kestu
