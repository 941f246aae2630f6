// Every writer: our own reader and ImageMagick must read back what we wrote.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/io.h"
#include "imaging/ops.h"
#include "imaging_test_util.h"

namespace zel::img::test {
namespace {

struct WriterCase {
  const char* ext;
  bool lossless;     // our reader gets back the very pixels
  bool keepsAlpha;   // transparency survives
  bool imCanRead;    // ImageMagick decodes it (PDF goes through poppler instead)
};

void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.ext; }

class WriterRoundTrip : public ::testing::TestWithParam<WriterCase> {};

TEST_P(WriterRoundTrip, OpaquePicture) {
  const WriterCase& c = GetParam();
  TempDir dir;
  const std::string path = dir / (std::string("out") + c.ext);
  const Image src = Reference("ref");  // a real photo crop, odd width
  SaveOptions o;
  o.jpegQuality = 95;
  Save(src, path, o);
  if (std::string(c.ext) != ".pdf") {
    const Image back = Load(path);
    if (c.lossless) {
      EXPECT_EQ(MaxDiff(back, src), 0);
    } else {
      EXPECT_GT(Psnr(back, src), 30.0);
    }
    EXPECT_FALSE(back.hasAlpha());
  }
  if (!c.imCanRead) return;
  if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
  const Image im = DecodeWithImageMagick(path, false);
  ASSERT_EQ(im.width(), src.width());
  if (c.lossless) {
    EXPECT_EQ(MaxDiff(im, src), 0);
  } else {
    EXPECT_GT(Psnr(im, src), 30.0);
  }
}

TEST_P(WriterRoundTrip, TransparentPicture) {
  const WriterCase& c = GetParam();
  TempDir dir;
  const std::string path = dir / (std::string("out") + c.ext);
  Image src = Reference("refa");
  if (std::string(c.ext) == ".gif") {
    // GIF holds one clear colour: make the alpha binary.
    for (size_t i = 3; i < src.byteSize(); i += 4) src.data()[i] = src.data()[i] < 128 ? 0 : 255;
  }
  Save(src, path);
  if (std::string(c.ext) == ".pdf") return;
  const Image back = Load(path);
  if (c.keepsAlpha) {
    EXPECT_TRUE(back.hasAlpha());
    if (c.lossless) {
      EXPECT_LE(MaxPremultipliedDiff(back, src), 1);
    }
  } else {
    // Flattened onto white: a fully clear pixel comes back white.
    EXPECT_FALSE(back.hasAlpha());
    const Image flat = Flatten(src);
    EXPECT_GE(Psnr(back, flat), c.lossless ? 99.0 : 30.0);
  }
  if (!c.imCanRead || !c.keepsAlpha || !HaveImageMagick()) return;
  const Image im = DecodeWithImageMagick(path, true);
  EXPECT_LE(MaxPremultipliedDiff(im, src), c.lossless ? 1 : 255);
}

INSTANTIATE_TEST_SUITE_P(AllWriters, WriterRoundTrip,
                         ::testing::Values(WriterCase{".bmp", true, false, true}, WriterCase{".jpg", false, false, true},
                                           WriterCase{".jpeg", false, false, true}, WriterCase{".png", true, true, true},
                                           WriterCase{".gif", false, true, true}, WriterCase{".tif", true, true, true},
                                           WriterCase{".tiff", true, true, true}, WriterCase{".tga", true, true, true},
                                           WriterCase{".psd", true, true, true}, WriterCase{".pdf", false, false, false}));

TEST(GifWriter, KeepsTheExactColoursOfSmallPalettes) {
  TempDir dir;
  const Image src = Reference("ref256");
  Save(src, dir / "p.gif");
  EXPECT_EQ(MaxDiff(Load(dir / "p.gif"), src), 0);
}

TEST(GifWriter, QuantisesPhotosWell) {
  TempDir dir;
  const Image src = Noisy(200, 120, 7);  // thousands of colours
  Save(src, dir / "n.gif");
  EXPECT_GT(Psnr(Load(dir / "n.gif"), src), 27.0);
}

TEST(PngWriter, WritesPalettesAndDeepColourLosslessly) {
  TempDir dir;
  for (const Image& src : {Reference("ref2"), Reference("ref16"), Reference("ref256"), Noisy(64, 48, 3), Noisy(64, 48, 4, true)}) {
    Save(src, dir / "x.png");
    EXPECT_EQ(Load(dir / "x.png"), src);
  }
}

TEST(BmpWriter, WritesPlain24BitBottomUp) {
  TempDir dir;
  Image src(3, 2, true);
  Fill(src, Colour{10, 20, 30});
  src.pixel(0, 0)[3] = 0;  // clear: written as white
  src.setHasAlpha(true);
  Save(src, dir / "w.bmp");
  const std::vector<uint8_t> b = FileBytes(dir / "w.bmp");
  ASSERT_EQ(b.size(), 54u + 2 * 12);
  auto le32 = [&](size_t at) { return int32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24); };
  EXPECT_EQ(le32(14), 40);        // BITMAPINFOHEADER
  EXPECT_EQ(le32(22), 2);         // positive height: bottom-up
  EXPECT_EQ(b[28], 24);           // bits per pixel
  EXPECT_EQ(le32(30), 0);         // BI_RGB
  // The top row is stored last; its first pixel is the clear one, now white.
  EXPECT_EQ(b[54 + 12], 255);
  EXPECT_EQ(b[54], 30);  // bottom row, blue byte first
}

