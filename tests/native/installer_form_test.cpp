// The installer window's stored description: its components in creation
// order with their kinds, the values the skin engine depends on, and the
// order in which the skin manager's values are read.
#include "base/FormText.h"
#include "base/FileBytes.h"
#include "base/IniFile.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestu {
namespace {

FormObject Installer() {
  const std::vector<unsigned char> bytes =
      ReadFileBytes(std::string(KESTU_TEST_DATA) + "/../../resources/forms/Form1.form", IniFile::kMaxFileBytes);
  return ParseForm(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

const FormObject& Child(const FormObject& form, const std::string& name) {
  for (const FormObject& c : form.children)
    if (c.name == name) return c;
  throw std::runtime_error("no component " + name);
}

const FormValue& Value(const FormObject& o, const std::string& path) {
  for (const FormProperty& p : o.properties)
    if (p.path == path) return p.value;
  throw std::runtime_error(o.name + " has no " + path);
}

std::vector<std::string> Paths(const FormObject& o) {
  std::vector<std::string> out;
  for (const FormProperty& p : o.properties) out.push_back(p.path);
  return out;
}

TEST(InstallerForm, ComponentsInCreationOrder) {
  const FormObject form = Installer();
  EXPECT_EQ(form.className, "TForm1");
  std::vector<std::string> order;
  for (const FormObject& c : form.children) order.push_back(c.name + ": " + c.className);
  EXPECT_EQ(order, (std::vector<std::string>{"Label1: TLabel", "Label2: TLabel", "Button1: TsButton",
                                             "ADOCommand: TADOCommand", "XPManifest1: TXPManifest",
                                             "sSkinManager1: TsSkinManager", "sSkinProvider1: TsSkinProvider",
                                             "suiMessageDialog1: TsuiMessageDialog"}));
  EXPECT_EQ(Value(form, "ClientWidth").integer, 288);
  EXPECT_EQ(Value(form, "ClientHeight").integer, 118);
  EXPECT_EQ(Value(form, "BorderIcons").set, std::vector<std::string>{"biSystemMenu"});
}

TEST(InstallerForm, TheSkinFolderIsResolvedBeforeTheSkinIsSelected) {
  const FormObject form = Installer();
  const FormObject& manager = Child(form, "sSkinManager1");
  EXPECT_EQ(Paths(manager), (std::vector<std::string>{"InternalSkins", "SkinDirectory", "SkinName"}));
  EXPECT_EQ(Value(manager, "SkinDirectory").text, "Skins");
  EXPECT_EQ(Value(manager, "SkinName").text, "MacOS (internal)");
  const FormValue& skins = Value(manager, "InternalSkins");
  ASSERT_EQ(skins.items.size(), 1u);
  EXPECT_EQ(skins.items[0].properties.at(0).value.text, "MacOS (internal)");

  const FormObject& provider = Child(form, "sSkinProvider1");
  EXPECT_EQ(Value(provider, "BorderIcons").set, (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
  EXPECT_TRUE(Value(provider, "TitleButtons").items.empty());
}

TEST(InstallerForm, TheButtonCarriesItsSixSkinValues) {
  const FormObject button = Child(Installer(), "Button1");
  EXPECT_EQ(Value(button, "sStyle.GroupIndex").integer, 0);
  EXPECT_EQ(Value(button, "sStyle.SkinSection").text, "TsButton");
  EXPECT_EQ(Value(button, "sStyle.Painting.Color").text, "clBtnFace");
  EXPECT_EQ(Value(button, "sStyle.Background.Gradient.Data").text,
            "8421504;16777215;99;0;0;16777215;16777215;0;0;0");
  EXPECT_EQ(Value(button, "sStyle.HotStyle.HotBackground.Gradient.Data").text,
            "8421504;8421504;10;0;0;8421504;16777215;43;0;0;16777215;10658466;28;0;0;10658466;13816530;18;0;0;"
            "13816530;13816530;0;0;0");
  EXPECT_EQ(Value(button, "sStyle.HotStyle.HotPainting.Transparency").integer, 0);
  EXPECT_EQ(Value(button, "OnClick").text, "Button1Click");
}

}  // namespace
}  // namespace kestu
