#include "imaging/jpeg_fit.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "imaging/codecs.h"
#include "imaging/jpeg_quality.h"
#include "imaging/ops.h"

namespace zel::img {
namespace {

// The qualities the size loop tries after the estimate e: e-2, e-4, ..., and finally 1, the
// encoder's lowest, where a step would go below it.
std::vector<int> Steps(int estimate) {
  std::vector<int> qs;
  int q = estimate;
  do {
    q = std::max(1, q - 2);
    qs.push_back(q);
  } while (q > 1);
  return qs;
}

// libjpeg's table scale (percent) for a quality, and back.
double ScaleOf(int q) { return q < 50 ? 5000.0 / q : 200.0 - 2.0 * q; }
double QualityOf(double scale) { return scale <= 100 ? (200.0 - scale) / 2 : 5000.0 / scale; }

struct Start {
  FitResult done;  // set when the first encode fits
  bool finished = false;
  Image resampled;
  std::vector<int> qs;
};

Start Prepare(const Image& image, const FitParams& p) {
  if (image.empty()) throw Error("there is no picture to save");
  CheckSize(p.width, p.height, "target size");
  if (p.maxBytes == 0) throw Error("the size limit must be above 0 bytes");
  Start s;
  const int q0 = std::clamp(p.startQuality, 1, 100);
  bool aborted = false;
  // The full-size encode stops as soon as it passes the limit: only its tables are needed then.
  std::vector<uint8_t> first = detail::EncodeJpegImpl(image, q0, p.progressive, p.maxBytes, &aborted);
  s.done.encodes = 1;
  if (!aborted) {
    s.done.fit = true;
    s.done.bytes = std::move(first);
    s.done.quality = q0;
    s.done.width = image.width();
    s.done.height = image.height();
    s.finished = true;
    return s;
  }
  // The estimate of that file: its tables are the same at any size, so a header-only encode
  // of one block gives the very file header the aborted encode began with.
  Image block(8, 8);
  const int estimate = EstimateJpegQuality(detail::EncodeJpegImpl(block, q0, p.progressive));
  s.resampled = Resample(image, p.width, p.height, Filter::None);
  s.qs = Steps(estimate);
  return s;
}

}  // namespace

FitResult FitJpegLinear(const Image& image, const FitParams& p) {
  Start s = Prepare(image, p);
  if (s.finished) return s.done;
  FitResult r = std::move(s.done);
  r.resampled = true;
  r.width = p.width, r.height = p.height;
  for (int q : s.qs) {
    std::vector<uint8_t> bytes = detail::EncodeJpegImpl(s.resampled, q, p.progressive);
    ++r.encodes;
    if (bytes.size() <= p.maxBytes) {
      r.fit = true;
      r.quality = q;
      r.bytes = std::move(bytes);
      return r;
    }
  }
  r.quality = s.qs.back();
  return r;
}

FitResult FitJpeg(const Image& image, const FitParams& p) {
  Start s = Prepare(image, p);
  if (s.finished) return s.done;
  FitResult r = std::move(s.done);
  r.resampled = true;
  r.width = p.width, r.height = p.height;
  const std::vector<int>& qs = s.qs;
  const int n = int(qs.size());

  // Sizes fall as the quality falls, so the answer is the first index whose encoding fits:
  // keep `lo` (last index known too large) and `hi` (first index known to fit), and probe
  // between them where a size model (log size linear in log table scale) puts the limit.
  std::map<int, std::vector<uint8_t>> tried;
  auto probe = [&](int i) -> size_t {
    auto it = tried.find(i);
    if (it == tried.end()) {
      it = tried.emplace(i, detail::EncodeJpegImpl(s.resampled, qs[size_t(i)], p.progressive)).first;
      ++r.encodes;
    }
    return it->second.size();
  };
  const double target = std::log(double(p.maxBytes));
  int lo = -1, hi = n;
  double slope = 0.7;  // -d ln(size) / d ln(scale), typical of photos
  while (hi - lo > 1) {
    int next;
    if (tried.empty()) {
      next = 0;
    } else {
      // Predict from the probes nearest the limit on each side.
      const auto a = tried.find(lo), b = tried.find(hi);
      const auto& ref = a != tried.end() ? *a : *b;
      if (a != tried.end() && b != tried.end()) {
        const double ds = std::log(ScaleOf(qs[size_t(hi)])) - std::log(ScaleOf(qs[size_t(lo)]));
        if (ds > 0) slope = std::max(0.05, (std::log(double(a->second.size())) - std::log(double(b->second.size()))) / ds);
      }
      const double lnScale = std::log(ScaleOf(qs[size_t(ref.first)])) +
                             (std::log(double(ref.second.size())) - target) / slope;
      const double q = QualityOf(std::exp(lnScale));
      // Index of the first step at or below the predicted quality.
      next = int(std::ceil((qs[0] - q) / 2.0 - 1e-9));
      if (a != tried.end() && next <= lo + 1 && b == tried.end()) next = lo + 1;
      next = std::clamp(next, lo + 1, hi - 1);
      // Should the model keep landing next to the same side, halve the interval instead.
      const int width = hi - lo;
      if (width > 4 && (next - lo > width * 3 / 4 + 1 || hi - next > width * 3 / 4 + 1) && tried.size() >= 3)
        next = lo + width / 2;
    }
    if (probe(next) <= p.maxBytes) hi = next;
    else lo = next;
  }

  // The probes must agree with falling sizes; if not, walk the steps one by one up to the
  // candidate so the answer is still the first quality that fits.
  bool monotone = true;
  size_t prev = SIZE_MAX;
  for (const auto& [i, bytes] : tried) {
    if (bytes.size() > prev) monotone = false;
    prev = bytes.size();
  }
  if (!monotone) {
    for (int i = 0; i < hi; ++i)
      if (probe(i) <= p.maxBytes) {
        hi = i;
        break;
      }
  }
  if (hi >= n) {
    r.quality = qs.back();
    return r;
  }
  r.fit = true;
  r.quality = qs[size_t(hi)];
  r.bytes = std::move(tried[hi]);
  return r;
}

}  // namespace zel::img
