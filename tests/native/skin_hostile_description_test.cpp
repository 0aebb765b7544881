// Description files built to be slow: long parent chains over many sections,
// lookups through them, and more image values than a skin can hold. Loading
// and looking up stay bounded, and the chain rules hold at their limits.
#include "skin/core/SkinData.h"

#include <gtest/gtest.h>

#include <ctime>

namespace kestu {
namespace {

const std::string kSkinDir = std::string(KESTU_TEST_DATA) + "/skin/TestSkin/";

// Processor time of this process: what the work costs, whatever else the
// machine is busy with. (Before chains were resolved once and names indexed,
// the loading below took two minutes of it, the lookups far longer.)
double CpuSeconds(std::clock_t since) { return double(std::clock() - since) / CLOCKS_PER_SEC; }

// `sections` sections in chains of `chain`: the head of each chain sets
// every colour, each other section names the one before it as its parent.
std::string Chains(int sections, int chain) {
  std::string text;
  for (int i = 0; i < sections; ++i) {
    text += "[S" + std::to_string(i) + "]\n";
    if (i % chain == 0)
      text += "PaintingColor=" + std::to_string(i) + "\nHotPaintingColor=7\nBordersMask=#m (0,0,12,12) (1,1)\n";
    else
      text += "ParentClassName=S" + std::to_string(i - 1) + "\n";
  }
  return text;
}

struct Loaded {
  TsSkinData data;
  explicit Loaded(const std::string& text) {
    data.IniFile = std::make_unique<IniFile>(IniFile::Parse("[GlobalInfo]\nMasterBitmap=master.bmp\n" + text));
    data.SkinPath = kSkinDir;
    data.LoadSkinMasks();
    data.LoadSkinPatterns();
    data.LoadSectionRecords();
    data.SkinLoaded = true;
  }
};

TEST(HostileDescription, LongChainsOverManySectionsLoadAndLookUpInBoundedTime) {
  const int sections = 20000;
  const std::clock_t start = std::clock();
  Loaded skin(Chains(sections, kMaxParentDepth));
  EXPECT_LT(CpuSeconds(start), 15.0) << "loading";
  ASSERT_EQ(skin.data.gd.size(), std::size_t(sections) + 1);

  const std::clock_t lookups = std::clock();
  int found = 0;
  for (int i = 0; i < sections; i += 7) {
    const std::string name = "s" + std::to_string(i);
    const int index = skin.data.FindSectionIndex(name);
    if (skin.data.FindMaskIndex(index, name, "BORDERSMASK") >= 0) ++found;
  }
  EXPECT_LT(CpuSeconds(lookups), 5.0) << "looking up";
  EXPECT_EQ(found, (sections + 6) / 7);  // every section reaches its chain's head
}

TEST(HostileDescription, AChainReachesSixtyFourSectionsAndNoFurther) {
  Loaded skin(Chains(70, 70));
  auto colour = [&](int i) { return skin.data.gd[std::size_t(skin.data.FindSectionIndex("S" + std::to_string(i)))]; };
  EXPECT_EQ(colour(63).HotPaintingColor, 7u);        // itself and 63 parents: the head is the 64th
  EXPECT_EQ(colour(64).HotPaintingColor, 0xFFFFFFu);  // the head is the 65th: the default
  EXPECT_EQ(colour(69).PaintingColor, 0xFFFFFFu);
  EXPECT_EQ(skin.data.FindMaskIndex(skin.data.FindSectionIndex("S64"), "S64", "BORDERSMASK"), 0);
  EXPECT_EQ(skin.data.FindMaskIndex(skin.data.FindSectionIndex("S65"), "S65", "BORDERSMASK"), -1);
}

TEST(HostileDescription, CyclesOfAnyLengthEndAtTheFirstSectionMetAgain) {
  Loaded skin("[A]\nParentClassName=C\nPaintingColor=1\n[B]\nParentClassName=a\nShadowBlur=9\n"
              "[C]\nParentClassName=B\nImagePercent=5\n[D]\nParentClassName=d\n");
  const TsGeneralData& a = skin.data.gd[1];
  EXPECT_EQ(a.ShadowBlur, 9);    // A -> C -> B
  EXPECT_EQ(a.ImagePercent, 5);
  const TsGeneralData& b = skin.data.gd[2];
  EXPECT_EQ(b.PaintingColor, 1u);  // B -> A
  EXPECT_EQ(b.ImagePercent, 5);    // B -> A -> C
  EXPECT_EQ(skin.data.gd[4].ParentClassName, "d");  // names itself in another case: no parent
}

TEST(HostileDescription, ImageValuesPastWhatASkinHoldsAreNotTaken) {
  std::string text = "[Many]\n";
  for (int i = 0; i < 70000; ++i) text += "K" + std::to_string(i) + "=#m (0,0,1,1) (1,0)\n";
  for (int i = 0; i < 5000; ++i) text += "F" + std::to_string(i) + "=missing" + std::to_string(i) + ".bmp\n";
  Loaded skin(text);
  EXPECT_EQ(skin.data.ma.size(), std::size_t(1) << 16);
  EXPECT_EQ(skin.data.FindMaskIndex(1, "Many", "K65535"), 65535);
  EXPECT_EQ(skin.data.FindMaskIndex(1, "Many", "K65536"), -1);
}

}  // namespace
}  // namespace kestu
