// Every reader against the reference pixels its fixture was made from (see
// tests/data/imaging/make-fixtures.sh), and the lossy ones against ImageMagick's decode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "imaging/io.h"
#include "imaging_test_util.h"

namespace zel::img::test {
namespace {

struct ReaderCase {
  const char* file;
  const char* reference;
  int maxDiff;  // largest allowed channel difference
};

void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.file; }

class ReaderMatchesReference : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderMatchesReference, Decodes) {
  const ReaderCase& c = GetParam();
  const Image got = Load(Fixture(c.file));
  const Image want = Reference(c.reference);
  ASSERT_EQ(got.width(), 61);
  ASSERT_EQ(got.height(), 37);
  EXPECT_EQ(got.hasAlpha(), want.hasAlpha());
  EXPECT_LE(MaxDiff(got, want), c.maxDiff);
}

INSTANTIATE_TEST_SUITE_P(
    Lossless, ReaderMatchesReference,
    ::testing::Values(
        ReaderCase{"rgb24.bmp", "ref", 0}, ReaderCase{"argb32.bmp", "refa", 0}, ReaderCase{"pal8.bmp", "ref256", 0},
        ReaderCase{"rle8.bmp", "ref256", 0}, ReaderCase{"pal4.bmp", "ref16", 0}, ReaderCase{"mono.bmp", "ref2", 0},
        ReaderCase{"rgb565.bmp", "ref", 8}, ReaderCase{"rgb555.bmp", "ref", 8}, ReaderCase{"pal.gif", "ref256", 0},
        ReaderCase{"interlaced.gif", "ref256", 0}, ReaderCase{"rgb.png", "ref", 0}, ReaderCase{"rgba.png", "refa", 0},
        ReaderCase{"rgba16.png", "refa", 1}, ReaderCase{"pal.png", "ref256", 0}, ReaderCase{"grey8.png", "refgrey", 0},
        ReaderCase{"grey1.png", "ref2", 0}, ReaderCase{"interlaced.png", "refa", 0}, ReaderCase{"lzw.tif", "ref", 0},
        ReaderCase{"none.tif", "ref", 0}, ReaderCase{"tiled.tif", "ref", 0}, ReaderCase{"grey16.tif", "refgrey", 1},
        // libtiff hands alpha back premultiplied: faint pixels lose colour precision.
        ReaderCase{"zip-alpha.tif", "refa", 40}, ReaderCase{"raw24.tga", "ref", 0}, ReaderCase{"rle32.tga", "refa", 0},
        ReaderCase{"grey.tga", "refgrey", 0}, ReaderCase{"pal-rle.tga", "ref256", 0}, ReaderCase{"rgb.pcx", "ref", 0},
        ReaderCase{"pal8.pcx", "ref256", 0}, ReaderCase{"mono.pcx", "ref2", 0}, ReaderCase{"pages.dcx", "ref", 0},
        ReaderCase{"rgb-raw.psd", "ref", 0}, ReaderCase{"rgb-rle.psd", "ref", 0}, ReaderCase{"grey.psd", "refgrey", 0}, ReaderCase{"rgb16.psd", "ref", 1}, ReaderCase{"mono.wbmp", "ref2", 0},
        ReaderCase{"ascii.ppm", "ref", 0}, ReaderCase{"binary.ppm", "ref", 0}, ReaderCase{"binary.pxm", "ref", 0},
        ReaderCase{"deep.ppm", "ref", 1}, ReaderCase{"ascii.pgm", "refgrey", 0}, ReaderCase{"ascii.pbm", "ref2", 0},
        ReaderCase{"binary.pbm", "ref2", 0}, ReaderCase{"lossless.jp2", "ref", 0}));

// Lossy files: our decode must equal ImageMagick's (both use the same codecs for JPEG).
class ReaderMatchesImageMagick : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderMatchesImageMagick, Decodes) {
  const ReaderCase& c = GetParam();
  const Image got = Load(Fixture(c.file));
  const Image ref = Reference(c.reference);
  EXPECT_GT(Psnr(got, ref), 24.0) << "far from the picture it was made from";
  if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
  const Image im = DecodeWithImageMagick(Fixture(c.file), false);
  EXPECT_LE(MaxDiff(got, im), c.maxDiff);
}

