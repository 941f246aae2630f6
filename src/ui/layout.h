// Proportional layout: design rectangles (at the design client size, 96 dots per inch) mapped
// to the window's current client size. Portable, so the arithmetic is tested natively.
#pragma once

namespace zel::ui {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Rect&) const = default;
};

struct Scale {
  double x = 1.0, y = 1.0;
  // Fonts follow the smaller of the two factors so that text never outgrows its control.
  double font() const { return x < y ? x : y; }
};

// Scales a rectangle edge by edge, so that neighbouring controls stay flush after rounding.
Rect ScaleRect(const Rect& design, const Scale& s);

// Height in pixels of a font of `points` at 96 dots per inch, scaled (negative: character height).
int FontHeight(int points, double scale);

}  // namespace zel::ui
