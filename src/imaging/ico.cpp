// Windows icons and cursors: the directory's largest, deepest image (DIB or PNG entry).
#include <algorithm>
#include <bit>

#include "imaging/codecs.h"

namespace zel::img::detail {

Image DecodeIco(std::span<const uint8_t> d) {
  ByteReader r(d);
  if (r.le16() != 0) Fail("not an icon or cursor file");
  const uint16_t type = r.le16();
  if (type != 1 && type != 2) Fail("not an icon or cursor file");
  const uint16_t count = r.le16();
  if (count == 0) Fail("the icon file holds no image");
  struct Entry {
    int w, h, bpp;
    uint32_t size, offset;
  };
  std::vector<Entry> entries;
  for (int i = 0; i < count; ++i) {
    const uint8_t w = r.u8(), h = r.u8(), colours = r.u8();
    r.u8();
    r.le16();
    uint16_t bpp = r.le16();
    const uint32_t size = r.le32(), offset = r.le32();
    if (type == 2 || bpp == 0) bpp = colours ? uint16_t(std::bit_width(unsigned(colours - 1))) : 8;  // cursors hold hotspots here
    if (offset >= d.size() || size == 0) continue;
    entries.push_back({w ? w : 256, h ? h : 256, bpp, uint32_t(std::min<size_t>(size, d.size() - offset)), offset});
  }
  // Largest first, then deepest; the directory may lie, so the real size of a PNG or DIB entry
  // only matters once it decodes.
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.w * a.h != b.w * b.h) return a.w * a.h > b.w * b.h;
    return a.bpp > b.bpp;
  });
  std::string lastError = "the icon file holds no image";
  for (const Entry& e : entries) {
    std::span<const uint8_t> data = d.subspan(e.offset, e.size);
    try {
      if (data.size() >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') return DecodePng(data);
      return DecodeDib(data, true);
    } catch (const Error& err) {
      lastError = err.what();
    }
  }
  Fail(lastError);
}

}  // namespace zel::img::detail
