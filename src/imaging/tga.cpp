// Truevision TGA: our own reader (raw and RLE; colour-mapped, true colour and grey; both
// origins) and writer (RLE true colour, top-left origin: readers that get the bottom-left
// default wrong, such as ImageMagick 6.9, still read top-left files the right way up).
#include <algorithm>

#include "imaging/codecs.h"

namespace zel::img::detail {

Image DecodeTga(std::span<const uint8_t> d) {
  ByteReader r(d);
  if (d.size() < 18) Fail("not a TGA file");
  const uint8_t idLength = r.u8(), mapType = r.u8(), type = r.u8();
  const uint16_t mapFirst = r.le16(), mapLength = r.le16();
  const uint8_t mapDepth = r.u8();
  r.skip(4);
  const int w = r.le16(), h = r.le16();
  const uint8_t depth = r.u8(), desc = r.u8();
  const int base = type & ~8;
  const bool rle = (type & 8) != 0;
  if ((base != 1 && base != 2 && base != 3) || type > 11 || mapType > 1) Fail("not a TGA file (image type " + std::to_string(type) + ")");
  if (base == 1 && (mapType != 1 || (depth != 8 && depth != 16))) Fail("unsupported colour-mapped TGA layout");
  if (base == 2 && depth != 15 && depth != 16 && depth != 24 && depth != 32) Fail("unsupported TGA bit depth " + std::to_string(depth));
  if (base == 3 && depth != 8 && depth != 16) Fail("unsupported grey TGA bit depth " + std::to_string(depth));
  CheckSize(w, h, "TGA picture");
  r.skip(idLength);

  const int alphaBits = desc & 0x0f;
  auto from16 = [&](unsigned v, uint8_t* o, bool useAlpha) {
    o[0] = uint8_t(((v & 31) * 255 + 15) / 31);
    o[1] = uint8_t((((v >> 5) & 31) * 255 + 15) / 31);
    o[2] = uint8_t((((v >> 10) & 31) * 255 + 15) / 31);
    o[3] = useAlpha ? ((v & 0x8000) ? 255 : 0) : 255;
  };
  std::vector<uint8_t> map;
  if (mapType == 1) {
    const int entry = (mapDepth + 7) / 8;
    if (entry < 2 || entry > 4) Fail("unsupported TGA colour map depth");
    map.assign(size_t(mapFirst + mapLength) * 4, 0);
    for (int i = 0; i < mapLength; ++i) {
      const uint8_t* e = r.take(size_t(entry));
      uint8_t* o = &map[size_t(mapFirst + i) * 4];
      if (entry == 2) from16(unsigned(e[0] | e[1] << 8), o, false);
      else o[0] = e[0], o[1] = e[1], o[2] = e[2], o[3] = entry == 4 ? e[3] : 255;
    }
  }
  const int bpp = (depth + 7) / 8;
  const bool alpha = (base == 2 && depth == 32) || (base == 2 && depth == 16 && alphaBits == 1) ||
                     (base == 3 && depth == 16) || (base == 1 && mapDepth == 32);
  const size_t pixels = size_t(w) * size_t(h);
  // Refuse sizes the data cannot hold before allocating: raw needs every byte, an RLE packet of
  // 1 + bpp bytes covers at most 128 pixels.
  if (!rle && r.left() / size_t(bpp) < pixels) Fail("truncated file: the pixel data is shorter than the header says");
  if (rle && r.left() / size_t(1 + bpp) * 128 < pixels) Fail("truncated file: the pixel data is shorter than the header says");

  Image img(w, h, alpha);
  auto convert = [&](const uint8_t* s, uint8_t* o) {
    if (base == 1) {
      size_t i = bpp == 1 ? s[0] : size_t(s[0] | s[1] << 8);
      if (i * 4 + 4 <= map.size()) std::memcpy(o, &map[i * 4], 4);
      else o[0] = o[1] = o[2] = 0, o[3] = 255;
    } else if (base == 3) {
      o[0] = o[1] = o[2] = s[0];
      o[3] = depth == 16 ? s[1] : 255;
    } else if (bpp == 2) {
      from16(unsigned(s[0] | s[1] << 8), o, alphaBits == 1);
    } else {
      o[0] = s[0], o[1] = s[1], o[2] = s[2], o[3] = bpp == 4 ? s[3] : 255;
    }
  };
  const bool top = (desc & 0x20) != 0, right = (desc & 0x10) != 0;
  size_t n = 0;
  auto place = [&](const uint8_t* s) {
    const int fy = int(n / size_t(w)), fx = int(n % size_t(w));
    const int y = top ? fy : h - 1 - fy, x = right ? w - 1 - fx : fx;
    convert(s, img.pixel(x, y));
    ++n;
  };
  if (!rle) {
    while (n < pixels) place(r.take(size_t(bpp)));
  } else {
    while (n < pixels) {
      const uint8_t head = r.u8();
      const int count = (head & 0x7f) + 1;
      if (head & 0x80) {
        const uint8_t* v = r.take(size_t(bpp));
        for (int i = 0; i < count && n < pixels; ++i) place(v);
      } else {
        for (int i = 0; i < count && n < pixels; ++i) place(r.take(size_t(bpp)));
      }
    }
  }
  if (alpha) SettleAlpha(img);  // writers that leave the alpha bytes zero mean "opaque"
  if (alpha && !img.hasAlpha()) {
    bool allClear = true;
    for (size_t i = 3; i < img.byteSize() && allClear; i += 4) allClear = img.data()[i] == 0;
    if (allClear)
      for (size_t i = 3; i < img.byteSize(); i += 4) img.data()[i] = 255;
  }
  return img;
}

std::vector<uint8_t> EncodeTga(const Image& image) {
  const int w = image.width(), h = image.height();
  if (w > 0xffff || h > 0xffff) Fail("the picture is too large for a TGA file");
  const bool alpha = image.hasAlpha();
  const int bpp = alpha ? 4 : 3;
  ByteWriter o;
  o.out.reserve(size_t(w) * size_t(h) * size_t(bpp) / 2 + 64);
  o.u8(0), o.u8(0), o.u8(10);  // no id, no colour map, RLE true colour
  o.le16(0), o.le16(0), o.u8(0);
  o.le16(0), o.le16(0), o.le16(uint32_t(w)), o.le16(uint32_t(h));
  o.u8(uint8_t(bpp * 8)), o.u8(uint8_t((alpha ? 8 : 0) | 0x20));  // top-left origin
  auto same = [&](const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, size_t(bpp)) == 0; };
  for (int fy = 0; fy < h; ++fy) {
    const uint8_t* row = image.row(fy);
    int x = 0;
    while (x < w) {
      // A run of equal pixels becomes a run packet, anything else a raw packet; both end at the
      // row's end so that readers which decode row by row are served too.
      int run = 1;
      while (x + run < w && run < 128 && same(row + (x + run) * 4, row + x * 4)) ++run;
      if (run > 1) {
        o.u8(uint8_t(0x80 | (run - 1)));
        o.bytes(row + x * 4, size_t(bpp));
        x += run;
        continue;
      }
      int raw = 1;
      while (x + raw < w && raw < 128 && !(x + raw + 1 < w && same(row + (x + raw) * 4, row + (x + raw + 1) * 4))) ++raw;
      o.u8(uint8_t(raw - 1));
      for (int i = 0; i < raw; ++i) o.bytes(row + (x + i) * 4, size_t(bpp));
      x += raw;
    }
  }
  o.bytes("\0\0\0\0\0\0\0\0TRUEVISION-XFILE.\0", 26);
  return std::move(o.out);
}

}  // namespace zel::img::detail
