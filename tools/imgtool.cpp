// imgtool: the image engine on the command line, for checking files and for the benchmark.
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "imaging/image.h"
#include "imaging/io.h"
#include "imaging/jpeg_fit.h"
#include "imaging/jpeg_quality.h"
#include "imaging/thumbnail.h"

namespace {

using namespace zel::img;

int Usage() {
  std::fputs(
      "usage:\n"
      "  imgtool info IN                                   width and height\n"
      "  imgtool convert IN OUT [--quality Q] [--progressive]\n"
      "  imgtool thumb IN OUT SIZE                         longer side at most SIZE\n"
      "  imgtool thumbs SIZE OUTDIR IN...                  one thumbnail per file, OUTDIR/<n>.bmp\n"
      "  imgtool quality IN                                JPEG quality estimate\n"
      "  imgtool fit IN OUT W H MAXBYTES [--quality Q] [--linear]\n",
      stderr);
  return 2;
}

int ParseInt(const char* s, const char* what) {
  char* end = nullptr;
  long v = std::strtol(s, &end, 10);
  if (!end || *end || end == s || v < 0 || v > 2000000000L) throw Error(std::string("invalid ") + what + ": " + s);
  return int(v);
}

int Run(std::vector<std::string> a) {
  if (a.empty()) return Usage();
  const std::string cmd = a[0];
  if (cmd == "info" && a.size() == 2) {
    Image img = Load(a[1]);
    std::printf("%d %d%s\n", img.width(), img.height(), img.hasAlpha() ? " alpha" : "");
    return 0;
  }
  if (cmd == "convert" && a.size() >= 3) {
    SaveOptions o;
    for (size_t i = 3; i < a.size(); ++i) {
      if (a[i] == "--progressive") o.progressive = true;
      else if (a[i] == "--quality" && i + 1 < a.size()) o.jpegQuality = ParseInt(a[++i].c_str(), "quality");
      else return Usage();
    }
    if (o.jpegQuality < 1 || o.jpegQuality > 100) throw Error("the quality must be 1 to 100");
    ConvertFile(a[1], a[2], o);
    return 0;
  }
  if (cmd == "thumb" && a.size() == 4) {
    Save(LoadThumbnail(a[1], ParseInt(a[3].c_str(), "size")), a[2]);
    return 0;
  }
  if (cmd == "thumbs" && a.size() >= 4) {
    const int size = ParseInt(a[1].c_str(), "size");
    int failures = 0;
    for (size_t i = 3; i < a.size(); ++i) {
      try {
        Save(LoadThumbnail(a[i], size), a[2] + "/" + std::to_string(i - 3) + ".bmp");
      } catch (const Error& e) {
        std::fprintf(stderr, "imgtool: %s\n", e.what());
        ++failures;
      }
    }
    return failures ? 1 : 0;
  }
  if (cmd == "quality" && a.size() == 2) {
    std::printf("%d\n", EstimateJpegQualityOfFile(a[1]));
    return 0;
  }
  if (cmd == "fit" && a.size() >= 6) {
    FitParams p;
    p.width = ParseInt(a[3].c_str(), "width");
    p.height = ParseInt(a[4].c_str(), "height");
    p.maxBytes = uint64_t(ParseInt(a[5].c_str(), "byte limit"));
    bool linear = false;
    for (size_t i = 6; i < a.size(); ++i) {
      if (a[i] == "--linear") linear = true;
      else if (a[i] == "--quality" && i + 1 < a.size()) p.startQuality = ParseInt(a[++i].c_str(), "quality");
      else return Usage();
    }
    Image img = Load(a[1]);
    FitResult r = linear ? FitJpegLinear(img, p) : FitJpeg(img, p);
    if (!r.fit) {
      std::fprintf(stderr, "imgtool: the picture does not fit in %llu bytes even at quality %d (%d encodes)\n",
                   (unsigned long long)p.maxBytes, r.quality, r.encodes);
      return 1;
    }
    WriteFileReplacing(a[2], r.bytes);
    std::printf("quality %d size %zu encodes %d %dx%d\n", r.quality, r.bytes.size(), r.encodes, r.width, r.height);
    return 0;
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // Give large picture buffers back to the system when freed (glibc would otherwise raise its
  // mmap threshold and keep them), so that a batch of thumbnails stays at one picture's memory.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "imgtool: %s\n", e.what());
    return 1;
  }
}
