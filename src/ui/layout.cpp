#include "ui/layout.h"

#include <cmath>

namespace zel::ui {

namespace {
int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }
}  // namespace

Rect ScaleRect(const Rect& d, const Scale& s) {
  int l = Round(d.left * s.x), t = Round(d.top * s.y);
  int r = Round(d.right() * s.x), b = Round(d.bottom() * s.y);
  return {l, t, r - l, b - t};
}

int FontHeight(int points, double scale) {
  int h = Round(points * 96.0 / 72.0 * scale);
  return -(h < 1 ? 1 : h);
}

}  // namespace zel::ui
