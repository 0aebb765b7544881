// Throughput of the skin pixel library next to pixman doing comparable work
// on the same 24-bit images, with memcpy of the same bytes as the ceiling.
// Prints a table and one "pair=..." line per operation and size.
#include "skin/core/Gradient.h"
#include "skin/core/PixelFill.h"
#include "skin/core/PixelLib.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace kestu;

struct Size {
  int w, h;
  std::string Name() const { return std::to_string(w) + "x" + std::to_string(h); }
};
const Size kSizes[] = {{256, 256}, {1920, 1080}};

PixelBuffer Pattern(int w, int h, int seed) {
  PixelBuffer b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.At(x, y) = Bgr{std::uint8_t(x * 7 + seed), std::uint8_t(y * 3 + seed), std::uint8_t((x ^ y) + seed)};
  return b;
}

// A picture over its grey mask (no key-colour pixels), as the masked copy reads it.
PixelBuffer Strip(int w, int h) {
  PixelBuffer b(w, 2 * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      b.At(x, y) = Bgr{std::uint8_t(x), std::uint8_t(y), 77};
      auto m = std::uint8_t((x + y) & 0xFF);
      b.At(x, y + h) = Bgr{m, m, m};
    }
  return b;
}

pixman_image_t* Wrap(PixelBuffer& b) {
  PixelRows r = b.Rows();
  return pixman_image_create_bits(PIXMAN_r8g8b8, r.width, r.height, reinterpret_cast<std::uint32_t*>(r.bits),
                                  int(r.stride));
}

void Count(benchmark::State& state, const Size& s) { state.SetItemsProcessed(state.iterations() * s.w * s.h); }

// ---- ours

void OursFill(benchmark::State& state, Size s) {
  PixelBuffer d(s.w, s.h);
  for (auto _ : state) {
    FillSolid(d.Rows(), {0, 0, s.w, s.h}, Bgr{10, 20, 30});
    benchmark::ClobberMemory();
  }
  Count(state, s);
}

void OursMasked(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1), strip = Strip(s.w, s.h);
  MaskImage mask = MaskImage::Own(strip.Rows());
  for (auto _ : state) {
    CopyMaskedRect({0, 0, s.w - 1, s.h - 1}, {0, 0, s.w - 1, s.h - 1}, d.Rows(), mask, clFuchsia, nullptr);
    benchmark::ClobberMemory();
  }
  Count(state, s);
}

void OursBlendBitmaps(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1), src = Pattern(s.w, s.h, 2);
  for (auto _ : state) {
    BlendBitmaps(d.Rows(), src.Rows(), 128);
    benchmark::ClobberMemory();
  }
  Count(state, s);
}

void OursBlendColor(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1);
  for (auto _ : state) {
    BlendRectWithColor(d.Rows(), {0, 0, s.w - 1, s.h - 1}, 50, 0x336699);
    benchmark::ClobberMemory();
  }
  Count(state, s);
}

void OursBlendBitmapRect(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1), src = Pattern(s.w, s.h, 2);
  for (auto _ : state) {
    BlendBitmapRect(d.Rows(), src.Rows(), 0x808080, {0, 0}, {0, 0, s.w, s.h});
    benchmark::ClobberMemory();
  }
  Count(state, s);
}

void OursFade(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1);
  for (auto _ : state) {
    FadeBitmapToColor(d.Rows(), 0x336699, clFuchsia, 0.5);
    benchmark::ClobberMemory();
  }
  Count(state, s);
}

void OursGrey(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1);
  for (auto _ : state) {
    GrayBitmapExcept(d.Rows(), clFuchsia);
    benchmark::ClobberMemory();
  }
  Count(state, s);
}

void PaintGradientBench(benchmark::State& state, Size s, const char* text) {
  PixelBuffer d(s.w, s.h);
  TsGradArray g = ParseGradient(text);
  for (auto _ : state) {
    PaintGradient(d.Rows(), {0, 0, s.w, s.h}, g);
    benchmark::ClobberMemory();
  }
  Count(state, s);
}
void OursGradient(benchmark::State& state, Size s) {
  PaintGradientBench(state, s, "16777215;14211288;50;0;0;14211288;8421504;50;0;0");
}
void OursGradientHorizontal(benchmark::State& state, Size s) {
  PaintGradientBench(state, s, "16777215;14211288;50;1;0;14211288;8421504;50;1;0");
}

void OursBorders(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1), mask = Strip(90, 30);  // 9 x 6 cells of 10 x 10
  MaskImage image = MaskImage::Own(mask.Rows());
  for (auto _ : state) {
    PaintMaskedBorders(d.Rows(), image, 0, true, clFuchsia, nullptr);
    benchmark::ClobberMemory();
  }
  Count(state, s);
}

