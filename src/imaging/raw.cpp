// Camera RAW files: we show the largest JPEG preview the camera embedded. Every RAW layout we
// know (TIFF-based CR2/NEF/PEF/ORF/DCR/SRF/SR2, CRW, RAF, MRW, X3F) stores its previews as
// plain JPEG streams, so a scan for start-of-image markers finds them whatever the container.
#include <algorithm>

#include "imaging/codecs.h"

namespace zel::img::detail {
namespace {

struct Candidate {
  size_t offset;
  uint64_t pixels;
};

// Walks the markers after SOI up to the frame header; returns the pixel count of a baseline,
// extended or progressive frame, 0 when this is no JPEG libjpeg can decode.
uint64_t FramePixels(std::span<const uint8_t> d, size_t at) {
  size_t p = at + 2;
  for (int guard = 0; guard < 64 && p + 4 <= d.size(); ++guard) {
    if (d[p] != 0xff) return 0;
    while (p < d.size() && d[p] == 0xff) ++p;
    if (p + 3 > d.size()) return 0;
    const uint8_t m = d[p++];
    if (m == 0xd8 || m == 0x01 || (m >= 0xd0 && m <= 0xd7)) continue;
    const size_t len = size_t(d[p] << 8 | d[p + 1]);
    if (len < 2 || p + len > d.size()) return 0;
    if (m == 0xc0 || m == 0xc1 || m == 0xc2) {
      if (len < 8) return 0;
      const uint64_t h = uint64_t(d[p + 3] << 8 | d[p + 4]), w = uint64_t(d[p + 5] << 8 | d[p + 6]);
      return w * h;
    }
    if ((m >= 0xc3 && m <= 0xcf && m != 0xc4 && m != 0xc8 && m != 0xcc) || m == 0xda || m == 0xd9) return 0;
    p += len;
  }
  return 0;
}

}  // namespace

Image DecodeCameraRaw(std::span<const uint8_t> d) {
  std::vector<Candidate> found;
  for (size_t i = 0; i + 3 < d.size();) {
    const void* hit = std::memchr(d.data() + i, 0xff, d.size() - i);
    if (!hit) break;
    i = size_t(static_cast<const uint8_t*>(hit) - d.data());
    if (i + 3 < d.size() && d[i + 1] == 0xd8 && d[i + 2] == 0xff) {
      if (uint64_t px = FramePixels(d, i)) found.push_back({i, px});
    }
    ++i;
  }
  std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) { return a.pixels > b.pixels; });
  for (const Candidate& c : found) {
    try {
      return DecodeJpeg(d.subspan(c.offset));
    } catch (const Error&) {
      // A damaged or unusual preview: try the next largest.
    }
  }
  Fail("the camera RAW file holds no embedded preview picture that can be shown");
}

}  // namespace zel::img::detail
