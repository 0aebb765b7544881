// The reference kernels: the arithmetic written out byte by byte.
#include "skin/core/PixelKernels.h"

#include <cstring>

namespace kestu {

namespace {

void MaskBytes(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) d[i] = MaskChannel(d[i], s[i], m[i]);
}

void MaskBytesFaded(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) d[i] = MaskChannel(d[i], s[i], m[i] + 100u > 255u ? 255u : m[i] + 100u);
}

int FindKey(const Bgr* p, int i, int w, Bgr key) {
  while (i < w && !(p[i] == key)) ++i;
  return i;
}

int MaskUntilKey(Bgr* d, const Bgr* p, const Bgr* m, int w, Bgr key, bool faded) {
  const int end = FindKey(p, 0, w, key);
  (faded ? MaskBytesFaded : MaskBytes)(reinterpret_cast<std::uint8_t*>(d), reinterpret_cast<const std::uint8_t*>(p),
                                       reinterpret_cast<const std::uint8_t*>(m), std::size_t(end) * 3);
  return end;
}

// N / 256 rounded half to even; N below 65 536.
std::uint8_t HalfEven256(unsigned N) { return std::uint8_t((N + 127 + ((N >> 8) & 1)) >> 8); }

void MixBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n, unsigned f) {
  for (std::size_t i = 0; i < n; ++i) d[i] = HalfEven256(f * d[i] + (256 - f) * s[i]);
}

void MixColour(Bgr* row, int w, Bgr c, unsigned k, KeyColour key) {
  for (int x = 0; x < w; ++x) {
    Bgr& p = row[x];
    if (key.Matches(p)) continue;
    p = Bgr{HalfEven256(k * p.b + (256 - k) * c.b), HalfEven256(k * p.g + (256 - k) * c.g),
            HalfEven256(k * p.r + (256 - k) * c.r)};
  }
}

void PercentColour(Bgr* row, int w, Bgr c, unsigned P) {
  for (int x = 0; x < w; ++x) {
    Bgr& p = row[x];
    p = Bgr{PercentChannel(p.b, c.b, int(P)), PercentChannel(p.g, c.g, int(P)), PercentChannel(p.r, c.r, int(P))};
  }
}

void Grey(Bgr* row, int w, KeyColour key) {
  for (int x = 0; x < w; ++x) {
    if (key.Matches(row[x])) continue;
    auto grey = std::uint8_t((unsigned(row[x].b) + row[x].g + row[x].r) / 3);
    row[x] = Bgr{grey, grey, grey};
  }
}

void Fill(Bgr* row, int w, Bgr c) {
  for (int x = 0; x < w; ++x) row[x] = c;
}

}  // namespace

std::uint8_t PercentChannel(unsigned v, unsigned c, int P) {
  const std::int64_t N = std::int64_t(P) * v + (100 - std::int64_t(P)) * c;
  // floor((N + 50) / 100), also for negative N; a remainder of 0 is a tie.
  std::int64_t t = N + 50, q = t / 100, r = t % 100;
  if (r < 0) q -= 1, r += 100;
  if (r == 0 && (q & 1)) q -= 1;
  return q <= 0 ? 0 : q >= 255 ? 255 : std::uint8_t(q);
}

const PixelKernels& ScalarKernels() {
  static const PixelKernels kernels{"scalar", MaskBytes, MaskBytesFaded, FindKey, MaskUntilKey, MixBytes,
                                    MixColour, PercentColour, Grey, Fill};
  return kernels;
}

}  // namespace kestu
