// The form reader's Windows side fed damaged descriptions, from a fixed seed:
// the committed forms with values of the wrong kind, extreme numbers, odd
// texts, damaged binary data (bitmaps, icons, pictures, stored skins),
// collections emptied or doubled, objects dropped, doubled or of another
// class, and damaged text. Each read ends with a form or an error, and the
// form, half read or whole, can be shown and freed.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

#include "db/ADOCommand.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "skin/sSkinManager.h"
#include "themekit/SUIDlg.h"
#include "themekit/SUIForm.h"

namespace kestu {

// The root of every damaged description: answers the handler names the
// committed forms use.
class TFuzzRoot : public TForm {
  KESTU_CLASS(TFuzzRoot, TForm)
 public:
  using TForm::TForm;
  void Notify(TObject*) {}
  void Key(TObject*, WORD&, TShiftState) {}
};
KESTU_PUBLISH(TFuzzRoot) {
  p.Handler("FormCreate", &TFuzzRoot::Notify);
  p.Handler("Button1Click", &TFuzzRoot::Notify);
  p.Handler("Button2Click", &TFuzzRoot::Notify);
  p.Handler("FormKeyDown", &TFuzzRoot::Key);
}

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every value slot of a tree: properties of objects and of collection items.
void CollectValues(FormObject& o, std::vector<FormValue*>& values, std::vector<FormObject*>& objects) {
  objects.push_back(&o);
  std::vector<FormProperty*> properties;
  for (FormProperty& p : o.properties) properties.push_back(&p);
  for (std::size_t i = 0; i < properties.size(); ++i) {
    values.push_back(&properties[i]->value);
    for (FormItem& item : properties[i]->value.items)
      for (FormProperty& p : item.properties) properties.push_back(&p);
  }
  for (FormObject& child : o.children) CollectValues(child, values, objects);
}

class Mutator {
 public:
  explicit Mutator(std::uint32_t seed) : random_(seed) {}

  int Below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }
  template <class T> T& Pick(std::vector<T>& v) { return v[std::size_t(Below(int(v.size())))]; }

  FormValue RandomValue(const FormValue& like) {
    FormValue v;
    v.line = like.line;
    switch (Below(8)) {
      case 0: {
        static const std::int64_t kNumbers[] = {0, -1, 1, 255, 65536, INT32_MAX, INT32_MIN, UINT32_MAX,
                                                INT64_MAX, INT64_MIN, -100000, 1 << 30};
        v.kind = FormValue::Kind::Integer;
        v.integer = kNumbers[Below(int(std::size(kNumbers)))];
        break;
      }
      case 1: {
        v.kind = FormValue::Kind::String;
        static const char* kTexts[] = {"", "&", "&&&", "\xE4\xB8\xAD\xE6\x96\x87", "?", "-1", "$FFFFFFFF", "#m (0,0,9,9) (3,1)",
                                       "1;2;3", "8421504;16777215;99;0;0;16777215;16777215;0;0;0", "x.bmp"};
        v.text = kTexts[Below(int(std::size(kTexts)))];
        if (Below(4) == 0) v.text = std::string(std::size_t(Below(5000)), char('a' + Below(26)));
        break;
      }
      case 2:
        v.kind = FormValue::Kind::Identifier;
        v.text = Below(2) ? like.text + "x" : std::string("clRed");
        break;
      case 3:
        v.kind = FormValue::Kind::Boolean;
        v.boolean = Below(2) == 1;
        break;
      case 4:
        v.kind = FormValue::Kind::Set;
        v.set = {"biSystemMenu", "fsBold", "nothing", "7"};
        v.set.resize(std::size_t(Below(5)));
        break;
      case 5:
        v.kind = FormValue::Kind::Collection;
        if (like.kind == FormValue::Kind::Collection && !like.items.empty())
          for (int i = Below(4); i > 0; --i) v.items.push_back(like.items[std::size_t(Below(int(like.items.size())))]);
        break;
      default:
        v.kind = FormValue::Kind::Binary;
        v.bytes = like.kind == FormValue::Kind::Binary ? like.bytes : std::vector<std::uint8_t>(std::size_t(Below(64)));
        DamageBytes(v.bytes);
        break;
    }
    return v;
  }

  void DamageBytes(std::vector<std::uint8_t>& bytes) {
    switch (Below(4)) {
      case 0: bytes.resize(std::size_t(Below(int(bytes.size()) + 1))); break;
      case 1: bytes.resize(bytes.size() + std::size_t(Below(100)), std::uint8_t(Below(256))); break;
      default:
        for (int i = Below(8) + 1; i > 0 && !bytes.empty(); --i)
          bytes[std::size_t(Below(int(bytes.size())))] = std::uint8_t(Below(256));
    }
  }

