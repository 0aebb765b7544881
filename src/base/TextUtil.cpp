#include "base/TextUtil.h"

namespace kestu {

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = AsciiUpper(c);
  return result;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

bool ContainsText(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool ContainsUpper(std::string_view text, std::string_view upperPart) {
  if (upperPart.size() > text.size()) return false;
  for (std::size_t at = 0; at + upperPart.size() <= text.size(); ++at) {
    std::size_t i = 0;
    while (i < upperPart.size() && AsciiUpper(text[at + i]) == upperPart[i]) ++i;
    if (i == upperPart.size()) return true;
  }
  return false;
}

std::size_t NoCaseHash::operator()(std::string_view text) const noexcept {
  std::size_t h = 14695981039346656037ull;  // FNV-1a over the upper-case bytes
  for (char c : text) h = (h ^ std::uint8_t(AsciiUpper(c))) * 1099511628211ull;
  return h;
}

std::string_view Trim(std::string_view text) {
  constexpr std::string_view blanks = " \t\r\n";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> SplitWords(std::string_view text, std::string_view delimiters) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t start = text.find_first_not_of(delimiters, pos);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find_first_of(delimiters, start);
    if (end == std::string_view::npos) end = text.size();
    words.push_back(text.substr(start, end - start));
    pos = end;
  }
  return words;
}

std::optional<std::int32_t> TryParseInt32(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  bool hex = false;
  if (!text.empty() && text[0] == '$') {
    hex = true;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    value = value * (hex ? 16 : 10) + std::uint64_t(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    std::uint32_t bits = std::uint32_t(value);
    if (negative) bits = 0u - bits;
    return std::int32_t(bits);
  }
  if (negative) {
    if (value > 0x80000000ull) return std::nullopt;
    return std::int32_t(-std::int64_t(value));
  }
  if (value > 0x7FFFFFFFull) return std::nullopt;
  return std::int32_t(value);
}

std::int32_t StrToInt(std::string_view text) {
  if (auto value = TryParseInt32(text)) return *value;
  throw ConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace kestu
