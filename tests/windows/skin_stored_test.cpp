// The built-in skin as the installer's form description stores it: read
// through the form reader it is the skin of the table with the committed
// pictures, value for value and pixel for pixel, and the test forms carry
// the same skin.
#include <gtest/gtest.h>

#include "base/FormText.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "skin/SkinResources.h"
#include "skin/core/InternalSkin.h"
#include "skin/core/StoredSkinText.h"
#include "skin/sSkinManager.h"

#include <memory>

namespace kestu {
namespace {

// The skin the table and the pictures give, the way the skin generator
// stores it.
TsStoredSkinData BuiltInSkin() {
  TsStoredSkinData skin = MacOSInternalSkin();
  skin.MasterBitmap = LoadResourceBitmap(L"SKIN_MASTER");
  for (TsStoredImage& image : skin.Images) {
    if (image.ImageCount != 0) continue;
    const wchar_t* name = image.PropertyName == "BIconClose" ? L"SKIN_BICLOSE"
                          : image.PropertyName == "BIconMax" ? L"SKIN_BIMAX"
                          : image.PropertyName == "BIconMin" ? L"SKIN_BIMIN"
                                                             : L"SKIN_BINORM";
    image.Image = LoadResourceBitmap(name);
  }
  return skin;
}

// The skin manager of a stored form description, read on a form of its own.
struct StoredManager {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TsSkinManager* manager = nullptr;
  explicit StoredManager(const wchar_t* resource) {
    const Bytes data = LoadResourceData(resource);
    FormObject description = ParseForm(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    FormObject only;
    only.className = "TForm";
    for (FormObject& child : description.children)
      if (child.className == "TsSkinManager") only.children.push_back(std::move(child));
    if (only.children.size() != 1) return;
    ReadComponent(form.get(), only);
    manager = dynamic_cast<TsSkinManager*>(form->FindComponent(L"sSkinManager1"));
  }
  std::string SkinText() {
    std::vector<TsStoredSkinData> skins;
    for (int i = 0; i < manager->InternalSkins()->Count(); ++i)
      skins.push_back(manager->InternalSkins()->Item<TsStoredSkin>(i)->ToData());
    return InternalSkinsText(skins, "");
  }
};

TEST(StoredSkin, TheInstallersDescriptionHoldsTheTableAndThePicturesExactly) {
  EnsureSkinClasses();
  const TsStoredSkinData builtIn = BuiltInSkin();
  ASSERT_EQ(builtIn.MasterBitmap.Width(), 200);
  StoredManager stored(L"TFORM1");
  ASSERT_NE(stored.manager, nullptr);
  EXPECT_EQ(stored.manager->SkinDirectory(), L"Skins");
  EXPECT_EQ(stored.manager->SkinName(), L"MacOS (internal)");
  // Every published value and every pixel, as the generator writes them.
  EXPECT_TRUE(stored.SkinText() == InternalSkinsText({builtIn}, "")) << "the stored skin differs from the table";

  // The skin tables it loaded are those of the built-in skin.
  const TsSkinData& skin = TsSkinData::Instance();
  ASSERT_TRUE(skin.SkinLoaded);
  EXPECT_EQ(skin.gd.size(), builtIn.GeneralData.size());
  EXPECT_EQ(skin.ma.size(), builtIn.Images.size());
  ASSERT_NE(skin.MasterBitmap, nullptr);
  EXPECT_EQ(skin.MasterBitmap->At(12, 449 + 12), builtIn.MasterBitmap.At(12, 449 + 12));
}

TEST(StoredSkin, TheSkinTestFormCarriesTheSameSkin) {
  EnsureSkinClasses();
  std::string installer;
  {
    StoredManager stored(L"TFORM1");
    ASSERT_NE(stored.manager, nullptr);
    installer = stored.SkinText();
  }
  StoredManager test(L"TSKINTESTFORM");
  ASSERT_NE(test.manager, nullptr);
  EXPECT_TRUE(test.SkinText() == installer);
}

}  // namespace
}  // namespace kestu
