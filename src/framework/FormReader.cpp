#include "framework/FormReader.h"

#include <limits>

namespace kestu {

namespace {

struct Fixup {
  TObject* object;
  const PropInfo* prop;
  std::string value;
  String where;  // "Form1.Button1.PopupMenu"
  int line;
};

class Reader {
 public:
  explicit Reader(TComponent* root) : root_(root) {}

  void Read(const FormObject& description) {
    if (!description.name.empty() && root_->Name().empty()) {
      // A second instance of a form owned by the same owner gets Name_1, Name_2, ...
      String name = Utf8ToString(description.name);
      TComponent* owner = root_->Owner();
      for (int n = 1; owner && owner->FindComponent(name); ++n)
        name = Utf8ToString(description.name) + L"_" + std::to_wstring(n);
      root_->SetName(name);
    }
    created_.push_back(root_);
    Begin(root_);
    try {
      ReadBody(root_, description, root_->Name().empty() ? root_->ClassName() : root_->Name());
      ResolveFixups();
    } catch (...) {
      for (TComponent* c : created_) End(c);
      throw;
    }
    for (TComponent* c : created_) End(c);
    for (TComponent* c : created_) c->Loaded();
  }

 private:
  static void Begin(TComponent* c) {
    c->SetLoading(true);
    c->SetReading(true);
  }
  static void End(TComponent* c) { c->SetReading(false); }

  [[noreturn]] static void Fail(const String& where, const String& what, int line) {
    throw EReadError(where + L": " + what + L" (line " + std::to_wstring(line) + L")");
  }

  void ReadBody(TComponent* component, const FormObject& o, const String& where) {
    for (const FormProperty& p : o.properties) Assign(component, p.path, p.value, where, p.line);
    for (const FormObject& child : o.children) ReadChild(component, child);
  }

  void ReadChild(TComponent* parent, const FormObject& o) {
    const String name = Utf8ToString(o.name);
    const String where = name.empty() ? Utf8ToString(o.className) : name;
    const TClass* cls = FindClass(o.className);
    if (!cls) Fail(where, L"class " + Utf8ToString(o.className) + L" not found", o.line);
    if (!cls->createComponent) Fail(where, L"class " + Utf8ToString(o.className) + L" cannot be created", o.line);
    TComponent* child = nullptr;
    try {
      child = cls->createComponent(root_);
      Begin(child);
      child->SetName(name);
    } catch (const EReadError&) {
      throw;
    } catch (const Exception& e) {
      delete child;
      Fail(where, e.Message(), o.line);
    }
    created_.push_back(child);
    if (const FieldInfo* field = root_->ClassType().FindField(o.name)) field->set(root_, child);
    child->SetParentComponent(parent);
    ReadBody(child, o, where);
  }

  // Walks a dotted path through owned sub-objects, then sets the last part.
  void Assign(TObject* object, const std::string& path, const FormValue& v, const String& owner, int line) {
    String where = owner;
    std::size_t start = 0;
    for (;;) {
      std::size_t dot = path.find('.', start);
      std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      where += L"." + Utf8ToString(part);
      const PropInfo* p = FindPropInfo(object, part);
      if (!p) Fail(where, L"property does not exist", line);
      if (dot == std::string::npos) {
        try {
          SetValue(object, *p, v, where, line);
        } catch (const EReadError&) {
          throw;
        } catch (const Exception& e) {
          Fail(where, e.Message(), line);
        }
        return;
      }
      if (p->kind != PropKind::Object) Fail(where, L"is not an object property", line);
      object = p->getObj(object);
      if (!object) Fail(where, L"object is not assigned", line);
      start = dot + 1;
    }
  }