INSTANTIATE_TEST_SUITE_P(Lossy, ReaderMatchesImageMagick,
                         ::testing::Values(ReaderCase{"baseline.jpg", "ref", 0}, ReaderCase{"progressive.jpg", "ref", 0},
                                           ReaderCase{"grey.jpg", "refgrey", 0}, ReaderCase{"cmyk.jpg", "ref", 2},
                                           ReaderCase{"jpeg.tif", "ref", 2}, ReaderCase{"lossy.j2k", "ref", 2},
                                           ReaderCase{"cmyk.psd", "ref", 2}));

TEST(IconReader, PicksTheLargestEntryAndItsAlpha) {
  const Image ico = Load(Fixture("icon.ico"));
  EXPECT_EQ(ico.width(), 64);
  EXPECT_EQ(ico.height(), 64);
  EXPECT_TRUE(ico.hasAlpha());
  // A cursor is the same directory with type 2.
  std::vector<uint8_t> cur = FileBytes(Fixture("icon.ico"));
  cur[2] = 2;
  EXPECT_EQ(LoadFromMemory(cur, Format::Cur), ico);
}

TEST(IconReader, AppliesTheAndMaskOfABitmapEntry) {
  // One 2 x 2 24-bit entry: colour rows bottom-up, then the AND mask (1 = transparent).
  std::vector<uint8_t> d = {0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 22, 0, 0, 0};
  const size_t dirEnd = d.size();
  const uint8_t dib[] = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  d.insert(d.end(), std::begin(dib), std::end(dib));
  const uint8_t colours[] = {255, 0, 0, 0, 255, 0, 0, 0, /* bottom row: blue, green */
                             0, 0, 255, 255, 255, 255, 0, 0 /* top row: red, white */};
  d.insert(d.end(), std::begin(colours), std::end(colours));
  const uint8_t mask[] = {0x40, 0, 0, 0, /* bottom row: second pixel clear */ 0x00, 0, 0, 0};
  d.insert(d.end(), std::begin(mask), std::end(mask));
  const uint32_t size = uint32_t(d.size() - dirEnd);
  d[14] = uint8_t(size), d[15] = uint8_t(size >> 8);
  d[18] = uint8_t(dirEnd);
  const Image img = LoadFromMemory(d, Format::Ico);
  ASSERT_EQ(img.width(), 2);
  ASSERT_EQ(img.height(), 2);
  EXPECT_TRUE(img.hasAlpha());
  EXPECT_EQ(img.pixel(0, 0)[2], 255);  // red, top-left
  EXPECT_EQ(img.pixel(0, 0)[3], 255);
  EXPECT_EQ(img.pixel(0, 1)[0], 255);  // blue, bottom-left
  EXPECT_EQ(img.pixel(1, 1)[3], 0);    // masked
}

TEST(BmpReader, ReadsTopDownRows) {
  // The bottom-up fixture with a negative height and its rows reversed is the same picture.
  std::vector<uint8_t> d = FileBytes(Fixture("rgb24.bmp"));
  const size_t off = d[10] | d[11] << 8, stride = (61 * 3 + 3) / 4 * 4;
  std::vector<uint8_t> flipped(d.begin(), d.begin() + long(off));
  for (int y = 36; y >= 0; --y) flipped.insert(flipped.end(), d.begin() + long(off + stride * size_t(y)), d.begin() + long(off + stride * size_t(y + 1)));
  const int32_t h = -37;
  std::memcpy(&flipped[22], &h, 4);
  EXPECT_EQ(LoadFromMemory(flipped, Format::Bmp), Load(Fixture("rgb24.bmp")));
}

