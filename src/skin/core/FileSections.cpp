#include "skin/core/FileSections.h"

#include "base/TextUtil.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <unordered_map>

namespace kestu {

namespace {

// The keys of a section record. Integers count as absent when they are no
// number, -1 or out of [low, high]; texts (booleans too) when they are "?".
// Own keys are read in the section itself only.
enum class Kind { Integer, Text, OwnInteger, OwnText };
struct KeyRule {
  const char* name;
  Kind kind;
  std::int32_t low = INT32_MIN, high = INT32_MAX;
};

enum Key : int {
  kPaintingColor, kPaintingBevel, kPaintingBevelWidth,
  kFontColor, kTcLeft, kTcTop, kTcRight, kTcBottom,
  kHotFontColor, kHotTcLeft, kHotTcTop, kHotTcRight, kHotTcBottom,
  kReservedBoolean, kShadowBlur, kShadowColor, kShadowEnabled, kShadowOffset, kShadowTransparency,
  kPaintingTransparency, kGradientPercent, kGradientData, kImagePercent, kShowFocus, kFadingEnabled,
  kFadingIntervalIn, kFadingIntervalOut, kFadingIterations, kHotPaintingColor, kHotPaintingTransparency,
  kHotPaintingBevel, kHotPaintingBevelWidth, kHotGradientPercent, kHotGradientData, kHotImagePercent,
  kPaintingColorBorderTop, kPaintingColorBorderBottom, kSelectionBorderBevel, kSelectionBorderWidth,
  kSelectionColor, kParentClassName, kKeyCount
};

constexpr KeyRule kKeys[kKeyCount] = {
    {"PAINTINGCOLOR", Kind::Integer}, {"PAINTINGBEVEL", Kind::Integer, 0, 4}, {"PAINTINGBEVELWIDTH", Kind::Integer},
    {"FONTCOLOR", Kind::Integer}, {"TCLEFT", Kind::Integer}, {"TCTOP", Kind::Integer},
    {"TCRIGHT", Kind::Integer}, {"TCBOTTOM", Kind::Integer},
    {"HOTFONTCOLOR", Kind::Integer}, {"HOTTCLEFT", Kind::Integer}, {"HOTTCTOP", Kind::Integer},
    {"HOTTCRIGHT", Kind::Integer}, {"HOTTCBOTTOM", Kind::Integer},
    {"RESERVEDBOOLEAN", Kind::Text}, {"SHADOWBLUR", Kind::Integer}, {"SHADOWCOLOR", Kind::OwnInteger},
    {"SHADOWENABLED", Kind::Text}, {"SHADOWOFFSET", Kind::Integer}, {"SHADOWTRANSPARENCY", Kind::Integer},
    {"PAINTINGTRANSPARENCY", Kind::Integer}, {"GRADIENTPERCENT", Kind::Integer}, {"GRADIENTDATA", Kind::Text},
    {"IMAGEPERCENT", Kind::Integer}, {"SHOWFOCUS", Kind::Text}, {"FADINGENABLED", Kind::Text},
    {"FADINGINTERVALIN", Kind::Integer}, {"FADINGINTERVALOUT", Kind::Integer}, {"FADINGITERATIONS", Kind::Integer},
    {"HOTPAINTINGCOLOR", Kind::Integer}, {"HOTPAINTINGTRANSPARENCY", Kind::Integer},
    {"HOTPAINTINGBEVEL", Kind::Integer, 0, 4}, {"HOTPAINTINGBEVELWIDTH", Kind::Integer},
    {"HOTGRADIENTPERCENT", Kind::Integer}, {"HOTGRADIENTDATA", Kind::Text}, {"HOTIMAGEPERCENT", Kind::Integer},
    {"PAINTINGCOLORBORDERTOP", Kind::Integer}, {"PAINTINGCOLORBORDERBOTTOM", Kind::Integer},
    {"SELECTIONBORDERBEVEL", Kind::Integer, 0, 4}, {"SELECTIONBORDERWIDTH", Kind::Integer},
    {"SELECTIONCOLOR", Kind::Integer}, {"PARENTCLASSNAME", Kind::OwnText},
};
static_assert(kKeyCount <= 64, "one bit per key");

constexpr std::uint64_t InheritedKeys() {
  std::uint64_t keys = 0;
  for (int k = 0; k < kKeyCount; ++k)
    if (kKeys[k].kind == Kind::Integer || kKeys[k].kind == Kind::Text) keys |= std::uint64_t(1) << k;
  return keys;
}

int KeyOf(std::string_view name) {
  static const auto* ids = [] {
    auto* map = new std::unordered_map<std::string_view, int, NoCaseHash, NoCaseEqual>;
    for (int k = 0; k < kKeyCount; ++k) map->emplace(kKeys[k].name, k);
    return map;
  }();
  auto it = ids->find(name);
  return it == ids->end() ? -1 : it->second;
}

// A section's own value of one key (the first of equal names).
struct OwnValue {
  int key;
  std::string_view text;
  std::int32_t number;
};

class Resolver {
 public:
  explicit Resolver(const IniFile& ini) : ini_(ini), sections_(ini.Sections()) {
    const std::size_t n = sections_.size();
    first_.reserve(n + 1);
    accepted_.assign(n, 0);
    parent_.assign(n, -1);
    for (std::size_t i = 0; i < n; ++i) ReadOwnValues(i);
    first_.push_back(values_.size());
  }

