#pragma once
// Arithmetic of a skinned scroll bar along its length: the two buttons, the
// slider's length and centre, the track halves either side of it, and the
// position under a point. Integer arithmetic with exact rounding, so every
// rule can be checked without a window.

#include <cstdint>

namespace kestu {

// Nearest integer to num / den (den > 0), ties to even.
std::int64_t RoundQuotient(std::int64_t num, std::int64_t den);

// The parts of a bar, in the order their states are kept.
enum TsScrollPart : int { spFirstButton, spSecondButton, spTrackBefore, spTrackAfter, spSlider, spCount };

struct ScrollModel {
  int Min = 0, Max = 100, Position = 0, PageSize = 0;
};

struct ScrollBarGeometry {
  int L = 0;  // the bar's length
  int A = 0;  // the system's arrow size along the bar
  int FirstEnd = 0;     // first button: [0, FirstEnd)
  int SecondStart = 0;  // second button: [SecondStart, L)
  int S = 0;            // slider length
  int C = 0;            // slider centre; the track before the slider is [0, C), after [C, L)
  int SliderStart() const { return C - S / 2; }
  int SliderEnd() const { return C - S / 2 + S; }
  // The slider is drawn only when it fits between the arrow sizes.
  bool SliderFits() const { return L - 2 * A >= S; }
};

inline constexpr int kMinSliderLength = 14;

// minButton: the length of one frame of the button's border mask when the
// skin asks buttons to keep it (0 otherwise).
ScrollBarGeometry MeasureScrollBar(int length, int arrow, int minButton, const ScrollModel& model, bool enabled);

// The part under coordinate p along the bar (buttons first, then the slider).
TsScrollPart PartAt(const ScrollBarGeometry& g, int p);

// The position whose slider would be centred at p (before clamping).
int PositionAt(const ScrollBarGeometry& g, const ScrollModel& model, int p);

}  // namespace kestu
