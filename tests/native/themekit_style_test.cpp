#include "themekit/core/StyleTables.h"

#include <gtest/gtest.h>

#include <string>

namespace kestu {
namespace {

using S = TsuiUIStyle;
using E = TsuiElement;

std::wstring Name(const wchar_t* name) { return name ? std::wstring(name) : std::wstring(L"<none>"); }

TEST(ThemekitStyle, BuiltInValuesMatchTheirTable) {
  EXPECT_EQ(StyleInteger(S::DeepBlue, E::FormMinWidthInt), 130);
  EXPECT_EQ(StyleInteger(S::BlueGlass, E::TitleBarButtonRightOffsetInt), -3);
  EXPECT_EQ(StyleInteger(S::WinXP, E::FormRoundCornerInt), 13);
  EXPECT_EQ(StyleColour(S::WinXP, E::FormBorderColor), 0x00C82C00u);
  EXPECT_EQ(StyleColour(S::WinXP, E::ToolBarButtonDownBackgroundColor), 0x00E1AC93u);
  EXPECT_EQ(StyleColour(S::BlueGlass, E::ScrollBarBackgroundColor), 0x00F4F4F4u);
  EXPECT_TRUE(StyleBoolean(S::Protein, E::TitleBarButtonTransparentBool));
  EXPECT_FALSE(StyleBoolean(S::MacOS, E::TitleBarButtonTransparentBool));
  EXPECT_TRUE(StyleBoolean(S::MacOS, E::ButtonTransparentBool));

  struct Bitmap {
    S style;
    int index;
    const wchar_t* name;
    int width, height;
  };
  const Bitmap bitmaps[] = {
      {S::MacOS, 1, L"MACOS_BUTTON", 252, 23},
      {S::WinXP, 5, L"WINXP_TITLEBTN", 378, 21},
      {S::Protein, 11, L"PROTEIN_TITLE_CLIENT", 1, 23},
      {S::DeepBlue, 38, L"MORE_SCROLLBUTTON", 72, 17},
      {S::WinXP, 38, L"WINXP_SCROLLBUTTON", 72, 18},
      {S::WinXP, 40, L"WINXP_TAB_LINE", 8, 1},
      {S::MacOS, 41, L"MACOS_SIDECHENNEL_HANDLE", 7, 84},
      {S::DeepBlue, 42, L"DEEPBLUE_SIDECHENNEL_BAR", 1, 20},
  };
  for (const Bitmap& b : bitmaps) {
    SCOPED_TRACE(testing::Message() << "style " << int(b.style) << " element " << b.index);
    const StyleElement e = LookUpStyleElement(b.style, b.index);
    EXPECT_EQ(e.Kind, TsuiElementKind::Bitmap);
    EXPECT_EQ(Name(StyleBitmapName(b.style, b.index)), b.name);
    EXPECT_EQ(e.Value.Width, b.width);
    EXPECT_EQ(e.Value.Height, b.height);
  }
}

// Every bitmap resource is named after its own style (but for the one image
// three styles share), so a value pasted into the wrong column shows here.
TEST(ThemekitStyle, BitmapNamesBelongToTheirStyle) {
  const std::wstring prefixes[] = {L"MACOS_", L"WINXP_", L"DEEPBLUE_", L"PROTEIN_", L"BLUEGLASS_"};
  int bitmapElements = 0;
  for (int index = 1; index <= kStyleElementCount; ++index) {
    if (ElementKind(index) != TsuiElementKind::Bitmap) continue;
    ++bitmapElements;
    for (int s = 1; s <= 5; ++s) {
      const std::wstring name = Name(StyleBitmapName(TsuiUIStyle(s), index));
      SCOPED_TRACE(testing::Message() << "element " << index << " style " << s);
      if (index == E::ScrollButtonImage && s >= 3)
        EXPECT_EQ(name, L"MORE_SCROLLBUTTON");
      else
        EXPECT_EQ(name.rfind(prefixes[s - 1], 0), 0u) << std::string(name.begin(), name.end());
      EXPECT_EQ(name.find(L"SIDECHANNEL"), std::wstring::npos);
      EXPECT_GT(LookUpStyleElement(TsuiUIStyle(s), index).Value.Width, 0);
    }
  }
  EXPECT_EQ(bitmapElements, 19);
  EXPECT_EQ(ElementName(42), "SideChannelBarImage");
  EXPECT_EQ(ElementName(43), "");
}

// Wrong kinds, styles without built-in values and element numbers outside
// the catalogue all give the neutral results.
TEST(ThemekitStyle, AccessorsGiveNeutralResults) {
  // Only the low seven bits of the style count.
  EXPECT_EQ(StyleInteger(TsuiUIStyle(0x81), E::TitleBarButtonTopInt), 4);
  for (int style : {0x00, 0x06, 0x7F, 0x80}) {
    const StyleElement e = LookUpStyleElement(TsuiUIStyle(style), E::FormBackgroundColor);
    EXPECT_EQ(e.Value.Number, -1) << style;
    EXPECT_EQ(e.Kind, TsuiElementKind::Integer) << style;
  }
  EXPECT_FALSE(StyleBoolean(S::MacOS, E::ButtonImage));
  EXPECT_FALSE(StyleBoolean(S::MacOS, E::FormMinWidthInt));
  EXPECT_EQ(StyleColour(S::MacOS, E::FormMinWidthInt), 0u);
  EXPECT_EQ(StyleInteger(S::MacOS, E::FormBackgroundColor), -1);
  EXPECT_EQ(StyleInteger(S::MacOS, E::ButtonTransparentBool), -1);
  EXPECT_EQ(StyleBitmapName(S::MacOS, E::FormMinWidthInt), nullptr);

  EXPECT_FALSE(StyleBoolean(S::FromThemeFile, E::ButtonTransparentBool));
  EXPECT_EQ(StyleColour(S::FromThemeFile, E::FormBackgroundColor), 0u);
  EXPECT_EQ(StyleBitmapName(S::FromThemeFile, E::ButtonImage), nullptr);

  for (int index : {0, 43}) {
    EXPECT_EQ(StyleInteger(S::MacOS, index), -1) << index;
    EXPECT_EQ(StyleBitmapName(S::MacOS, index), nullptr) << index;
  }
}

TEST(ThemekitStyle, FileThemeIsUsedOnlyWhenGivenAndLoaded) {
  EXPECT_EQ(ResolveFileThemeStyle(true, true, S::FromThemeFile), (FileThemeChoice{true, S::FromThemeFile}));
  EXPECT_EQ(ResolveFileThemeStyle(false, false, S::FromThemeFile), (FileThemeChoice{false, S::DeepBlue}));
  EXPECT_EQ(ResolveFileThemeStyle(true, false, S::FromThemeFile), (FileThemeChoice{false, S::DeepBlue}));
  EXPECT_EQ(ResolveFileThemeStyle(true, true, S::WinXP), (FileThemeChoice{false, S::WinXP}));
  EXPECT_EQ(ResolveFileThemeStyle(false, false, S::MacOS), (FileThemeChoice{false, S::MacOS}));
}

TEST(ThemekitStyle, PointInRectIncludesAllFourEdges) {
  const PixRect r{10, 20, 30, 40};
  EXPECT_TRUE(PointInRectInclusive(30, 40, r));
  EXPECT_TRUE(PointInRectInclusive(10, 20, r));
  EXPECT_FALSE(PointInRectInclusive(31, 40, r));
  EXPECT_FALSE(PointInRectInclusive(30, 41, r));
}

}  // namespace
}  // namespace kestu
