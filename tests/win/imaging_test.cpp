// The image engine in the Windows build, under Wine: every writer and reader round trip,
// files replaced through MoveFileEx, metafiles drawn by GDI, HD Photo through WIC.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "imaging/history.h"
#include "imaging/io.h"
#include "imaging/jpeg_fit.h"
#include "imaging/jpeg_quality.h"
#include "imaging/ops.h"
#include "imaging/thumbnail.h"

namespace zel::img {
namespace {

Image Pattern(int w, int h, bool alpha) {
  Image img(w, h, alpha);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = img.pixel(x, y);
      p[0] = uint8_t(x * 7), p[1] = uint8_t(y * 11), p[2] = uint8_t((x ^ y) * 5), p[3] = alpha ? uint8_t(x * 4 + 3) : 255;
    }
  return img;
}

std::string TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  std::string dir = std::string(base) + "zel-imaging-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "\\";
}

// The committed fixtures, reached through Wine's Z: drive when the sources are on this machine.
std::string FixtureFolder() {
  std::string src = __FILE__;
  for (char& c : src) c = c == '/' ? '\\' : c;
  const size_t at = src.rfind("\\tests\\win\\");
  if (at == std::string::npos) return "";
  std::string dir = src.substr(0, at) + "\\tests\\data\\imaging\\";
  if (dir[0] == '\\') dir = "Z:" + dir;
  return GetFileAttributesA((dir + "rgb24.bmp").c_str()) == INVALID_FILE_ATTRIBUTES ? "" : dir;
}

TEST(ImagingOnWindows, EveryWriterRoundTripsThroughItsReader) {
  const std::string dir = TempFolder();
  const Image opaque = Pattern(37, 21, false), clear = Pattern(37, 21, true);
  for (const char* ext : {".bmp", ".jpg", ".png", ".gif", ".tif", ".tga", ".psd", ".pdf"}) {
    const std::string path = dir + "round" + ext;
    Save(opaque, path, SaveOptions{95, true});
    Save(clear, path);  // replaces the file just written
    if (std::string(ext) == ".pdf") {
      const std::vector<uint8_t> pdf = ReadFileBytes(path);
      EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 5), "%PDF-");
      continue;
    }
    const Image back = Load(path);
    EXPECT_EQ(back.width(), 37) << ext;
    EXPECT_EQ(back.height(), 21) << ext;
    if (std::string(ext) == ".png" || std::string(ext) == ".tga" || std::string(ext) == ".tif") EXPECT_EQ(back, clear) << ext;
    DeleteFileA(path.c_str());
  }
  // The wallpaper's path: JPEG streamed into a bottom-up BMP, replacing the previous one.
  Save(Pattern(300, 1200, false), dir + "wall.jpg", SaveOptions{90, true});
  for (int i = 0; i < 2; ++i) {
    const Size size = ConvertFile(dir + "wall.jpg", dir + "wall.bmp");
    EXPECT_EQ(size.height, 1200);
  }
  EXPECT_EQ(Load(dir + "wall.bmp"), Load(dir + "wall.jpg"));
  DeleteFileA((dir + "wall.jpg").c_str());
  DeleteFileA((dir + "wall.bmp").c_str());
  // Only the files we wrote are left: no temporary files behind.
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*.tmp").c_str(), &fd);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  RemoveDirectoryA(dir.c_str());
}

TEST(ImagingOnWindows, ReadsTheFixturesOfEveryFormat) {
  const std::string dir = FixtureFolder();
  if (dir.empty()) GTEST_SKIP() << "test data not reachable from here";
  for (const char* f : {"rgb24.bmp", "rle8.bmp", "icon.ico", "pal.gif", "progressive.jpg", "cmyk.jpg", "interlaced.png",
                        "lzw.tif", "jpeg.tif", "rle32.tga", "pal8.pcx", "pages.dcx", "rgb-rle.psd", "cmyk.psd",
                        "mono.wbmp", "binary.pxm", "ascii.pgm", "lossless.jp2", "lossy.j2k"}) {
    const Image img = Load(dir + f);
    EXPECT_FALSE(img.empty()) << f;
    EXPECT_EQ(LoadThumbnail(dir + f, 16).width(), std::string(f) == "icon.ico" ? 16 : 16) << f;
  }
  EXPECT_EQ(Load(dir + "rgb24.bmp"), Load(dir + "lzw.tif"));
  EXPECT_EQ(EstimateJpegQualityOfFile(dir + "baseline.jpg"), 85);
}