  void Damage(FormObject& root) {
    std::vector<FormValue*> values;
    std::vector<FormObject*> objects;
    CollectValues(root, values, objects);
    FormObject& object = *Pick(objects);
    switch (Below(6)) {
      case 0:
        if (!object.properties.empty()) object.properties.erase(object.properties.begin() + Below(int(object.properties.size())));
        break;
      case 1:
        if (!object.children.empty()) {
          const std::size_t at = std::size_t(Below(int(object.children.size())));
          if (Below(2)) object.children.erase(object.children.begin() + std::ptrdiff_t(at));
          else object.children.push_back(FormObject(object.children[at]));  // the same name twice
        }
        break;
      case 2: {
        static const char* kClasses[] = {"TButton", "TPanel", "TLabel", "TImage", "TTimer", "TsButton", "TsSkinManager",
                                         "TMainMenu", "TMenuItem", "TToolBar", "TsuiForm", "TADOCommand", "TNoSuchClass"};
        if (&object != &root) object.className = kClasses[Below(int(std::size(kClasses)))];
        break;
      }
      case 3:
        if (FormValue* v = Pick(values); v->kind == FormValue::Kind::Binary) DamageBytes(v->bytes);
        else *v = RandomValue(*v);
        break;
      default:
        if (!values.empty()) {
          FormValue* v = Pick(values);
          *v = RandomValue(*v);
        }
    }
  }

  void DamageText(std::string& text) {
    for (int i = Below(6) + 1; i > 0 && !text.empty(); --i) {
      const std::size_t at = std::size_t(Below(int(text.size())));
      switch (Below(3)) {
        case 0: text[at] = char(Below(256)); break;
        case 1: text.erase(at, std::size_t(Below(40))); break;
        default: text.insert(at, std::string(std::size_t(Below(3) + 1), "'{}<>=\n"[Below(7)]));
      }
    }
  }

 private:
  std::mt19937 random_;
};

struct Seed {
  const char* file;
  int rounds;
};

TEST(FormReaderFuzz, DamagedDescriptionsEndInAFormOrAnErrorAndFreeCleanly) {
  EnsureSkinClasses();
  RegisterClasses<TFuzzRoot, TADOCommand, TsuiForm, TsuiMessageDialog>();
  int boxes = 0;
  Application->SetMessageBoxHook([&](HWND, const String&, const String&, UINT) { return ++boxes, IDOK; });
  Application->SetOnException([](TObject*, const Exception&) {});
  const std::string root = std::string(KESTU_TEST_DATA) + "/../../";
  const Seed seeds[] = {{"tests/windows/resources/TestForm.form", 160},
                        {"resources/forms/frmMessage.form", 80},
                        {"resources/forms/Form1.form", 40},
                        {"tests/windows/resources/SkinTestForm.form", 40}};
  Mutator mutate(20261210);
  const auto start = std::chrono::steady_clock::now();
  int read = 0, refused = 0;
  for (const Seed& seed : seeds) {
    std::string text = ReadText(root + seed.file);
    ASSERT_FALSE(text.empty()) << seed.file;
    // The installer's manifest marker lives in the program only.
    for (std::size_t at; (at = text.find("TXPManifest")) != std::string::npos;) text.replace(at, 11, "TComponent");
    const FormObject original = ParseForm(text);
    for (int round = 0; round < seed.rounds; ++round) {
      auto* form = new TFuzzRoot(Application);
      try {
        if (round % 8 == 7) {
          std::string damaged = text;
          mutate.DamageText(damaged);
          ReadComponentText(form, damaged);
        } else {
          FormObject damaged = original;
          for (int n = mutate.Below(3) + 1; n > 0; --n) mutate.Damage(damaged);
          ReadComponent(form, damaged);
        }
        ++read;
        form->Show();
        Application->ProcessMessages();
      } catch (const Exception&) {
        ++refused;
      }
      delete form;
      Application->ProcessMessages();
    }
  }
  Application->SetMessageBoxHook(nullptr);
  Application->SetOnException(nullptr);
  std::printf("forms read %d, refused %d, boxes %d, %.1f s\n", read, refused, boxes,
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  EXPECT_GT(read, 20);
  EXPECT_GT(refused, 20);
}

}  // namespace
}  // namespace kestu
