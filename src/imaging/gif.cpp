// GIF through giflib: the first frame on its logical screen; writing with an exact palette when
// the picture has at most 256 colours, otherwise median-cut quantisation with dithering.
#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

#include <gif_lib.h>

#include "imaging/codecs.h"

namespace zel::img::detail {
namespace {

struct MemIn {
  std::span<const uint8_t> d;
  size_t pos = 0;
};

int ReadGif(GifFileType* g, GifByteType* buf, int len) {
  auto* m = static_cast<MemIn*>(g->UserData);
  size_t n = std::min(size_t(std::max(len, 0)), m->d.size() - m->pos);
  std::memcpy(buf, m->d.data() + m->pos, n);
  m->pos += n;
  return int(n);
}

struct GifCloser {
  void operator()(GifFileType* g) const {
    int err = 0;
    DGifCloseFile(g, &err);
  }
};

[[noreturn]] void GifFail(int code) {
  const char* msg = GifErrorString(code);
  Fail(std::string("GIF error: ") + (msg ? msg : "unknown"));
}

}  // namespace

Image DecodeGif(std::span<const uint8_t> d) {
  if (d.size() < 6 || std::memcmp(d.data(), "GIF", 3) != 0) Fail("not a GIF file");
  MemIn in{d};
  int err = 0;
  std::unique_ptr<GifFileType, GifCloser> g(DGifOpen(&in, ReadGif, &err));
  if (!g) GifFail(err);
  int transparent = -1;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(g.get(), &type) == GIF_ERROR) GifFail(g->Error);
    if (type == TERMINATE_RECORD_TYPE) Fail("the GIF file holds no image");
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(g.get(), &code, &ext) == GIF_ERROR) GifFail(g->Error);
      if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) transparent = (ext[1] & 1) ? ext[4] : -1;
      while (ext) {
        if (DGifGetExtensionNext(g.get(), &ext) == GIF_ERROR) GifFail(g->Error);
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(g.get()) == GIF_ERROR) GifFail(g->Error);
    const GifImageDesc& desc = g->Image;
    CheckSize(desc.Width, desc.Height, "GIF frame");
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : g->SColorMap;
    if (!map) Fail("the GIF file has no colour table");
    // The logical screen; files whose screen is smaller than the frame grow it.
    const int cw = std::max<int>(g->SWidth, desc.Left + desc.Width);
    const int ch = std::max<int>(g->SHeight, desc.Top + desc.Height);
    CheckSize(cw, ch, "GIF screen");
    const bool covers = desc.Left == 0 && desc.Top == 0 && desc.Width == cw && desc.Height == ch;
    Image img(cw, ch, transparent >= 0 || !covers);
    if (!covers) std::memset(img.data(), 0, img.byteSize());
    std::array<uint8_t, 256 * 4> pal{};
    for (int i = 0; i < 256; ++i) {
      pal[size_t(i) * 4 + 3] = 255;
      if (i < map->ColorCount) {
        pal[size_t(i) * 4 + 0] = map->Colors[i].Blue;
        pal[size_t(i) * 4 + 1] = map->Colors[i].Green;
        pal[size_t(i) * 4 + 2] = map->Colors[i].Red;
      }
    }
    if (transparent >= 0) pal[size_t(transparent) * 4 + 3] = 0, pal[size_t(transparent) * 4] = 0,
                          pal[size_t(transparent) * 4 + 1] = 0, pal[size_t(transparent) * 4 + 2] = 0;
    std::vector<GifPixelType> line(size_t(desc.Width));
    auto putRow = [&](int row) {
      if (DGifGetLine(g.get(), line.data(), desc.Width) == GIF_ERROR) GifFail(g->Error);
      uint8_t* o = img.pixel(desc.Left, desc.Top + row);
      for (int x = 0; x < desc.Width; ++x) std::memcpy(o + x * 4, &pal[size_t(line[size_t(x)]) * 4], 4);
    };
    if (desc.Interlace) {
      static const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int row = start[pass]; row < desc.Height; row += step[pass]) putRow(row);
    } else {
      for (int row = 0; row < desc.Height; ++row) putRow(row);
    }
    if (img.hasAlpha()) SettleAlpha(img);
    return img;
  }
}

