// Windows bitmaps: our own reader (BMP, DIB, RLE, and the DIBs inside icons) and writer.
#include <algorithm>
#include <bit>

#include "imaging/codecs.h"
#include "imaging/ops.h"

namespace zel::img::detail {
namespace {

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kJpeg = 4, kPng = 5, kAlphaBitfields = 6 };

struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  void Set(uint32_t m) {
    mask = m;
    shift = m ? std::countr_zero(m) : 0;
    max = m ? (m >> shift) : 0;
  }
  uint8_t Get(uint32_t v) const {
    if (!max) return 0;
    uint32_t x = (v & mask) >> shift;
    return max == 255 ? uint8_t(x) : uint8_t((uint64_t(x) * 255 + max / 2) / max);
  }
};

struct Dib {
  int width = 0, height = 0;
  bool topDown = false;
  int bpp = 0;
  uint32_t compression = kRgb;
  Channel r, g, b, a;
  std::vector<uint8_t> palette;  // BGRA entries
  std::span<const uint8_t> bits;  // pixel data to the end of the buffer
  size_t stride = 0;
  bool alpha = false;  // the alpha channel is in use
};

// Parses a DIB header at the reader's position. `bitsOffset` (from the file header) is where the
// pixels are, 0 when they follow the palette. `icon`: the height counts the AND mask too.
Dib ParseDib(std::span<const uint8_t> d, size_t headerAt, size_t bitsOffset, bool icon) {
  ByteReader r(d, headerAt);
  Dib dib;
  const uint32_t hsize = r.le32();
  bool core = false;
  if (hsize == 12) {
    core = true;
    dib.width = r.le16();
    dib.height = int16_t(r.le16());
    r.le16();
    dib.bpp = r.le16();
  } else if (hsize >= 16 && hsize <= 1024) {
    if (hsize > r.left() + 4) Fail("truncated file");
    dib.width = int32_t(r.le32());
    int32_t h = int32_t(r.le32());
    if (h == INT32_MIN) Fail("invalid height");
    dib.topDown = h < 0;
    dib.height = h < 0 ? -h : h;
    r.le16();
    dib.bpp = r.le16();
    dib.compression = hsize >= 20 ? r.le32() : kRgb;
    if (hsize == 64 && dib.compression >= 3) Fail("OS/2 bitmap compression is not supported");
  } else {
    Fail("unknown bitmap header size " + std::to_string(hsize));
  }
  uint32_t clrUsed = 0;
  if (!core && hsize >= 36) {
    ByteReader h2(d, headerAt + 32);
    clrUsed = h2.le32();
  }
  if (icon) dib.height /= 2;
  if (dib.topDown && (dib.compression == kRle8 || dib.compression == kRle4)) Fail("a top-down bitmap cannot be RLE compressed");
  switch (dib.bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Fail("unsupported bit depth " + std::to_string(dib.bpp));
  }
  if (dib.compression == kRle8 && dib.bpp != 8) Fail("RLE8 needs 8 bits per pixel");
  if (dib.compression == kRle4 && dib.bpp != 4) Fail("RLE4 needs 4 bits per pixel");
  if ((dib.compression == kBitfields || dib.compression == kAlphaBitfields) && dib.bpp != 16 && dib.bpp != 32)
    Fail("bit fields need 16 or 32 bits per pixel");
  if (dib.compression > kAlphaBitfields) Fail("unknown compression " + std::to_string(dib.compression));
  CheckSize(dib.width, dib.height, "bitmap");

  size_t pos = headerAt + hsize;
  if (dib.compression == kBitfields || dib.compression == kAlphaBitfields) {
    ByteReader m(d, hsize >= 52 ? headerAt + 40 : pos);
    dib.r.Set(m.le32());
    dib.g.Set(m.le32());
    dib.b.Set(m.le32());
    if (dib.compression == kAlphaBitfields || hsize >= 56) dib.a.Set(m.le32());
    if (hsize < 52) pos += dib.compression == kAlphaBitfields ? 16 : 12;
  } else if (dib.bpp == 16) {
    dib.r.Set(0x7c00), dib.g.Set(0x03e0), dib.b.Set(0x001f);
  } else if (dib.bpp == 32) {
    dib.r.Set(0xff0000), dib.g.Set(0xff00), dib.b.Set(0xff), dib.a.Set(0xff000000u);
  }
  if (dib.bpp <= 8) {
    uint32_t n = clrUsed ? clrUsed : (1u << dib.bpp);
    if (n > 256) Fail("palette too large");
    const size_t entry = core ? 3 : 4;
    ByteReader p(d, pos);
    for (uint32_t i = 0; i < n; ++i) {
      if (p.left() < entry) break;  // short palettes occur; the missing entries stay black
      const uint8_t* e = p.take(entry);
      dib.palette.insert(dib.palette.end(), {e[0], e[1], e[2], 255});
    }
    pos += n * entry;
    dib.palette.resize(size_t(1 << dib.bpp) * 4, 0);
    for (size_t i = 3; i < dib.palette.size(); i += 4) dib.palette[i] = 255;
  }
  if (bitsOffset == 0 || bitsOffset >= d.size()) bitsOffset = pos;
  if (bitsOffset > d.size()) Fail("truncated file");
  dib.bits = d.subspan(bitsOffset);
  dib.stride = (size_t(dib.width) * dib.bpp + 31) / 32 * 4;
  if (dib.compression == kRgb || dib.compression == kBitfields || dib.compression == kAlphaBitfields) {
    // Every row must be there (the last one may lack its padding) before anything is allocated.
    const size_t need = dib.stride * size_t(dib.height - 1) + (size_t(dib.width) * dib.bpp + 7) / 8;
    if (dib.bits.size() < need) Fail("truncated file: the pixel data is shorter than the header says");
    if (dib.bpp == 32 && dib.a.mask) {
      // Many writers leave the fourth byte zero: the alpha counts only when some pixel uses it.
      for (int y = 0; y < dib.height && !dib.alpha; ++y) {
        const uint8_t* p = dib.bits.data() + dib.stride * size_t(y);
        for (int x = 0; x < dib.width; ++x) {
          uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
          if (v & dib.a.mask) { dib.alpha = true; break; }
          p += 4;
        }
      }
    }
  }
  return dib;
}

