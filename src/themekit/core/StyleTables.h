#pragma once
// The toolkit's UI styles and the 42 theme elements a style supplies: the
// element catalogue (names and kinds), the constant values of the five
// built-in styles, the typed accessors with their neutral results, and the
// decision between a theme file and the built-in tables.
//
// Bitmap elements hold the name of a bitmap resource of the executable; the
// Windows side loads it (LoadStyleBitmap) from StyleBitmapName.

#include "base/PixRect.h"

#include <cstdint>
#include <string_view>

namespace kestu {

// One byte, published; the names are the ones stored form descriptions use.
enum class TsuiUIStyle : std::uint8_t {
  FromThemeFile = 0,  // every element from the component's theme file
  MacOS = 1,
  WinXP = 2,
  DeepBlue = 3,  // the fallback style everywhere
  Protein = 4,
  BlueGlass = 5,
};

enum class TsuiElementKind : std::uint8_t {
  Integer = 0,
  Colour = 1,  // $00BBGGRR
  Bitmap = 2,  // resource name
  Boolean = 3,  // 0 or 1
};

// Element numbers, 1-based, in catalogue order. Theme files name their
// entries after these (ElementName).
struct TsuiElement {
  enum : int {
    ButtonImage = 1,
    ButtonTransparentBool,
    CheckBoxImage,
    RadioButtonImage,
    TitleBarButtonImage,
    TitleBarButtonTransparentBool,
    TitleBarButtonLeftOffsetInt,
    TitleBarButtonRightOffsetInt,
    TitleBarButtonTopInt,
    TitleBarLeftImage,
    TitleBarClientImage,
    TitleBarRightImage,
    FormMinWidthInt,
    FormRoundCornerInt,
    FormBackgroundColor,
    FormBorderColor,
    FormBorderWidthInt,
    MenuSelectedBorderColor,
    MenuSelectedBackgroundColor,
    MenuSelectedFontColor,
    MenuBackgroundColor,
    MenuFontColor,
    MenuBarColor,
    ProgressBarImage,
    ControlBorderColor,
    ControlBackgroundColor,
    ControlFontColor,
    TrackBarBarImage,
    TrackBarSliderImage,
    TrackBarSliderVImage,
    ScrollBarBackgroundColor,
    ScrollBarButtonImage,
    ScrollBarSliderImage,
    CheckListBoxImage,
    ToolBarButtonBorderColor,
    ToolBarButtonBackgroundColor,
    ToolBarButtonDownBackgroundColor,
    ScrollButtonImage,
    TabControlTabImage,
    TabControlBarImage,
    SideChannelHandleImage,
    SideChannelBarImage,
  };
};

inline constexpr int kStyleElementCount = 42;
inline constexpr int kBuiltInStyleCount = 5;

// One 32-bit value of a built-in style record. Bitmap elements carry the
// resource name and the size of the shipped image instead of a number.
struct StyleValue {
  std::int32_t Number = 0;          // integer, colour bits, or boolean 0/1
  const wchar_t* Bitmap = nullptr;  // resource name of a bitmap element
  int Width = 0;                    // size of the shipped bitmap resource
  int Height = 0;
};

struct StyleElement {
  StyleValue Value;
  TsuiElementKind Kind = TsuiElementKind::Integer;
};

// Catalogue: the element's name ("ButtonImage", ...) and kind. An index
// outside 1..42 has the empty name and kind Integer.
std::string_view ElementName(int index);
TsuiElementKind ElementKind(int index);

// The built-in value of an element. Only the low 7 bits of the style count
// (style AND $7F); for a style outside 1..5 (FromThemeFile included), and for
// an index outside 1..42, the answer is value -1 of kind Integer.
StyleElement LookUpStyleElement(TsuiUIStyle style, int index);

// Typed accessors of the built-in tables. Asking for an element of another
// kind, or of no built-in style, gives the neutral result: false, colour 0,
// integer -1, no bitmap name (nullptr; the caller's bitmap stays as it was).
bool StyleBoolean(TsuiUIStyle style, int index);
std::uint32_t StyleColour(TsuiUIStyle style, int index);
std::int32_t StyleInteger(TsuiUIStyle style, int index);
const wchar_t* StyleBitmapName(TsuiUIStyle style, int index);

// Whether an element is read from the theme file, and the style to use
// otherwise: only FromThemeFile with a given and loaded theme reads the file;
// FromThemeFile without one falls back to DeepBlue.
struct FileThemeChoice {
  bool UseFile = false;
  TsuiUIStyle Style = TsuiUIStyle::DeepBlue;
  friend bool operator==(const FileThemeChoice&, const FileThemeChoice&) = default;
};
FileThemeChoice ResolveFileThemeStyle(bool hasFileTheme, bool themeLoaded, TsuiUIStyle style);

// All four edges inclusive: Left <= x <= Right and Top <= y <= Bottom.
constexpr bool PointInRectInclusive(int x, int y, const PixRect& rect) {
  return rect.Left <= x && x <= rect.Right && rect.Top <= y && y <= rect.Bottom;
}

}  // namespace kestu
