// ZSoft PCX (1/2/4/8/24/32 bit) and multi-page DCX (its first page): our own reader.
#include <algorithm>

#include "imaging/codecs.h"

namespace zel::img::detail {

Image DecodePcx(std::span<const uint8_t> d) {
  ByteReader r(d);
  if (d.size() < 128 || d[0] != 0x0A || d[2] > 1) Fail("not a PCX file");
  r.skip(3);
  const int bits = r.u8();
  const int xmin = r.le16(), ymin = r.le16(), xmax = r.le16(), ymax = r.le16();
  r.skip(4);
  const uint8_t* headerPalette = r.take(48);
  r.skip(1);
  const int planes = r.u8();
  const int bytesPerLine = r.le16();
  r.seek(128);
  const int w = xmax - xmin + 1, h = ymax - ymin + 1;
  CheckSize(w, h, "PCX picture");
  const bool ok = (planes == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8)) ||
                  (bits == 1 && (planes == 2 || planes == 3 || planes == 4)) || (bits == 8 && (planes == 3 || planes == 4));
  if (!ok) Fail("unsupported PCX layout (" + std::to_string(bits) + " bits, " + std::to_string(planes) + " planes)");
  if (bytesPerLine < (w * bits + 7) / 8) Fail("PCX line length too short for the width");
  const size_t lineBytes = size_t(bytesPerLine) * size_t(planes);
  const size_t total = lineBytes * size_t(h);
  // A run pair of two bytes stands for at most 63 bytes.
  const bool rle = d[2] == 1;
  if ((rle ? r.left() / 2 * 63 + 63 : r.left()) < total) Fail("truncated file: the pixel data is shorter than the header says");

  std::vector<uint8_t> palette(256 * 4, 0);
  for (int i = 0; i < 256; ++i) palette[size_t(i) * 4 + 3] = 255;
  const bool monochrome = bits == 1 && planes == 1;
  if (monochrome) {
    std::memset(&palette[4], 255, 4);
  } else if (bits == 8 && planes == 1) {
    // The 256-colour palette follows a 0x0C byte at the end of the file; without it, grey.
    const bool has = d.size() >= 769 + 128 && d[d.size() - 769] == 0x0C;
    for (int i = 0; i < 256; ++i) {
      uint8_t* p = &palette[size_t(i) * 4];
      if (has) {
        const uint8_t* s = &d[d.size() - 768 + size_t(i) * 3];
        p[0] = s[2], p[1] = s[1], p[2] = s[0];
      } else {
        p[0] = p[1] = p[2] = uint8_t(i);
      }
    }
  } else {
    for (int i = 0; i < 16; ++i) {
      const uint8_t* s = headerPalette + i * 3;
      palette[size_t(i) * 4] = s[2], palette[size_t(i) * 4 + 1] = s[1], palette[size_t(i) * 4 + 2] = s[0];
    }
  }

  Image img(w, h, bits == 8 && planes == 4);
  std::vector<uint8_t> line(lineBytes);
  uint8_t runValue = 0;
  int runLeft = 0;
  for (int y = 0; y < h; ++y) {
    // Runs may continue from one line into the next.
    for (size_t i = 0; i < lineBytes; ++i) {
      if (!rle) { line[i] = r.u8(); continue; }
      if (runLeft == 0) {
        uint8_t b = r.u8();
        if ((b & 0xC0) == 0xC0) runLeft = b & 0x3F, runValue = r.u8();
        else runLeft = 1, runValue = b;
        if (runLeft == 0) { --i; continue; }
      }
      line[i] = runValue;
      --runLeft;
    }
    uint8_t* o = img.row(y);
    for (int x = 0; x < w; ++x, o += 4) {
      if (bits == 8 && planes >= 3) {
        o[2] = line[size_t(x)], o[1] = line[size_t(bytesPerLine + x)], o[0] = line[size_t(2 * bytesPerLine + x)];
        o[3] = planes == 4 ? line[size_t(3 * bytesPerLine + x)] : 255;
        continue;
      }
      int idx = 0;
      if (planes == 1) {
        const int per = 8 / bits;
        idx = (line[size_t(x / per)] >> ((per - 1 - x % per) * bits)) & ((1 << bits) - 1);
      } else {
        for (int p = 0; p < planes; ++p)
          idx |= ((line[size_t(p * bytesPerLine + x / 8)] >> (7 - x % 8)) & 1) << p;
      }
      std::memcpy(o, &palette[size_t(idx) * 4], 4);
    }
  }
  if (img.hasAlpha()) SettleAlpha(img);
  return img;
}

Image DecodeDcx(std::span<const uint8_t> d) {
  ByteReader r(d);
  if (d.size() < 8 || r.le32() != 987654321u) Fail("not a DCX file");
  const uint32_t first = r.le32();
  if (first == 0) Fail("the DCX file holds no page");
  if (first < 8 || first >= d.size()) Fail("the DCX page table points outside the file");
  return DecodePcx(d.subspan(first));
}

}  // namespace zel::img::detail
