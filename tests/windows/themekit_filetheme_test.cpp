// Theme files on disk: the component resolves and loads the path, readers
// answer by element, components whose style is FromThemeFile take their look
// from it and fall back to DeepBlue when it goes away.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/SysUtils.h"
#include "themekit/SUIButton.h"
#include "themekit/SUIMgr.h"
#include "themekit/SUIPopupMenu.h"

namespace kestu {
namespace {

struct Entry {
  std::string name;
  std::uint8_t type;
  Bytes data;
};

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A theme file: header, then each record followed by its data, then the
// terminating record.
Bytes ThemeFile(const std::vector<Entry>& entries) {
  Bytes file(24, 0);
  Put32(file, 12, 24);
  Put32(file, 20, 24);
  for (const Entry& e : entries) {
    const std::size_t record = file.size();
    file.resize(record + 77, 0);
    std::memcpy(&file[record], e.name.data(), e.name.size());
    file[record + 64] = e.type;
    Put32(file, record + 65, std::uint32_t(record + 77));
    Put32(file, record + 69, std::uint32_t(e.data.size()));
    file.insert(file.end(), e.data.begin(), e.data.end());
    Put32(file, record + 73, std::uint32_t(file.size()));
  }
  file.resize(file.size() + 77, 0);  // the terminator: next offset 0
  return file;
}

Bytes Int32(std::int32_t v) {
  Bytes b(4);
  Put32(b, 0, std::uint32_t(v));
  return b;
}

Bytes StripBmp(int w, int h, TColor colour) {
  TBitmap strip(w, h);
  strip.Canvas()->Brush()->SetColor(colour);
  strip.Canvas()->FillRect(RECT{0, 0, w, h});
  Bytes bmp;
  strip.SaveToBmp(bmp);
  return bmp;
}

String TempPath(const String& name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return String(folder) + name;
}

void Write(const String& path, const Bytes& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, f);
  DWORD written = 0;
  WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

class ThemeFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    first = TempPath(L"kestu-first.theme");
    second = TempPath(L"kestu-second.theme");
    Write(first, ThemeFile({{"buttonimage", 0, StripBmp(30, 12, clRed)},
                            {"ButtonTransparentBool", 2, {1}},
                            {"MenuBackgroundColor", 1, Int32(0x00123456)},
                            {"FormRoundCornerInt", 1, Int32(7)}}));
    Write(second, ThemeFile({{"ButtonTransparentBool", 2, {0}}}));
  }
  void TearDown() override {
    DeleteFileW(first.c_str());
    DeleteFileW(second.c_str());
  }
  String first, second;
};

TEST_F(ThemeFiles, ElementsAreReadByNameIgnoringCase) {
  TsuiFileTheme theme(nullptr);
  EXPECT_FALSE(theme.IsThemeLoaded());
  theme.SetThemeFile(first);
  EXPECT_TRUE(theme.IsThemeLoaded());
  EXPECT_EQ(first, theme.ThemeFile());
  EXPECT_TRUE(theme.ThemeBoolean(TsuiElement::ButtonTransparentBool));
  EXPECT_EQ(0x00123456u, theme.ThemeColour(TsuiElement::MenuBackgroundColor));
  EXPECT_EQ(7, theme.ThemeInteger(TsuiElement::FormRoundCornerInt));
  EXPECT_EQ(-1, theme.ThemeInteger(TsuiElement::FormMinWidthInt));                    // missing
  EXPECT_EQ(0xFFFFFFFFu, theme.ThemeColour(TsuiElement::FormBackgroundColor));          // missing
  TBitmap image;
  theme.ThemeStateImage(TsuiElement::ButtonImage, &image, 2, 3);
  EXPECT_EQ(10, image.Width());
  EXPECT_EQ(12, image.Height());
  EXPECT_EQ(clRed, image.Canvas()->Pixel(5, 5));
  TBitmap untouched(4, 4);
  theme.ThemeBitmap(TsuiElement::CheckBoxImage, &untouched);  // missing: left as it was
  EXPECT_EQ(4, untouched.Width());

  // A missing file keeps the theme and its path.
  theme.SetThemeFile(TempPath(L"no-such.theme"));
  EXPECT_EQ(first, theme.ThemeFile());
  EXPECT_TRUE(theme.ThemeBoolean(TsuiElement::ButtonTransparentBool));
}

TEST_F(ThemeFiles, BadFilesAreRefusedAndTheOldThemeStays) {
  const String bad = TempPath(L"kestu-bad.theme");
  Bytes truncated = ThemeFile({{"ButtonTransparentBool", 2, {1}}});
  Put32(truncated, 24 + 65, 100000);  // data far past the end
  Write(bad, truncated);
  TsuiFileTheme theme(nullptr);
  theme.SetThemeFile(first);
  EXPECT_THROW(theme.SetThemeFile(bad), Exception);
  EXPECT_EQ(first, theme.ThemeFile());
  EXPECT_TRUE(theme.IsThemeLoaded());
  EXPECT_EQ(7, theme.ThemeInteger(TsuiElement::FormRoundCornerInt));
  DeleteFileW(bad.c_str());
}

TEST_F(ThemeFiles, BareNamesAreLookedUpBesideTheProgram) {
  const String name = L"kestu-beside.theme";
  const String beside = ExtractFilePath(ProgramPath()) + name;
  Write(beside, ThemeFile({}));
  // Elsewhere than the program's folder, so that the bare name is not found as it is.
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(TempPath(L"").c_str());
  TsuiFileTheme theme(nullptr);
  theme.SetThemeFile(name);
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(beside, theme.ThemeFile());
  EXPECT_TRUE(theme.IsThemeLoaded());  // an empty chain still counts as loaded
  EXPECT_FALSE(theme.ThemeBoolean(TsuiElement::ButtonTransparentBool));
  DeleteFileW(beside.c_str());
}

TEST_F(ThemeFiles, ComponentsFollowTheFileAndFallBackWhenItGoes) {
  TForm form(nullptr);
  auto* theme = new TsuiFileTheme(&form);
  theme->SetThemeFile(first);
  auto* button = new TsuiButton(&form);
  auto* menu = new TsuiPopupMenu(&form);
  button->SetUIStyle(TsuiUIStyle::FromThemeFile);
  button->SetFileTheme(theme);
  menu->SetUIStyle(TsuiUIStyle::FromThemeFile);
  menu->SetFileTheme(theme);
  EXPECT_TRUE(button->Transparent());
  EXPECT_EQ(TColor(0x00123456), menu->Color());
  EXPECT_EQ(TColor(0xFFFFFFFF), menu->BarColor());  // missing colours are used as they read

  // Loading another file refreshes the form's components that use the theme.
  theme->SetThemeFile(second);
  EXPECT_FALSE(button->Transparent());

  delete theme;
  EXPECT_EQ(nullptr, button->FileTheme());
  EXPECT_EQ(TsuiUIStyle::DeepBlue, button->UIStyle());
  EXPECT_EQ(nullptr, menu->FileTheme());
  EXPECT_EQ(TsuiUIStyle::DeepBlue, menu->UIStyle());
  EXPECT_EQ(TColor(0x00FFFFFF), menu->Color());
}

}  // namespace
}  // namespace kestu
