#include "base/IniFile.h"

#include <algorithm>

#include "base/FileBytes.h"
#include "base/TextUtil.h"

namespace kestu {

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  // While reading: the first key of each name in each section (the names
  // are views into the text).
  struct KeyName {
    std::size_t section;
    std::string_view name;
    bool operator==(const KeyName& o) const { return section == o.section && SameText(name, o.name); }
  };
  struct KeyNameHash {
    std::size_t operator()(const KeyName& k) const { return NoCaseHash()(k.name) ^ (k.section * 0x9E3779B97F4A7C15ull); }
  };
  std::unordered_map<KeyName, std::size_t, KeyNameHash> firstKeys;
  // Room for every section and key line at once: a large file is read
  // without the tables growing and rehashing on the way.
  const std::size_t lines = std::size_t(std::count(text.begin(), text.end(), '\n')) + 1;
  const std::size_t headers = std::size_t(std::count(text.begin(), text.end(), '['));
  ini.sections_.reserve(std::min(headers, lines));
  ini.index_.reserve(std::min(headers, lines));
  firstKeys.reserve(lines);
  std::size_t current = SIZE_MAX;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      std::string name(Trim(line.substr(1, line.size() - 2)));
      auto [it, added] = ini.index_.try_emplace(name, ini.sections_.size());
      if (added) ini.sections_.push_back(Section{name, {}});
      current = it->second;  // a repeated section continues the first
      continue;
    }
    std::size_t eq = line.find('=');
    if (current == SIZE_MAX || eq == std::string_view::npos) continue;
    Section& section = ini.sections_[current];
    const std::string_view key = Trim(line.substr(0, eq));
    const std::size_t first = firstKeys.try_emplace(KeyName{current, key}, section.keys.size()).first->second;
    section.keys.push_back(Key{std::string(key), std::string(Trim(line.substr(eq + 1))), first});
  }
  return ini;
}

IniFile IniFile::Load(const std::string& path, std::size_t maxBytes) {
  std::vector<unsigned char> bytes = ReadFileBytes(path, maxBytes);
  return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  auto it = index_.find(name);
  return it == index_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string_view> IniFile::Value(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  for (const Key& k : s->keys)
    if (SameText(k.name, key)) return k.value;
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  return std::string(Value(section, key).value_or(fallback));
}

}  // namespace kestu
