// The vector kernels against the scalar reference on rows taken from the
// input: the first bytes choose the kernel, its parameters, the row's byte
// offset and the key colour; the rest are the row, picture and mask bytes.
// Any difference aborts.
#include "skin/core/PixelKernels.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace kestu;

struct Rows {
  std::vector<std::uint8_t> d, s, m;
};

void Run(const PixelKernels& k, int kernel, Rows& r, int offset, int w, unsigned param, Bgr key, bool keyOn) {
  std::uint8_t* d = r.d.data() + offset;
  const std::uint8_t* s = r.s.data() + offset;
  const std::uint8_t* m = r.m.data() + offset;
  auto* dp = reinterpret_cast<Bgr*>(d);
  auto* sp = reinterpret_cast<const Bgr*>(s);
  auto* mp = reinterpret_cast<const Bgr*>(m);
  const std::size_t n = std::size_t(w) * 3;
  const KeyColour keyColour = keyOn ? KeyColour{true, key} : KeyColour{};
  switch (kernel) {
    case 0: k.maskBytes(d, s, m, n); break;
    case 1: k.maskBytesFaded(d, s, m, n); break;
    case 2: d[0] = std::uint8_t(k.findKey(sp, int(param % unsigned(w + 1)), w, key)); break;
    case 3: d[0] ^= std::uint8_t(k.maskUntilKey(dp, sp, mp, w, key, param & 1)); break;
    case 4: k.mixBytes(d, s, n, param & 0xFF); break;
    case 5: k.mixColour(dp, w, key, param % 257, keyColour); break;
    case 6: k.percentColour(dp, w, key, param % 101); break;
    case 7: k.grey(dp, w, keyColour); break;
    default: k.fill(dp, w, key); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 7) return 0;
  const int kernel = data[0] % 9, offset = data[1] % 16;
  const unsigned param = unsigned(data[2]) | unsigned(data[3]) << 8;
  const Bgr key{data[4], data[5], data[6]};
  const bool keyOn = data[2] & 0x80;
  data += 7, size -= 7;
  // The bytes fill the three rows in turn; the row is as wide as they allow.
  const int w = int(size / 9);
  Rows rows;
  for (auto* row : {&rows.d, &rows.s, &rows.m}) row->assign(std::size_t(w) * 3 + 16, 0);
  for (int i = 0; i < 3 * w * 3; ++i) {
    auto& row = i % 3 == 0 ? rows.d : i % 3 == 1 ? rows.s : rows.m;
    row[std::size_t(offset + i / 3)] = data[i];
  }
  Rows reference = rows;
  Run(ScalarKernels(), kernel, reference, offset, w, param, key, keyOn);
  for (const PixelKernels* k : AvailableKernels()) {
    Rows ours = rows;
    Run(*k, kernel, ours, offset, w, param, key, keyOn);
    if (ours.d != reference.d) std::abort();
  }
  return 0;
}
