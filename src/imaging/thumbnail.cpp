#include "imaging/thumbnail.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>

#include "imaging/codecs.h"
#include "imaging/io.h"

namespace zel::img {
namespace {

// Scales rows down while they arrive, by exact area averaging: each source pixel adds to the
// one or two output pixels its footprint overlaps, in proportion. Memory: a few output rows.
class AreaScaler final : public detail::RowSink {
 public:
  explicit AreaScaler(int maxSide) : maxSide_(maxSide) {}

  void Begin(int w, int h, bool alpha) override {
    sw_ = w, sh_ = h, alpha_ = alpha;
    const int longSide = std::max(w, h);
    if (longSide <= maxSide_) {
      tw_ = w, th_ = h;
    } else {
      tw_ = std::max(1, int((int64_t(w) * maxSide_ + longSide / 2) / longSide));
      th_ = std::max(1, int((int64_t(h) * maxSide_ + longSide / 2) / longSide));
    }
    out = Image(tw_, th_, alpha);
    // Horizontal footprint of each source column: output column and the weight it gives it
    // (in units of 1/sw of an output pixel); the rest of its weight goes to the next column.
    col_.resize(size_t(w));
    first_.resize(size_t(w));
    for (int x = 0; x < w; ++x) {
      const int64_t a = int64_t(x) * tw_, b = a + tw_;
      const int ox = int(a / sw_);
      col_[size_t(x)] = ox;
      first_[size_t(x)] = uint32_t(std::min<int64_t>(b, int64_t(ox + 1) * sw_) - a);
    }
    hrow_.assign(size_t(tw_ + 1) * 4, 0.0);
    acc_.assign(size_t(tw_ + 1) * 4, 0.0);
    next_.assign(size_t(tw_ + 1) * 4, 0.0);
    y_ = 0;
    oy_ = 0;
  }

  void Row(const uint8_t* p) override {
    if (y_ >= sh_) return;
    std::fill(hrow_.begin(), hrow_.end(), 0.0);
    for (int x = 0; x < sw_; ++x, p += 4) {
      const double a = alpha_ ? p[3] : 255.0;
      const double v[4] = {p[0] * a, p[1] * a, p[2] * a, a};
      const size_t o = size_t(col_[size_t(x)]) * 4;
      const double w1 = first_[size_t(x)], w2 = double(tw_) - w1;
      for (int c = 0; c < 4; ++c) {
        hrow_[o + size_t(c)] += v[c] * w1;
        if (w2 > 0) hrow_[o + 4 + size_t(c)] += v[c] * w2;
      }
    }
    // Vertical footprint of this source row.
    const int64_t a = int64_t(y_) * th_, b = a + th_;
    const int oy = int(a / sh_);
    const double w1 = double(std::min<int64_t>(b, int64_t(oy + 1) * sh_) - a), w2 = double(th_) - w1;
    while (oy_ < oy) Emit();
    for (size_t i = 0; i < size_t(tw_) * 4; ++i) {
      acc_[i] += hrow_[i] * w1;
      if (w2 > 0) next_[i] += hrow_[i] * w2;
    }
    ++y_;
    if (y_ == sh_)
      while (oy_ < th_) Emit();
  }

  Image out;

 private:
  void Emit() {
    if (oy_ >= th_) return;
    uint8_t* o = out.row(oy_);
    const double norm = double(sw_) * double(sh_);
    for (int x = 0; x < tw_; ++x, o += 4) {
      const double* s = &acc_[size_t(x) * 4];
      const double a = s[3];
      for (int c = 0; c < 3; ++c) o[c] = a > 0 ? uint8_t(std::min(255.0, s[c] / a + 0.5)) : 0;
      o[3] = alpha_ ? uint8_t(std::min(255.0, a / norm + 0.5)) : 255;
    }
    std::swap(acc_, next_);
    std::fill(next_.begin(), next_.end(), 0.0);
    ++oy_;
  }

  int maxSide_;
  int sw_ = 0, sh_ = 0, tw_ = 0, th_ = 0, y_ = 0, oy_ = 0;
  bool alpha_ = false;
  std::vector<int> col_;
  std::vector<uint32_t> first_;
  std::vector<double> hrow_, acc_, next_;
};

Image ScaleWhole(const Image& img, int maxSide) {
  AreaScaler s(maxSide);
  s.Begin(img.width(), img.height(), img.hasAlpha());
  for (int y = 0; y < img.height(); ++y) s.Row(img.row(y));
  return std::move(s.out);
}

}  // namespace

Image LoadThumbnail(const std::string& path, int maxSide) {
  if (maxSide < 1) throw Error("the thumbnail size must be at least 1 pixel");
  const Format f = FormatFromExtension(path);
  if (!CanRead(path)) return ScaleWhole(Load(path), maxSide);  // gives Load's message
  if (f == Format::Jpeg) {
    // Read piecewise: a large JPEG file need not sit in memory beside its decoder.
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) throw Error("Cannot open \"" + path + "\": the file does not exist or cannot be read");
    try {
      AreaScaler s(maxSide);
      // Decode at the smallest DCT scale that still gives 2.5 times the thumbnail's size: the
      // 1/8 scale alone keeps only each block's average, which shows on colour edges.
      detail::StreamJpegFile(file.get(), maxSide * 5 / 2, s);
      return std::move(s.out);
    } catch (const std::bad_alloc&) {
      throw Error("Cannot read picture \"" + path + "\": not enough memory");
    } catch (const Error& e) {
      throw Error("Cannot read picture \"" + path + "\": " + e.what());
    }
  }
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  try {
    AreaScaler s(maxSide);
    bool streamed = false;
    switch (f) {
      case Format::Png: streamed = detail::StreamPng(bytes, s); break;
      case Format::Bmp: streamed = detail::StreamBmp(bytes, s); break;
      case Format::Tiff: streamed = detail::StreamTiff(bytes, s); break;
      case Format::Jp2: case Format::J2k: return ScaleWhole(detail::DecodeJp2(bytes, maxSide), maxSide);
      default: break;
    }
    if (streamed) {
      detail::SettleAlpha(s.out);
      return std::move(s.out);
    }
  } catch (const std::bad_alloc&) {
    throw Error("Cannot read picture \"" + path + "\": not enough memory");
  } catch (const Error& e) {
    throw Error("Cannot read picture \"" + path + "\": " + e.what());
  }
  Image full = LoadFromMemory(bytes, f, path);
  return ScaleWhole(full, maxSide);
}

}  // namespace zel::img
