#include "skin/core/StoredSkinText.h"

#include "base/Bmp.h"
#include "base/FormText.h"
#include "skin/core/InternalSkin.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestu {
namespace {

PixelBuffer Striped(int width, int height) {
  PixelBuffer p(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) p.At(x, y) = {std::uint8_t(x * 7), std::uint8_t(y * 3), std::uint8_t(x ^ y)};
  return p;
}

// The built-in skin with small stand-ins for its pictures.
TsStoredSkinData SkinWithPictures() {
  TsStoredSkinData skin = MacOSInternalSkin();
  skin.MasterBitmap = Striped(13, 5);
  for (TsStoredImage& image : skin.Images)
    if (image.ImageCount == 0) image.Image = Striped(6, 4);
  return skin;
}

const FormProperty& Property(const std::vector<FormProperty>& properties, const std::string& path) {
  for (const FormProperty& p : properties)
    if (p.path == path) return p;
  throw std::runtime_error("no property " + path);
}

std::vector<std::string> Paths(const std::vector<FormProperty>& properties) {
  std::vector<std::string> out;
  for (const FormProperty& p : properties) out.push_back(p.path);
  return out;
}

// Parses the text as the value of a manager inside a form.
FormObject ParseManager(const std::vector<TsStoredSkinData>& skins) {
  std::string text = "object Form1: TForm1\n  object sSkinManager1: TsSkinManager\n" +
                     InternalSkinsText(skins, "    ") + "    SkinDirectory = 'Skins'\n  end\nend\n";
  return ParseForm(text).children.at(0);
}

PixelBuffer PictureOf(const FormValue& data) {
  EXPECT_EQ(data.kind, FormValue::Kind::Binary);
  const std::vector<std::uint8_t>& b = data.bytes;
  EXPECT_GE(b.size(), 4u);
  const std::uint32_t length = b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t(b[3]) << 24;
  EXPECT_EQ(length, b.size() - 4);
  return ReadBmp(b.data() + 4, b.size() - 4, {.usePixelOffset = false});
}

void ExpectSamePixels(const PixelBuffer& a, const PixelBuffer& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
}

TEST(StoredSkinText, EverySectionCarriesEveryPublishedPropertyInStreamOrder) {
  const TsStoredSkinData skin = SkinWithPictures();
  const FormObject manager = ParseManager({skin});
  ASSERT_EQ(Paths(manager.properties), (std::vector<std::string>{"InternalSkins", "SkinDirectory"}));
  const FormValue& skins = manager.properties[0].value;
  ASSERT_EQ(skins.items.size(), 1u);
  const std::vector<FormProperty>& item = skins.items[0].properties;
  EXPECT_EQ(Paths(item), (std::vector<std::string>{"Name", "GeneralData", "Images", "Patterns", "MasterBitmap.Data"}));
  EXPECT_EQ(Property(item, "Name").value.text, kInternalSkinName);

  const std::vector<FormItem>& sections = Property(item, "GeneralData").value.items;
  ASSERT_EQ(sections.size(), 88u);
  const std::vector<std::string> streamOrder{
      "SectionName", "ParentClassName", "PaintingColor", "PaintingBevel", "PaintingBevelWidth", "ShadowBlur",
      "ShadowColor", "ShadowDontUse", "ShadowEnabled", "ReservedBoolean", "ShadowOffset", "ShadowTransparency",
      "FontColor", "HotFontColor", "PaintingTransparency", "GradientPercent", "GradientData", "ImagePercent",
      "ShowFocus", "FadingEnabled", "FadingIntervalIn", "FadingIntervalOut", "FadingIterations",
      "HotPaintingColor", "HotPaintingTransparency", "HotPaintingBevel", "HotPaintingBevelWidth",
      "HotGradientPercent", "HotGradientData", "HotImagePercent", "PaintingColorBorderTop",
      "PaintingColorBorderBottom", "SelectionBorderBevel", "SelectionBorderWidth", "SelectionColor", "Name"};
  for (const FormItem& section : sections) EXPECT_EQ(Paths(section.properties), streamOrder);

  // Values as the table holds them: the button section.
  const std::vector<FormProperty>& button = sections[86].properties;
  EXPECT_EQ(Property(button, "SectionName").value.text, "TsButton");
  EXPECT_EQ(Property(button, "HotPaintingColor").value.integer, 16240300);
  EXPECT_EQ(Property(button, "HotGradientData").value.text, skin.GeneralData[86].HotGradientData);
  EXPECT_TRUE(Property(button, "ShowFocus").value.boolean);
  EXPECT_EQ(Property(sections[1].properties, "PaintingBevel").value.text, "cbRaisedSoft");
  EXPECT_EQ(Property(sections[0].properties, "SelectionBorderBevel").value.text, "ebLowered");
  EXPECT_EQ(Property(sections[0].properties, "GradientData").value.text, " ");
}

TEST(StoredSkinText, OnlyImagesOfTheirOwnCarryPicturesAndPicturesRoundTrip) {
  const TsStoredSkinData skin = SkinWithPictures();
  const FormObject manager = ParseManager({skin});
  const std::vector<FormProperty>& item = manager.properties[0].value.items[0].properties;
  const std::vector<FormItem>& images = Property(item, "Images").value.items;
  ASSERT_EQ(images.size(), 77u);
  int own = 0;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::vector<FormProperty>& image = images[i].properties;
    const bool hasPicture = Paths(image)[1] == "Image.Data";
    EXPECT_EQ(hasPicture, skin.Images[i].ImageCount == 0) << skin.Images[i].PropertyName;
    if (!hasPicture) continue;
    ++own;
    ExpectSamePixels(PictureOf(Property(image, "Image.Data").value), skin.Images[i].Image);
  }
  EXPECT_EQ(own, 4);
  ExpectSamePixels(PictureOf(Property(item, "MasterBitmap.Data").value), skin.MasterBitmap);
  EXPECT_TRUE(Property(item, "Patterns").value.items.empty());
}