  TsGeneralData Record(std::size_t s) {
    FindSources(s);
    TsGeneralData r;
    r.SectionName = sections_[s].name;
    if (const OwnValue* parent = Own(s, kParentClassName); parent && parent->text != "?")
      r.ParentClassName = std::string(parent->text);
    r.PaintingColor = Colour(kPaintingColor, 0xFFFFFF);
    r.PaintingBevel = std::uint8_t(Int(kPaintingBevel, 0));
    r.PaintingBevelWidth = Int(kPaintingBevelWidth, 2);
    for (int i = 0; i < 5; ++i) {
      r.FontColor[i] = Int(kFontColor + i, i == 0 ? 0 : -1);
      r.HotFontColor[i] = Int(kHotFontColor + i, i == 0 ? 0 : -1);
    }
    r.ReservedBoolean = Boolean(kReservedBoolean);
    r.ShadowBlur = Int(kShadowBlur, 6);
    const OwnValue* shadow = Own(s, kShadowColor);
    r.ShadowColor = std::uint32_t(shadow && Accepted(s, kShadowColor) ? shadow->number : 0);
    r.ShadowEnabled = Boolean(kShadowEnabled);
    r.ShadowOffset = Int(kShadowOffset, 3);
    r.ShadowTransparency = std::clamp(Int(kShadowTransparency, 60), 0, 100);
    r.PaintingTransparency = Int(kPaintingTransparency, 0);
    r.GradientPercent = Int(kGradientPercent, 0);
    r.GradientData = Text(kGradientData, " ");
    if (r.GradientData != " ") r.Gradient = Gradient(s, "GradientData", r.GradientData);
    r.ImagePercent = Int(kImagePercent, 0);
    r.ShowFocus = Boolean(kShowFocus);
    r.FadingEnabled = Boolean(kFadingEnabled);
    r.FadingIntervalIn = Int(kFadingIntervalIn, 5);
    r.FadingIntervalOut = Int(kFadingIntervalOut, 5);
    r.FadingIterations = Int(kFadingIterations, 5);
    r.HotPaintingColor = Colour(kHotPaintingColor, 0xFFFFFF);
    r.HotPaintingTransparency = Int(kHotPaintingTransparency, 0);
    r.HotPaintingBevel = std::uint8_t(Int(kHotPaintingBevel, 0));
    r.HotPaintingBevelWidth = Int(kHotPaintingBevelWidth, 2);
    r.HotGradientPercent = Int(kHotGradientPercent, 0);
    r.HotGradientData = Text(kHotGradientData, "");
    if (r.HotGradientData != " ") r.HotGradient = Gradient(s, "HotGradientData", r.HotGradientData);
    r.HotImagePercent = Int(kHotImagePercent, 0);
    r.PaintingColorBorderTop = Colour(kPaintingColorBorderTop, 0);
    r.PaintingColorBorderBottom = Colour(kPaintingColorBorderBottom, 0);
    r.SelectionBorderBevel = std::uint8_t(Int(kSelectionBorderBevel, 2));
    r.SelectionBorderWidth = Int(kSelectionBorderWidth, 2);
    r.SelectionColor = Colour(kSelectionColor, 0xFFFFFF);
    return r;
  }

