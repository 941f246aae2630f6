#include "imaging/jpeg_quality.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "imaging/codecs.h"
#include "imaging/io.h"

namespace zel::img {
namespace {

// The IJG example tables (natural order), the ones libjpeg scales by quality.
constexpr std::array<int, 64> kLuma = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,  14, 13, 16, 24,  40,  57,
    69, 56, 14, 17, 22,  29,  51,  87,  80, 62, 18, 22, 37,  56,  68,  109, 103, 77, 24, 35,  55,  64,
    81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<int, 64> kChroma = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
// Zigzag position k holds natural-order coefficient kZigzag[k].
constexpr std::array<int, 64> kZigzag = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                         12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                         35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                         58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// libjpeg's jpeg_quality_scaling and jpeg_add_quant_table.
int Scaled(int base, int quality, bool baseline) {
  const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
  long v = (long(base) * scale + 50) / 100;
  if (v <= 0) v = 1;
  if (v > 32767) v = 32767;
  if (baseline && v > 255) v = 255;
  return int(v);
}

using Table = std::array<int, 64>;  // natural order

bool Matches(const Table& t, const std::array<int, 64>& base, int q) {
  for (bool baseline : {true, false}) {
    bool all = true;
    for (int i = 0; i < 64 && all; ++i) all = t[size_t(i)] == Scaled(base[size_t(i)], q, baseline);
    if (all) return true;
  }
  return false;
}

double Distance(const Table& t, const std::array<int, 64>& base, int q) {
  double d = 0;
  for (int i = 0; i < 64; ++i) {
    const double e = std::log(double(std::max(1, t[size_t(i)]))) - std::log(double(Scaled(base[size_t(i)], q, false)));
    d += e * e;
  }
  return d;
}

}  // namespace

int EstimateJpegQuality(std::span<const uint8_t> d) {
  using detail::ByteReader;
  using detail::Fail;
  try {
    std::optional<Table> tables[4];
    int compTable[2] = {-1, -1};
    int comps = 0;
    ByteReader r(d);
    if (r.u8() != 0xff || r.u8() != 0xd8) Fail("not a JPEG file");
    for (;;) {
      if (r.u8() != 0xff) Fail("corrupt JPEG marker structure");
      uint8_t m = r.u8();
      while (m == 0xff) m = r.u8();
      if (m == 0xd8 || m == 0x01 || (m >= 0xd0 && m <= 0xd7)) continue;
      if (m == 0xda || m == 0xd9) break;
      const size_t len = r.be16();
      if (len < 2) Fail("corrupt JPEG segment length");
      ByteReader seg(r.rest().subspan(0, std::min(len - 2, r.left())));
      r.skip(len - 2);
      if (m == 0xdb) {
        while (seg.left() > 0) {
          const uint8_t pt = seg.u8();
          const int precision = pt >> 4, id = pt & 15;
          if (id > 3 || precision > 1) Fail("corrupt quantisation table");
          Table t{};
          for (int k = 0; k < 64; ++k) t[size_t(kZigzag[size_t(k)])] = precision ? seg.be16() : seg.u8();
          tables[id] = t;
        }
      } else if ((m >= 0xc0 && m <= 0xcf) && m != 0xc4 && m != 0xc8 && m != 0xcc) {
        seg.skip(5);
        comps = seg.u8();
        for (int c = 0; c < comps && c < 2; ++c) {
          seg.skip(2);
          compTable[c] = seg.u8() & 3;
        }
      }
    }
    const int lumaId = compTable[0] >= 0 ? compTable[0] : 0;
    if (!tables[lumaId]) Fail("no quantisation table before the image data");
    const Table& luma = *tables[lumaId];
    const Table* chroma = nullptr;
    if (comps >= 2 && compTable[1] >= 0 && compTable[1] != lumaId && tables[compTable[1]]) chroma = &*tables[compTable[1]];
    if (comps == 0 && tables[1]) chroma = &*tables[1];

    int sum = 0, count = 0;
    for (int q = 1; q <= 100; ++q)
      if (Matches(luma, kLuma, q) && (!chroma || Matches(*chroma, kChroma, q))) sum += q, ++count;
    if (count) return (2 * sum + count) / (2 * count);  // the average, halves rounded up

    // Other tables: the quality whose scaled standard tables are nearest.
    int best = 50;
    double bestD = std::numeric_limits<double>::max();
    for (int q = 1; q <= 100; ++q) {
      double dist = Distance(luma, kLuma, q) + (chroma ? Distance(*chroma, kChroma, q) : 0);
      if (dist < bestD) bestD = dist, best = q;
    }
    return best;
  } catch (const Error& e) {
    throw Error(std::string("Cannot estimate the JPEG quality: ") + e.what());
  }
}

int EstimateJpegQualityOfFile(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  try {
    return EstimateJpegQuality(bytes);
  } catch (const Error& e) {
    throw Error("\"" + path + "\": " + e.what());
  }
}

}  // namespace zel::img
