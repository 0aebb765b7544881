#include "skin/core/InternalSkin.h"

#include <gtest/gtest.h>

#include <set>

namespace kestu {
namespace {

// The built-in skin loaded the way the manager loads a stored skin, with
// stand-ins of the right sizes for its pictures.
struct InternalSkin : ::testing::Test {
  TsSkinData data;
  TsStoredSkinData stored = MacOSInternalSkin();
  void SetUp() override {
    stored.MasterBitmap.Resize(200, 497);
    for (TsStoredImage& image : stored.Images)
      if (image.ImageCount == 0) image.Image.Resize(51, 38);
    data.LoadSkinMasks(&stored);
    data.LoadSkinPatterns(&stored);
    data.LoadSectionRecords(&stored);
    data.SkinLoaded = true;
  }
  const TsGeneralData& Section(const char* name) { return data.gd.at(std::size_t(data.FindSectionIndex(name))); }
};

TEST_F(InternalSkin, HasAllSectionsOnceInStoredOrderAndAllImages) {
  ASSERT_EQ(data.gd.size(), 88u);
  EXPECT_EQ(data.ma.size(), 77u);
  EXPECT_TRUE(data.pa.empty());
  EXPECT_EQ(data.gd.front().SectionName, "GlobalInfo");
  EXPECT_EQ(data.gd[1].SectionName, "TsSpinEdit");
  EXPECT_EQ(data.gd[86].SectionName, "TsButton");
  EXPECT_EQ(data.gd[87].SectionName, "");
  std::set<std::string> names;
  for (const TsGeneralData& g : data.gd) names.insert(g.SectionName);
  EXPECT_EQ(names.size(), 88u) << "a section name occurs twice";
  // Every parent named is a section of the skin.
  for (const TsGeneralData& g : data.gd) {
    if (!g.ParentClassName.empty()) {
      EXPECT_GE(data.FindSectionIndex(g.ParentClassName), 0) << g.SectionName;
    }
  }
  const TsGeneralData& last = data.gd[87];
  EXPECT_EQ(last.PaintingColor, 0u);
  EXPECT_EQ(last.PaintingBevelWidth, 0);
  EXPECT_EQ(last.SelectionBorderBevel, ebNone);
}

TEST_F(InternalSkin, ButtonSectionDiffersFromTheBaseWhereTheTableSays) {
  const TsGeneralData& b = Section("tsbutton");
  EXPECT_EQ(b.PaintingColor, 0xFFFFFFu);
  EXPECT_EQ(b.GradientPercent, 100);
  ASSERT_EQ(b.Gradient.size(), 3u);
  EXPECT_EQ(b.Gradient[0].StartColor, 16777215u);
  EXPECT_EQ(b.Gradient[0].EndColor, 14211288u);
  EXPECT_EQ(b.Gradient[0].BandPercent, 75);
  EXPECT_EQ(b.HotGradient.size(), 4u);
  EXPECT_EQ(b.HotPaintingColor, 16240300u);
  EXPECT_EQ(b.HotFontColor[1], 16705984);
  EXPECT_EQ(b.HotFontColor[3], -1);
  EXPECT_TRUE(b.ShowFocus);
  EXPECT_TRUE(b.FadingEnabled);
  EXPECT_EQ(b.FadingIterations, 2);
  EXPECT_EQ(b.FadingIntervalIn, 5);
  EXPECT_EQ(b.PaintingBevel, cbNone);

  const TsGeneralData& bit = Section("TsBitBtn");
  EXPECT_EQ(bit.ParentClassName, "TsButton");
  EXPECT_EQ(bit.HotPaintingBevel, cbRaisedSoft);
  EXPECT_EQ(bit.HotPaintingBevelWidth, 3);

  const TsGeneralData& small = Section("TsSpeedButton_Small");
  EXPECT_EQ(small.PaintingTransparency, 100);
  EXPECT_EQ(small.FadingIterations, 1);
  EXPECT_EQ(small.HotPaintingTransparency, 20);
  EXPECT_EQ(small.GradientPercent, 0);

  const TsGeneralData& edit = Section("TsDBMemo");
  EXPECT_EQ(edit.ParentClassName, "TsMemo");
  EXPECT_EQ(edit.PaintingBevel, cbRaisedSoft);
  EXPECT_EQ(edit.PaintingColorBorderTop, 0x808080u);
  EXPECT_EQ(edit.SelectionBorderBevel, ebRaised);

  // " " stands for no gradient; an empty text is empty too.
  EXPECT_EQ(Section("GlobalInfo").GradientData, " ");
  EXPECT_EQ(Section("TsPanel").GradientData, "");
  EXPECT_TRUE(Section("Form").ReservedBoolean);
  EXPECT_TRUE(Section("SCROLLBTNTop").ReservedBoolean);
  EXPECT_EQ(Section("FormTitle").FontColor[0], 8421504);
  EXPECT_EQ(Section("TsDragBar").Gradient.size(), 5u);
}

TEST_F(InternalSkin, ImagesAreFoundThroughSectionsAndParents) {
  int button = data.FindSectionIndex("TsButton");
  int mask = data.FindMaskIndex(button, "TSBUTTON", "BORDERSMASK");
  ASSERT_GE(mask, 0);
  EXPECT_EQ(data.GetMaskSize(mask), (MaskSize{24, 24}));
  EXPECT_EQ(data.ma[std::size_t(mask)].Bitmap, nullptr);
  // TsBitBtn has no borders of its own: its parent's.
  EXPECT_EQ(data.FindMaskIndex(data.FindSectionIndex("TsBitBtn"), "TSBITBTN", "BORDERSMASK"), mask);

  int form = data.FindSectionIndex("Form");
  int close = data.FindMaskIndex(form, "FORM", "BICONCLOSE");
  ASSERT_GE(close, 0);
  ASSERT_NE(data.ma[std::size_t(close)].Bitmap, nullptr);
  EXPECT_EQ(data.GetMaskSize(close), (MaskSize{17, 19}));
  // Joined rows stand for two entries each.
  EXPECT_GE(data.FindMaskIndex(data.FindSectionIndex("TsTabControlLEFT"), "TSTABCONTROLLEFT", "ACTIVETABBORDERSMASK"),
            0);
  // Every rectangle lies in the master bitmap.
  for (const TsMaskData& m : data.ma) {
    if (m.Bitmap) continue;
    EXPECT_TRUE(m.SourceRect.Left >= 0 && m.SourceRect.Top >= 0 && m.SourceRect.Right <= 200 &&
                m.SourceRect.Bottom <= 497 && m.SourceRect.Left < m.SourceRect.Right)
        << m.SectionName << " " << m.PropertyName;
  }
}

}  // namespace
}  // namespace kestu