void ConvertRow(const Dib& dib, const uint8_t* s, uint8_t* o) {
  const int w = dib.width;
  switch (dib.bpp) {
    case 1: case 4: case 8: {
      const int per = 8 / dib.bpp, mask = (1 << dib.bpp) - 1;
      for (int x = 0; x < w; ++x) {
        int idx = (s[x / per] >> ((per - 1 - x % per) * dib.bpp)) & mask;
        std::memcpy(o + x * 4, &dib.palette[size_t(idx) * 4], 4);
      }
      break;
    }
    case 24:
      for (int x = 0; x < w; ++x, s += 3, o += 4) o[0] = s[0], o[1] = s[1], o[2] = s[2], o[3] = 255;
      break;
    case 16:
      for (int x = 0; x < w; ++x, s += 2, o += 4) {
        uint32_t v = uint32_t(s[0] | s[1] << 8);
        o[0] = dib.b.Get(v), o[1] = dib.g.Get(v), o[2] = dib.r.Get(v), o[3] = dib.alpha ? dib.a.Get(v) : 255;
      }
      break;
    case 32:
      if (dib.b.mask == 0xff && dib.g.mask == 0xff00 && dib.r.mask == 0xff0000) {
        std::memcpy(o, s, size_t(w) * 4);
        if (!dib.alpha)
          for (int x = 0; x < w; ++x) o[x * 4 + 3] = 255;
        break;
      }
      for (int x = 0; x < w; ++x, s += 4, o += 4) {
        uint32_t v = uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16 | uint32_t(s[3]) << 24;
        o[0] = dib.b.Get(v), o[1] = dib.g.Get(v), o[2] = dib.r.Get(v), o[3] = dib.alpha ? dib.a.Get(v) : 255;
      }
      break;
  }
}

Image DecodeRle(const Dib& dib) {
  Image img(dib.width, dib.height, false);
  ByteReader r(dib.bits);
  const bool four = dib.compression == kRle4;
  int x = 0, y = 0;  // y counts from the bottom row
  auto put = [&](int idx) {
    if (x < dib.width && y < dib.height) std::memcpy(img.pixel(x, dib.height - 1 - y), &dib.palette[size_t(idx) * 4], 4);
    ++x;
  };
  while (y < dib.height) {
    if (r.left() < 2) break;  // a missing end-of-bitmap marker is common; the rest stays black
    const uint8_t n = r.u8(), v = r.u8();
    if (n) {
      for (int i = 0; i < n && x < dib.width; ++i) put(four ? ((i & 1) ? v & 15 : v >> 4) : v);
      continue;
    }
    if (v == 0) { x = 0, ++y; }
    else if (v == 1) break;
    else if (v == 2) {
      x += r.u8();
      y += r.u8();
    } else {
      const int count = v;
      const size_t bytes = four ? (size_t(count) + 1) / 2 : size_t(count);
      const uint8_t* p = r.take(bytes);
      for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? p[i / 2] & 15 : p[i / 2] >> 4) : p[i]);
      if (bytes & 1) r.skip(std::min<size_t>(1, r.left()));
    }
  }
  return img;
}