 private:
  void ReadOwnValues(std::size_t i) {
    first_.push_back(values_.size());
    std::uint64_t present = 0;
    for (const IniFile::Key& key : sections_[i].keys) {
      const int k = KeyOf(key.name);
      if (k < 0 || (present >> k & 1)) continue;
      present |= std::uint64_t(1) << k;
      const KeyRule& rule = kKeys[k];
      OwnValue value{k, key.value, 0};
      bool accepted;
      if (rule.kind == Kind::Integer || rule.kind == Kind::OwnInteger) {
        const std::optional<std::int32_t> n = TryParseInt32(key.value);
        value.number = n.value_or(0);
        accepted = n && *n != -1 && *n >= rule.low && *n <= rule.high;
      } else {
        accepted = key.value != "?";
      }
      if (accepted) accepted_[i] |= std::uint64_t(1) << k;
      values_.push_back(value);
      if (k == kParentClassName) parent_[i] = ParentIndex(i, key.value);
    }
  }

  int ParentIndex(std::size_t i, std::string_view name) const {
    if (name.empty() || name == "?" || name == sections_[i].name) return -1;
    const IniFile::Section* parent = ini_.FindSection(name);
    return parent ? int(parent - sections_.data()) : -1;
  }

  // For every inherited key, the nearest section of the chain from s that
  // has an acceptable value of it.
  void FindSources(std::size_t s) {
    source_.fill(-1);
    if (visitedBy_.size() != sections_.size()) visitedBy_.assign(sections_.size(), SIZE_MAX);
    std::uint64_t found = 0;
    int c = int(s);
    for (int depth = 0; depth < kMaxParentDepth && c >= 0 && visitedBy_[std::size_t(c)] != s; ++depth) {
      visitedBy_[std::size_t(c)] = s;
      std::uint64_t fresh = accepted_[std::size_t(c)] & ~found & InheritedKeys();
      found |= fresh;
      for (; fresh; fresh &= fresh - 1) source_[std::size_t(std::countr_zero(fresh))] = c;
      if (found == InheritedKeys()) break;
      c = parent_[std::size_t(c)];
    }
  }

  const OwnValue* Own(std::size_t s, int key) const {
    for (std::size_t i = first_[s]; i < first_[s + 1]; ++i)
      if (values_[i].key == key) return &values_[i];
    return nullptr;
  }
  bool Accepted(std::size_t s, int key) const { return accepted_[s] >> key & 1; }
  const OwnValue* Inherited(int key) const {
    const int from = source_[std::size_t(key)];
    return from >= 0 ? Own(std::size_t(from), key) : nullptr;
  }

  std::int32_t Int(int key, std::int32_t fallback) const {
    const OwnValue* v = Inherited(key);
    return v ? v->number : fallback;
  }
  std::uint32_t Colour(int key, std::uint32_t fallback) const { return std::uint32_t(Int(key, std::int32_t(fallback))); }
  std::string Text(int key, std::string_view fallback) const {
    const OwnValue* v = Inherited(key);
    return std::string(v ? v->text : fallback);
  }
  bool Boolean(int key) const { return UpperCase(Text(key, "FALSE")) == "TRUE"; }

  TsGradArray Gradient(std::size_t s, const char* key, const std::string& text) const {
    try {
      return ParseGradient(text);
    } catch (const ConvertError& e) {
      throw ConvertError("\"Options.dat\" [" + sections_[s].name + "] " + key + ": " + e.what());
    }
  }

  const IniFile& ini_;
  const std::vector<IniFile::Section>& sections_;
  std::vector<std::size_t> first_;     // section i's own values: values_[first_[i], first_[i + 1])
  std::vector<OwnValue> values_;
  std::vector<std::uint64_t> accepted_;  // one bit per key with an acceptable own value
  std::vector<int> parent_;              // -1: the chain ends here
  std::vector<std::size_t> visitedBy_;   // the section whose chain last passed here
  std::array<int, kKeyCount> source_{};
};

}  // namespace

std::vector<TsGeneralData> ReadFileSections(const IniFile& ini) {
  Resolver resolver(ini);
  std::vector<TsGeneralData> records;
  records.reserve(ini.Sections().size());
  for (std::size_t s = 0; s < ini.Sections().size(); ++s) records.push_back(resolver.Record(s));
  return records;
}

}  // namespace kestu
