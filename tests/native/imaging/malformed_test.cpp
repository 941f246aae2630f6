// Hostile and broken files: always a clear Error, never a crash, a hang or a huge allocation.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/io.h"
#include "imaging/thumbnail.h"
#include "imaging_test_util.h"

namespace zel::img::test {
namespace {

std::string ErrorOf(std::span<const uint8_t> d, Format f) {
  try {
    LoadFromMemory(d, f, "bad");
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

void Put32(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + size_t(i)] = uint8_t(v >> (8 * i));
}

std::vector<uint8_t> BmpHeader(int32_t w, int32_t h, uint16_t bpp, uint32_t compression = 0) {
  std::vector<uint8_t> d(54, 0);
  d[0] = 'B', d[1] = 'M';
  Put32(d, 10, 54), Put32(d, 14, 40), Put32(d, 18, uint32_t(w)), Put32(d, 22, uint32_t(h));
  d[26] = 1, d[28] = uint8_t(bpp);
  Put32(d, 30, compression);
  return d;
}

struct BadCase {
  const char* name;
  std::vector<uint8_t> data;
  Format format;
  const char* reason;  // expected in the message
};

std::vector<BadCase> BadCases() {
  std::vector<BadCase> c;
  auto bmp = BmpHeader(12000, 12000, 24);
  bmp.resize(200, 7);
  c.push_back({"BMP claiming 12000x12000 with 146 bytes of pixels", bmp, Format::Bmp, "truncated"});
  c.push_back({"BMP of width 0", BmpHeader(0, 10, 24), Format::Bmp, "no pixels"});
  c.push_back({"BMP of 70000 columns", BmpHeader(70000, 1, 24), Format::Bmp, "too large"});
  c.push_back({"BMP with 7 bits per pixel", BmpHeader(2, 2, 7), Format::Bmp, "bit depth"});
  c.push_back({"BMP with INT32_MIN height", BmpHeader(2, INT32_MIN, 24), Format::Bmp, "height"});
  c.push_back({"BMP RLE8 at 24 bits", BmpHeader(2, 2, 24, 1), Format::Bmp, "RLE8"});
  // PNG whose header says 60000 x 60000.
  std::vector<uint8_t> png = FileBytes(Fixture("rgb.png"));
  png[16] = 0, png[17] = 0, png[18] = 0xea, png[19] = 0x60, png[20] = 0, png[21] = 0, png[22] = 0xea, png[23] = 0x60;
  c.push_back({"PNG claiming 60000x60000", png, Format::Png, "PNG error"});
  png = FileBytes(Fixture("rgb.png"));
  png[18] = 0x2e, png[19] = 0xe0, png[22] = 0x2e, png[23] = 0xe0;  // 12000 x 12000 (CRC fixed below)
  {
    const uint32_t crc = [&] {  // CRC-32 of the IHDR chunk type and data
      uint32_t c = 0xffffffffu;
      for (size_t i = 12; i < 29; ++i) {
        c ^= png[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1)));
      }
      return ~c;
    }();
    png[29] = uint8_t(crc >> 24), png[30] = uint8_t(crc >> 16), png[31] = uint8_t(crc >> 8), png[32] = uint8_t(crc);
  }
  c.push_back({"PNG claiming 12000x12000 in 3 KB", png, Format::Png, "too short"});
  // JPEG whose frame says 65000 x 65000.
  std::vector<uint8_t> jpg = FileBytes(Fixture("baseline.jpg"));
  for (size_t i = 0; i + 9 < jpg.size(); ++i)
    if (jpg[i] == 0xff && jpg[i + 1] == 0xc0) {
      jpg[i + 5] = 0xfd, jpg[i + 6] = 0xe8, jpg[i + 7] = 0xfd, jpg[i + 8] = 0xe8;
      break;
    }
  c.push_back({"JPEG claiming 65000x65000", jpg, Format::Jpeg, "too large"});
  std::vector<uint8_t> tga = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xe0, 0x2e, 0xe0, 0x2e, 24, 0, 0xff, 1, 2, 3};
  c.push_back({"RLE TGA claiming 12000x12000 in 4 bytes", tga, Format::Tga, "truncated"});
  const std::string pnm = "P6\n100000 100000\n255\n";
  c.push_back({"PPM of 100000 columns", std::vector<uint8_t>(pnm.begin(), pnm.end()), Format::Pnm, "too large"});
  const std::string pnm0 = "P5 0 0 255\n";
  c.push_back({"PGM of 0 x 0", std::vector<uint8_t>(pnm0.begin(), pnm0.end()), Format::Pnm, "no pixels"});
  const std::string pnmShort = "P6 100 100 255\nabc";
  c.push_back({"PPM cut short", std::vector<uint8_t>(pnmShort.begin(), pnmShort.end()), Format::Pnm, "truncated"});
  std::vector<uint8_t> psd = FileBytes(Fixture("rgb-raw.psd"));
  psd[14] = 0, psd[15] = 0, psd[16] = 0x75, psd[17] = 0x30, psd[18] = 0, psd[19] = 0, psd[20] = 0x75, psd[21] = 0x30;
  c.push_back({"PSD claiming 30000x30000", psd, Format::Psd, "too large"});
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0xff, 0xff, 0xff, 0xff, 0x80, 0, 0};
  gif.resize(13 + 6, 0);
  gif.insert(gif.end(), {0x2c, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 0, 2, 2, 0x4c, 1, 0, 0x3b});
  c.push_back({"GIF claiming 65535x65535", gif, Format::Gif, "too large"});
  c.push_back({"WBMP of 5000x5000 in 6 bytes", {0, 0, 0xa7, 0x08, 0xa7, 0x08}, Format::Wbmp, "truncated"});
  c.push_back({"DCX pointing past its end", {0xb1, 0x68, 0xde, 0x3a, 0xff, 0xff, 0, 0}, Format::Dcx, "outside"});
  c.push_back({"ICO without images", {0, 0, 1, 0, 0, 0}, Format::Ico, "no image"});
  c.push_back({"JPEG 2000 signature only", {0, 0, 0, 12, 'j', 'P', ' ', ' ', 13, 10, 0x87, 10}, Format::Jp2, "JPEG 2000"});
  // A code stream declaring 4096 x 4096 pixels in 65536 tiles of 16 x 16 and three components.
  c.push_back({"J2K with 65536 tiles",
               {0xff, 0x4f, 0xff, 0x51, 0, 47, 0, 0, 0, 0, 0x10, 0, 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                0, 0, 0, 16, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 7, 1, 1, 7, 1, 1, 7, 1, 1},
               Format::J2k, "too many tiles"});
  c.push_back({"TIFF header only", {'I', 'I', 42, 0, 8, 0, 0, 0}, Format::Tiff, "TIFF"});
  c.push_back({"PCX of 65536 x 1 lines", {10, 5, 1, 8, 0, 0, 0, 0, 0xff, 0xff, 0, 0}, Format::Pcx, "PCX"});
  return c;
}