TEST(TgaReader, ReadsBothOrigins) {
  // A 2 x 2 raw 24-bit TGA, first stored top-left first, then bottom-left first.
  auto make = [](bool topOrigin) {
    std::vector<uint8_t> d = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, uint8_t(topOrigin ? 0x20 : 0)};
    const uint8_t top[] = {0, 0, 255, 0, 255, 0}, bottom[] = {255, 0, 0, 255, 255, 255};
    const uint8_t* rows[2] = {topOrigin ? top : bottom, topOrigin ? bottom : top};
    for (auto r : rows) d.insert(d.end(), r, r + 6);
    return d;
  };
  const Image a = LoadFromMemory(make(true), Format::Tga), b = LoadFromMemory(make(false), Format::Tga);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.pixel(0, 0)[2], 255);  // red at the top left
  EXPECT_EQ(a.pixel(1, 1)[0], 255);
}

TEST(CameraRawReader, ShowsTheLargestEmbeddedJpeg) {
  Image big(100, 60);
  std::vector<uint8_t> raw(5000, 0x55);  // stand-in for sensor data and TIFF structures
  std::vector<uint8_t> small = FileBytes(Fixture("baseline.jpg"));
  std::vector<uint8_t> large = EncodeJpeg(big, 90, false);
  raw.insert(raw.end(), small.begin(), small.end());
  raw.insert(raw.end(), 3000, 0xff);
  raw.insert(raw.end(), large.begin(), large.end());
  raw.insert(raw.end(), {0xff, 0xd8, 0xff, 0xc3, 0, 11, 8, 0x10, 0, 0x10, 0});  // lossless frame: not a preview
  raw.insert(raw.end(), 100, 0);
  const Image img = LoadFromMemory(raw, Format::CameraRaw);
  EXPECT_EQ(img.width(), 100);
  EXPECT_EQ(img.height(), 60);

  const std::vector<uint8_t> none(4000, 0x11);
  try {
    LoadFromMemory(none, Format::CameraRaw, "shot.nef");
    FAIL() << "no preview must be an error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("shot.nef"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("preview"), std::string::npos);
  }
}

TEST(Extensions, ChooseTheReaderWhateverTheCase) {
  for (const char* e : {".JPG", "jpeg", ".Jpe", ".jif", ".tif", ".TIFF", ".pxm", ".dib", ".rle", ".j2c", ".jpc",
                        ".cr2", ".NEF", ".dcx", ".wbmp"}) {
    EXPECT_TRUE(CanRead(e)) << e;
  }
  for (const char* e : {".pdf", ".txt", "", ".avi"}) EXPECT_FALSE(CanRead(e)) << e;
#ifndef _WIN32
  EXPECT_FALSE(CanRead(".wmf"));  // GDI renders metafiles: Windows builds only
  EXPECT_FALSE(CanRead(".wdp"));
#endif
  EXPECT_EQ(FormatFromExtension("C:\\Pictures\\My.Photo.JPEG"), Format::Jpeg);
  EXPECT_EQ(FormatFromExtension("/a.b/noext"), Format::Unknown);
  const auto list = ReadableExtensions();
  EXPECT_NE(std::find(list.begin(), list.end(), ".psd"), list.end());
  for (const auto& e : list) EXPECT_TRUE(CanRead(e)) << e;
}

TEST(LoadErrors, NameTheFileAndTheReason) {
  TempDir dir;
  const std::string empty = dir / "empty.png";
  WriteBytes(empty, {});
  const struct {
    std::string path, reason;
  } cases[] = {
      {dir / "missing.jpg", "does not exist"},
      {empty, "empty"},
      {dir / "notes.txt", "not a picture format"},
  };
  for (const auto& c : cases) {
    try {
      Load(c.path);
      ADD_FAILURE() << c.path;
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
  }
}

TEST(RealPhotos, DecodeLikeImageMagick) {
  const auto photos = InstalledPhotos();
  if (photos.empty() || !HaveImageMagick()) GTEST_SKIP() << "wallpaper packages or ImageMagick not installed";
  for (const auto& p : photos) {
    const Image ours = Load(p);
    const Image im = DecodeWithImageMagick(p, false);
    EXPECT_EQ(MaxDiff(ours, im), 0) << p;
  }
  const std::string png = "/usr/share/backgrounds/warty-final-ubuntu.png";
  if (std::filesystem::exists(png)) {
    EXPECT_EQ(MaxDiff(Load(png), DecodeWithImageMagick(png, false)), 0);
  }
}

}  // namespace
}  // namespace zel::img::test