// --- writing ----------------------------------------------------------------------------------

namespace {

int WriteGif(GifFileType* g, const GifByteType* buf, int len) {
  auto* out = static_cast<std::vector<uint8_t>*>(g->UserData);
  try {
    out->insert(out->end(), buf, buf + len);
  } catch (...) {
    return 0;  // giflib reports the short write as an error
  }
  return len;
}

struct EGifCloser {
  void operator()(GifFileType* g) const {
    int err = 0;
    EGifCloseFile(g, &err);
  }
};

struct Rgb {
  int r, g, b;
};

// Median cut over a 5-bit-per-channel histogram: the box with the largest squared error is
// split at the weighted median of its widest channel, until there are `colours` boxes.
std::vector<Rgb> MedianCut(const std::vector<uint32_t>& hist, int colours) {
  struct Box {
    int lo[3], hi[3];  // inclusive bin ranges
    double error;
    uint64_t count;
  };
  auto idx = [](int r, int g, int b) { return (r << 10) | (g << 5) | b; };
  auto measure = [&](Box& bx) {
    uint64_t n = 0;
    double s[3] = {0, 0, 0}, s2 = 0;
    for (int r = bx.lo[0]; r <= bx.hi[0]; ++r)
      for (int g = bx.lo[1]; g <= bx.hi[1]; ++g)
        for (int b = bx.lo[2]; b <= bx.hi[2]; ++b) {
          uint32_t c = hist[size_t(idx(r, g, b))];
          if (!c) continue;
          n += c;
          s[0] += double(c) * r, s[1] += double(c) * g, s[2] += double(c) * b;
          s2 += double(c) * (r * r + g * g + b * b);
        }
    bx.count = n;
    bx.error = n ? s2 - (s[0] * s[0] + s[1] * s[1] + s[2] * s[2]) / double(n) : 0;
  };
  std::vector<Box> boxes(1, Box{{0, 0, 0}, {31, 31, 31}, 0, 0});
  measure(boxes[0]);
  while (int(boxes.size()) < colours) {
    int best = -1;
    for (int i = 0; i < int(boxes.size()); ++i)
      if (boxes[size_t(i)].count > 1 && boxes[size_t(i)].error > 0 &&
          (best < 0 || boxes[size_t(i)].error > boxes[size_t(best)].error))
        best = i;
    if (best < 0) break;
    Box bx = boxes[size_t(best)];
    // Marginal histograms to find the widest channel and its median.
    std::vector<uint64_t> marg[3] = {std::vector<uint64_t>(32), std::vector<uint64_t>(32), std::vector<uint64_t>(32)};
    for (int r = bx.lo[0]; r <= bx.hi[0]; ++r)
      for (int g = bx.lo[1]; g <= bx.hi[1]; ++g)
        for (int b = bx.lo[2]; b <= bx.hi[2]; ++b) {
          uint32_t c = hist[size_t(idx(r, g, b))];
          marg[0][size_t(r)] += c, marg[1][size_t(g)] += c, marg[2][size_t(b)] += c;
        }
    int axis = -1, spread = -1;
    for (int a = 0; a < 3; ++a) {
      int lo = bx.lo[a], hi = bx.hi[a];
      while (lo < hi && !marg[a][size_t(lo)]) ++lo;
      while (hi > lo && !marg[a][size_t(hi)]) --hi;
      bx.lo[a] = lo, bx.hi[a] = hi;
      if (hi - lo > spread) spread = hi - lo, axis = a;
    }
    if (spread <= 0) {
      boxes[size_t(best)].error = 0;
      continue;
    }
    uint64_t half = 0, acc = 0;
    for (int v = bx.lo[axis]; v <= bx.hi[axis]; ++v) half += marg[axis][size_t(v)];
    half /= 2;
    int cut = bx.lo[axis];
    for (int v = bx.lo[axis]; v < bx.hi[axis]; ++v) {
      acc += marg[axis][size_t(v)];
      cut = v;
      if (acc >= half) break;
    }
    Box a = bx, b = bx;
    a.hi[axis] = cut;
    b.lo[axis] = cut + 1;
    measure(a);
    measure(b);
    boxes[size_t(best)] = a;
    boxes.push_back(b);
  }
  std::vector<Rgb> palette;
  for (const Box& bx : boxes) {
    double s[3] = {0, 0, 0};
    uint64_t n = 0;
    for (int r = bx.lo[0]; r <= bx.hi[0]; ++r)
      for (int g = bx.lo[1]; g <= bx.hi[1]; ++g)
        for (int b = bx.lo[2]; b <= bx.hi[2]; ++b) {
          uint32_t c = hist[size_t(idx(r, g, b))];
          n += c, s[0] += double(c) * r, s[1] += double(c) * g, s[2] += double(c) * b;
        }
    if (!n) continue;
    auto chan = [&](double v) { return std::clamp(int(v / double(n) * 255.0 / 31.0 + 0.5), 0, 255); };
    palette.push_back({chan(s[0]), chan(s[1]), chan(s[2])});
  }
  return palette;
}

}  // namespace

