#pragma once
// The inner loops of the pixel library, one row at a time. Each exists as a
// plain scalar form, the reference, and as an SSE2 form that gives the same
// bytes for every input; the pixel library calls whichever set is active.

#include "skin/core/PixelLib.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestu {

struct PixelKernels {
  const char* name;
  // Rule 1 over n bytes: d = (d x m + s x (256 - m)) div 256.
  void (*maskBytes)(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n);
  // The same with every mask byte raised by 100, at most 255 (faded glyphs).
  void (*maskBytesFaded)(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n);
  // First column in [i, w) whose pixel is the key colour, or w.
  int (*findKey)(const Bgr* p, int i, int w, Bgr key);
  // Rule 1 (faded or not) over the pixels before the first one of the key
  // colour; returns its column, or w.
  int (*maskUntilKey)(Bgr* d, const Bgr* p, const Bgr* m, int w, Bgr key, bool faded);
  // d = (f x d + (256 - f) x s) / 256 rounded half to even, f in 0 .. 255.
  void (*mixBytes)(std::uint8_t* d, const std::uint8_t* s, std::size_t n, unsigned f);
  // p = (k x p + (256 - k) x c) / 256 rounded half to even, k in 0 .. 256;
  // pixels of the key colour stay.
  void (*mixColour)(Bgr* row, int w, Bgr c, unsigned k, KeyColour key);
  // p = (P x p + (100 - P) x c) / 100 rounded half to even, P in 0 .. 100.
  void (*percentColour)(Bgr* row, int w, Bgr c, unsigned P);
  // Each channel becomes (B + G + R) div 3; pixels of the key colour stay.
  void (*grey)(Bgr* row, int w, KeyColour key);
  void (*fill)(Bgr* row, int w, Bgr c);
};

const PixelKernels& ScalarKernels();
// The vector sets, or null where the build has none for the target.
const PixelKernels* Sse2Kernels();
const PixelKernels* Avx2Kernels();    // call only where the processor has AVX2
const PixelKernels* Avx512Kernels();  // and AVX512BW
// Every set this processor can run, the scalar reference first.
std::vector<const PixelKernels*> AvailableKernels();
// The widest set this processor can run.
const PixelKernels& VectorKernels();
// The set the pixel library uses now (the vector set unless overridden).
const PixelKernels& Kernels();

// Makes the pixel library use another kernel set while it lives, so that
// whole routines can be compared between the sets.
class ScopedKernels {
 public:
  explicit ScopedKernels(const PixelKernels& kernels);
  ~ScopedKernels();
  ScopedKernels(const ScopedKernels&) = delete;
  ScopedKernels& operator=(const ScopedKernels&) = delete;

 private:
  const PixelKernels* previous_;
};

// The exact percent blend of one channel: (P x v + (100 - P) x c) / 100
// rounded half to even and clamped to a byte, for any P.
std::uint8_t PercentChannel(unsigned v, unsigned c, int P);

}  // namespace kestu
