// The gallery's theme file Meadow.theme, which the build puts beside the
// programs: it serves every element of the catalogue, its pictures as large
// as the WinXP ones they were drawn from (so strips split into the same
// states), and a window set to FromThemeFile takes its colours from it.
#include <gtest/gtest.h>

#include "framework/SysUtils.h"
#include "themekit/SUIForm.h"
#include "themekit/SUIMgr.h"

namespace kestu {
namespace {

class GalleryTheme : public ::testing::Test {
 protected:
  void SetUp() override {
    theme = new TsuiFileTheme(nullptr);
    theme->SetThemeFile(ExtractFilePath(ProgramPath()) + L"Meadow.theme");
  }
  void TearDown() override { delete theme; }
  TsuiFileTheme* theme = nullptr;
};

TEST_F(GalleryTheme, ServesEveryElement) {
  ASSERT_TRUE(theme->IsThemeLoaded());
  for (int index = 1; index <= kStyleElementCount; ++index) {
    SCOPED_TRACE(std::string(ElementName(index)));
    switch (ElementKind(index)) {
      case TsuiElementKind::Bitmap: {
        const StyleValue winxp = LookUpStyleElement(TsuiUIStyle::WinXP, index).Value;
        TBitmap picture;
        theme->ThemeBitmap(index, &picture);
        EXPECT_EQ(picture.Width(), winxp.Width);
        EXPECT_EQ(picture.Height(), winxp.Height);
        break;
      }
      case TsuiElementKind::Integer:
      case TsuiElementKind::Colour:
        // A missing entry reads -1; no element of this theme is negative
        // but the title buttons' right offset.
        if (index == TsuiElement::TitleBarButtonRightOffsetInt) EXPECT_EQ(theme->ThemeInteger(index), -2);
        else EXPECT_GE(theme->ThemeInteger(index), 0);
        break;
      case TsuiElementKind::Boolean:
        EXPECT_FALSE(theme->ThemeBoolean(index));
        break;
    }
  }
}

TEST_F(GalleryTheme, AFrameFromTheThemeFileTakesItsColours) {
  auto* host = new TForm(nullptr);
  host->SetBounds(100, 100, 300, 200);
  auto* frame = new TsuiForm(host);
  frame->SetUIStyle(TsuiUIStyle::FromThemeFile);
  frame->SetFileTheme(theme);
  EXPECT_EQ(frame->Color(), TColor(0x00E4F0E6));
  EXPECT_EQ(frame->BorderColor(), TColor(0x00307A2C));
  EXPECT_EQ(frame->BorderWidth(), 3);
  delete host;
}

}  // namespace
}  // namespace kestu
