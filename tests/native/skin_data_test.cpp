#include "skin/core/SkinData.h"

#include "base/TextUtil.h"

#include <gtest/gtest.h>

namespace kestu {
namespace {

const std::string kSkinDir = std::string(KESTU_TEST_DATA) + "/skin/TestSkin/";

// Loads the committed test skin the way the manager does.
struct FileSkin : ::testing::Test {
  TsSkinData data;
  void SetUp() override {
    data.IniFile = std::make_unique<IniFile>(IniFile::Load(kSkinDir + "Options.dat"));
    data.SkinPath = kSkinDir;
    data.LoadSkinMasks();
    data.LoadSkinPatterns();
    data.LoadSectionRecords();
    data.SkinLoaded = true;
  }
  const TsGeneralData& Section(const char* name) { return data.gd.at(std::size_t(data.FindSectionIndex(name))); }
};

TEST_F(FileSkin, SectionsInheritThroughParentsWithDefaultsAndAbsentMarkers) {
  ASSERT_EQ(data.gd.size(), 6u);
  EXPECT_EQ(data.gd[0].SectionName, "GlobalInfo");
  const TsGeneralData& base = Section("Base");
  EXPECT_EQ(base.PaintingColor, 0x00FF00u);
  EXPECT_EQ(base.PaintingBevel, cbNone);  // 7 is no bevel kind: as if absent
  EXPECT_EQ(base.ShadowColor, 255u);
  EXPECT_EQ(base.ShadowTransparency, 100);  // 150 clamped
  EXPECT_EQ(base.Gradient.size(), 2u);
  EXPECT_EQ(base.FontColor[0], 16);
  EXPECT_EQ(base.FontColor[1], -1);
  EXPECT_EQ(base.FontColor[3], 16777215);
  EXPECT_TRUE(base.ShowFocus);
  EXPECT_EQ(base.ShadowBlur, 6);
  EXPECT_EQ(base.SelectionBorderBevel, ebLowered);
  EXPECT_EQ(base.HotGradientData, "");
  const TsGeneralData& child = Section("child");
  EXPECT_EQ(child.ParentClassName, "Base");
  EXPECT_EQ(child.PaintingColor, 0x00FF00u);   // -1 is absent: inherited
  EXPECT_EQ(child.ShadowColor, 0u);            // never inherited
  EXPECT_EQ(child.Gradient, base.Gradient);    // "?" is absent: inherited
  EXPECT_EQ(child.ImagePercent, 0);            // not a number: the default
  EXPECT_EQ(child.PaintingBevelWidth, 4);
  EXPECT_FALSE(Section("Self").ShowFocus);
  EXPECT_EQ(Section("Self").PaintingColor, 0xFFFFFFu);  // a section naming itself stops there
  EXPECT_EQ(Section("LoopA").PaintingColor, 0xFFFFFFu);  // a two-section cycle ends too
  EXPECT_EQ(Section("GlobalInfo").GradientData, " ");
  EXPECT_TRUE(Section("GlobalInfo").Gradient.empty());
}

TEST_F(FileSkin, ImagesComeFromTheMasterOrOwnFilesAndBadOrMissingFilesAreSkipped) {
  ASSERT_NE(data.MasterBitmap, nullptr);
  EXPECT_EQ(data.MasterBitmap->Width(), 60);
  ASSERT_EQ(data.ma.size(), 3u);  // BORDERSMASK, TILEMASK, GLYPH; no "#", missing or lying files
  EXPECT_EQ(data.ma[0].SectionName, "BASE");
  EXPECT_EQ(data.ma[0].PropertyName, "BORDERSMASK");
  EXPECT_EQ(data.ma[0].SourceRect, (PixRect{0, 0, 12, 12}));
  EXPECT_EQ(data.ma[1].ImageCount, 1);  // 0 raised to 1
  EXPECT_EQ(data.ma[1].MaskType, 0);    // -3 raised to 0
  ASSERT_NE(data.ma[2].Bitmap, nullptr);
  EXPECT_EQ(data.GetMaskSize(2), (MaskSize{17, 19}));
  EXPECT_EQ(data.GetMaskSize(0), (MaskSize{12, 6}));
  ASSERT_EQ(data.pa.size(), 2u);  // GlobalInfo's and Child's; the missing one skipped
  EXPECT_EQ(data.pa[0].SectionName, "GLOBALINFO");
  EXPECT_EQ(data.pa[1].Image.Width(), 8);
  EXPECT_NEAR(data.pa[1].Image.At(3, 3).g, 128, 2);
}

TEST_F(FileSkin, LookupsFallBackToParentsAndAnswerNothingWhileUnloaded) {
  int child = data.FindSectionIndex("CHILD");
  EXPECT_EQ(data.FindMaskIndex(child, "Child", "BORDERSMASK"), 0);  // the parent's entry
  EXPECT_EQ(data.FindMaskIndex(child, "Child", "GLYPH"), 2);
  EXPECT_EQ(data.FindPatternIndex(child, "Child", "PATTERN"), 1);
  EXPECT_EQ(data.FindPatternIndex(child, "Child", "BACKDROP"), -1);
  EXPECT_EQ(data.FindMaskIndex(data.FindSectionIndex("LoopA"), "LoopA", "GLYPH"), -1);
  EXPECT_EQ(data.FindMaskIndex(child, "", "GLYPH"), -1);
  EXPECT_EQ(data.FindMaskIndex(99, "Child", "GLYPH"), -1);
  data.SkinLoaded = false;
  EXPECT_EQ(data.FindSectionIndex("Child"), -1);
  EXPECT_EQ(data.FindMaskIndex(child, "Child", "GLYPH"), -1);
  EXPECT_FALSE(data.IsValidMask(0));
  EXPECT_FALSE(data.IsValidSection(0));
}

TEST(SkinFileErrors, MalformedNumbersRaiseConversionErrorsNamingTheKey) {
  auto load = [](const char* text, bool sections) {
    TsSkinData data;
    data.IniFile = std::make_unique<IniFile>(IniFile::Parse(text));
    data.SkinPath = kSkinDir;
    data.LoadSkinMasks();
    if (sections) data.LoadSectionRecords();
    return data.ma.size();
  };
  const char* master = "[GlobalInfo]\nMasterBitmap=master.bmp\n[S]\n";
  EXPECT_THROW(load((std::string(master) + "A=#m (1,2,x,4) (1,1)").c_str(), false), ConvertError);
  EXPECT_THROW(load((std::string(master) + "A=#m (1,2,3,4)").c_str(), false), ConvertError);
  try {
    load("[Broken]\nGradientData=1;2;3;zz;0", true);
    ADD_FAILURE() << "no error";
  } catch (const ConvertError& e) {
    EXPECT_NE(std::string(e.what()).find("[Broken] GradientData"), std::string::npos) << e.what();
  }
  // Without a master bitmap "#" values are no images at all.
  EXPECT_EQ(load("[S]\nA=#m (1,2,x,4) (1,1)", false), 0u);
}

TEST(StoredSkin, ItemsAreCopiedAndAColourErrorEndsOnlyThatItem) {
  TsStoredSkinData stored;
  stored.MasterBitmap = PixelBuffer(10, 10);
  stored.Images.push_back({"Form", PixelBuffer(51, 38), "BICLOSE.BMP", "BIconClose", 0, 0, 0, 0, 0, 0});
  stored.Images.push_back({"TsButton", {}, "", "BordersMask", 0, 449, 72, 497, 3, 1});
  TsStoredGeneral broken;
  broken.SectionName = "Broken";
  broken.PaintingColor = 0x123456;
  broken.FontColor = "0 x -1 -1 -1";
  broken.GradientData = "1;2;3;0;0";
  broken.FadingIterations = 7;
  TsStoredGeneral plain;
  plain.SectionName = "Plain";
  plain.HotFontColor = "0 16705984 16705984 -1 -1";
  stored.GeneralData = {broken, plain};

  TsSkinData data;
  data.LoadSkinMasks(&stored);
  data.LoadSkinPatterns(&stored);
  data.LoadSectionRecords(&stored);
  data.SkinLoaded = true;
  ASSERT_EQ(data.ma.size(), 2u);
  EXPECT_EQ(data.ma[0].SectionName, "FORM");
  EXPECT_EQ(data.ma[0].PropertyName, "BICONCLOSE");
  EXPECT_EQ(data.GetMaskSize(0), (MaskSize{17, 19}));
  EXPECT_EQ(data.ma[1].Bitmap, nullptr);
  EXPECT_EQ(data.GetMaskSize(1), (MaskSize{24, 24}));
  ASSERT_EQ(data.gd.size(), 2u);
  EXPECT_EQ(data.gd[0].PaintingColor, 0x123456u);  // copied before the error
  EXPECT_TRUE(data.gd[0].Gradient.empty());        // after it: never copied
  EXPECT_EQ(data.gd[0].FadingIterations, 0);
  EXPECT_EQ(data.gd[1].FontColor[0], 0);  // empty text: 0 -1 -1 -1 -1
  EXPECT_EQ(data.gd[1].FontColor[4], -1);
  EXPECT_EQ(data.gd[1].HotFontColor[1], 16705984);
  EXPECT_EQ(data.FindSectionIndex("plain"), 1);
  data.FreeSkinMasks();
  EXPECT_TRUE(data.ma.empty());
  EXPECT_EQ(data.MasterBitmap, nullptr);
}

TEST(LoadPictureFile, ChoosesTheDecoderByExtensionAndSwallowsFailures) {
  PixelBuffer own = LoadPictureFile(kSkinDir + "own.bmp", true);
  ASSERT_EQ(own.Width(), 51);
  EXPECT_EQ(own.At(20, 0), (Bgr{70, 70, 70}));  // (60 + 50 + 100) div 3
  EXPECT_EQ(LoadPictureFile(kSkinDir + "pattern.jpg", true).Height(), 8);
  EXPECT_EQ(LoadPictureFile(kSkinDir + "Options.dat", false).Width(), 0);
  EXPECT_EQ(LoadPictureFile(kSkinDir + "liar.bmp", false).Width(), 0);
  EXPECT_EQ(LoadPictureFile(kSkinDir + "absent.jpg", false).Width(), 0);
}

}  // namespace
}  // namespace kestu
