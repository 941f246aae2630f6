// Helpers shared by the image engine's tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "imaging/image.h"
#include "imaging/io.h"

namespace zel::img::test {

inline std::string Fixture(const std::string& name) { return std::string(ZEL_TEST_DATA) + "/imaging/" + name; }

inline std::vector<uint8_t> FileBytes(const std::string& path) { return ReadFileBytes(path); }

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& b) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

// Raw RGBA (as ImageMagick's "rgba:" writes it) to an Image.
inline Image FromRgba(const std::vector<uint8_t>& rgba, int w, int h, bool alpha) {
  Image img(w, h, alpha);
  EXPECT_EQ(rgba.size(), size_t(w) * size_t(h) * 4);
  for (size_t i = 0; i + 3 < rgba.size() && i < img.byteSize(); i += 4) {
    img.data()[i] = rgba[i + 2], img.data()[i + 1] = rgba[i + 1], img.data()[i + 2] = rgba[i];
    img.data()[i + 3] = alpha ? rgba[i + 3] : 255;
  }
  return img;
}

// The fixtures' reference pictures are 61 x 37.
inline Image Reference(const std::string& name) {
  return FromRgba(FileBytes(Fixture(name + ".rgba")), 61, 37, name == "refa");
}

// Largest difference of any channel (alpha included when either has alpha).
inline int MaxDiff(const Image& a, const Image& b) {
  if (a.width() != b.width() || a.height() != b.height()) return 1000;
  int m = 0;
  const bool alpha = a.hasAlpha() || b.hasAlpha();
  for (size_t i = 0; i < a.byteSize(); ++i) {
    if (i % 4 == 3 && !alpha) continue;
    // Colour under a fully transparent pixel means nothing.
    if (alpha && i % 4 != 3 && a.data()[i - i % 4 + 3] == 0 && b.data()[i - i % 4 + 3] == 0) continue;
    m = std::max(m, std::abs(int(a.data()[i]) - int(b.data()[i])));
  }
  return m;
}

// Largest difference of alpha-weighted colour or of alpha: what shows on screen.
inline int MaxPremultipliedDiff(const Image& a, const Image& b) {
  if (a.width() != b.width() || a.height() != b.height()) return 1000;
  int m = 0;
  for (size_t i = 0; i < a.byteSize(); i += 4) {
    const int aa = a.data()[i + 3], ba = b.data()[i + 3];
    m = std::max(m, std::abs(aa - ba));
    for (int c = 0; c < 3; ++c)
      m = std::max(m, std::abs(a.data()[i + size_t(c)] * aa - b.data()[i + size_t(c)] * ba) / 255);
  }
  return m;
}

inline double Psnr(const Image& a, const Image& b) {
  if (a.width() != b.width() || a.height() != b.height()) return 0;
  double se = 0;
  size_t n = 0;
  for (size_t i = 0; i < a.byteSize(); ++i) {
    if (i % 4 == 3) continue;
    const double d = double(a.data()[i]) - double(b.data()[i]);
    se += d * d;
    ++n;
  }
  return se == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / (se / double(n)));
}

inline bool HaveTool(const std::string& path) { return std::filesystem::exists(path); }
inline bool HaveImageMagick() { return HaveTool("/usr/bin/convert") && HaveTool("/usr/bin/identify"); }

// Runs a shell command and returns its standard output ("" and ok=false on failure).
inline std::string RunCommand(const std::string& cmd, bool* ok = nullptr) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) {
    if (ok) *ok = false;
    return out;
  }
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int rc = pclose(p);
  if (ok) *ok = rc == 0;
  return out;
}

// ImageMagick's decode of a file as an Image (first frame).
inline Image DecodeWithImageMagick(const std::string& path, bool alpha) {
  bool ok = false;
  const std::string dims = RunCommand("/usr/bin/identify -format '%w %h\\n' '" + path + "[0]' 2>/dev/null", &ok);
  int w = 0, h = 0;
  if (!ok || std::sscanf(dims.c_str(), "%d %d", &w, &h) != 2) return {};
  const std::filesystem::path tmp = std::filesystem::temp_directory_path() / ("zel-im-" + std::to_string(::getpid()) + ".rgba");
  RunCommand("/usr/bin/convert '" + path + "[0]' -depth 8 'rgba:" + tmp.string() + "' 2>/dev/null", &ok);
  if (!ok) return {};
  Image img = FromRgba(FileBytes(tmp.string()), w, h, alpha);
  std::filesystem::remove(tmp);
  return img;
}

// A folder that is removed with the test.
class TempDir {
 public:
  TempDir() {
    static int n = 0;
    path_ = std::filesystem::temp_directory_path() / ("zel-img-test-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A photo-like test picture: smooth gradients plus deterministic noise (so it does not compress
// to nothing) of the given size.
inline Image Noisy(int w, int h, uint32_t seed = 1, bool alpha = false) {
  Image img(w, h, alpha);
  uint32_t s = seed;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      uint8_t* p = img.pixel(x, y);
      const int n = int(s >> 27);
      p[0] = uint8_t((x * 255 / std::max(1, w - 1) + n) & 255);
      p[1] = uint8_t((y * 255 / std::max(1, h - 1) + n) & 255);
      p[2] = uint8_t(((x + y) * 3 + n * 3) & 255);
      p[3] = alpha ? uint8_t(x * 255 / std::max(1, w - 1)) : 255;
    }
  return img;
}

// Real photos from Debian's wallpaper packages (installed by scripts/setup-imaging.sh).
inline std::vector<std::string> InstalledPhotos() {
  std::vector<std::string> out;
  for (const char* p : {"/usr/share/backgrounds/Painting-Colors_by__herobrine7gamer.jpg",
                        "/usr/share/backgrounds/Kleiber_by_Lukas_Baubkus.jpg",
                        "/usr/share/backgrounds/Fossa_by_Jasper_Roks.jpg",
                        "/usr/share/backgrounds/Infinite-Sea_by_Aury88.jpg"})
    if (std::filesystem::exists(p)) out.push_back(p);
  return out;
}

}  // namespace zel::img::test
