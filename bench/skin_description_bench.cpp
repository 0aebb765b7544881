// Loading the slowest skin descriptions that fit the 16 MB limit, and looking
// up in them: run with --benchmark_filter=skin_description.
//   chains    sections of nothing but a parent, in chains as deep as a chain
//             is followed, so every value of every section walks the chain
//   keys      few sections with as many key lines as fit
//   images    as many image values as fit, cut from a master bitmap
#include "base/Bmp.h"
#include "base/IniFile.h"
#include "skin/core/SkinData.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace kestu {
namespace {

constexpr std::size_t kLimit = IniFile::kMaxFileBytes;

std::string Chains() {
  std::string text;
  char line[64];
  for (int i = 0; text.size() + 64 < kLimit; ++i) {
    if (i % kMaxParentDepth == 0) std::snprintf(line, sizeof line, "[s%d]\n", i);
    else std::snprintf(line, sizeof line, "[s%d]\nParentClassName=s%d\n", i, i - 1);
    text += line;
  }
  return text;
}

std::string Keys() {
  std::string text;
  char line[64];
  for (int i = 0; text.size() + 64 < kLimit; ++i) {
    if (i % 1000 == 0) std::snprintf(line, sizeof line, "[s%d]\nParentClassName=s%d\n", i, i - 1000);
    else std::snprintf(line, sizeof line, "k%d=%d\n", i, i);
    text += line;
  }
  return text;
}

std::string Images() {
  std::string text = "[GlobalInfo]\nMasterBitmap=master.bmp\n[s]\n";
  char line[64];
  for (int i = 0; text.size() + 64 < kLimit; ++i) {
    std::snprintf(line, sizeof line, "k%d=#m (0,0,9,9) (3,1)\n", i);
    text += line;
  }
  return text;
}

// A master bitmap beside the description, for the image values.
std::string SkinFolder() {
  const auto dir = std::filesystem::temp_directory_path() / "kestu_skin_description_bench";
  std::filesystem::create_directories(dir);
  PixelBuffer master(16, 16);
  if (std::FILE* f = std::fopen((dir / "master.bmp").string().c_str(), "wb")) {
    std::vector<std::uint8_t> file = WriteBmp(master.Rows());
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
  }
  return dir.string() + "/";
}

void Load(benchmark::State& state, std::string (*make)()) {
  const std::string text = make();
  const std::string folder = SkinFolder();
  std::size_t sections = 0;
  for (auto _ : state) {
    TsSkinData skin;
    skin.IniFile = std::make_unique<IniFile>(IniFile::Parse(text));
    skin.SkinPath = folder;
    skin.LoadSkinMasks();
    skin.LoadSkinPatterns();
    skin.LoadSectionRecords();
    sections = skin.gd.size();
    benchmark::DoNotOptimize(skin.gd.data());
  }
  state.counters["bytes"] = double(text.size());
  state.counters["sections"] = double(sections);
}

// Every section's index and its border mask through its chain.
void LookUp(benchmark::State& state) {
  TsSkinData skin;
  skin.IniFile = std::make_unique<IniFile>(IniFile::Parse(Chains()));
  skin.LoadSectionRecords();
  skin.SkinLoaded = true;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& name = skin.gd[i++ % skin.gd.size()].SectionName;
    benchmark::DoNotOptimize(skin.FindMaskIndex(skin.FindSectionIndex(name), name, "BORDERSMASK"));
  }
}

BENCHMARK_CAPTURE(Load, skin_description_chains, Chains)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Load, skin_description_keys, Keys)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Load, skin_description_images, Images)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(LookUp)->Name("skin_description_lookup")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestu
