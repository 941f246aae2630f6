// Photoshop PSD: our own reader of the merged (composite) image and a writer (RGB, PackBits).
#include <algorithm>

#include "imaging/codecs.h"

namespace zel::img::detail {
namespace {

enum Mode { kBitmap = 0, kGrey = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kMultichannel = 7, kDuotone = 8, kLab = 9 };

// PackBits: a count n >= 0 copies n + 1 bytes, -127..-1 repeats the next byte 1 - n times.
void UnpackBits(ByteReader& r, size_t packedLength, uint8_t* out, size_t outLength) {
  const size_t end = r.pos() + packedLength;
  if (packedLength > r.left()) Fail("truncated file");
  size_t o = 0;
  while (r.pos() < end && o < outLength) {
    const int8_t n = int8_t(r.u8());
    if (n >= 0) {
      size_t k = size_t(n) + 1;
      if (k > end - r.pos()) Fail("corrupt PackBits data");
      const uint8_t* s = r.take(k);
      k = std::min(k, outLength - o);
      std::memcpy(out + o, s, k);
      o += k;
    } else if (n != -128) {
      if (r.pos() >= end) Fail("corrupt PackBits data");
      const uint8_t v = r.u8();
      const size_t k = std::min(size_t(1 - n), outLength - o);
      std::memset(out + o, v, k);
      o += k;
    }
  }
  r.seek(end);
}

}  // namespace

Image DecodePsd(std::span<const uint8_t> d) {
  ByteReader r(d);
  if (d.size() < 26 || std::memcmp(d.data(), "8BPS", 4) != 0) Fail("not a PSD file");
  r.skip(4);
  const int version = r.be16();
  if (version != 1 && version != 2) Fail("unknown PSD version " + std::to_string(version));
  const bool big = version == 2;  // large document format: wider lengths
  r.skip(6);
  const int channels = r.be16();
  const uint32_t h = r.be32(), w = r.be32();
  const int depth = r.be16(), mode = r.be16();
  if (channels < 1 || channels > 56) Fail("invalid channel count");
  if (depth != 1 && depth != 8 && depth != 16) Fail("unsupported PSD bit depth " + std::to_string(depth));
  CheckSize(w, h, "PSD picture");
  int colourChannels = 0;
  switch (mode) {
    case kBitmap: case kGrey: case kIndexed: case kDuotone: case kMultichannel: colourChannels = 1; break;
    case kRgb: colourChannels = 3; break;
    case kCmyk: colourChannels = 4; break;
    default: Fail("unsupported PSD colour mode " + std::to_string(mode));
  }
  if ((mode == kBitmap) != (depth == 1)) Fail("PSD bit depth does not match its colour mode");
  if (channels < colourChannels) Fail("too few channels for the colour mode");
  const bool alpha = channels > colourChannels && mode != kMultichannel && mode != kIndexed && mode != kBitmap;

  const uint32_t modeData = r.be32();
  std::span<const uint8_t> palette = r.rest().subspan(0, std::min<size_t>(modeData, r.left()));
  r.skip(modeData);
  if (mode == kIndexed && palette.size() < 768) Fail("the indexed PSD file has no palette");
  r.skip(r.be32());  // image resources
  // Layers and masks: only the sign of the layer count matters here. Negative means the merged
  // image's first extra channel is its transparency, its colours matted against white.
  bool mattedAlpha = false;
  {
    uint64_t length = r.be32();
    if (big) {
      if (length) Fail("truncated file");
      length = r.be32();
    }
    if (length > r.left()) Fail("truncated file");
    const size_t end = r.pos() + size_t(length);
    if (length >= (big ? 10u : 6u)) {
      ByteReader l(d, r.pos());
      const uint64_t infoLength = big ? (uint64_t(l.be32()) << 32 | l.be32()) : l.be32();
      if (infoLength >= 2) mattedAlpha = int16_t(l.be16()) < 0;
    }
    r.seek(end);
  }
  const int compression = r.be16();
  if (compression != 0 && compression != 1) Fail("unsupported PSD compression " + std::to_string(compression));

  const size_t rowBytes = depth == 1 ? (size_t(w) + 7) / 8 : size_t(w) * size_t(depth / 8);
  const int used = colourChannels + (alpha ? 1 : 0);
  std::vector<size_t> rowLength;
  if (compression == 1) {
    const size_t entries = size_t(channels) * h;
    const size_t entrySize = big ? 4 : 2;
    if (r.left() / entrySize < entries) Fail("truncated file");
    rowLength.resize(entries);
    uint64_t sum = 0;
    for (size_t i = 0; i < entries; ++i) sum += rowLength[i] = big ? r.be32() : r.be16();
    // A PackBits pair of two bytes yields at most 128: refuse sizes the data cannot hold.
    if (sum > r.left() || r.left() / 2 * 128 + 128 < rowBytes * size_t(used) * h / 1) Fail("truncated file");
  } else if (r.left() / rowBytes / h < size_t(used)) {
    Fail("truncated file: the pixel data is shorter than the header says");
  }

  // Decode the channels we use into planes of 8-bit samples.
  std::vector<std::vector<uint8_t>> planes(size_t(used), std::vector<uint8_t>(size_t(w) * h));
  std::vector<uint8_t> row(rowBytes);
  size_t lengthIndex = 0;
  for (int c = 0; c < used; ++c) {
    for (uint32_t y = 0; y < h; ++y) {
      if (compression == 1) UnpackBits(r, rowLength[lengthIndex++], row.data(), rowBytes);
      else std::memcpy(row.data(), r.take(rowBytes), rowBytes);
      uint8_t* o = &planes[size_t(c)][size_t(y) * w];
      if (depth == 8) std::memcpy(o, row.data(), w);
      else if (depth == 16) for (uint32_t x = 0; x < w; ++x) o[x] = Scale16To8(unsigned(row[x * 2] << 8 | row[x * 2 + 1]));
      else for (uint32_t x = 0; x < w; ++x) o[x] = (row[x / 8] & (0x80 >> (x % 8))) ? 0 : 255;  // 1 is black
    }
  }
  Image img(int(w), int(h), alpha);
  const size_t n = size_t(w) * h;
  uint8_t* o = img.data();
  for (size_t i = 0; i < n; ++i, o += 4) {
    switch (mode) {
      case kRgb: o[2] = planes[0][i], o[1] = planes[1][i], o[0] = planes[2][i]; break;
      case kCmyk: {
        // Photoshop stores CMYK inverted: 255 is no ink.
        const unsigned k = planes[3][i];
        o[2] = uint8_t((planes[0][i] * k + 127) / 255), o[1] = uint8_t((planes[1][i] * k + 127) / 255),
        o[0] = uint8_t((planes[2][i] * k + 127) / 255);
        break;
      }
      case kIndexed: {
        const size_t p = planes[0][i];
        o[2] = palette[p], o[1] = palette[256 + p], o[0] = palette[512 + p];
        break;
      }
      default: o[0] = o[1] = o[2] = planes[0][i];
    }
    o[3] = alpha ? planes[size_t(colourChannels)][i] : 255;
    if (mattedAlpha && o[3] < 255) {
      const int a = o[3];
      for (int c = 0; c < 3; ++c)
        o[c] = a ? uint8_t(std::clamp((o[c] * 255 - 255 * (255 - a) + a / 2) / a, 0, 255)) : 0;
    }
  }
  if (alpha) SettleAlpha(img);
  return img;
}

namespace {

// One channel as PackBits rows: the per-row lengths and the packed bytes.
void PackChannel(const Image& image, int offset, std::vector<uint16_t>& lengths, std::vector<uint8_t>& packed) {
  const size_t w = size_t(image.width());
  std::vector<uint8_t> src(w);
  for (int y = 0; y < image.height(); ++y) {
    const uint8_t* p = image.row(y) + offset;
    for (size_t x = 0; x < w; ++x) src[x] = p[x * 4];
    const size_t start = packed.size();
    size_t x = 0;
    while (x < w) {
      size_t run = 1;
      while (x + run < w && run < 128 && src[x + run] == src[x]) ++run;
      if (run >= 3) {
        packed.push_back(uint8_t(int8_t(1 - int(run))));
        packed.push_back(src[x]);
        x += run;
        continue;
      }
      size_t lit = 0;
      while (x + lit < w && lit < 128 &&
             !(x + lit + 2 < w && src[x + lit] == src[x + lit + 1] && src[x + lit] == src[x + lit + 2]))
        ++lit;
      packed.push_back(uint8_t(lit - 1));
      packed.insert(packed.end(), src.begin() + long(x), src.begin() + long(x + lit));
      x += lit;
    }
    lengths.push_back(uint16_t(packed.size() - start));
  }
}

}  // namespace

std::vector<uint8_t> EncodePsd(const Image& image) {
  const uint32_t w = uint32_t(image.width()), h = uint32_t(image.height());
  if (w > 30000 || h > 30000) Fail("the picture is too large for a PSD file (30000 pixels at most)");
  const bool alpha = image.hasAlpha();
  const int channels = alpha ? 4 : 3;
  static const int kOffset[4] = {2, 1, 0, 3};  // R, G, B, A within BGRA
  std::vector<std::vector<uint16_t>> lengths(static_cast<size_t>(channels));
  std::vector<std::vector<uint8_t>> packed(static_cast<size_t>(channels));
  for (int c = 0; c < channels; ++c) PackChannel(image, kOffset[c], lengths[size_t(c)], packed[size_t(c)]);
  // The layer keeps the plain colours; the merged image holds them matted against white.
  std::vector<std::vector<uint16_t>> mergedLengths = lengths;
  std::vector<std::vector<uint8_t>> mergedPacked = packed;
  if (alpha) {
    Image matted = image;
    uint8_t* p = matted.data();
    for (size_t i = 0; i < matted.byteSize(); i += 4)
      for (int c = 0; c < 3; ++c) p[i + size_t(c)] = uint8_t((p[i + size_t(c)] * p[i + 3] + 255 * (255 - p[i + 3]) + 127) / 255);
    for (int c = 0; c < 3; ++c) {
      mergedLengths[size_t(c)].clear(), mergedPacked[size_t(c)].clear();
      PackChannel(matted, kOffset[c], mergedLengths[size_t(c)], mergedPacked[size_t(c)]);
    }
  }

  ByteWriter o;
  o.text("8BPS"), o.be16(1), o.be32(0), o.be16(0);
  o.be16(uint32_t(channels)), o.be32(h), o.be32(w), o.be16(8), o.be16(kRgb);
  o.be32(0), o.be32(0);  // no colour mode data, no resources
  if (!alpha) {
    o.be32(0);
  } else {
    // Transparency of the merged image needs a layer section whose layer count is negative
    // ("the first alpha channel is the merged result's transparency"): one layer, the picture.
    ByteWriter layer;
    layer.be16(uint32_t(-1) & 0xffff);
    layer.be32(0), layer.be32(0), layer.be32(h), layer.be32(w);
    layer.be16(4);
    static const int kIds[4] = {-1, 0, 1, 2};
    static const int kChannelOf[4] = {3, 0, 1, 2};
    for (int i = 0; i < 4; ++i) {
      const size_t c = size_t(kChannelOf[i]);
      layer.be16(uint32_t(kIds[i]) & 0xffff);
      layer.be32(uint32_t(2 + 2 * h + packed[c].size()));
    }
    layer.text("8BIMnorm"), layer.u8(255), layer.u8(0), layer.u8(0), layer.u8(0);
    layer.be32(4 + 4 + 4), layer.be32(0), layer.be32(0);
    layer.u8(0), layer.u8(0), layer.u8(0), layer.u8(0);  // empty name, padded to 4
    for (int i = 0; i < 4; ++i) {
      const size_t c = size_t(kChannelOf[i]);
      layer.be16(1);
      for (uint16_t l : lengths[c]) layer.be16(l);
      layer.bytes(packed[c].data(), packed[c].size());
    }
    if (layer.out.size() & 1) layer.u8(0);
    o.be32(uint32_t(4 + layer.out.size() + 4));
    o.be32(uint32_t(layer.out.size()));
    o.bytes(layer.out.data(), layer.out.size());
    o.be32(0);  // no global layer mask
  }
  o.be16(1);  // PackBits
  for (int c = 0; c < channels; ++c)
    for (uint16_t l : mergedLengths[size_t(c)]) o.be16(l);
  for (int c = 0; c < channels; ++c) o.bytes(mergedPacked[size_t(c)].data(), mergedPacked[size_t(c)].size());
  return std::move(o.out);
}

}  // namespace zel::img::detail
