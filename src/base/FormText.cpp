#include "base/FormText.h"

#include <cctype>
#include <cstdlib>
#include <limits>

namespace kestu {

bool AppendUtf8(std::string& out, std::uint32_t c) {
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else if (c <= 0x10FFFF) {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    return false;
  }
  return true;
}

namespace {

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {
    // A UTF-8 byte-order mark is allowed at the start.
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }

  FormObject Document() {
    SkipSpace();
    FormObject root = Object(0);
    SkipSpace();
    if (!AtEnd()) Fail("text after the final 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw FormSyntaxError(line_, what); }
  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek(std::size_t ahead = 0) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : '\0'; }

  void SkipSpace() {
    while (!AtEnd()) {
      char c = s_[pos_];
      if (c == '\n') {
        ++line_;
      } else if (c != ' ' && c != '\t' && c != '\r' && c != '\f' && c != '\v') {
        return;
      }
      ++pos_;
    }
  }

  // A plain word (no dots); empty when the next character does not start one.
  std::string_view Word() {
    if (!IsIdentStart(Peek())) return {};
    std::size_t start = pos_;
    while (IsIdentChar(Peek())) ++pos_;
    return s_.substr(start, pos_ - start);
  }

  // A dotted name: Word(.Word)*.
  std::string DottedName() {
    std::string name(Word());
    if (name.empty()) return name;
    while (Peek() == '.' && IsIdentStart(Peek(1))) {
      ++pos_;
      name += '.';
      name += Word();
    }
    return name;
  }

  std::string_view PeekWord() {
    std::size_t save = pos_;
    std::string_view w = Word();
    pos_ = save;
    return w;
  }

  void Expect(char c, const char* what) {
    SkipSpace();
    if (Peek() != c) Fail(std::string("expected ") + what);
    ++pos_;
  }

  FormObject Object(int depth) {
    if (depth >= kFormMaxDepth) Fail("objects nested too deeply");
    FormObject obj;
    obj.line = line_;
    std::string_view keyword = Word();
    if (SameWord(keyword, "inherited") || SameWord(keyword, "inline")) {
      obj.inherited = true;
    } else if (!SameWord(keyword, "object")) {
      Fail("expected 'object'");
    }
    SkipSpace();
    std::string first(Word());
    if (first.empty()) Fail("expected an object name or class");
    SkipSpace();
    if (Peek() == ':') {
      ++pos_;
      SkipSpace();
      obj.name = std::move(first);
      obj.className = std::string(Word());
      if (obj.className.empty()) Fail("expected a class name after ':'");
    } else {
      obj.className = std::move(first);
    }
    SkipSpace();
    if (Peek() == '[') {  // creation index of an inherited child: skip "[n]"
      ++pos_;
      SkipSpace();
      while (IsDigit(Peek())) ++pos_;
      Expect(']', "']'");
    }
    for (;;) {
      SkipSpace();
      if (AtEnd()) Fail("missing 'end' of object " + (obj.name.empty() ? obj.className : obj.name));
      std::string_view w = PeekWord();
      if (w.empty()) Fail("expected a property name, 'object' or 'end'");
      if (SameWord(w, "end")) {
        Word();
        return obj;
      }
      if (SameWord(w, "object") || SameWord(w, "inherited") || SameWord(w, "inline")) {
        obj.children.push_back(Object(depth + 1));
      } else {
        obj.properties.push_back(Property(depth));
      }
    }
  }

  FormProperty Property(int depth) {
    FormProperty prop;
    prop.line = line_;
    prop.path = DottedName();
    if (prop.path.empty()) Fail("expected a property name");
    SkipSpace();
    if (Peek() != '=') Fail("expected '=' after " + prop.path);
    ++pos_;
    SkipSpace();
    prop.value = Value(depth);
    return prop;
  }

  FormValue Value(int depth) {
    FormValue v;
    v.line = line_;
    char c = Peek();
    if (c == '\'' || c == '#') {
      v.kind = FormValue::Kind::String;
      v.text = StringValue();
    } else if (c == '-' || c == '+' || IsDigit(c) || c == '$') {
      Number(v);
    } else if (c == '[') {
      v.kind = FormValue::Kind::Set;
      SetValue(v);
    } else if (c == '(') {
      v.kind = FormValue::Kind::List;
      ListValue(v, depth);
    } else if (c == '<') {
      v.kind = FormValue::Kind::Collection;
      CollectionValue(v, depth);
    } else if (c == '{') {
      v.kind = FormValue::Kind::Binary;
      BinaryValue(v);
    } else if (IsIdentStart(c)) {
      std::string name = DottedName();
      if (SameWord(name, "True") || SameWord(name, "False")) {
        v.kind = FormValue::Kind::Boolean;
        v.boolean = SameWord(name, "True");
      } else {
        v.kind = FormValue::Kind::Identifier;
      }
      v.text = std::move(name);
    } else {
      Fail(AtEnd() ? "missing value" : "unexpected character in value");
    }
    return v;
  }

  // 'text' and #code parts, joined; '+' at a line end continues on the next.
  std::string StringValue() {
    std::string out;
    for (;;) {
      char c = Peek();
      if (c == '\'') {
        ++pos_;
        for (;;) {
          if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("unterminated string");
          char d = s_[pos_++];
          if (d == '\'') {
            if (Peek() != '\'') break;
            ++pos_;
          }
          out += d;
        }
      } else if (c == '#') {
        ++pos_;
        std::uint32_t code = 0;
        bool hex = Peek() == '$';
        if (hex) ++pos_;
        int digits = 0;
        for (;; ++digits, ++pos_) {
          int d = hex ? HexValue(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1);
          if (d < 0) break;
          code = code * (hex ? 16 : 10) + std::uint32_t(d);
          if (code > 0x10FFFF) Fail("character code out of range");
        }
        if (digits == 0) Fail("expected a character code after '#'");
        if (!AppendUtf8(out, code)) Fail("character code is not a valid character");
      } else {
        std::size_t save = pos_;
        int saveLine = line_;
        SkipSpace();
        if (Peek() == '+') {
          ++pos_;
          SkipSpace();
          if (Peek() == '\'' || Peek() == '#') continue;
          Fail("expected a string after '+'");
        }
        pos_ = save;
        line_ = saveLine;
        return out;
      }
    }
  }

  void Number(FormValue& v) {
    bool negative = false;
    if (Peek() == '-' || Peek() == '+') {
      negative = Peek() == '-';
      ++pos_;
    }
    v.kind = FormValue::Kind::Integer;
    if (Peek() == '$') {
      ++pos_;
      std::uint64_t n = 0;
      int digits = 0;
      for (int d; (d = HexValue(Peek())) >= 0; ++pos_, ++digits) {
        if (digits >= 16) Fail("hexadecimal number too long");
        n = n << 4 | std::uint64_t(d);
      }
      if (digits == 0) Fail("expected hexadecimal digits after '$'");
      // $FFFFFFFF-style values keep their bit pattern.
      v.integer = std::int64_t(negative ? 0 - n : n);
      return;
    }
    std::size_t start = pos_;
    while (IsDigit(Peek())) ++pos_;
    if (pos_ == start) Fail("expected a number");
    bool real = false;
    if (Peek() == '.' && IsDigit(Peek(1))) {
      real = true;
      ++pos_;
      while (IsDigit(Peek())) ++pos_;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      std::size_t save = pos_;
      ++pos_;
      if (Peek() == '-' || Peek() == '+') ++pos_;
      if (IsDigit(Peek())) {
        real = true;
        while (IsDigit(Peek())) ++pos_;
      } else {
        pos_ = save;
      }
    }
    std::string digits(s_.substr(start, pos_ - start));
    if (real) {
      v.kind = FormValue::Kind::Float;
      v.real = std::strtod(digits.c_str(), nullptr) * (negative ? -1 : 1);
      return;
    }
    std::uint64_t n = 0;
    for (char d : digits) {
      if (n > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) Fail("number too large");
      n = n * 10 + std::uint64_t(d - '0');
    }
    const std::uint64_t limit = negative ? std::uint64_t(1) << 63 : (std::uint64_t(1) << 63) - 1;
    if (n > limit) Fail("number too large");
    v.integer = negative ? std::int64_t(0 - n) : std::int64_t(n);
  }

  void SetValue(FormValue& v) {
    ++pos_;  // '['
    SkipSpace();
    if (Peek() == ']') {
      ++pos_;
      return;
    }
    for (;;) {
      SkipSpace();
      std::string element = DottedName();
      if (element.empty()) {
        std::size_t start = pos_;
        while (IsDigit(Peek())) ++pos_;
        element = std::string(s_.substr(start, pos_ - start));
      }
      if (element.empty()) Fail("expected a set element");
      v.set.push_back(std::move(element));
      SkipSpace();
      if (Peek() == ',') {
        ++pos_;
        continue;
      }
      if (Peek() == ']') {
        ++pos_;
        return;
      }
      Fail("expected ',' or ']' in set");
    }
  }

  void ListValue(FormValue& v, int depth) {
    if (depth >= kFormMaxDepth) Fail("values nested too deeply");
    ++pos_;  // '('
    for (;;) {
      SkipSpace();
      if (AtEnd()) Fail("missing ')'");
      if (Peek() == ')') {
        ++pos_;
        return;
      }
      v.list.push_back(Value(depth + 1));
    }
  }

  void CollectionValue(FormValue& v, int depth) {
    if (depth >= kFormMaxDepth) Fail("collections nested too deeply");
    ++pos_;  // '<'
    for (;;) {
      SkipSpace();
      if (Peek() == '>') {
        ++pos_;
        return;
      }
      FormItem item;
      item.line = line_;
      if (!SameWord(Word(), "item")) Fail("expected 'item' or '>' in collection");
      SkipSpace();
      if (Peek() == '[') {  // optional item index "[n]"
        ++pos_;
        SkipSpace();
        while (IsDigit(Peek())) ++pos_;
        Expect(']', "']'");
      }
      for (;;) {
        SkipSpace();
        if (AtEnd()) Fail("missing 'end' of collection item");
        std::string_view w = PeekWord();
        if (w.empty()) Fail("expected a property name or 'end' in collection item");
        if (SameWord(w, "end")) {
          Word();
          break;
        }
        item.properties.push_back(Property(depth + 1));
      }
      v.items.push_back(std::move(item));
    }
  }

  void BinaryValue(FormValue& v) {
    ++pos_;  // '{'
    int high = -1;
    for (;;) {
      SkipSpace();
      if (AtEnd()) Fail("missing '}' of binary data");
      char c = s_[pos_++];
      if (c == '}') break;
      int d = HexValue(c);
      if (d < 0) Fail("bad character in binary data");
      if (high < 0) {
        high = d;
      } else {
        v.bytes.push_back(std::uint8_t(high << 4 | d));
        high = -1;
      }
    }
    if (high >= 0) Fail("odd number of hex digits in binary data");
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

FormObject ParseForm(std::string_view text) { return Parser(text).Document(); }

}  // namespace kestu
