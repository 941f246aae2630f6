#include "ui/display_scale.h"

#include <algorithm>
#include <vector>

#include "imaging/ops.h"

namespace zel::ui {

img::Image BoxReduce(const img::Image& src, int factor) {
  factor = std::clamp(factor, 1, 4096);   // 4096² x 255 still fits the 32-bit sums
  const int sw = src.width(), sh = src.height();
  const int ow = (sw + factor - 1) / factor, oh = (sh + factor - 1) / factor;
  img::Image out = img::Image::Uninitialized(ow, oh);
  std::vector<uint32_t> sums(size_t(ow) * 3);
  for (int oy = 0; oy < oh; ++oy) {
    std::fill(sums.begin(), sums.end(), 0u);
    const int y0 = oy * factor, y1 = std::min(sh, y0 + factor);
    for (int y = y0; y < y1; ++y) {
      const uint8_t* p = src.row(y);
      for (int ox = 0; ox < ow; ++ox) {
        const int x1 = std::min(sw, (ox + 1) * factor);
        uint32_t b = 0, g = 0, r = 0;
        for (int x = ox * factor; x < x1; ++x, p += 4) b += p[0], g += p[1], r += p[2];
        uint32_t* s = &sums[size_t(ox) * 3];
        s[0] += b, s[1] += g, s[2] += r;
      }
    }
    uint8_t* o = out.row(oy);
    for (int ox = 0; ox < ow; ++ox, o += 4) {
      const uint32_t n = uint32_t(std::min(sw, (ox + 1) * factor) - ox * factor) * uint32_t(y1 - y0);
      const uint32_t* s = &sums[size_t(ox) * 3];
      for (int c = 0; c < 3; ++c) o[c] = uint8_t((s[c] + n / 2) / n);
      o[3] = 255;
    }
  }
  return out;
}

img::Image ScaleForDisplay(const img::Image& src, int width, int height) {
  img::CheckSize(width, height, "display picture");
  if (src.hasAlpha()) return ScaleForDisplay(img::Flatten(src), width, height);
  if (width == src.width() && height == src.height()) return src;
  const int factor = std::min(src.width() / (2 * width), src.height() / (2 * height));
  if (factor >= 2) return img::Resample(BoxReduce(src, factor), width, height, img::Filter::Lanczos3);
  return img::Resample(src, width, height, img::Filter::Lanczos3);
}

}  // namespace zel::ui