// ---- pixman

void PixmanFill(benchmark::State& state, Size s) {
  PixelBuffer d(s.w, s.h);
  pixman_image_t* dest = Wrap(d);
  pixman_color_t colour{0x1e00, 0x1400, 0x0a00, 0xffff};
  pixman_box32_t box{0, 0, s.w, s.h};
  for (auto _ : state) {
    pixman_image_fill_boxes(PIXMAN_OP_SRC, dest, &colour, 1, &box);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(dest);
  Count(state, s);
}

void PixmanMasked(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1), picture = Pattern(s.w, s.h, 3);
  std::vector<std::uint32_t> maskBits(std::size_t(s.w) * std::size_t(s.h));
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      std::uint32_t m = 255 - ((x + y) & 0xFF);
      maskBits[std::size_t(y) * std::size_t(s.w) + std::size_t(x)] = 0xFF000000u | m << 16 | m << 8 | m;
    }
  pixman_image_t* dest = Wrap(d);
  pixman_image_t* src = Wrap(picture);
  pixman_image_t* mask = pixman_image_create_bits(PIXMAN_a8r8g8b8, s.w, s.h, maskBits.data(), s.w * 4);
  pixman_image_set_component_alpha(mask, 1);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dest, 0, 0, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(mask);
  pixman_image_unref(src);
  pixman_image_unref(dest);
  Count(state, s);
}

void PixmanBlendBitmaps(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1), picture = Pattern(s.w, s.h, 2);
  pixman_image_t* dest = Wrap(d);
  pixman_image_t* src = Wrap(picture);
  pixman_color_t half{0, 0, 0, 0x8000};
  pixman_image_t* mask = pixman_image_create_solid_fill(&half);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dest, 0, 0, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(mask);
  pixman_image_unref(src);
  pixman_image_unref(dest);
  Count(state, s);
}

void PixmanBlendColor(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1);
  pixman_image_t* dest = Wrap(d);
  pixman_color_t colour{0x9900, 0x6600, 0x3300, 0xffff}, half{0, 0, 0, 0x8000};
  pixman_image_t* src = pixman_image_create_solid_fill(&colour);
  pixman_image_t* mask = pixman_image_create_solid_fill(&half);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dest, 0, 0, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(mask);
  pixman_image_unref(src);
  pixman_image_unref(dest);
  Count(state, s);
}

void PixmanGradientAlong(benchmark::State& state, Size s, bool horizontal) {
  PixelBuffer d(s.w, s.h);
  pixman_image_t* dest = Wrap(d);
  pixman_point_fixed_t p1{0, 0};
  pixman_point_fixed_t p2 = horizontal ? pixman_point_fixed_t{pixman_int_to_fixed(s.w), 0}
                                       : pixman_point_fixed_t{0, pixman_int_to_fixed(s.h)};
  pixman_gradient_stop_t stops[3] = {{0, {0xffff, 0xffff, 0xffff, 0xffff}},
                                     {pixman_double_to_fixed(0.5), {0xd8d8, 0xd8d8, 0xd8d8, 0xffff}},
                                     {pixman_fixed_1, {0x8080, 0x8080, 0x8080, 0xffff}}};
  pixman_image_t* gradient = pixman_image_create_linear_gradient(&p1, &p2, stops, 3);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, gradient, nullptr, dest, 0, 0, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(gradient);
  pixman_image_unref(dest);
  Count(state, s);
}
void PixmanGradient(benchmark::State& state, Size s) { PixmanGradientAlong(state, s, false); }
void PixmanGradientHorizontal(benchmark::State& state, Size s) { PixmanGradientAlong(state, s, true); }

// The borders' pixman counterpart: a repeating 10 x 10 tile with its
// component-alpha mask composited over the whole target.
void PixmanBorders(benchmark::State& state, Size s) {
  PixelBuffer d = Pattern(s.w, s.h, 1), tile = Pattern(12, 10, 4);
  std::vector<std::uint32_t> maskBits(100, 0xFF808080u);
  pixman_image_t* dest = Wrap(d);
  pixman_image_t* src = pixman_image_create_bits(PIXMAN_r8g8b8, 10, 10, reinterpret_cast<std::uint32_t*>(tile.Rows().bits),
                                                 int(tile.Rows().stride));
  pixman_image_t* mask = pixman_image_create_bits(PIXMAN_a8r8g8b8, 10, 10, maskBits.data(), 40);
  pixman_image_set_component_alpha(mask, 1);
  pixman_image_set_repeat(src, PIXMAN_REPEAT_NORMAL);
  pixman_image_set_repeat(mask, PIXMAN_REPEAT_NORMAL);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dest, 0, 0, 0, 0, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(mask);
  pixman_image_unref(src);
  pixman_image_unref(dest);
  Count(state, s);
}

