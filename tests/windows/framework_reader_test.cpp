// Components, the class registry and the form reader.
#include <gtest/gtest.h>

#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace kestu {

enum TTestKind { tkRed, tkGreen, tkBlue };

class TTestItem : public TCollectionItem {
  KESTU_CLASS(TTestItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  int Value() const { return value_; }
  void SetValue(int v) { value_ = v; }
  TFont* Font() { return &font_; }
  void SetData(const Bytes& v) { data_ = v; }
  Bytes data_;

 private:
  String caption_;
  int value_ = 0;
  TFont font_;
};
KESTU_PUBLISH(TTestItem) {
  p.Str("Caption", &TTestItem::Caption, &TTestItem::SetCaption);
  p.Int("Value", &TTestItem::Value, &TTestItem::SetValue);
  p.Object("Font", &TTestItem::Font);
  p.Binary("Data", &TTestItem::SetData);
}

// A component with one property of every kind.
class TTestPart : public TComponent {
  KESTU_CLASS(TTestPart, TComponent)
 public:
  explicit TTestPart(TComponent* owner) : TComponent(owner), items_(TTestItem::StaticClass(), this) {}
  ~TTestPart() override { Log().push_back(L"free " + Name()); }
  static std::vector<String>& Log() {
    static std::vector<String> log;
    return log;
  }
  TCollection* Items() { return &items_; }
  std::uint32_t Kinds() const { return kinds_; }
  void SetKinds(std::uint32_t v) { kinds_ = v; }
  TTestKind Kind() const { return kind_; }
  void SetKind(TTestKind v) { kind_ = v; }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  TComponent* Link() const { return link_; }
  void SetLink(TComponent* v) {
    if (link_) link_->RemoveFreeNotification(this);
    link_ = v;
    if (v) v->FreeNotification(this);
  }
  void SetOnPing(TNotifyEvent e) { onPing_ = std::move(e); }
  void Ping() { onPing_(this); }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == link_) link_ = nullptr;
  }
  void Loaded() override {
    TComponent::Loaded();
    Log().push_back(L"loaded " + Name() + (Link() ? L"->" + Link()->Name() : L""));
  }

 private:
  TCollection items_;
  std::uint32_t kinds_ = 0;
  TTestKind kind_ = tkRed;
  TColor color_ = clBlack;
  TComponent* link_ = nullptr;
  TNotifyEvent onPing_;
};
KESTU_PUBLISH(TTestPart) {
  p.Collection("Items", &TTestPart::Items);
  p.Set("Kinds", &TTestPart::Kinds, &TTestPart::SetKinds, 0, {"tkRed", "tkGreen", "tkBlue"});
  p.Enum("Kind", &TTestPart::Kind, &TTestPart::SetKind, tkRed, {"tkRed", "tkGreen", "tkBlue"});
  p.Color("Color", &TTestPart::Color, &TTestPart::SetColor, clBlack);
  p.Ref("Link", &TTestPart::Link, &TTestPart::SetLink);
  p.Event("OnPing", &TTestPart::SetOnPing);
}

class TTestRoot : public TComponent {
  KESTU_CLASS(TTestRoot, TComponent)
 public:
  using TComponent::TComponent;
  TTestPart* First = nullptr;
  std::vector<String> pings;
  void PartPing(TObject* sender) { pings.push_back(static_cast<TComponent*>(sender)->Name()); }
  void WrongShape(TObject*, int) {}
  void Loaded() override {
    TComponent::Loaded();
    TTestPart::Log().push_back(L"loaded root");
  }
};
KESTU_PUBLISH(TTestRoot) {
  p.Field("First", &TTestRoot::First);
  p.Handler("PartPing", &TTestRoot::PartPing);
  p.Handler("WrongShape", &TTestRoot::WrongShape);
}

namespace {

const char* const kDescription = R"(object Root: TTestRoot
  Tag = 7
  object First: TTestPart
    Kinds = [tkRed, tkBlue]
    Kind = tkGreen
    Color = clBtnFace
    Link = Second
    OnPing = PartPing
    Items = <
      item
        Caption = 'one'#13#10'二'
        Value = -5
        Font.Height = -14
        Font.Style = [fsBold]
        Data = {0102
          03}
      end
      item
        Value = $10
      end>
  end
  object Second: TTestPart
    Link = Root
  end
end
)";

String ReadError(const std::string& text) {
  TTestRoot root(nullptr);
  try {
    ReadComponentText(&root, text);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return L"(no error)";
}

TEST(FormReader, BuildsComponentsWithEveryKindOfValue) {
  TTestRoot root(nullptr);
  ReadComponentText(&root, kDescription);
  EXPECT_EQ(root.Name(), L"Root");
  EXPECT_EQ(root.Tag(), 7);
  ASSERT_EQ(root.ComponentCount(), 2);
  auto* first = dynamic_cast<TTestPart*>(root.Components(0));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(root.First, first);  // the field was filled in
  EXPECT_EQ(first->Kinds(), 0b101u);
  EXPECT_EQ(first->Kind(), tkGreen);
  EXPECT_EQ(first->Color(), clBtnFace);
  ASSERT_EQ(first->Items()->Count(), 2);
  auto* item = first->Items()->Item<TTestItem>(0);
  EXPECT_EQ(item->Caption(), L"one\r\n二");
  EXPECT_EQ(item->Value(), -5);
  EXPECT_EQ(item->Font()->Height(), -14);
  EXPECT_EQ(item->Font()->Style(), TFontStyles(fsBold));
  EXPECT_EQ(item->data_, (Bytes{1, 2, 3}));
  EXPECT_EQ(first->Items()->Item<TTestItem>(1)->Value(), 16);
  EXPECT_FALSE(first->HasState(csLoading | csReading));
}

TEST(FormReader, ResolvesReferencesAndHandlersAfterReadingThenLoadsInCreationOrder) {
  TTestPart::Log().clear();
  {
    TTestRoot root(nullptr);
    ReadComponentText(&root, kDescription);
    auto* first = static_cast<TTestPart*>(root.Components(0));
    auto* second = static_cast<TTestPart*>(root.Components(1));
    EXPECT_EQ(first->Link(), second);  // named before it was created
    EXPECT_EQ(second->Link(), &root);
    first->Ping();
    EXPECT_EQ(root.pings, std::vector<String>{L"First"});
    // References were in place when Loaded ran.
    EXPECT_EQ(TTestPart::Log(),
              (std::vector<String>{L"loaded root", L"loaded First->Second", L"loaded Second->Root"}));
    TTestPart::Log().clear();
  }
  // The owner frees what it owns, last first.
  EXPECT_EQ(TTestPart::Log(), (std::vector<String>{L"free Second", L"free First"}));
}

TEST(FormReader, RemovalNotificationClearsReferences) {
  TTestRoot root(nullptr);
  ReadComponentText(&root, kDescription);
  auto* first = static_cast<TTestPart*>(root.Components(0));
  delete root.Components(1);
  EXPECT_EQ(first->Link(), nullptr);
  EXPECT_EQ(root.ComponentCount(), 1);
  // A component that never asked is not told: no dangling lists either way.
  TTestPart other(nullptr);
  first->SetLink(&other);
  first->SetLink(nullptr);
}

TEST(FormReader, ErrorsNameTheComponentPropertyAndLine) {
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TNoSuchClass\n  end\nend"),
            L"A: class TNoSuchClass not found (line 2)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TTestPart\n    Colour = 1\n  end\nend"),
            L"A.Colour: property does not exist (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TTestPart\n\n    Kind = tkPurple\n  end\nend"),
            L"A.Kind: invalid enumeration value tkPurple (line 4)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TTestPart\n    Kinds = [tkRed, tkNone]\n  end\nend"),
            L"A.Kinds: invalid set element tkNone (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TTestPart\n    Color = 'red'\n  end\nend"),
            L"A.Color: invalid value, an integer is expected (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TTestPart\n    Link = Nobody\n  end\nend"),
            L"A.Link: component Nobody not found (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TTestPart\n    OnPing = Missing\n  end\nend"),
            L"A.OnPing: handler Missing not found (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TTestPart\n    OnPing = WrongShape\n  end\nend"),
            L"A.OnPing: handler WrongShape has the wrong parameters (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TTestPart\n    Items = <\n      item\n"
                      "        Font.Size = 'big'\n      end>\n  end\nend"),
            L"A.Items[0].Font.Size: invalid value, an integer is expected (line 5)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object A: TTestPart\n  end\n  object A: TTestPart\n  end\nend"),
            L"A: A component named A already exists (line 4)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  Tag = 'x"), L"TTestRoot: line 2: unterminated string");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object L: TLabel\n    Font = 3\n  end\nend"),
            L"L.Font: an object property takes no value; set its parts (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object L: TLabel\n    Caption.Size = 3\n  end\nend"),
            L"L.Caption: is not an object property (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object L: TLabel\n    Font.Height = 99999999999\n  end\nend"),
            L"L.Font.Height: integer value out of range (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object L: TLabel\n    Visible = 1\n  end\nend"),
            L"L.Visible: invalid value, True or False is expected (line 3)");
  EXPECT_EQ(ReadError("object Root: TTestRoot\n  object P: TBitmap\n  end\nend"),
            L"P: class TBitmap cannot be created (line 2)");
}