Image DecodeWithDib(std::span<const uint8_t> d, const Dib& dib) {
  if (dib.compression == kRle8 || dib.compression == kRle4) return DecodeRle(dib);
  if (dib.compression == kJpeg) return DecodeJpeg(dib.bits);
  if (dib.compression == kPng) return DecodePng(dib.bits);
  Image img(dib.width, dib.height, dib.alpha);
  for (int y = 0; y < dib.height; ++y) {
    const int fileRow = dib.topDown ? y : dib.height - 1 - y;
    ConvertRow(dib, dib.bits.data() + dib.stride * size_t(fileRow), img.row(y));
  }
  return img;
}

size_t FileHeaderBitsOffset(std::span<const uint8_t> d) {
  ByteReader r(d);
  if (d.size() < 14 || d[0] != 'B' || d[1] != 'M') Fail("not a BMP file");
  r.skip(10);
  return r.le32();
}

}  // namespace

Image DecodeBmp(std::span<const uint8_t> d) {
  size_t off = FileHeaderBitsOffset(d);
  Dib dib = ParseDib(d, 14, off, false);
  return DecodeWithDib(d, dib);
}

bool StreamBmp(std::span<const uint8_t> d, RowSink& sink) {
  size_t off = FileHeaderBitsOffset(d);
  Dib dib = ParseDib(d, 14, off, false);
  if (dib.compression != kRgb && dib.compression != kBitfields && dib.compression != kAlphaBitfields) return false;
  std::vector<uint8_t> row(size_t(dib.width) * 4);
  sink.Begin(dib.width, dib.height, dib.alpha);
  for (int y = 0; y < dib.height; ++y) {
    const int fileRow = dib.topDown ? y : dib.height - 1 - y;
    ConvertRow(dib, dib.bits.data() + dib.stride * size_t(fileRow), row.data());
    sink.Row(row.data());
  }
  return true;
}

Image DecodeDib(std::span<const uint8_t> d, bool icon) {
  Dib dib = ParseDib(d, 0, 0, icon);
  Image img = DecodeWithDib(d, dib);
  if (!icon || dib.compression != kRgb) return img;
  // The AND mask follows the colour rows: 1 marks a transparent pixel. A 32-bit icon whose
  // alpha is in use carries its transparency there instead.
  if (dib.bpp == 32 && dib.alpha) return img;
  const size_t maskStride = (size_t(dib.width) + 31) / 32 * 4;
  const size_t maskAt = dib.stride * size_t(dib.height);
  if (dib.bits.size() < maskAt + maskStride * size_t(dib.height)) return img;  // no mask: opaque
  const uint8_t* mask = dib.bits.data() + maskAt;
  bool any = false;
  for (int y = 0; y < dib.height; ++y) {
    const uint8_t* m = mask + maskStride * size_t(dib.topDown ? y : dib.height - 1 - y);
    uint8_t* o = img.row(y);
    for (int x = 0; x < dib.width; ++x)
      if (m[x / 8] & (0x80 >> (x % 8))) o[x * 4 + 3] = 0, any = true;
  }
  img.setHasAlpha(any);
  return img;
}

void WriteBmp(const Image& source, const ByteOut& out) {
  const Image* src = &source;
  Image flat;
  if (source.hasAlpha()) {
    flat = Flatten(source);
    src = &flat;
  }
  const int w = src->width(), h = src->height();
  const size_t stride = (size_t(w) * 3 + 3) / 4 * 4;
  const size_t imageSize = stride * size_t(h);
  if (imageSize + 54 > 0xffffffffu) Fail("the picture is too large for a BMP file");
  ByteWriter hw;
  hw.u8('B'), hw.u8('M');
  hw.le32(uint32_t(54 + imageSize)), hw.le32(0), hw.le32(54);
  hw.le32(40), hw.le32(uint32_t(w)), hw.le32(uint32_t(h)), hw.le16(1), hw.le16(24), hw.le32(kRgb);
  hw.le32(uint32_t(imageSize)), hw.le32(3780), hw.le32(3780), hw.le32(0), hw.le32(0);
  out(hw.out.data(), hw.out.size());
  // Rows go out bottom-up, a batch at a time.
  const int batch = int(std::max<size_t>(1, (size_t(1) << 20) / stride));
  std::vector<uint8_t> buf(stride * size_t(std::min(batch, h)), 0);
  for (int y = 0; y < h;) {
    const int n = std::min(batch, h - y);
    for (int i = 0; i < n; ++i, ++y) {
      const uint8_t* s = src->row(h - 1 - y);
      uint8_t* o = buf.data() + stride * size_t(i);
      for (int x = 0; x < w; ++x, s += 4, o += 3) o[0] = s[0], o[1] = s[1], o[2] = s[2];
    }
    out(buf.data(), stride * size_t(n));
  }
}

