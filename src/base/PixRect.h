#pragma once
// Rectangles and points of the pixel code: Left, Top, Right, Bottom in pixels.
// Whether Right and Bottom belong to the area is said by each routine.

namespace kestu {

struct PixPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(PixPoint, PixPoint) = default;
};

struct PixRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const PixRect&, const PixRect&) = default;
};

}  // namespace kestu