TEST(PdfWriter, OnePageAtThePictureSizeThatPopplerRenders) {
  if (!HaveTool("/usr/bin/pdfinfo") || !HaveTool("/usr/bin/pdftoppm")) GTEST_SKIP() << "poppler-utils not installed";
  TempDir dir;
  const Image src = Reference("ref");
  Save(src, dir / "p.pdf");
  bool ok = false;
  const std::string info = RunCommand("/usr/bin/pdfinfo '" + (dir / "p.pdf") + "' 2>&1", &ok);
  ASSERT_TRUE(ok) << info;
  EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       61 x 37 pts"), std::string::npos) << info;
  EXPECT_EQ(info.find("Syntax"), std::string::npos) << info;
  // At 72 dpi one point is one pixel: the page renders to the picture.
  RunCommand("/usr/bin/pdftoppm -r 72 -singlefile -png '" + (dir / "p.pdf") + "' '" + (dir / "render") + "'", &ok);
  ASSERT_TRUE(ok);
  const Image render = Load(dir / "render.png");
  ASSERT_EQ(render.width(), 61);
  ASSERT_EQ(render.height(), 37);
  // Poppler places the image with sub-pixel smoothing, so the match is close, not exact (a
  // wrong predictor or colour order gives far below 20 dB).
  EXPECT_GT(Psnr(render, src), 28.0);
  // Debian's ImageMagick policy forbids reading PDF, so ImageMagick is not asked here.
}

TEST(JpegWriter, ProgressiveAndQualityReachTheFile) {
  const Image src = Noisy(80, 60);
  const auto base = EncodeJpeg(src, 50, false), prog = EncodeJpeg(src, 50, true), high = EncodeJpeg(src, 95, false);
  auto hasMarker = [](const std::vector<uint8_t>& d, uint8_t m) {
    for (size_t i = 0; i + 1 < d.size(); ++i)
      if (d[i] == 0xff && d[i + 1] == m) return true;
    return false;
  };
  EXPECT_TRUE(hasMarker(prog, 0xc2));
  EXPECT_FALSE(hasMarker(base, 0xc2));
  EXPECT_GT(high.size(), base.size());
  EXPECT_EQ(LoadFromMemory(prog, Format::Jpeg).width(), 80);
}

TEST(SaveReplacing, KeepsTheOldFileWhenTheWriteFails) {
  TempDir dir;
  const std::string path = dir / "keep.tga";
  Save(Reference("ref"), path);
  const auto before = FileBytes(path);
  // A picture TGA cannot hold: the encoder fails before anything is replaced.
  EXPECT_THROW(Save(Image(70000 / 2, 2), dir / "keep.psd"), Error);
  // A target that is a folder: the rename fails; the error says so and no temporary file stays.
  std::filesystem::create_directory(dir / "folder.png");
  std::filesystem::create_directory(dir / "folder.png/inside");
  EXPECT_THROW(Save(Reference("ref"), dir / "folder.png"), Error);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.png/inside"));
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
  EXPECT_EQ(FileBytes(path), before);
  // Replacing an existing file works and leaves only the new one.
  Save(Noisy(10, 10), path);
  EXPECT_EQ(Load(path).width(), 10);
  EXPECT_THROW(Save(Reference("ref"), dir / "no/such/folder/x.png"), Error);
  EXPECT_THROW(Save(Reference("ref"), dir / "x.xyz"), Error);
  EXPECT_THROW(Save(Image(), dir / "empty.png"), Error);
}

}  // namespace
}  // namespace zel::img::test

namespace zel::img::test {
namespace {

TEST(ConvertFile, StreamsJpegToBmpLikeLoadAndSave) {
  TempDir dir;
  const Size size = ConvertFile(Fixture("cmyk.jpg"), dir / "a.bmp");
  EXPECT_EQ(size.width, 61);
  EXPECT_EQ(size.height, 37);
  Save(Load(Fixture("cmyk.jpg")), dir / "b.bmp");
  EXPECT_EQ(FileBytes(dir / "a.bmp"), FileBytes(dir / "b.bmp"));
  // A tall picture is written in several blocks of rows, the last one partial.
  WriteBytes(dir / "tall.jpg", EncodeJpeg(Noisy(300, 4001), 90, true));
  EXPECT_EQ(ConvertFile(dir / "tall.jpg", dir / "tall.bmp").height, 4001);
  Save(Load(dir / "tall.jpg"), dir / "tall2.bmp");
  EXPECT_EQ(FileBytes(dir / "tall.bmp"), FileBytes(dir / "tall2.bmp"));
  // Other pairs go through Load and Save.
  EXPECT_EQ(ConvertFile(Fixture("rgb.png"), dir / "c.tga").width, 61);
  EXPECT_EQ(Load(dir / "c.tga"), Load(Fixture("rgb.png")));
}

TEST(ConvertFile, ABrokenSourceLeavesTheTargetAlone) {
  TempDir dir;
  Save(Reference("ref"), dir / "wall.bmp");
  const auto before = FileBytes(dir / "wall.bmp");
  std::vector<uint8_t> cut = FileBytes(Fixture("progressive.jpg"));
  cut.resize(cut.size() / 2);
  WriteBytes(dir / "cut.jpg", cut);
  try {
    ConvertFile(dir / "cut.jpg", dir / "wall.bmp");
    FAIL() << "a truncated JPEG must not convert";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("cut.jpg"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("truncated"), std::string::npos) << e.what();
  }
  EXPECT_EQ(FileBytes(dir / "wall.bmp"), before);
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 2);
  EXPECT_THROW(ConvertFile(dir / "missing.jpg", dir / "x.bmp"), Error);
}

}  // namespace
}  // namespace zel::img::test