namespace zel::img::test {
namespace {

// A JPEG that lacks only its end marker has every pixel; one cut inside its data has not.
TEST(JpegReader, AcceptsAMissingEndMarkerButNotMissingData) {
  for (const char* f : {"baseline.jpg", "progressive.jpg", "grey.jpg"}) {
    const std::vector<uint8_t> full = FileBytes(Fixture(f));
    const std::span<const uint8_t> noEnd(full.data(), full.size() - 2);
    EXPECT_EQ(LoadFromMemory(noEnd, Format::Jpeg), Load(Fixture(f))) << f;
    const std::span<const uint8_t> cut(full.data(), full.size() - 60);
    EXPECT_THROW(LoadFromMemory(cut, Format::Jpeg), Error) << f;
  }
}

}  // namespace
}  // namespace zel::img::test

namespace zel::img::test {
namespace {

// 16 colours in four bit planes, the layout of EGA-era PCX files, and 16-bit TGA pixels: both
// made here byte by byte, as no tool at hand writes them.
TEST(PcxReader, ReadsFourBitPlanes) {
  std::vector<uint8_t> d(128, 0);
  d[0] = 10, d[1] = 5, d[2] = 0, d[3] = 1;  // uncompressed, 1 bit per plane
  d[8] = 7, d[10] = 1;                      // 8 x 2 pixels
  for (int i = 0; i < 16; ++i) d[size_t(16 + i * 3)] = uint8_t(i * 16), d[size_t(17 + i * 3)] = uint8_t(255 - i * 16), d[size_t(18 + i * 3)] = uint8_t(i);
  d[65] = 4, d[66] = 2;  // 4 planes of 2 bytes per line
  for (int y = 0; y < 2; ++y)
    for (int p = 0; p < 4; ++p) {
      uint8_t bits = 0;
      for (int x = 0; x < 8; ++x) bits |= uint8_t((((x + 8 * y) >> p) & 1) << (7 - x));
      d.push_back(bits);
      d.push_back(0);
    }
  const Image img = LoadFromMemory(d, Format::Pcx);
  ASSERT_EQ(img.width(), 8);
  ASSERT_EQ(img.height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 8; ++x) {
      const int i = x + 8 * y;
      EXPECT_EQ(img.pixel(x, y)[2], i * 16) << i;
      EXPECT_EQ(img.pixel(x, y)[1], 255 - i * 16) << i;
      EXPECT_EQ(img.pixel(x, y)[0], i) << i;
    }
}

TEST(TgaReader, ReadsSixteenBitPixels) {
  // 3 x 1, top-left origin, one alpha bit: red (opaque), blue (clear), white (opaque).
  std::vector<uint8_t> d = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 1, 0, 16, 0x21};
  for (uint16_t v : {uint16_t(0xfc00), uint16_t(0x001f), uint16_t(0xffff)}) d.push_back(uint8_t(v)), d.push_back(uint8_t(v >> 8));
  const Image img = LoadFromMemory(d, Format::Tga);
  ASSERT_EQ(img.width(), 3);
  EXPECT_TRUE(img.hasAlpha());
  EXPECT_EQ(img.pixel(0, 0)[2], 255);
  EXPECT_EQ(img.pixel(0, 0)[0], 0);
  EXPECT_EQ(img.pixel(0, 0)[3], 255);
  EXPECT_EQ(img.pixel(1, 0)[3], 0);
  EXPECT_EQ(img.pixel(2, 0)[1], 255);
}

}  // namespace
}  // namespace zel::img::test
