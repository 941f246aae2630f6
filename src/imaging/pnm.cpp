// Netpbm PBM, PGM and PPM, ASCII (P1-P3) and binary (P4-P6), 8 or 16 bits per sample.
#include "imaging/codecs.h"

namespace zel::img::detail {
namespace {

struct Text {
  std::span<const uint8_t> d;
  size_t pos = 0;
  void SkipSpace() {
    while (pos < d.size()) {
      if (d[pos] == '#') {
        while (pos < d.size() && d[pos] != '\n' && d[pos] != '\r') ++pos;
      } else if (d[pos] == ' ' || d[pos] == '\t' || d[pos] == '\n' || d[pos] == '\r' || d[pos] == '\v' || d[pos] == '\f') {
        ++pos;
      } else {
        return;
      }
    }
  }
  uint32_t Number(uint32_t max) {
    SkipSpace();
    if (pos >= d.size()) Fail("truncated file");
    if (d[pos] < '0' || d[pos] > '9') Fail("not a number where a number belongs");
    uint64_t v = 0;
    while (pos < d.size() && d[pos] >= '0' && d[pos] <= '9') {
      v = v * 10 + uint64_t(d[pos++] - '0');
      if (v > max) Fail("number out of range");
    }
    return uint32_t(v);
  }
  uint32_t Bit() {  // P1 allows digits without separators
    SkipSpace();
    if (pos >= d.size()) Fail("truncated file");
    const uint8_t c = d[pos++];
    if (c != '0' && c != '1') Fail("bad PBM digit");
    return c - '0';
  }
};

}  // namespace

Image DecodePnm(std::span<const uint8_t> d) {
  if (d.size() < 3 || d[0] != 'P' || d[1] < '1' || d[1] > '6') Fail("not a PBM, PGM or PPM file");
  const int kind = d[1] - '0';
  Text t{d, 2};
  const uint32_t w = t.Number(0x7fffffff), h = t.Number(0x7fffffff);
  const bool bitmap = kind == 1 || kind == 4;
  const uint32_t maxval = bitmap ? 1 : t.Number(65535);
  if (maxval == 0) Fail("maximum sample value 0");
  CheckSize(w, h, "PNM picture");
  const int samples = (kind == 3 || kind == 6) ? 3 : 1;
  const bool binary = kind >= 4;
  const size_t pixels = size_t(w) * h;
  if (binary) {
    if (t.pos >= d.size()) Fail("truncated file");
    ++t.pos;  // the single white-space character before the raster
  }
  const size_t left = d.size() - std::min(t.pos, d.size());
  const size_t bytesPerSample = maxval > 255 ? 2 : 1;
  const size_t need = kind == 4 ? (size_t(w) + 7) / 8 * h : pixels * size_t(samples) * (binary ? bytesPerSample : 1);
  // Binary rasters must be complete; ASCII ones need at least one character per sample.
  if (left < need) Fail("truncated file: the pixel data is shorter than the header says");

  Image img{int(w), int(h)};
  auto scale = [&](uint32_t v) {
    if (v > maxval) v = maxval;
    return maxval == 255 ? uint8_t(v) : uint8_t((uint64_t(v) * 255 + maxval / 2) / maxval);
  };
  ByteReader r(d, t.pos);
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* o = img.row(int(y));
    const uint8_t* packed = kind == 4 ? r.take((size_t(w) + 7) / 8) : nullptr;
    for (uint32_t x = 0; x < w; ++x, o += 4) {
      if (bitmap) {
        const uint32_t bit = kind == 1 ? t.Bit() : (packed[x / 8] >> (7 - x % 8)) & 1;
        o[0] = o[1] = o[2] = bit ? 0 : 255;  // 1 is black
        continue;
      }
      uint8_t s[3];
      for (int c = 0; c < samples; ++c) {
        uint32_t v;
        if (!binary) v = t.Number(65535);
        else v = bytesPerSample == 2 ? r.be16() : r.u8();
        s[c] = scale(v);
      }
      if (samples == 3) o[2] = s[0], o[1] = s[1], o[0] = s[2];
      else o[0] = o[1] = o[2] = s[0];
    }
  }
  return img;
}

}  // namespace zel::img::detail