TEST(StoredSkinText, StringsAndEmptyPicturesSurviveTheText) {
  TsStoredSkinData skin;
  skin.Name = "It's \"odd\"\ttoo";
  skin.GeneralData.emplace_back();
  skin.GeneralData[0].SectionName = "";
  const FormObject manager = ParseManager({skin, skin});
  const FormValue& skins = manager.properties[0].value;
  ASSERT_EQ(skins.items.size(), 2u);
  EXPECT_EQ(Property(skins.items[1].properties, "Name").value.text, skin.Name);
  EXPECT_EQ(Property(skins.items[0].properties, "GeneralData").value.items.size(), 1u);
  EXPECT_EQ(Property(skins.items[0].properties, "MasterBitmap.Data").value.bytes,
            (std::vector<std::uint8_t>{0, 0, 0, 0}));

  skin.GeneralData[0].PaintingBevel = 5;  // no such bevel kind
  EXPECT_THROW(InternalSkinsText({skin}, ""), std::invalid_argument);
  skin.GeneralData[0].PaintingBevel = cbNone;
  skin.Patterns.emplace_back();  // JPEG data cannot be written
  EXPECT_THROW(InternalSkinsText({skin}, ""), std::invalid_argument);
}

TEST(StoredSkinText, ReplacesTheValueBetweenItsAnchorsOnly) {
  const std::string form =
      "object Form1: TForm1\n  object M: TsSkinManager\n    InternalSkins = <\n      item\n        Name = 'old'\n"
      "      end>\n    SkinDirectory = 'Skins'\n    SkinName = 'x'\n  end\nend\n";
  TsStoredSkinData skin;
  skin.Name = "new";
  const std::string replaced = ReplaceInternalSkins(form, {skin});
  EXPECT_EQ(replaced.substr(0, 50), form.substr(0, 50));
  EXPECT_EQ(replaced.find("'old'"), std::string::npos);
  EXPECT_NE(replaced.find("    InternalSkins = <\n      item\n        Name = 'new'\n"), std::string::npos);
  EXPECT_NE(replaced.find("      end>\n    SkinDirectory = 'Skins'\n    SkinName = 'x'\n  end\nend\n"),
            std::string::npos);
  EXPECT_EQ(ReplaceInternalSkins(replaced, {skin}), replaced);
  EXPECT_NO_THROW(ParseForm(replaced));

  EXPECT_THROW(ReplaceInternalSkins("object F: T\nend\n", {skin}), std::runtime_error);
  EXPECT_THROW(ReplaceInternalSkins("InternalSkins = <>\nInternalSkins = <>\nSkinDirectory = ''\n", {skin}),
               std::runtime_error);
  EXPECT_THROW(ReplaceInternalSkins("SkinDirectory = ''\nInternalSkins = <>\n", {skin}), std::runtime_error);
}

}  // namespace
}  // namespace kestu
