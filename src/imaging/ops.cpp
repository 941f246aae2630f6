#include "imaging/ops.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "imaging/codecs.h"

namespace zel::img {

namespace detail {
void SettleAlpha(Image& image) {
  const uint8_t* p = image.data();
  for (size_t i = 3, n = image.byteSize(); i < n; i += 4)
    if (p[i] != 255) return;
  image.setHasAlpha(false);
}
}  // namespace detail

namespace {

struct Taps {
  std::vector<int> start, count;
  std::vector<float> weights;  // count[i] weights per output index, packed
  std::vector<size_t> offset;
};

double Kernel(Filter f, double x) {
  x = std::fabs(x);
  if (f == Filter::Bilinear) return x < 1 ? 1 - x : 0;
  if (x < 1e-8) return 1;
  if (x >= 3) return 0;
  const double px = std::numbers::pi * x;
  return 3 * std::sin(px) * std::sin(px / 3) / (px * px);
}

Taps MakeTaps(int src, int dst, Filter f) {
  Taps t;
  const double scale = double(src) / dst;
  const double widen = std::max(1.0, scale);
  const double support = (f == Filter::Bilinear ? 1.0 : 3.0) * widen;
  t.start.resize(size_t(dst));
  t.count.resize(size_t(dst));
  t.offset.resize(size_t(dst));
  for (int i = 0; i < dst; ++i) {
    const double centre = (i + 0.5) * scale;
    int lo = int(std::floor(centre - support)), hi = int(std::ceil(centre + support));
    lo = std::max(lo, 0);
    hi = std::min(hi, src - 1);
    t.start[size_t(i)] = lo;
    t.offset[size_t(i)] = t.weights.size();
    double sum = 0;
    const size_t first = t.weights.size();
    for (int s = lo; s <= hi; ++s) {
      const double w = Kernel(f, (s + 0.5 - centre) / widen);
      t.weights.push_back(float(w));
      sum += w;
    }
    t.count[size_t(i)] = hi - lo + 1;
    if (sum != 0)
      for (size_t k = first; k < t.weights.size(); ++k) t.weights[k] = float(t.weights[k] / sum);
  }
  return t;
}

uint8_t Clamp8(float v) { return uint8_t(v <= 0 ? 0 : v >= 255 ? 255 : int(v + 0.5f)); }

}  // namespace

Image Resample(const Image& src, int width, int height, Filter filter) {
  if (src.empty()) throw Error("there is no picture to resample");
  CheckSize(width, height, "resampled picture");
  Image out(width, height, src.hasAlpha());
  const int sw = src.width(), sh = src.height();
  if (filter == Filter::None) {
    std::vector<int> xs(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) xs[size_t(x)] = int((uint64_t(2 * x + 1) * uint64_t(sw)) / (2 * uint64_t(width)));
    for (int y = 0; y < height; ++y) {
      const int sy = int((uint64_t(2 * y + 1) * uint64_t(sh)) / (2 * uint64_t(height)));
      const uint32_t* s = reinterpret_cast<const uint32_t*>(src.row(sy));
      uint32_t* o = reinterpret_cast<uint32_t*>(out.row(y));
      for (int x = 0; x < width; ++x) o[x] = s[xs[size_t(x)]];
    }
    return out;
  }
  const bool alpha = src.hasAlpha();
  const Taps tx = MakeTaps(sw, width, filter), ty = MakeTaps(sh, height, filter);
  // Horizontal pass into floats (premultiplied when there is alpha), then vertical.
  std::vector<float> mid(size_t(width) * size_t(sh) * 4);
  for (int y = 0; y < sh; ++y) {
    const uint8_t* s = src.row(y);
    float* m = &mid[size_t(y) * size_t(width) * 4];
    for (int x = 0; x < width; ++x, m += 4) {
      float acc[4] = {0, 0, 0, 0};
      const float* w = &tx.weights[tx.offset[size_t(x)]];
      const uint8_t* p = s + size_t(tx.start[size_t(x)]) * 4;
      for (int k = 0; k < tx.count[size_t(x)]; ++k, p += 4) {
        const float a = alpha ? p[3] / 255.0f : 1.0f;
        acc[0] += w[k] * p[0] * a, acc[1] += w[k] * p[1] * a, acc[2] += w[k] * p[2] * a, acc[3] += w[k] * p[3];
      }
      std::copy(acc, acc + 4, m);
    }
  }
  for (int y = 0; y < height; ++y) {
    uint8_t* o = out.row(y);
    const float* w = &ty.weights[ty.offset[size_t(y)]];
    for (int x = 0; x < width; ++x, o += 4) {
      float acc[4] = {0, 0, 0, 0};
      for (int k = 0; k < ty.count[size_t(y)]; ++k) {
        const float* m = &mid[(size_t(ty.start[size_t(y)] + k) * size_t(width) + size_t(x)) * 4];
        for (int c = 0; c < 4; ++c) acc[c] += w[k] * m[c];
      }
      if (alpha) {
        const float a = acc[3] / 255.0f;
        o[3] = Clamp8(acc[3]);
        for (int c = 0; c < 3; ++c) o[c] = a > 0 ? Clamp8(acc[c] / a) : 0;
      } else {
        for (int c = 0; c < 3; ++c) o[c] = Clamp8(acc[c]);
        o[3] = 255;
      }
    }
  }
  return out;
}

Image Crop(const Image& src, Rect r) {
  const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
  const int x1 = int(std::min<int64_t>(int64_t(r.x) + r.width, src.width()));
  const int y1 = int(std::min<int64_t>(int64_t(r.y) + r.height, src.height()));
  if (x1 <= x0 || y1 <= y0) throw Error("the crop rectangle does not meet the picture");
  Image out(x1 - x0, y1 - y0, src.hasAlpha());
  for (int y = y0; y < y1; ++y) std::memcpy(out.row(y - y0), src.pixel(x0, y), out.stride());
  return out;
}

void Fill(Image& image, Colour c) {
  uint32_t v = uint32_t(c.b) | uint32_t(c.g) << 8 | uint32_t(c.r) << 16 | 0xff000000u;
  uint32_t* p = reinterpret_cast<uint32_t*>(image.data());
  std::fill(p, p + image.byteSize() / 4, v);
  image.setHasAlpha(false);
}

Image Flatten(const Image& src, Colour bg) {
  Image out = src;
  out.setHasAlpha(false);
  if (!src.hasAlpha()) return out;
  const uint8_t back[3] = {bg.b, bg.g, bg.r};
  uint8_t* p = out.data();
  for (size_t i = 0, n = out.byteSize(); i < n; i += 4) {
    const unsigned a = p[i + 3];
    for (int c = 0; c < 3; ++c) p[i + size_t(c)] = uint8_t((p[i + size_t(c)] * a + back[c] * (255 - a) + 127) / 255);
    p[i + 3] = 255;
  }
  return out;
}

Image SoftShadow(const Image& src, int radius, int offsetX, int offsetY, Colour colour, int intensityPercent) {
  if (src.empty()) throw Error("there is no picture to add a shadow to");
  radius = std::clamp(radius, 0, 1000);
  offsetX = std::clamp(offsetX, -10000, 10000);
  offsetY = std::clamp(offsetY, -10000, 10000);
  const float intensity = float(std::clamp(intensityPercent, 0, 100)) / 100.0f;
  const int w = src.width(), h = src.height();
  // Canvas: the union of the picture and the blurred shadow.
  const int left = std::min(0, offsetX - radius), top = std::min(0, offsetY - radius);
  const int right = std::max(w, offsetX + w + radius), bottom = std::max(h, offsetY + h + radius);
  const int cw = right - left, ch = bottom - top;
  CheckSize(cw, ch, "picture with shadow");

  // The silhouette (the picture's alpha) at the shadow's place, then a separable Gaussian blur.
  std::vector<float> mask(size_t(cw) * size_t(ch), 0.0f);
  const int sx = offsetX - left, sy = offsetY - top;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) mask[size_t(sy + y) * size_t(cw) + size_t(sx + x)] = src.hasAlpha() ? src.pixel(x, y)[3] / 255.0f : 1.0f;
  if (radius > 0) {
    const double sigma = radius / 2.0;
    std::vector<float> k(size_t(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += k[size_t(i + radius)] = float(std::exp(-(i * i) / (2 * sigma * sigma)));
    for (float& v : k) v = float(v / sum);
    std::vector<float> tmp(mask.size(), 0.0f);
    for (int y = 0; y < ch; ++y)
      for (int x = 0; x < cw; ++x) {
        float acc = 0;
        for (int i = -radius; i <= radius; ++i) {
          const int xx = x + i;
          if (xx >= 0 && xx < cw) acc += k[size_t(i + radius)] * mask[size_t(y) * size_t(cw) + size_t(xx)];
        }
        tmp[size_t(y) * size_t(cw) + size_t(x)] = acc;
      }
    for (int y = 0; y < ch; ++y)
      for (int x = 0; x < cw; ++x) {
        float acc = 0;
        for (int i = -radius; i <= radius; ++i) {
          const int yy = y + i;
          if (yy >= 0 && yy < ch) acc += k[size_t(i + radius)] * tmp[size_t(yy) * size_t(cw) + size_t(x)];
        }
        mask[size_t(y) * size_t(cw) + size_t(x)] = acc;
      }
  }
  Image out(cw, ch, true);
  for (int y = 0; y < ch; ++y) {
    uint8_t* o = out.row(y);
    for (int x = 0; x < cw; ++x, o += 4) {
      const float a = std::clamp(mask[size_t(y) * size_t(cw) + size_t(x)] * intensity, 0.0f, 1.0f);
      o[0] = colour.b, o[1] = colour.g, o[2] = colour.r, o[3] = Clamp8(a * 255.0f);
    }
  }
  // The picture over the shadow.
  const int px = -left, py = -top;
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = src.row(y);
    uint8_t* o = out.pixel(px, py + y);
    for (int x = 0; x < w; ++x, s += 4, o += 4) {
      const float sa = src.hasAlpha() ? s[3] / 255.0f : 1.0f, da = o[3] / 255.0f;
      const float oa = sa + da * (1 - sa);
      for (int c = 0; c < 3; ++c) o[c] = oa > 0 ? Clamp8((s[c] * sa + o[c] * da * (1 - sa)) / oa) : 0;
      o[3] = Clamp8(oa * 255.0f);
    }
  }
  detail::SettleAlpha(out);
  return out;
}

}  // namespace zel::img