// BMP rows as they are decoded, top row first: gathered into blocks of about 1 MB that go
// straight to their place in the bottom-up file, so only one block is ever held.
class BmpFileSink final : public RowSink {
 public:
  // bgr: rows arrive as 3-byte pixels already (else BGRA).
  BmpFileSink(FILE* f, bool bgr) : f_(f), bgr_(bgr) {}
  void Begin(int w, int h, bool) override {
    w_ = w, h_ = h, y_ = 0;
    stride_ = (size_t(w) * 3 + 3) / 4 * 4;
    const uint64_t imageSize = uint64_t(stride_) * uint64_t(h);
    if (imageSize + 54 > 0xffffffffu) Fail("the picture is too large for a BMP file");
    ByteWriter hw;
    hw.u8('B'), hw.u8('M');
    hw.le32(uint32_t(54 + imageSize)), hw.le32(0), hw.le32(54);
    hw.le32(40), hw.le32(uint32_t(w)), hw.le32(uint32_t(h)), hw.le16(1), hw.le16(24), hw.le32(kRgb);
    hw.le32(uint32_t(imageSize)), hw.le32(3780), hw.le32(3780), hw.le32(0), hw.le32(0);
    Put(0, hw.out.data(), hw.out.size());
    blockRows_ = int(std::clamp<size_t>((size_t(1) << 20) / stride_, 1, size_t(h)));
    block_.assign(stride_ * size_t(blockRows_), 0);
    inBlock_ = 0;
  }
  void Row(const uint8_t* s) override {
    if (y_ >= h_) return;
    // Within a block the rows are stored last to first, as the file wants them.
    uint8_t* o = block_.data() + stride_ * size_t(blockRows_ - 1 - inBlock_);
    if (bgr_) std::memcpy(o, s, size_t(w_) * 3);
    else
      for (int x = 0; x < w_; ++x, s += 4, o += 3) o[0] = s[0], o[1] = s[1], o[2] = s[2];
    ++y_, ++inBlock_;
    if (inBlock_ == blockRows_ || y_ == h_) Flush();
  }
  bool complete() const { return y_ == h_; }

 private:
  void Flush() {
    // Rows y_ - inBlock_ .. y_ - 1 are file rows h_ - y_ .. h_ - y_ + inBlock_ - 1.
    const size_t first = size_t(blockRows_ - inBlock_);
    Put(54 + uint64_t(stride_) * uint64_t(h_ - y_), block_.data() + stride_ * first, stride_ * size_t(inBlock_));
    inBlock_ = 0;
  }
  void Put(uint64_t at, const uint8_t* p, size_t n) {
#ifdef _WIN32
    const bool ok = _fseeki64(f_, int64_t(at), SEEK_SET) == 0;
#else
    const bool ok = fseeko(f_, off_t(at), SEEK_SET) == 0;
#endif
    if (!ok || std::fwrite(p, 1, n, f_) != n) Fail("the disk is full or the write failed");
  }
  FILE* f_;
  bool bgr_;
  int w_ = 0, h_ = 0, y_ = 0, blockRows_ = 1, inBlock_ = 0;
  size_t stride_ = 0;
  std::vector<uint8_t> block_;
};

Size ConvertJpegToBmp(FILE* jpeg, const std::string& out) {
  Size size;
  WriteFileReplacingWithFile(out, [&](FILE* f) {
    // The sink's own failures are write errors; the decoder's are the source's.
    struct Reader final : RowSink {
      BmpFileSink* bmp;
      std::string writeError;
      Size* size;
      void Begin(int w, int h, bool a) override {
        *size = {w, h};
        try {
          bmp->Begin(w, h, a);
        } catch (const Error& e) {
          writeError = e.what();
          throw;
        }
      }
      void Row(const uint8_t* p) override {
        try {
          bmp->Row(p);
        } catch (const Error& e) {
          writeError = e.what();
          throw;
        }
      }
    };
    BmpFileSink bmp(f, true);
    Reader reader;
    reader.bmp = &bmp;
    reader.size = &size;
    try {
      StreamJpegFileBgr(jpeg, reader);
    } catch (const Error& e) {
      if (!reader.writeError.empty()) throw;
      throw ReadError(e.what());
    }
    if (!bmp.complete()) throw ReadError("the JPEG data ends early (truncated file)");
  });
  return size;
}

std::vector<uint8_t> EncodeBmp(const Image& image) {
  std::vector<uint8_t> v;
  v.reserve(54 + (size_t(image.width()) * 3 + 3) / 4 * 4 * size_t(image.height()));
  WriteBmp(image, [&](const uint8_t* p, size_t n) { v.insert(v.end(), p, p + n); });
  return v;
}

}  // namespace zel::img::detail
