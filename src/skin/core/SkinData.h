#pragma once
// Process-wide skin tables: the section records, the image (mask) entries,
// the JPEG patterns and the master bitmap, the loaders that fill them from a
// skin folder's "Options.dat" or from a skin stored in a form description,
// and the lookups with parent-section fallback.

#include "base/IniFile.h"
#include "base/PixRect.h"
#include "base/PixelRows.h"
#include "skin/core/Gradient.h"
#include "skin/core/PixelLib.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestu {

// One section of a skin. A new record is all zero; the loaders fill it.
struct TsGeneralData {
  std::string ParentClassName;
  std::string SectionName;
  std::uint32_t PaintingColor = 0;
  std::uint8_t PaintingBevel = 0;  // TsControlBevel
  std::int32_t PaintingBevelWidth = 0;
  std::int32_t FontColor[5] = {};  // text, left, top, right, bottom; -1 = none
  std::int32_t HotFontColor[5] = {};
  bool ReservedBoolean = false;
  std::int32_t ShadowBlur = 0;
  std::uint32_t ShadowColor = 0;
  bool ShadowEnabled = false;
  std::int32_t ShadowOffset = 0;
  std::int32_t ShadowTransparency = 0;
  std::int32_t PaintingTransparency = 0;
  std::int32_t GradientPercent = 0;
  std::string GradientData;
  TsGradArray Gradient;
  std::int32_t ImagePercent = 0;
  bool ShowFocus = false;
  bool FadingEnabled = false;
  std::int32_t FadingIntervalIn = 0;
  std::int32_t FadingIntervalOut = 0;
  std::int32_t FadingIterations = 0;
  std::uint32_t HotPaintingColor = 0;
  std::int32_t HotPaintingTransparency = 0;
  std::uint8_t HotPaintingBevel = 0;
  std::int32_t HotPaintingBevelWidth = 0;
  std::int32_t HotGradientPercent = 0;
  std::string HotGradientData;
  TsGradArray HotGradient;
  std::int32_t HotImagePercent = 0;
  std::uint32_t PaintingColorBorderTop = 0;
  std::uint32_t PaintingColorBorderBottom = 0;
  std::uint8_t SelectionBorderBevel = 0;  // TsEditorBevel
  std::int32_t SelectionBorderWidth = 0;
  std::uint32_t SelectionColor = 0;
};

// One image of a skin: an own bitmap, or a rectangle of the master bitmap.
struct TsMaskData {
  std::unique_ptr<PixelBuffer> Bitmap;  // none when cut from the master bitmap
  std::string SectionName;   // upper case
  std::string PropertyName;  // upper case
  PixRect SourceRect;
  std::int16_t ImageCount = 0;
  std::int16_t MaskType = 0;  // 0 no mask half, 1 lower half is the mask
};

struct TsPatternData {
  PixelBuffer Image;  // a decoded JPEG image
  std::string SectionName;
  std::string PropertyName;
};

using TsGeneralDataArray = std::vector<TsGeneralData>;
using TsMaskArray = std::vector<TsMaskData>;
using TsPatternArray = std::vector<TsPatternData>;

// A skin stored in a form description, as plain values (the stored-skin
// components hand theirs over in this shape).
struct TsStoredGeneral {
  std::string SectionName, ParentClassName;
  std::int32_t PaintingColor = 0;
  std::uint8_t PaintingBevel = 0;
  std::int32_t PaintingBevelWidth = 0, ShadowBlur = 0, ShadowColor = 0;
  bool ShadowDontUse = false, ShadowEnabled = false, ReservedBoolean = false;
  std::int32_t ShadowOffset = 0, ShadowTransparency = 0;
  std::string FontColor, HotFontColor;  // five integers separated by blanks
  std::int32_t PaintingTransparency = 0, GradientPercent = 0;
  std::string GradientData;
  std::int32_t ImagePercent = 0;
  bool ShowFocus = false, FadingEnabled = false;
  std::int32_t FadingIntervalIn = 0, FadingIntervalOut = 0, FadingIterations = 0;
  std::int32_t HotPaintingColor = 0, HotPaintingTransparency = 0;
  std::uint8_t HotPaintingBevel = 0;
  std::int32_t HotPaintingBevelWidth = 0, HotGradientPercent = 0;
  std::string HotGradientData;
  std::int32_t HotImagePercent = 0, PaintingColorBorderTop = 0, PaintingColorBorderBottom = 0;
  std::uint8_t SelectionBorderBevel = 0;
  std::int32_t SelectionBorderWidth = 0, SelectionColor = 0;
  std::string Name;
};
struct TsStoredImage {
  std::string SectionName;
  PixelBuffer Image;
  std::string Name, PropertyName;
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0, ImageCount = 0, MaskType = 0;
};
struct TsStoredPattern {
  std::string SectionName;
  PixelBuffer Image;
  std::string Name, PropertyName;
};
struct TsStoredSkinData {
  std::string Name;
  std::vector<TsStoredGeneral> GeneralData;
  std::vector<TsStoredImage> Images;
  std::vector<TsStoredPattern> Patterns;
  PixelBuffer MasterBitmap;
};

