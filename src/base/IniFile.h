#pragma once
// An INI file held in memory: sections in file order, each with its keys in
// file order. Section and key names compare without regard to ASCII case; a
// value is the text after the first "=" of its line (blanks trimmed).

#include "base/TextUtil.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestu {

class IniFile {
 public:
  struct Key {
    std::string name;
    std::string value;
    std::size_t first = 0;  // the first key of the section with this name (it wins a lookup)
  };
  struct Section {
    std::string name;
    std::vector<Key> keys;  // in file order
    // The value a lookup of this key's name gives: its first key's.
    const std::string& ValueOf(const Key& key) const { return keys[key.first].value; }
  };

  IniFile() = default;
  static IniFile Parse(std::string_view text);
  // Reads a file whole; throws std::runtime_error when it cannot be read or
  // is larger than maxBytes.
  static IniFile Load(const std::string& path, std::size_t maxBytes = kMaxFileBytes);

  const std::vector<Section>& Sections() const { return sections_; }
  const Section* FindSection(std::string_view name) const;
  // Looks through the section's keys: for the few lookups by name; the
  // loaders go through Sections() and ValueOf.
  std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;

  static constexpr std::size_t kMaxFileBytes = 16u << 20;

 private:
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t, NoCaseHash, NoCaseEqual> index_;  // by section name
};

}  // namespace kestu