TEST(ImagingOnWindows, OperationsAndTheSizeFit) {
  Image img = Pattern(300, 200, false);
  History h;
  CropWithHistory(h, img, {10, 10, 200, 100});
  ShadowWithHistory(h, img);
  EXPECT_EQ(h.UndoCaptions(), (std::vector<std::string>{kCaptionShadow, kCaptionCrop}));
  EXPECT_EQ(Resample(img, 50, 40, Filter::Lanczos3).width(), 50);
  const FitResult r = FitJpeg(Pattern(800, 600, false), FitParams{400, 300, 8000, 80});
  EXPECT_TRUE(!r.fit || r.bytes.size() <= 8000);
}

// An EMF drawn with GDI: a red rectangle on white, 100 x 50 pixels of frame.
std::string MakeEmf(const std::string& path) {
  HDC screen = GetDC(nullptr);
  const int pxW = GetDeviceCaps(screen, HORZRES), mmW = GetDeviceCaps(screen, HORZSIZE);
  const int pxH = GetDeviceCaps(screen, VERTRES), mmH = GetDeviceCaps(screen, VERTSIZE);
  ReleaseDC(nullptr, screen);
  RECT frame{0, 0, MulDiv(100, mmW * 100, pxW), MulDiv(50, mmH * 100, pxH)};
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{10, 10, 60, 40};
  FillRect(dc, &r, red);
  DeleteObject(red);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));
  return path;
}

TEST(ImagingOnWindows, DrawsEnhancedMetafiles) {
  const std::string dir = TempFolder();
  const Image img = Load(MakeEmf(dir + "shape.emf"));
  EXPECT_NEAR(img.width(), 100, 2);
  EXPECT_NEAR(img.height(), 50, 2);
  const uint8_t* inside = img.pixel(30, 25);
  EXPECT_EQ(inside[2], 255);
  EXPECT_EQ(inside[1], 0);
  const uint8_t* outside = img.pixel(90, 45);
  EXPECT_EQ(outside[1], 255);
  DeleteFileA((dir + "shape.emf").c_str());
  RemoveDirectoryA(dir.c_str());
}

TEST(ImagingOnWindows, DrawsPlaceableWindowsMetafiles) {
  // A WMF recorded by GDI, behind an Aldus placeable header of 2 x 1 inches.
  HDC dc = CreateMetaFileA(nullptr);
  SetWindowExtEx(dc, 2000, 1000, nullptr);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT r{0, 0, 1000, 1000};
  FillRect(dc, &r, blue);
  DeleteObject(blue);
  HMETAFILE wmf = CloseMetaFile(dc);
  const UINT size = GetMetaFileBitsEx(wmf, 0, nullptr);
  std::vector<uint8_t> body(size);
  GetMetaFileBitsEx(wmf, size, body.data());
  DeleteMetaFile(wmf);
  std::vector<uint8_t> file = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0xD0, 0x07, 0xE8, 0x03, 0xE8, 0x03, 0, 0, 0, 0, 0, 0};
  uint16_t sum = 0;
  for (int i = 0; i < 20; i += 2) sum ^= uint16_t(file[size_t(i)] | file[size_t(i) + 1] << 8);
  file[20] = uint8_t(sum), file[21] = uint8_t(sum >> 8);
  file.insert(file.end(), body.begin(), body.end());
  const Image img = LoadFromMemory(file, Format::Wmf, "shape.wmf");
  EXPECT_EQ(img.width(), 192);  // 2 inches at 96 dpi
  EXPECT_EQ(img.height(), 96);
  EXPECT_EQ(img.pixel(20, 50)[0], 255);   // blue left half
  EXPECT_EQ(img.pixel(170, 50)[1], 255);  // white right half
}

TEST(ImagingOnWindows, HdPhotoGivesAPictureOrAClearError) {
  // Wine may lack an HD Photo decoder: either way the answer is a picture or an Error.
  const std::vector<uint8_t> notReally = {'I', 'I', 0xBC, 0x01, 8, 0, 0, 0, 0, 0};
  try {
    LoadFromMemory(notReally, Format::HdPhoto, "x.wdp");
    ADD_FAILURE() << "ten bytes are no picture";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("x.wdp"), std::string::npos);
  }
  EXPECT_TRUE(CanRead(".wdp"));
  EXPECT_TRUE(CanRead(".EMF"));
}

}  // namespace
}  // namespace zel::img
