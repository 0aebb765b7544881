#include "skin/core/SkinData.h"

#include "base/Bmp.h"
#include "base/FileBytes.h"
#include "base/Jpeg.h"
#include "base/TextUtil.h"
#include "skin/core/FileSections.h"

#include <algorithm>

namespace kestu {

namespace {

// Pixels of own bitmaps and patterns one skin may load in all; images past
// the budget are skipped like missing files.
constexpr std::int64_t kMaxSkinPixels = std::int64_t(1) << 26;
// Image entries one skin may have, and picture files it may look for; values
// past these are read no further (real skins have a few hundred entries).
constexpr std::size_t kMaxImageEntries = std::size_t(1) << 16;
constexpr int kMaxPictureFiles = 1 << 12;

std::int16_t ToInt16(std::int32_t v) { return std::int16_t(std::clamp<std::int32_t>(v, -32768, 32767)); }

PixelBuffer CopyOf(const PixelBuffer& source) {
  PixelBuffer copy = source;
  return copy;
}

// Runs f; a ConvertError leaves with the file, section and key named.
template <class F>
auto Converting(const std::string& section, std::string_view key, F&& f) {
  try {
    return f();
  } catch (const ConvertError& e) {
    throw ConvertError("\"Options.dat\" [" + section + "] " + std::string(key) + ": " + e.what());
  }
}

// The key of an image or pattern entry in the lookup index.
std::string EntryKey(std::string_view section, std::string_view property) {
  return std::to_string(section.size()) + ":" + std::string(section) + std::string(property);
}

// Five blank-separated integers; an empty text is "0 -1 -1 -1 -1".
void ReadFontColours(const std::string& text, std::int32_t (&out)[5]) {
  if (text.empty()) {
    out[0] = 0;
    for (int i = 1; i < 5; ++i) out[i] = -1;
    return;
  }
  std::vector<std::string_view> words = SplitWords(text, " ");
  for (std::size_t i = 0; i < 5; ++i) out[i] = StrToInt(i < words.size() ? words[i] : std::string_view());
}

// Copies the stored properties in stream order; a conversion error ends the
// copying of this item, keeping what was copied.
void CopyStoredSection(const TsStoredGeneral& g, TsGeneralData& r) {
  r.SectionName = g.SectionName;
  r.ParentClassName = g.ParentClassName;
  r.PaintingColor = std::uint32_t(g.PaintingColor);
  r.PaintingBevel = g.PaintingBevel;
  r.PaintingBevelWidth = g.PaintingBevelWidth;
  r.ShadowBlur = g.ShadowBlur;
  r.ShadowColor = std::uint32_t(g.ShadowColor);
  r.ShadowEnabled = g.ShadowEnabled;
  r.ReservedBoolean = g.ReservedBoolean;
  r.ShadowOffset = g.ShadowOffset;
  r.ShadowTransparency = g.ShadowTransparency;
  try {
    ReadFontColours(g.FontColor, r.FontColor);
    ReadFontColours(g.HotFontColor, r.HotFontColor);
    r.PaintingTransparency = g.PaintingTransparency;
    r.GradientPercent = g.GradientPercent;
    r.GradientData = g.GradientData;
    r.Gradient = ParseGradient(g.GradientData);
    r.ImagePercent = g.ImagePercent;
    r.ShowFocus = g.ShowFocus;
    r.FadingEnabled = g.FadingEnabled;
    r.FadingIntervalIn = g.FadingIntervalIn;
    r.FadingIntervalOut = g.FadingIntervalOut;
    r.FadingIterations = g.FadingIterations;
    r.HotPaintingColor = std::uint32_t(g.HotPaintingColor);
    r.HotPaintingTransparency = g.HotPaintingTransparency;
    r.HotPaintingBevel = g.HotPaintingBevel;
    r.HotPaintingBevelWidth = g.HotPaintingBevelWidth;
    r.HotGradientPercent = g.HotGradientPercent;
    r.HotGradientData = g.HotGradientData;
    r.HotGradient = ParseGradient(g.HotGradientData);
    r.HotImagePercent = g.HotImagePercent;
    r.PaintingColorBorderTop = std::uint32_t(g.PaintingColorBorderTop);
    r.PaintingColorBorderBottom = std::uint32_t(g.PaintingColorBorderBottom);
    r.SelectionBorderBevel = g.SelectionBorderBevel;
    r.SelectionBorderWidth = g.SelectionBorderWidth;
    r.SelectionColor = std::uint32_t(g.SelectionColor);
  } catch (const ConvertError&) {
  }
}

}  // namespace

PixelBuffer LoadPictureFile(const std::string& fileName, bool grey) {
  if (!FileExists(fileName)) return {};
  std::string upper = UpperCase(fileName);
  auto endsWith = [&](std::string_view ext) {
    return upper.size() >= ext.size() && upper.compare(upper.size() - ext.size(), ext.size(), ext) == 0;
  };
  try {
    if (endsWith(".JPG") || endsWith(".JPEG")) return DecodeJpegFile(fileName, grey);
    if (endsWith(".BMP")) {
      PixelBuffer bitmap = ReadBmpFile(fileName);
      if (grey) GrayBitmap(bitmap.Rows());
      return bitmap;
    }
  } catch (const std::runtime_error&) {
  }
  return {};
}

TsSkinData& TsSkinData::Instance() {
  // Never destroyed: forms the application frees while the process ends
  // still reach the tables through their managers and skinned controls.
  static TsSkinData* const data = new TsSkinData;
  return *data;
}

// ---- lookups

const TsSkinData::Indexes& TsSkinData::Indexed() const {
  Indexes& x = indexes_;
  if (x.sections != gd.size()) {
    x.section.clear();
    x.section.reserve(gd.size());
    for (std::size_t i = 0; i < gd.size(); ++i) x.section.try_emplace(UpperCase(gd[i].SectionName), int(i));
    x.sections = gd.size();
  }
  if (x.masks != ma.size()) {
    x.mask.clear();
    x.mask.reserve(ma.size());
    for (std::size_t i = 0; i < ma.size(); ++i) x.mask.try_emplace(EntryKey(ma[i].SectionName, ma[i].PropertyName), int(i));
    x.masks = ma.size();
  }
  if (x.patterns != pa.size()) {
    x.pattern.clear();
    for (std::size_t i = 0; i < pa.size(); ++i)
      x.pattern.try_emplace(EntryKey(pa[i].SectionName, pa[i].PropertyName), int(i));
    x.patterns = pa.size();
  }
  return x;
}

void TsSkinData::Reindex() { indexes_ = {}; }

int TsSkinData::FindSectionIndex(std::string_view name) const {
  if (!SkinLoaded || gd.empty()) return -1;
  const auto& index = Indexed().section;
  auto it = index.find(UpperCase(name));
  return it == index.end() ? -1 : it->second;
}

bool TsSkinData::IsValidSection(int index) const { return SkinLoaded && index >= 0 && std::size_t(index) < gd.size(); }

bool TsSkinData::IsValidMask(int index) const { return SkinLoaded && index >= 0 && std::size_t(index) < ma.size(); }

int TsSkinData::FindEntry(bool masks, int skinIndex, std::string_view sectionName, std::string_view propertyName,
                          int depth) const {
  if (!IsValidSection(skinIndex) || sectionName.empty()) return -1;
  std::string section = UpperCase(sectionName);
  const auto& index = masks ? Indexed().mask : Indexed().pattern;
  if (auto it = index.find(EntryKey(section, propertyName)); it != index.end()) return it->second;
  std::string parent = UpperCase(gd[std::size_t(skinIndex)].ParentClassName);
  if (parent.empty() || parent == section || depth >= kMaxParentDepth) return -1;
  int parentIndex = FindSectionIndex(parent);
  return parentIndex >= 0 ? FindEntry(masks, parentIndex, parent, propertyName, depth + 1) : -1;
}

int TsSkinData::FindMaskIndex(int skinIndex, std::string_view sectionName, std::string_view propertyName) const {
  return FindEntry(true, skinIndex, sectionName, propertyName, 0);
}

int TsSkinData::FindPatternIndex(int skinIndex, std::string_view sectionName, std::string_view propertyName) const {
  return FindEntry(false, skinIndex, sectionName, propertyName, 0);
}

MaskSize TsSkinData::GetMaskSize(int maskIndex) const {
  if (!IsValidMask(maskIndex)) return {};
  const TsMaskData& m = ma[std::size_t(maskIndex)];
  if (m.Bitmap) return {m.Bitmap->Width() / 3, m.Bitmap->Height() / 2};
  const std::int64_t width = std::int64_t(m.SourceRect.Right) - m.SourceRect.Left;
  const std::int64_t height = std::int64_t(m.SourceRect.Bottom) - m.SourceRect.Top;
  auto fit = [](std::int64_t v) { return int(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
  return {fit(width / std::max<int>(m.ImageCount, 1)), fit(height / std::max<int>(m.MaskType + 1, 1))};
}

MaskImage TsSkinData::MaskImageOf(int maskIndex) const {
  if (!IsValidMask(maskIndex)) return {};
  const TsMaskData& m = ma[std::size_t(maskIndex)];
  if (m.Bitmap) return MaskImage::Own(const_cast<PixelBuffer&>(*m.Bitmap).Rows());
  if (!MasterBitmap) return {};
  return MaskImage::InMaster(MasterBitmap->Rows(), m.SourceRect, m.ImageCount, m.MaskType);
}

PixelRows TsSkinData::TileOf(int maskIndex) const {
  if (!IsValidMask(maskIndex)) return {};
  const TsMaskData& m = ma[std::size_t(maskIndex)];
  if (m.Bitmap) return const_cast<PixelBuffer&>(*m.Bitmap).Rows();
  return MasterBitmap ? SubRows(MasterBitmap->Rows(), m.SourceRect) : PixelRows{};
}

// ---- loaders

std::string TsSkinData::FilePath(std::string_view name) const {
  return name.find(':') == std::string_view::npos ? SkinPath + std::string(name) : std::string(name);
}

void TsSkinData::FreeSkinMasks() {
  ma.clear();
  MasterBitmap.reset();
  Reindex();
}

void TsSkinData::FreeSkinPatterns() {
  pa.clear();
  Reindex();
}

void TsSkinData::LoadSkinMasks(const TsStoredSkinData* stored) {
  FreeSkinMasks();
  if (IniFile) {
    const kestu::IniFile& ini = *IniFile;
    std::string master = ini.ReadString("GlobalInfo", "MasterBitmap", "");
    if (!master.empty() && FileExists(FilePath(master))) {
      try {
        PixelBuffer bitmap = ReadBmpFile(FilePath(master));
        if (bitmap.Width() > 0) MasterBitmap = std::make_unique<PixelBuffer>(std::move(bitmap));
      } catch (const BmpError&) {
        // An unreadable master bitmap counts as none.
      }
    }
    std::int64_t budget = kMaxSkinPixels;
    int files = kMaxPictureFiles;
    for (const IniFile::Section& section : ini.Sections()) {
      if (SameText(section.name, "GLOBALINFO")) continue;
      for (const IniFile::Key& key : section.keys) {
        if (ma.size() >= kMaxImageEntries) return;
        const std::string& value = section.ValueOf(key);
        if (!MasterBitmap || value.find('#') == std::string::npos) {
          if (!ContainsUpper(value, ".BMP") || files == 0) continue;
          --files;
          std::string path = FilePath(value);
          if (!FileExists(path)) continue;
          PixelBuffer bitmap;
          try {
            bitmap = ReadBmpFile(path);
          } catch (const BmpError&) {
            continue;  // a file that is no readable BMP is skipped
          }
          std::int64_t pixels = std::int64_t(bitmap.Width()) * bitmap.Height();
          if (bitmap.Width() <= 0 || pixels > budget) continue;
          budget -= pixels;
          TsMaskData entry;
          entry.Bitmap = std::make_unique<PixelBuffer>(std::move(bitmap));
          entry.SectionName = UpperCase(section.name);
          entry.PropertyName = UpperCase(key.name);
          ma.push_back(std::move(entry));
        } else if (value != "#") {
          Converting(section.name, key.name, [&] {
            std::vector<std::string_view> words = SplitWords(value, " ()");
            auto word = [](const std::vector<std::string_view>& w, std::size_t i) {
              return i < w.size() ? w[i] : std::string_view();
            };
            std::vector<std::string_view> rect = SplitWords(word(words, 1), ",");
            std::vector<std::string_view> counts = SplitWords(word(words, 2), ",");
            TsMaskData entry;
            entry.SectionName = UpperCase(section.name);
            entry.PropertyName = UpperCase(key.name);
            entry.SourceRect = {StrToInt(word(rect, 0)), StrToInt(word(rect, 1)), StrToInt(word(rect, 2)),
                                StrToInt(word(rect, 3))};
            entry.ImageCount = ToInt16(std::max(StrToInt(word(counts, 0)), 1));
            entry.MaskType = ToInt16(std::max(StrToInt(word(counts, 1)), 0));
            ma.push_back(std::move(entry));
            return 0;
          });
        }
      }
    }
    return;
  }
  if (!stored) return;
  if (stored->MasterBitmap.Width() > 0) MasterBitmap = std::make_unique<PixelBuffer>(CopyOf(stored->MasterBitmap));
  for (const TsStoredImage& image : stored->Images) {
    TsMaskData entry;
    if (image.ImageCount == 0) entry.Bitmap = std::make_unique<PixelBuffer>(CopyOf(image.Image));
    entry.PropertyName = UpperCase(image.PropertyName);
    entry.SectionName = UpperCase(image.SectionName);
    entry.SourceRect = {image.Left, image.Top, image.Right, image.Bottom};
    entry.ImageCount = ToInt16(image.ImageCount);
    entry.MaskType = ToInt16(image.MaskType);
    ma.push_back(std::move(entry));
  }
}

void TsSkinData::LoadSkinPatterns(const TsStoredSkinData* stored) {
  FreeSkinPatterns();
  if (IniFile) {
    const kestu::IniFile& ini = *IniFile;
    std::int64_t budget = kMaxSkinPixels;
    int files = kMaxPictureFiles;
    for (const IniFile::Section& section : ini.Sections()) {
      for (const IniFile::Key& key : section.keys) {
        const std::string& value = section.ValueOf(key);
        if ((!ContainsUpper(value, ".JPG") && !ContainsUpper(value, ".JPEG")) || files == 0) continue;
        --files;
        std::string path = FilePath(value);
        if (!FileExists(path)) continue;
        TsPatternData entry;
        try {
          entry.Image = DecodeJpegFile(path);
        } catch (const JpegError&) {
          continue;  // undecodable: like a picture of width 0
        }
        std::int64_t pixels = std::int64_t(entry.Image.Width()) * entry.Image.Height();
        if (entry.Image.Width() <= 0 || pixels > budget) continue;
        budget -= pixels;
        entry.SectionName = UpperCase(section.name);
        entry.PropertyName = UpperCase(key.name);
        pa.push_back(std::move(entry));
      }
    }
    return;
  }
  if (!stored) return;
  for (const TsStoredPattern& pattern : stored->Patterns)
    pa.push_back({CopyOf(pattern.Image), UpperCase(pattern.SectionName), UpperCase(pattern.PropertyName)});
}

void TsSkinData::LoadSectionRecords(const TsStoredSkinData* stored) {
  gd.clear();
  Reindex();
  if (IniFile) {
    gd = ReadFileSections(*IniFile);
  } else if (stored) {
    for (const TsStoredGeneral& general : stored->GeneralData) {
      gd.emplace_back();
      CopyStoredSection(general, gd.back());
    }
  }
  if (ResolveSystemColour)
    for (TsGeneralData& g : gd) ResolveSectionColours(g, ResolveSystemColour);
  Indexed();  // the last loader: the lookups of painting find their indexes made
}

void ResolveSectionColours(TsGeneralData& g, const std::function<std::uint32_t(std::uint32_t)>& resolve) {
  for (std::uint32_t* c : {&g.PaintingColor, &g.ShadowColor, &g.HotPaintingColor, &g.PaintingColorBorderTop,
                           &g.PaintingColorBorderBottom, &g.SelectionColor})
    if (*c >= 0xFF000000u) *c = resolve(*c);
  for (std::int32_t* fonts : {g.FontColor, g.HotFontColor})
    for (int i = 0; i < 5; ++i)
      if (std::uint32_t(fonts[i]) >= 0xFF000000u && fonts[i] != -1)
        fonts[i] = std::int32_t(resolve(std::uint32_t(fonts[i])));
}

}  // namespace kestu
