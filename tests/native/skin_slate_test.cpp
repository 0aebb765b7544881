// The skin folder "Slate" that ships beside the program, loaded the way the
// manager loads a skin on disk.
#include "skin/core/SkinData.h"

#include <gtest/gtest.h>

#include <set>

namespace kestu {
namespace {

const std::string kSlate = std::string(KESTU_TEST_DATA) + "/../../resources/skins/Slate/";
constexpr Bgr kMagenta{255, 0, 255};

struct Slate : ::testing::Test {
  TsSkinData data;
  std::vector<std::string> errors;
  void SetUp() override {
    data.OnError = [this](const std::string& e) { errors.push_back(e); };
    data.IniFile = std::make_unique<IniFile>(IniFile::Load(kSlate + "Options.dat"));
    data.SkinPath = kSlate;
    data.LoadSkinMasks();
    data.LoadSkinPatterns();
    data.LoadSectionRecords();
    data.SkinLoaded = true;
  }
  int Index(const char* section) { return data.FindSectionIndex(section); }
  const TsGeneralData& Section(const char* name) { return data.gd.at(std::size_t(Index(name))); }
  int Mask(const char* section, const char* property) {
    return data.FindMaskIndex(Index(section), section, property);
  }
  MaskSize SizeOf(const char* section, const char* property) { return data.GetMaskSize(Mask(section, property)); }
};

TEST_F(Slate, LoadsEveryNamedFileWithoutError) {
  EXPECT_TRUE(errors.empty());
  std::set<std::string> names;
  for (const TsGeneralData& g : data.gd) names.insert(g.SectionName);
  for (const char* wanted : {"GlobalInfo", "FORM", "FORMTITLE", "MENULINE", "MAINMENU", "MENUITEM", "TSBUTTON"})
    EXPECT_TRUE(names.count(wanted)) << wanted;
  ASSERT_NE(data.MasterBitmap, nullptr);
  // Every key that names a picture made an entry: nothing was missing or unreadable.
  int named = 0;
  for (const IniFile::Section& section : data.IniFile->Sections())
    for (const IniFile::Key& key : section.keys)
      if (section.name != "GlobalInfo" && (key.value.find(".bmp") != std::string::npos)) ++named;
  EXPECT_EQ(int(data.ma.size()), named);
  EXPECT_EQ(data.pa.size(), 2u);  // the form's image and hot image
}

TEST_F(Slate, ButtonKindsInheritFromTheButtonSection) {
  const TsGeneralData& button = Section("TsButton");
  EXPECT_EQ(button.Gradient.size(), 2u);
  EXPECT_TRUE(button.ShowFocus);
  EXPECT_EQ(button.FadingIterations, 3);

  const TsGeneralData& bit = Section("TsBitBtn");
  EXPECT_EQ(bit.ParentClassName, "TSBUTTON");
  EXPECT_EQ(bit.HotPaintingBevel, cbRaisedSoft);  // its own
  EXPECT_EQ(bit.GradientData, button.GradientData);  // inherited
  EXPECT_EQ(bit.HotPaintingColor, button.HotPaintingColor);
  EXPECT_TRUE(bit.ShowFocus);

  // Two levels: the small speed button over the speed button over the button.
  const TsGeneralData& small = Section("TsSpeedButton_Small");
  EXPECT_EQ(small.PaintingTransparency, 100);
  EXPECT_EQ(small.HotPaintingTransparency, 20);
  EXPECT_EQ(small.GradientPercent, 0);
  EXPECT_EQ(small.HotGradientData, button.HotGradientData);
  EXPECT_EQ(small.FontColor[0], button.FontColor[0]);

  // Pictures follow the parents too.
  const int borders = Mask("TSBUTTON", "BORDERSMASK");
  ASSERT_GE(borders, 0);
  EXPECT_EQ(Mask("TSBITBTN", "BORDERSMASK"), borders);
  EXPECT_EQ(Mask("TSSPEEDBUTTON_SMALL", "BORDERSMASK"), borders);
  EXPECT_EQ(Mask("COLHEADER", "BORDERSMASK"), borders);
}

TEST_F(Slate, PicturesHaveTheSizesTheFrameAndTheButtonUse) {
  // Own bitmaps: three states above their masks.
  EXPECT_EQ(SizeOf("TSBUTTON", "BORDERSMASK"), (MaskSize{24, 24}));
  for (const char* button : {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM"}) {
    const int m = Mask("FORM", button);
    ASSERT_GE(m, 0) << button;
    ASSERT_NE(data.ma[std::size_t(m)].Bitmap, nullptr) << button;
    EXPECT_EQ(data.GetMaskSize(m), (MaskSize{17, 19})) << button;
  }
  EXPECT_EQ(SizeOf("FORM", "BORDERSMASK"), (MaskSize{9, 9}));
  EXPECT_EQ(SizeOf("FORMTITLE", "BORDERSMASK"), (MaskSize{30, 24}));
  // Rectangles of the master bitmap.
  EXPECT_EQ(SizeOf("FORM", "BICONHELP"), (MaskSize{17, 19}));
  EXPECT_EQ(SizeOf("FORM", "TITLEBUTTON"), (MaskSize{16, 18}));
  EXPECT_EQ(SizeOf("FORM", "GRIPIMAGE"), (MaskSize{18, 18}));
  EXPECT_EQ(SizeOf("MAINMENU", "IMAGEFILE"), (MaskSize{64, 22}));
  for (const TsMaskData& m : data.ma) {
    if (m.Bitmap) {
      EXPECT_EQ(m.Bitmap->Width() % 3, 0) << m.SectionName << "." << m.PropertyName;
      EXPECT_EQ(m.Bitmap->Height() % 2, 0) << m.SectionName << "." << m.PropertyName;
      continue;
    }
    EXPECT_TRUE(m.SourceRect.Left >= 0 && m.SourceRect.Top >= 0 &&
                m.SourceRect.Right <= data.MasterBitmap->Width() && m.SourceRect.Bottom <= data.MasterBitmap->Height())
        << m.SectionName << "." << m.PropertyName;
  }
  // The form's background is the JPEG pattern, tiled.
  const int pattern = data.FindPatternIndex(Index("FORM"), "FORM", "IMAGEFILE");
  ASSERT_GE(pattern, 0);
  EXPECT_EQ(data.pa[std::size_t(pattern)].Image.Width(), 64);
  EXPECT_EQ(data.pa[std::size_t(pattern)].Image.Height(), 64);
  EXPECT_GE(data.FindPatternIndex(Index("FORM"), "FORM", "HOTIMAGEFILE"), 0);
}

TEST_F(Slate, TheTitleCutsTheWindowsTopCornersOnly) {
  const int m = Mask("FORMTITLE", "BORDERSMASK");
  ASSERT_GE(m, 0);
  const PixelBuffer& title = *data.ma[std::size_t(m)].Bitmap;
  EXPECT_EQ(title.At(0, 0), kMagenta);
  EXPECT_EQ(title.At(29, 0), kMagenta);
  EXPECT_NE(title.At(15, 0), kMagenta);
  EXPECT_NE(title.At(0, 23), kMagenta);
  EXPECT_NE(title.At(29, 23), kMagenta);
  // The frame itself is square: no key colour anywhere in its pictures.
  const PixelBuffer& frame = *data.ma[std::size_t(Mask("FORM", "BORDERSMASK"))].Bitmap;
  for (int y = 0; y < frame.Height() / 2; ++y)
    for (int x = 0; x < frame.Width(); ++x) EXPECT_NE(frame.At(x, y), kMagenta) << x << "," << y;
}

}  // namespace
}  // namespace kestu
