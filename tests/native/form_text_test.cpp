#include "base/FormText.h"

#include <gtest/gtest.h>

namespace kestu {
namespace {

const FormProperty& Prop(const FormObject& o, const std::string& path) {
  for (const FormProperty& p : o.properties)
    if (p.path == path) return p;
  throw std::runtime_error("no property " + path);
}

int ErrorLine(const std::string& text) {
  try {
    ParseForm(text);
  } catch (const FormSyntaxError& e) {
    return e.Line();
  }
  return 0;
}

TEST(FormText, BuildsNestedObjectsWithLinesAndDottedPaths) {
  FormObject root = ParseForm(
      "object Form1: TForm1\n"
      "  Font.Height = -12\n"
      "  object Panel1: TPanel\n"
      "    object Button1: TButton\n"
      "      sStyle.Painting.Color = clBtnFace\n"
      "    end\n"
      "  end\n"
      "  object TTimer\n"
      "  end\n"
      "end\n");
  EXPECT_EQ(root.name, "Form1");
  EXPECT_EQ(root.className, "TForm1");
  EXPECT_EQ(Prop(root, "Font.Height").value.integer, -12);
  ASSERT_EQ(root.children.size(), 2u);
  const FormObject& button = root.children[0].children.at(0);
  EXPECT_EQ(button.name, "Button1");
  EXPECT_EQ(button.line, 4);
  const FormProperty& color = Prop(button, "sStyle.Painting.Color");
  EXPECT_EQ(color.line, 5);
  EXPECT_EQ(color.value.kind, FormValue::Kind::Identifier);
  EXPECT_EQ(color.value.text, "clBtnFace");
  EXPECT_EQ(root.children[1].name, "");
  EXPECT_EQ(root.children[1].className, "TTimer");
}

TEST(FormText, ReadsEveryKindOfScalar) {
  FormObject o = ParseForm(
      "object A: TA\n"
      "  Hex = $FF00000F\n"
      "  Neg = -2147483648\n"
      "  Big = 9223372036854775807\n"
      "  Real = 1.5e2\n"
      "  Yes = true\n"
      "  No = False\n"
      "  Ref = Form1.Button1\n"
      "end");
  EXPECT_EQ(Prop(o, "Hex").value.integer, 0xFF00000F);
  EXPECT_EQ(Prop(o, "Neg").value.integer, -2147483648LL);
  EXPECT_EQ(Prop(o, "Big").value.integer, INT64_MAX);
  EXPECT_EQ(Prop(o, "Real").value.kind, FormValue::Kind::Float);
  EXPECT_DOUBLE_EQ(Prop(o, "Real").value.real, 150.0);
  EXPECT_EQ(Prop(o, "Yes").value.kind, FormValue::Kind::Boolean);
  EXPECT_TRUE(Prop(o, "Yes").value.boolean);
  EXPECT_FALSE(Prop(o, "No").value.boolean);
  EXPECT_EQ(Prop(o, "Ref").value.text, "Form1.Button1");
}

TEST(FormText, JoinsStringPartsQuotesCodesAndContinuations) {
  FormObject o = ParseForm(
      "object A: TA\n"
      "  S = 'It''s '#23433'装'#$41 +\n"
      "    ' more'\n"
      "  Empty = ''\n"
      "  T = 'after'\n"
      "end");
  EXPECT_EQ(Prop(o, "S").value.text, "It's \xE5\xAE\x89\xE8\xA3\x85" "A more");
  EXPECT_EQ(Prop(o, "Empty").value.text, "");
  EXPECT_EQ(Prop(o, "T").line, 5);  // the continuation line was counted
}

TEST(FormText, ReadsSetsListsCollectionsAndBinaryOverSeveralLines) {
  FormObject o = ParseForm(
      "object A: TA\n"
      "  Icons = [biSystemMenu, biMinimize]\n"
      "  None = []\n"
      "  Lines = (\n"
      "    'a'\n"
      "    'b')\n"
      "  Skins = <\n"
      "    item\n"
      "      Name = 'MacOS'\n"
      "      Master.Data = {\n"
      "        0A00\n"
      "        00ff}\n"
      "    end\n"
      "    item\n"
      "    end>\n"
      "end");
  EXPECT_EQ(Prop(o, "Icons").value.set, (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
  EXPECT_TRUE(Prop(o, "None").value.set.empty());
  ASSERT_EQ(Prop(o, "Lines").value.list.size(), 2u);
  EXPECT_EQ(Prop(o, "Lines").value.list[1].text, "b");
  const FormValue& skins = Prop(o, "Skins").value;
  ASSERT_EQ(skins.items.size(), 2u);
  EXPECT_EQ(skins.items[0].line, 8);
  const FormValue& data = skins.items[0].properties.at(1).value;
  EXPECT_EQ(data.bytes, (std::vector<std::uint8_t>{0x0A, 0x00, 0x00, 0xFF}));
  EXPECT_TRUE(skins.items[1].properties.empty());
}

TEST(FormText, ErrorsNameTheLineOfTheFault) {
  EXPECT_EQ(ErrorLine("object A: TA\n  S = 'open\nend"), 2);
  EXPECT_EQ(ErrorLine("object A: TA\n  X = 1\n  Y = {0A0}\nend"), 3);
  EXPECT_EQ(ErrorLine("object A: TA\n  D = {0G}\nend"), 2);
  EXPECT_EQ(ErrorLine("object A: TA\n  X = 99999999999999999999\nend"), 2);
  EXPECT_EQ(ErrorLine("object A: TA\n  X = \nend"), 3);  // 'end' is not a value
  EXPECT_EQ(ErrorLine("object A: TA\n  X = [a b]\nend"), 2);
  EXPECT_EQ(ErrorLine("object A: TA\n  C = #55296\nend"), 2);  // a lone surrogate
  EXPECT_EQ(ErrorLine("object A: TA\n  object B: TB\n  end\n"), 4);  // missing end
  EXPECT_EQ(ErrorLine("object A: TA\nend\nobject B: TB\nend"), 3);
  EXPECT_EQ(ErrorLine("thing A: TA\nend"), 1);
  EXPECT_EQ(ErrorLine(""), 1);
}

TEST(FormText, RejectsTooDeepNestingWithoutExhaustingTheStack) {
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "object A: TA\n";
  EXPECT_THROW(ParseForm(deep), FormSyntaxError);
  std::string lists = "object A: TA\n X = ";
  lists.append(10000, '(');
  EXPECT_THROW(ParseForm(lists), FormSyntaxError);
}

}  // namespace
}  // namespace kestu