void Memcpy(benchmark::State& state, Size s) {
  PixelBuffer a = Pattern(s.w, s.h, 1), b(s.w, s.h);
  const std::size_t bytes = std::size_t(StrideFor(s.w)) * std::size_t(s.h);
  for (auto _ : state) {
    std::memcpy(b.Rows().bits, a.Rows().bits, bytes);
    benchmark::ClobberMemory();
  }
  Count(state, s);
}

// An operation without a pixman counterpart (grey conversion) has none.
struct Pair {
  const char* name;
  void (*ours)(benchmark::State&, Size);
  void (*pixman)(benchmark::State&, Size);
  bool fullHdOnly;
};
const Pair kPairs[] = {
    {"solid_fill", OursFill, PixmanFill, false},
    {"masked_copy", OursMasked, PixmanMasked, false},
    {"blend_bitmaps", OursBlendBitmaps, PixmanBlendBitmaps, false},
    {"blend_bitmap_rect", OursBlendBitmapRect, PixmanBlendBitmaps, false},
    {"blend_rect_with_color", OursBlendColor, PixmanBlendColor, false},
    {"fade_bitmap_to_color", OursFade, PixmanBlendColor, false},
    {"grey_bitmap", OursGrey, nullptr, false},
    {"gradient_two_band_vertical", OursGradient, PixmanGradient, false},
    {"gradient_two_band_horizontal", OursGradientHorizontal, PixmanGradientHorizontal, false},
    {"nine_part_borders", OursBorders, PixmanBorders, true},
};

// Pixels per iteration of every registered benchmark.
std::map<std::string, double> pixelsOf;

// Keeps megapixels per second (of CPU time) of every run by benchmark name.
class Collector : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> rate;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      std::string name = run.run_name.function_name;
      auto pixels = pixelsOf.find(name);
      if (pixels == pixelsOf.end() || run.iterations <= 0 || run.cpu_accumulated_time <= 0) continue;
      rate[name] = pixels->second * double(run.iterations) / run.cpu_accumulated_time / 1e6;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void Register(const std::string& name, void (*f)(benchmark::State&, Size), Size s) {
  pixelsOf[name] = double(s.w) * s.h;
  benchmark::RegisterBenchmark(name.c_str(), f, s)->MinTime(0.3);
}

}  // namespace

int main(int argc, char** argv) {
  for (const Size& s : kSizes) {
    for (const Pair& p : kPairs) {
      if (p.fullHdOnly && s.w != 1920) continue;
      Register(std::string(p.name) + "/ours/" + s.Name(), p.ours, s);
      if (p.pixman) Register(std::string(p.name) + "/pixman/" + s.Name(), p.pixman, s);
    }
    Register("memcpy/" + s.Name(), Memcpy, s);
  }
  benchmark::Initialize(&argc, argv);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);

  std::printf("\n%-28s %-10s %12s %12s %12s %10s %10s\n", "operation", "size", "ours Mpx/s", "pixman Mpx/s",
              "memcpy Mpx/s", "ours/pix", "ours/mcpy");
  std::vector<std::string> pairs;
  for (const Size& s : kSizes) {
    double copy = collector.rate["memcpy/" + s.Name()];
    for (const Pair& p : kPairs) {
      if (p.fullHdOnly && s.w != 1920) continue;
      auto ours = collector.rate.find(std::string(p.name) + "/ours/" + s.Name());
      auto pix = collector.rate.find(std::string(p.name) + "/pixman/" + s.Name());
      if (ours == collector.rate.end()) continue;  // filtered out
      const double pixman = pix == collector.rate.end() ? 0.0 : pix->second;  // 0: no counterpart
      std::printf("%-28s %-10s %12.1f %12.1f %12.1f %10.2f %10.2f\n", p.name, s.Name().c_str(), ours->second,
                  pixman, copy, pixman > 0 ? ours->second / pixman : 0.0, copy > 0 ? ours->second / copy : 0.0);
      char line[256];
      std::snprintf(line, sizeof line, "pair=%s size=%s ours_mpix_s=%.1f pixman_mpix_s=%.1f memcpy_mpix_s=%.1f",
                    p.name, s.Name().c_str(), ours->second, pixman, copy);
      pairs.push_back(line);
    }
  }
  std::printf("\n");
  for (const std::string& line : pairs) std::printf("%s\n", line.c_str());
  return 0;
}
