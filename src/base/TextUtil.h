#pragma once
// Small helpers for the 8-bit texts of description files: ASCII case folding,
// trimming, word splitting and integer conversion.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestu {

// A text that should hold a number does not.
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
std::string UpperCase(std::string_view text);  // ASCII letters only
bool SameText(std::string_view a, std::string_view b);  // ASCII case-insensitive
bool ContainsText(std::string_view text, std::string_view part);  // case-sensitive
// Whether text holds part in any ASCII case; part is given in upper case.
bool ContainsUpper(std::string_view text, std::string_view upperPart);

// For maps keyed by names that compare without regard to ASCII case; both
// allow lookups with a string_view.
struct NoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const noexcept;
};
struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept { return SameText(a, b); }
};
std::string_view Trim(std::string_view text);  // blanks, tabs and line ends

// Words of a text between any of the delimiter characters; runs of
// delimiters do not make empty words.
std::vector<std::string_view> SplitWords(std::string_view text, std::string_view delimiters);

// Integer conversion: optional sign, decimal digits, or hexadecimal after "$"
// or "0x" (which may fill all 32 bits: $FFFFFFFF is -1). Surrounding blanks
// are allowed. Anything else, or a decimal value outside 32 bits, is no number.
std::optional<std::int32_t> TryParseInt32(std::string_view text);
// The same, raising ConvertError for a text that is no number.
std::int32_t StrToInt(std::string_view text);

}  // namespace kestu