TEST(MalformedFiles, GiveAClearErrorBeforeAllocating) {
  for (const BadCase& b : BadCases()) {
    const std::string msg = ErrorOf(b.data, b.format);
    EXPECT_NE(msg.find(b.reason), std::string::npos) << b.name << ": \"" << msg << "\"";
    EXPECT_NE(msg.find("\"bad\""), std::string::npos) << b.name << ": the message must name the file";
  }
}

// Every fixture cut short at several points: uncompressed formats must fail; all must fail or
// decode without touching memory they do not own (the sanitizer build checks the latter).
TEST(MalformedFiles, TruncatedFilesNeverCrash) {
  for (const auto& entry : std::filesystem::directory_iterator(std::string(ZEL_TEST_DATA) + "/imaging")) {
    const std::string path = entry.path().string();
    const Format f = FormatFromExtension(path);
    if (!CanRead(path)) continue;
    const std::vector<uint8_t> full = FileBytes(path);
    for (size_t cut : {size_t(0), size_t(1), size_t(8), size_t(20), full.size() / 3, full.size() / 2, full.size() - 40,
                       full.size() - 1}) {
      if (cut >= full.size()) continue;
      const std::span<const uint8_t> part(full.data(), cut);
      try {
        const Image img = LoadFromMemory(part, f, path);
        EXPECT_FALSE(img.empty());
      } catch (const Error&) {
      }
    }
    // Uncompressed bitmaps (BI_RGB, bit fields) cut in half must be refused.
    if (f == Format::Bmp && (full[30] == 0 || full[30] == 3)) {
      EXPECT_NE(ErrorOf(std::span<const uint8_t>(full.data(), full.size() / 2), f), "") << path;
    }
  }
}

TEST(MalformedFiles, CorruptedBytesNeverCrash) {
  // Flip bytes through the headers and data of every fixture.
  uint32_t seed = 12345;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(ZEL_TEST_DATA) + "/imaging")) {
    const std::string path = entry.path().string();
    if (!CanRead(path)) continue;
    const Format f = FormatFromExtension(path);
    const std::vector<uint8_t> full = FileBytes(path);
    for (int round = 0; round < 30; ++round) {
      std::vector<uint8_t> d = full;
      for (int k = 0; k < 4; ++k) {
        seed = seed * 1103515245u + 12345u;
        const size_t at = (round < 15) ? (seed >> 8) % std::min<size_t>(d.size(), 64) : (seed >> 8) % d.size();
        d[at] = uint8_t(seed >> 24);
      }
      try {
        LoadFromMemory(d, f, path);
      } catch (const Error&) {
      }
    }
  }
}

TEST(SizeBudget, RefusesPicturesOverTheLimit) {
  SetMaxPixels(2000);  // the fixtures have 2257 pixels
  const std::string msg = [] {
    try {
      Load(Fixture("rgb24.bmp"));
    } catch (const Error& e) {
      return std::string(e.what());
    }
    return std::string();
  }();
  EXPECT_THROW(LoadThumbnail(Fixture("baseline.jpg"), 10), Error);
  EXPECT_THROW(Image(50, 50), Error);
  SetMaxPixels(0);
  EXPECT_NE(msg.find("too large"), std::string::npos) << msg;
  EXPECT_NO_THROW(Load(Fixture("rgb24.bmp")));
  EXPECT_EQ(MaxPixels(), sizeof(void*) >= 8 ? (uint64_t(1) << 28) : (uint64_t(1) << 26));
}

}  // namespace
}  // namespace zel::img::test
