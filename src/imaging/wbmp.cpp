// Wireless bitmap (WBMP type 0): 1 bit per pixel, 1 is white.
#include "imaging/codecs.h"

namespace zel::img::detail {
namespace {
uint32_t MultiByte(ByteReader& r) {
  uint32_t v = 0;
  for (int i = 0; i < 5; ++i) {
    const uint8_t b = r.u8();
    v = (v << 7) | (b & 0x7f);
    if (!(b & 0x80)) return v;
  }
  Fail("not a WBMP file (bad number)");
}
}  // namespace

Image DecodeWbmp(std::span<const uint8_t> d) {
  ByteReader r(d);
  if (MultiByte(r) != 0) Fail("not a WBMP file (only type 0 exists)");
  uint8_t fix = r.u8();
  if (fix & 0x9f) Fail("not a WBMP file");
  const uint32_t w = MultiByte(r), h = MultiByte(r);
  CheckSize(w, h, "WBMP picture");
  const size_t stride = (size_t(w) + 7) / 8;
  if (r.left() / stride < h) Fail("truncated file: the pixel data is shorter than the header says");
  Image img{int(w), int(h)};
  for (uint32_t y = 0; y < h; ++y) {
    const uint8_t* s = r.take(stride);
    uint8_t* o = img.row(int(y));
    for (uint32_t x = 0; x < w; ++x, o += 4) o[0] = o[1] = o[2] = (s[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
  }
  return img;
}

}  // namespace zel::img::detail