struct MaskSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(MaskSize, MaskSize) = default;
};

class TsSkinData {
 public:
  // The one instance of the process (tests may make their own).
  static TsSkinData& Instance();

  void* Manager = nullptr;  // the registered skin manager, opaque here
  std::unique_ptr<kestu::IniFile> IniFile;  // "Options.dat" of a skin on disk
  std::string SkinPath;  // that skin's folder, with a trailing separator
  bool SkinLoaded = false;

  TsGeneralDataArray gd;
  TsMaskArray ma;
  TsPatternArray pa;
  std::unique_ptr<PixelBuffer> MasterBitmap;  // magenta is its transparent colour

  // Lookups; all answer "not found" while SkinLoaded is false.
  int FindSectionIndex(std::string_view name) const;
  bool IsValidSection(int index) const;
  bool IsValidMask(int index) const;
  int FindMaskIndex(int skinIndex, std::string_view sectionName, std::string_view propertyName) const;
  int FindPatternIndex(int skinIndex, std::string_view sectionName, std::string_view propertyName) const;
  MaskSize GetMaskSize(int maskIndex) const;
  // The pixels of an image entry, ready for the pixel library.
  MaskImage MaskImageOf(int maskIndex) const;
  // The picture an image entry tiles with: its own bitmap, or its rectangle
  // of the master bitmap.
  PixelRows TileOf(int maskIndex) const;

  // Loaders, called in this order when a skin is selected. With IniFile set
  // they read the skin on disk, otherwise the stored skin given (none: the
  // tables stay empty). A malformed number in a "#" value or a gradient text
  // of the file raises ConvertError naming the section and key.
  void LoadSkinMasks(const TsStoredSkinData* stored = nullptr);
  void LoadSkinPatterns(const TsStoredSkinData* stored = nullptr);
  void LoadSectionRecords(const TsStoredSkinData* stored = nullptr);
  void FreeSkinMasks();
  void FreeSkinPatterns();

  // Called with "Error of PixelFormat changing" when an image cannot be
  // brought to 24 bits (the manager shows it in a message box).
  std::function<void(const std::string&)> OnError;
  // Turns a system colour ($FF000000 + n) into RGB; section colours pass
  // through it as they are loaded, so painting never sees one.
  std::function<std::uint32_t(std::uint32_t)> ResolveSystemColour;

  // Lookups go through indexes by upper-case name, made again on the first
  // lookup after a table changed size; a caller that renames entries in
  // place calls Reindex.
  void Reindex();

 private:
  struct Indexes {
    std::size_t sections = SIZE_MAX, masks = SIZE_MAX, patterns = SIZE_MAX;  // table sizes indexed
    std::unordered_map<std::string, int> section;  // the first section of a name
    std::unordered_map<std::string, int> mask, pattern;  // the first entry of a section and property
  };
  const Indexes& Indexed() const;
  int FindEntry(bool masks, int skinIndex, std::string_view sectionName, std::string_view propertyName,
                int depth) const;
  std::string FilePath(std::string_view name) const;
  mutable Indexes indexes_;
};

// Replaces every system colour of the section by resolve(colour); -1 (no
// colour) in the font colours stays.
void ResolveSectionColours(TsGeneralData& g, const std::function<std::uint32_t(std::uint32_t)>& resolve);

// Loads a skin picture by its upper-cased extension: ".JPG" and ".JPEG" as
// JPEG (grey-scale with grey), ".BMP" as a bitmap (then GrayBitmap with
// grey). A missing file, another extension or a damaged file give an empty
// picture.
PixelBuffer LoadPictureFile(const std::string& fileName, bool grey);

// Deepest chain of parent sections followed before giving up (a guard
// against cycles; real skins use two or three levels).
constexpr int kMaxParentDepth = 64;

}  // namespace kestu