TEST(Components, PropertiesByNameUseTheOneRegistry) {
  TTestRoot root(nullptr);
  auto* part = new TTestPart(&root);
  auto* label = new TLabel(&root);
  EXPECT_TRUE(HasPublishedProperty(part, "kind"));  // names compare case-insensitively
  EXPECT_FALSE(HasPublishedProperty(part, "UIStyle"));
  EXPECT_TRUE(HasPublishedProperty(label, "Caption"));  // inherited from TControl
  SetEnumProp(part, "Kind", "tkBlue");
  EXPECT_EQ(part->Kind(), tkBlue);
  SetOrdProp(part, "Color", clRed);
  EXPECT_EQ(GetOrdProp(part, "Color"), std::int64_t(clRed));
  SetObjectProp(part, "Link", label);
  EXPECT_EQ(part->Link(), label);
  EXPECT_THROW(SetObjectProp(label, "FocusControl", part), EConvertError);  // not a window control
  // Sub-objects are copied, never shared.
  TFont font;
  font.SetHeight(-20);
  SetObjectProp(label, "Font", &font);
  EXPECT_EQ(label->Font()->Height(), -20);
  EXPECT_NE(label->Font(), &font);
  EXPECT_THROW(SetOrdProp(part, "NoSuch", 1), EConvertError);
  // Classes are created by name.
  const TClass* cls = FindClass("tbutton");
  ASSERT_NE(cls, nullptr);
  TComponent* button = cls->createComponent(&root);
  EXPECT_EQ(button->ClassName(), L"TButton");
  EXPECT_TRUE(button->InheritsFrom(TWinControl::StaticClass()));
  EXPECT_EQ(root.ComponentCount(), 3);
  EXPECT_EQ(root.Components(2), button);
}

TEST(Components, OwnershipNamesAndDesignState) {
  TTestRoot root(nullptr);
  root.SetDesigning(true);
  auto* a = new TTestPart(&root);
  EXPECT_TRUE(a->HasState(csDesigning));  // inherited from the owner
  a->SetName(L"Alpha");
  EXPECT_EQ(root.FindComponent(L"ALPHA"), a);
  auto* b = new TTestPart(&root);
  EXPECT_THROW(b->SetName(L"alpha"), EComponentError);
  EXPECT_THROW(b->SetName(L"9lives"), EComponentError);
  root.RemoveComponent(a);
  EXPECT_EQ(a->Owner(), nullptr);
  EXPECT_EQ(root.ComponentCount(), 1);
  delete a;
}

TEST(Components, CollectionAssignCopiesItems) {
  TCollection source(TTestItem::StaticClass());
  auto* item = static_cast<TTestItem*>(source.Add());
  item->SetCaption(L"x");
  item->SetValue(3);
  item->Font()->SetName(L"Tahoma");
  TCollection copy(TTestItem::StaticClass());
  copy.Add();
  copy.Add();
  int changes = 0;
  copy.SetOnChange([&](TObject*) { ++changes; });
  copy.Assign(&source);
  ASSERT_EQ(copy.Count(), 1);
  auto* copied = copy.Item<TTestItem>(0);
  EXPECT_NE(copied, item);
  EXPECT_EQ(copied->Caption(), L"x");
  EXPECT_EQ(copied->Value(), 3);
  EXPECT_EQ(copied->Font()->Name(), L"Tahoma");
  EXPECT_EQ(copied->Index(), 0);
  EXPECT_GT(changes, 0);
}

}  // namespace
}  // namespace kestu
