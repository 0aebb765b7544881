// Writes the built-in skin "MacOS (internal)" into form descriptions: the
// sections and image entries of the table in src/skin/core/InternalSkin.cpp
// with the pictures drawn by tools/artwork (resources/artwork/skin/*.bmp),
// as the value of the skin manager's InternalSkins property.
//
//   write_internal_skin [--check] <picture folder> <form description>...
//
// With --check nothing is written; the exit code is 1 when a description
// differs from what would be written.
#include "base/Bmp.h"
#include "base/FileBytes.h"
#include "base/IniFile.h"
#include "skin/core/InternalSkin.h"
#include "skin/core/StoredSkinText.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace kestu;

// The picture file of each image entry that carries its own bitmap.
const char* PictureFileOf(const std::string& property) {
  if (property == "BIconClose") return "BICLOSE.bmp";
  if (property == "BIconMax") return "BIMAX.bmp";
  if (property == "BIconMin") return "BIMIN.bmp";
  if (property == "BIconNorm") return "BINORM.bmp";
  throw std::runtime_error("no picture file for the image \"" + property + "\"");
}

PixelBuffer ReadPicture(const std::string& folder, const std::string& file) {
  PixelBuffer picture = ReadBmpFile(folder + "/" + file);
  if (picture.Width() == 0) throw std::runtime_error(folder + "/" + file + " is empty");
  return picture;
}

TsStoredSkinData InternalSkinWithPictures(const std::string& folder) {
  TsStoredSkinData skin = MacOSInternalSkin();
  skin.MasterBitmap = ReadPicture(folder, "MASTER.bmp");
  for (TsStoredImage& image : skin.Images)
    if (image.ImageCount == 0) image.Image = ReadPicture(folder, PictureFileOf(image.PropertyName));
  return skin;
}

std::string ReadText(const std::string& path) {
  std::vector<unsigned char> bytes = ReadFileBytes(path, IniFile::kMaxFileBytes);
  return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

int Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool check = !args.empty() && args.front() == "--check";
  if (check) args.erase(args.begin());
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: write_internal_skin [--check] <picture folder> <form description>...\n");
    return 2;
  }
  const std::vector<TsStoredSkinData> skins{InternalSkinWithPictures(args[0])};
  int stale = 0;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& path = args[i];
    const std::string current = ReadText(path);
    const std::string wanted = ReplaceInternalSkins(current, skins);
    if (wanted == current) continue;
    if (check) {
      std::fprintf(stderr, "%s does not hold the built-in skin as its table and pictures give it; "
                           "rebuild the target update_internal_skin and commit the result\n", path.c_str());
      ++stale;
    } else {
      WriteText(path, wanted);
      std::printf("wrote %s\n", path.c_str());
    }
  }
  return stale ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "write_internal_skin: %s\n", e.what());
    return 2;
  }
}
