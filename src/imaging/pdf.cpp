// PDF: one page the size of the picture (one pixel per point) showing it as a Flate-compressed
// RGB image with PNG "Up" prediction, which keeps screenshots lossless and small.
#include <cstdio>

#include <zlib.h>

#include "imaging/codecs.h"
#include "imaging/ops.h"

namespace zel::img::detail {

std::vector<uint8_t> EncodePdf(const Image& source) {
  Image flat;
  const Image* src = &source;
  if (source.hasAlpha()) {
    flat = Flatten(source);
    src = &flat;
  }
  const int w = src->width(), h = src->height();
  // Rows for the PNG predictor: a filter byte (2 = Up) and RGB samples.
  const size_t rowBytes = size_t(w) * 3;
  std::vector<uint8_t> filtered((rowBytes + 1) * size_t(h));
  std::vector<uint8_t> prev(rowBytes, 0), cur(rowBytes);
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = src->row(y);
    for (int x = 0; x < w; ++x) cur[size_t(x) * 3] = s[x * 4 + 2], cur[size_t(x) * 3 + 1] = s[x * 4 + 1], cur[size_t(x) * 3 + 2] = s[x * 4];
    uint8_t* o = &filtered[(rowBytes + 1) * size_t(y)];
    o[0] = 2;
    for (size_t i = 0; i < rowBytes; ++i) o[i + 1] = uint8_t(cur[i] - prev[i]);
    std::swap(prev, cur);
  }
  uLongf packedSize = compressBound(uLong(filtered.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, filtered.data(), uLong(filtered.size()), 6) != Z_OK) Fail("compression failed");
  packed.resize(packedSize);

  ByteWriter o;
  std::vector<size_t> offsets;
  auto object = [&](const std::string& body) {
    offsets.push_back(o.out.size());
    o.text(std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n");
  };
  o.text("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  object("<< /Type /Catalog /Pages 2 0 R >>");
  object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  const std::string W = std::to_string(w), H = std::to_string(h);
  object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + W + " " + H + "] /Resources << /XObject << /Im0 4 0 R >> >> /Contents 5 0 R >>");
  offsets.push_back(o.out.size());
  o.text("4 0 obj\n<< /Type /XObject /Subtype /Image /Width " + W + " /Height " + H +
         " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /DecodeParms << /Predictor 12 /Colors 3 /Columns " +
         W + " >> /Length " + std::to_string(packed.size()) + " >>\nstream\n");
  o.bytes(packed.data(), packed.size());
  o.text("\nendstream\nendobj\n");
  const std::string content = "q " + W + " 0 0 " + H + " 0 0 cm /Im0 Do Q\n";
  object("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
  const size_t xref = o.out.size();
  o.text("xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n");
  for (size_t off : offsets) {
    char line[24];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", off);
    o.text(line);
  }
  o.text("trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n");
  return std::move(o.out);
}

}  // namespace zel::img::detail
