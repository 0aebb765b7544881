#pragma once
// The text format of stored form descriptions, parsed into a tree.
//
//   object Form1: TForm1
//     Caption = 'Setup'
//     Font.Height = -12
//     BorderIcons = [biSystemMenu]
//     Items = <
//       item
//         Name = 'one'
//       end>
//     Data = {0A000000
//       424D}
//     object Button1: TButton
//     end
//   end
//
// The parser knows nothing of classes or properties; the framework's form
// reader gives the tree its meaning. Strings are kept as UTF-8. Every node
// carries the line it starts on so that later errors can name it.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestu {

struct FormItem;

struct FormValue {
  enum class Kind { Integer, Float, String, Identifier, Boolean, Set, List, Collection, Binary };

  Kind kind = Kind::Integer;
  int line = 0;
  std::int64_t integer = 0;
  double real = 0;
  bool boolean = false;
  std::string text;                  // String (UTF-8) or Identifier (may be dotted)
  std::vector<std::string> set;      // Set: element names or decimal numbers as written
  std::vector<FormValue> list;       // List: ( value value ... )
  std::vector<FormItem> items;       // Collection: < item ... end ... >
  std::vector<std::uint8_t> bytes;   // Binary: { hex }
};

struct FormProperty {
  std::string path;  // "Caption", "Font.Height", "sStyle.Painting.Color"
  FormValue value;
  int line = 0;
};

struct FormItem {
  std::vector<FormProperty> properties;
  int line = 0;
};

struct FormObject {
  std::string name;       // may be empty: "object TFoo"
  std::string className;
  bool inherited = false; // written as "inherited" or "inline" instead of "object"
  int line = 0;
  std::vector<FormProperty> properties;
  std::vector<FormObject> children;
};

class FormSyntaxError : public std::runtime_error {
 public:
  FormSyntaxError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// Objects and collections may nest this deep; deeper input is rejected.
inline constexpr int kFormMaxDepth = 64;

// Parses one description: a single top-level object. Throws FormSyntaxError.
FormObject ParseForm(std::string_view text);

// Appends the UTF-8 encoding of a code point; false for surrogates and values
// beyond U+10FFFF.
bool AppendUtf8(std::string& out, std::uint32_t codePoint);

}  // namespace kestu
