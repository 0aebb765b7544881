// "Options.dat" descriptions from anywhere: load all three tables from a skin
// folder that holds a small master bitmap, then look up and paint every
// section. Conversion errors are the only way out of the loaders.
#include "base/Bmp.h"
#include "base/TextUtil.h"
#include "skin/core/SectionPaint.h"
#include "skin/core/SkinData.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace {

std::string skinPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace kestu;
  auto dir = std::filesystem::temp_directory_path() / "kestu_skin_options_fuzz";
  std::filesystem::create_directories(dir);
  PixelBuffer master(40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) master.At(x, y) = (x + y) % 7 == 0 ? Bgr{255, 0, 255} : Bgr{std::uint8_t(x), std::uint8_t(y), 9};
  std::vector<std::uint8_t> file = WriteBmp(master.Rows());
  if (std::FILE* f = std::fopen((dir / "master.bmp").string().c_str(), "wb")) {
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
  }
  skinPath = dir.string() + "/";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestu;
  TsSkinData skin;
  skin.IniFile = std::make_unique<IniFile>(IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size)));
  skin.SkinPath = skinPath;
  try {
    skin.LoadSkinMasks();
    skin.LoadSkinPatterns();
    skin.LoadSectionRecords();
  } catch (const ConvertError&) {
    return 0;
  }
  skin.SkinLoaded = true;
  PixelBuffer target(19, 13), parent(30, 30);
  ParentCacheRef ref{parent.Rows(), 3, 5, true};
  for (std::size_t i = 0; i < skin.gd.size() && i < 64; ++i) {
    const TsGeneralData& s = skin.gd[i];
    int index = skin.FindSectionIndex(s.SectionName);
    for (const char* property : {"BORDERSMASK", "IMAGEFILE", "GLYPHMASK"}) {
      int mask = skin.FindMaskIndex(index, s.SectionName, property);
      skin.GetMaskSize(mask);
      DrawStripGlyph(target.Rows(), {-2, 3}, 4, skin.MaskImageOf(mask), 0);
      skin.FindPatternIndex(index, s.SectionName, property);
    }
    PaintSectionItem(skin, index, s.SectionName, ref, target.Rows(), {1, 1}, {0, 0, 19, 13}, i % 2 == 1, true);
    PaintSectionItem(skin, index, s.SectionName, EmptyCacheRef, target.Rows(), {0, 0}, {2, 2, 7, 13}, false, false);
  }
  return 0;
}