std::vector<uint8_t> EncodeGif(const Image& image) {
  const int w = image.width(), h = image.height();
  const bool alpha = image.hasAlpha();
  auto isClear = [&](const uint8_t* p) { return alpha && p[3] < 128; };

  std::vector<uint8_t> indices(size_t(w) * size_t(h));
  std::vector<Rgb> palette;
  int clearIndex = -1;
  bool anyClear = false;

  // Exact palette when the opaque pixels have at most 255 colours (one slot kept for clear).
  std::unordered_map<uint32_t, int> exact;
  exact.reserve(512);
  bool fits = true;
  for (int y = 0; y < h && fits; ++y) {
    const uint8_t* p = image.row(y);
    for (int x = 0; x < w; ++x, p += 4) {
      if (isClear(p)) { anyClear = true; continue; }
      uint32_t c = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      if (exact.emplace(c, int(exact.size())).second && exact.size() > 255) { fits = false; break; }
    }
  }
  if (fits) {
    palette.resize(exact.size());
    for (auto& [c, i] : exact) palette[size_t(i)] = {int(c >> 16), int((c >> 8) & 255), int(c & 255)};
    if (anyClear) clearIndex = int(palette.size()), palette.push_back({0, 0, 0});
    for (int y = 0; y < h; ++y) {
      const uint8_t* p = image.row(y);
      for (int x = 0; x < w; ++x, p += 4)
        indices[size_t(y) * size_t(w) + size_t(x)] =
            uint8_t(isClear(p) ? clearIndex : exact[uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]]);
    }
  } else {
    std::vector<uint32_t> hist(32768, 0);
    for (int y = 0; y < h; ++y) {
      const uint8_t* p = image.row(y);
      for (int x = 0; x < w; ++x, p += 4)
        if (!isClear(p)) ++hist[size_t((p[2] >> 3) << 10 | (p[1] >> 3) << 5 | (p[0] >> 3))];
    }
    palette = MedianCut(hist, anyClear ? 255 : 256);
    if (anyClear) clearIndex = int(palette.size()), palette.push_back({0, 0, 0});
    const int opaqueColours = anyClear ? int(palette.size()) - 1 : int(palette.size());
    // Nearest palette entry for each 5-bit cell, filled as cells are met.
    std::vector<int16_t> nearest(32768, -1);
    auto lookup = [&](int r, int g, int b) {
      const int cell = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
      int16_t& n = nearest[size_t(cell)];
      if (n < 0) {
        const int cr = (r & ~7) | 4, cg = (g & ~7) | 4, cb = (b & ~7) | 4;
        int best = 0, bestD = INT32_MAX;
        for (int i = 0; i < opaqueColours; ++i) {
          const Rgb& q = palette[size_t(i)];
          int dd = (q.r - cr) * (q.r - cr) * 3 + (q.g - cg) * (q.g - cg) * 4 + (q.b - cb) * (q.b - cb) * 2;
          if (dd < bestD) bestD = dd, best = i;
        }
        n = int16_t(best);
      }
      return int(n);
    };
    // Floyd-Steinberg error diffusion, serpentine, on the opaque pixels.
    std::vector<int> err0(size_t(w + 2) * 3, 0), err1(size_t(w + 2) * 3, 0);
    for (int y = 0; y < h; ++y) {
      const bool ltr = (y & 1) == 0;
      std::fill(err1.begin(), err1.end(), 0);
      const uint8_t* row = image.row(y);
      for (int i = 0; i < w; ++i) {
        const int x = ltr ? i : w - 1 - i;
        const uint8_t* p = row + x * 4;
        uint8_t& out = indices[size_t(y) * size_t(w) + size_t(x)];
        if (isClear(p)) { out = uint8_t(clearIndex); continue; }
        int* e = &err0[size_t(x + 1) * 3];
        int c[3] = {std::clamp(p[2] + e[0] / 16, 0, 255), std::clamp(p[1] + e[1] / 16, 0, 255),
                    std::clamp(p[0] + e[2] / 16, 0, 255)};
        const int k = lookup(c[0], c[1], c[2]);
        out = uint8_t(k);
        const Rgb& q = palette[size_t(k)];
        const int d[3] = {c[0] - q.r, c[1] - q.g, c[2] - q.b};
        const int fwd = ltr ? 1 : -1;
        for (int ch = 0; ch < 3; ++ch) {
          err0[size_t(x + 1 + fwd) * 3 + size_t(ch)] += d[ch] * 7;
          err1[size_t(x + 1 - fwd) * 3 + size_t(ch)] += d[ch] * 3;
          err1[size_t(x + 1) * 3 + size_t(ch)] += d[ch] * 5;
          err1[size_t(x + 1 + fwd) * 3 + size_t(ch)] += d[ch] * 1;
        }
      }
      std::swap(err0, err1);
    }
  }

  int bits = 1;
  while ((1 << bits) < int(palette.size())) ++bits;
  std::vector<GifColorType> colours(size_t(1) << bits, GifColorType{0, 0, 0});
  for (size_t i = 0; i < palette.size(); ++i)
    colours[i] = GifColorType{GifByteType(palette[i].r), GifByteType(palette[i].g), GifByteType(palette[i].b)};
  ColorMapObject* map = GifMakeMapObject(1 << bits, colours.data());
  if (!map) Fail("not enough memory");
  struct MapFree {
    ColorMapObject* m;
    ~MapFree() { GifFreeMapObject(m); }
  } mapFree{map};

  std::vector<uint8_t> out;
  int err = 0;
  std::unique_ptr<GifFileType, EGifCloser> g(EGifOpen(&out, WriteGif, &err));
  if (!g) GifFail(err);
  EGifSetGifVersion(g.get(), clearIndex >= 0);
  if (EGifPutScreenDesc(g.get(), w, h, bits, 0, map) == GIF_ERROR) GifFail(g->Error);
  if (clearIndex >= 0) {
    GifByteType gce[4] = {1, 0, 0, GifByteType(clearIndex)};
    if (EGifPutExtension(g.get(), GRAPHICS_EXT_FUNC_CODE, 4, gce) == GIF_ERROR) GifFail(g->Error);
  }
  if (EGifPutImageDesc(g.get(), 0, 0, w, h, false, nullptr) == GIF_ERROR) GifFail(g->Error);
  for (int y = 0; y < h; ++y)
    if (EGifPutLine(g.get(), &indices[size_t(y) * size_t(w)], w) == GIF_ERROR) GifFail(g->Error);
  GifFileType* raw = g.release();
  if (EGifCloseFile(raw, &err) == GIF_ERROR) GifFail(err);
  return out;
}

}  // namespace zel::img::detail