  static std::int64_t OrdinalOf(const PropInfo& p, const FormValue& v, const String& where, int line) {
    using K = FormValue::Kind;
    switch (p.kind) {
      case PropKind::Integer:
      case PropKind::Color: {
        std::int64_t n = 0;
        if (v.kind == K::Integer) {
          n = v.integer;
        } else if (v.kind == K::Identifier && p.fromIdent && p.fromIdent(v.text, n)) {
        } else {
          Fail(where, L"invalid value, an integer is expected", line);
        }
        if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::uint32_t>::max())
          Fail(where, L"integer value out of range", line);
        return n;
      }
      case PropKind::Boolean:
        if (v.kind != K::Boolean) Fail(where, L"invalid value, True or False is expected", line);
        return v.boolean;
      case PropKind::Enum:
        if (v.kind == K::Identifier)
          for (std::size_t i = 0; i < p.names.size(); ++i)
            if (SameText(p.names[i], v.text)) return std::int64_t(i);
        Fail(where, L"invalid enumeration value " + Utf8ToString(v.text), line);
      case PropKind::Set: {
        if (v.kind != K::Set) Fail(where, L"invalid value, a set is expected", line);
        std::int64_t bits = 0;
        for (const std::string& element : v.set) {
          std::size_t i = 0;
          while (i < p.names.size() && !SameText(p.names[i], element)) ++i;
          if (i == p.names.size()) Fail(where, L"invalid set element " + Utf8ToString(element), line);
          bits |= std::int64_t(1) << i;
        }
        return bits;
      }
      default:
        Fail(where, L"not an ordinal property", line);
    }
  }

  void SetValue(TObject* object, const PropInfo& p, const FormValue& v, const String& where, int line) {
    using K = FormValue::Kind;
    switch (p.kind) {
      case PropKind::Integer:
      case PropKind::Color:
      case PropKind::Boolean:
      case PropKind::Enum:
      case PropKind::Set:
        p.setOrd(object, OrdinalOf(p, v, where, line));
        return;
      case PropKind::String:
        if (v.kind != K::String) Fail(where, L"invalid value, a string is expected", line);
        p.setStr(object, Utf8ToString(v.text));
        return;
      case PropKind::Binary:
        if (v.kind != K::Binary) Fail(where, L"invalid value, binary data is expected", line);
        p.setBytes(object, v.bytes);
        return;
      case PropKind::Component:
      case PropKind::Event:
        if (v.kind != K::Identifier) Fail(where, L"invalid value, a name is expected", line);
        fixups_.push_back({object, &p, v.text, where, line});
        return;
      case PropKind::Collection: {
        if (v.kind != K::Collection) Fail(where, L"invalid value, a collection is expected", line);
        auto* collection = dynamic_cast<TCollection*>(p.getObj(object));
        if (!collection) Fail(where, L"collection is not assigned", line);
        collection->Clear();
        for (std::size_t i = 0; i < v.items.size(); ++i) {
          TCollectionItem* item = collection->Add();
          const String itemWhere = where + L"[" + std::to_wstring(i) + L"]";
          for (const FormProperty& ip : v.items[i].properties) Assign(item, ip.path, ip.value, itemWhere, ip.line);
        }
        return;
      }
      case PropKind::Object:
        Fail(where, L"an object property takes no value; set its parts", line);
    }
  }

  TComponent* FindReference(const std::string& name) const {
    const String n = Utf8ToString(name);
    if (SameText(name, StringToUtf8(root_->Name()))) return root_;
    return root_->FindComponent(n);
  }

  void ResolveFixups() {
    for (const Fixup& f : fixups_) {
      if (f.prop->kind == PropKind::Component) {
        TComponent* target = FindReference(f.value);
        if (!target) Fail(f.where, L"component " + Utf8ToString(f.value) + L" not found", f.line);
        if (!target->InheritsFrom(*f.prop->refClass))
          Fail(f.where, Utf8ToString(f.value) + L" is not a " + Utf8ToString(f.prop->refClass->name), f.line);
        f.prop->setObj(f.object, target);
      } else {
        const HandlerInfo* h = root_->ClassType().FindHandler(f.value);
        if (!h) Fail(f.where, L"handler " + Utf8ToString(f.value) + L" not found", f.line);
        if (*h->type != *f.prop->eventType)
          Fail(f.where, L"handler " + Utf8ToString(f.value) + L" has the wrong parameters", f.line);
        f.prop->setEvent(f.object, h->bind(root_));
      }
    }
  }

  TComponent* root_;
  std::vector<TComponent*> created_;
  std::vector<Fixup> fixups_;
};

}  // namespace

void ReadComponent(TComponent* root, const FormObject& description) { Reader(root).Read(description); }

void ReadComponentText(TComponent* root, std::string_view text) {
  FormObject tree;
  try {
    tree = ParseForm(text);
  } catch (const FormSyntaxError& e) {
    throw EReadError((root->Name().empty() ? root->ClassName() : root->Name()) + L": " + Utf8ToString(e.what()));
  }
  ReadComponent(root, tree);
}

}  // namespace kestu
