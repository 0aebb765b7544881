// The skin folders the build puts beside the programs: the installer's skin
// folder resolves to them, "Slate" is listed after the stored skin, selecting
// it loads it from its description file, and the stored skin comes back.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "skin/sCustomButton.h"
#include "skin/sSkinManager.h"

#include "SkinTestForm.h"

namespace kestu {
namespace {

TEST(SkinFolder, SlateBesideTheProgramIsListedAppliedAndLeftAgain) {
  EnsureSkinClasses();
  auto* form = CreateFormFromResource<TSkinTestForm>(Application);
  TsSkinManager* manager = form->sSkinManager1;
  const TsSkinData& skin = TsSkinData::Instance();
  ASSERT_EQ(manager->SkinDirectory(), L"Skins");
  const String folder = ExtractFilePath(ProgramPath()) + L"Skins";
  EXPECT_EQ(manager->ResolveSkinDirectory(), folder);
  ASSERT_TRUE(FileExists(folder + L"\\Slate\\Options.dat")) << "the build copies resources/skins beside the program";

  std::vector<String> names;
  EXPECT_EQ(manager->ListAvailableSkins(names), L"MacOS (internal)");
  EXPECT_EQ(names, (std::vector<String>{L"MacOS (internal)", L"Slate"}));

  manager->SetSkinName(L"Slate");
  EXPECT_EQ(manager->SkinName(), L"Slate");
  ASSERT_NE(skin.IniFile, nullptr);
  EXPECT_EQ(skin.SkinPath, StringToUtf8(folder + L"\\Slate\\"));
  ASSERT_NE(skin.MasterBitmap, nullptr);
  EXPECT_GE(skin.FindSectionIndex("FORM"), 0);
  // The button found its section in the file, and its borders.
  TsActiveBGStyle* style = form->Button1->sStyle();
  ASSERT_GE(style->SectionIndex, 0);
  EXPECT_EQ(skin.gd[std::size_t(style->SectionIndex)].SectionName, "TSBUTTON");
  ASSERT_GE(style->BorderMaskIndex, 0);
  EXPECT_NE(skin.ma[std::size_t(style->BorderMaskIndex)].Bitmap, nullptr);

  manager->SetSkinName(L"MacOS (internal)");
  EXPECT_EQ(skin.IniFile, nullptr);
  EXPECT_EQ(skin.gd.size(), 88u);
  EXPECT_EQ(skin.gd[std::size_t(style->SectionIndex)].SectionName, "TsButton");
  delete form;
}

}  // namespace
}  // namespace kestu
