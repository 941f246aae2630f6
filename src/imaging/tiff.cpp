// TIFF through libtiff: the first page via its RGBA interface, written as LZW RGB(A).
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>

#include <tiffio.h>

#include "imaging/codecs.h"

namespace zel::img::detail {
namespace {

thread_local std::string t_tiffError;

void OnTiffError(const char* module, const char* fmt, va_list ap) {
  char buf[512];
  std::vsnprintf(buf, sizeof buf, fmt, ap);
  if (t_tiffError.empty()) t_tiffError = buf;
}

void InstallHandlers() {
  static std::once_flag once;
  std::call_once(once, [] {
    TIFFSetErrorHandler(OnTiffError);
    TIFFSetWarningHandler(nullptr);
  });
}

struct MemFile {
  std::span<const uint8_t> in;
  std::vector<uint8_t>* out = nullptr;
  uint64_t pos = 0;
  size_t size() const { return out ? out->size() : in.size(); }
};

tmsize_t MemRead(thandle_t h, void* buf, tmsize_t n) {
  auto* m = static_cast<MemFile*>(h);
  if (n < 0 || m->pos >= m->size()) return 0;
  size_t k = std::min<uint64_t>(uint64_t(n), m->size() - m->pos);
  std::memcpy(buf, (m->out ? m->out->data() : m->in.data()) + m->pos, k);
  m->pos += k;
  return tmsize_t(k);
}

tmsize_t MemWrite(thandle_t h, void* buf, tmsize_t n) {
  auto* m = static_cast<MemFile*>(h);
  if (!m->out || n < 0) return -1;
  try {
    if (m->pos + uint64_t(n) > m->out->size()) m->out->resize(size_t(m->pos + uint64_t(n)));
  } catch (...) {
    return -1;
  }
  std::memcpy(m->out->data() + m->pos, buf, size_t(n));
  m->pos += uint64_t(n);
  return n;
}

toff_t MemSeek(thandle_t h, toff_t off, int whence) {
  auto* m = static_cast<MemFile*>(h);
  uint64_t base = whence == SEEK_CUR ? m->pos : whence == SEEK_END ? m->size() : 0;
  uint64_t p = base + off;
  if (!m->out && p > m->size()) return toff_t(-1);
  if (p > (uint64_t(1) << 32)) return toff_t(-1);
  m->pos = p;
  return p;
}

int MemClose(thandle_t) { return 0; }
toff_t MemSize(thandle_t h) { return static_cast<MemFile*>(h)->size(); }
int MemMap(thandle_t, void**, toff_t*) { return 0; }
void MemUnmap(thandle_t, void*, toff_t) {}

struct TiffCloser {
  void operator()(TIFF* t) const { TIFFClose(t); }
};

std::unique_ptr<TIFF, TiffCloser> OpenForRead(MemFile& m) {
  InstallHandlers();
  t_tiffError.clear();
  TIFF* t = TIFFClientOpen("picture", "rm", &m, MemRead, MemWrite, MemSeek, MemClose, MemSize, MemMap, MemUnmap);
  if (!t) Fail("TIFF error: " + (t_tiffError.empty() ? std::string("not a TIFF file") : t_tiffError));
  return std::unique_ptr<TIFF, TiffCloser>(t);
}

[[noreturn]] void TiffFail(const char* what) {
  Fail(std::string("TIFF error: ") + (t_tiffError.empty() ? what : t_tiffError));
}

bool HasAlpha(TIFF* t) {
  uint16_t count = 0;
  uint16_t* types = nullptr;
  return TIFFGetField(t, TIFFTAG_EXTRASAMPLES, &count, &types) && count > 0 &&
         (types[0] == EXTRASAMPLE_ASSOCALPHA || types[0] == EXTRASAMPLE_UNASSALPHA);
}

// The RGBA interface hands back ABGR words (R in the lowest byte) with premultiplied alpha.
void ToBgra(uint8_t* p, size_t pixels, bool alpha) {
  for (size_t i = 0; i < pixels; ++i, p += 4) {
    std::swap(p[0], p[2]);
    if (alpha) Unpremultiply(p);
    else p[3] = 255;
  }
}

void Dimensions(TIFF* t, uint32_t& w, uint32_t& h) {
  if (!TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h)) TiffFail("no image size");
  CheckSize(w, h);
  char msg[1024] = "";
  if (!TIFFRGBAImageOK(t, msg)) Fail(std::string("TIFF error: ") + msg);
}

}  // namespace

// 8-bit RGB(A) and grey(+alpha) strips are read row by row as stored, which keeps unassociated
// alpha exact (the RGBA interface premultiplies it). Returns false for other layouts.
bool ReadDirect(TIFF* t, uint32_t w, uint32_t h, RowSink& sink) {
  uint16_t bps = 0, spp = 0, photometric = 0, planar = PLANARCONFIG_CONTIG, orientation = ORIENTATION_TOPLEFT;
  TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bps);
  TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &spp);
  TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(t, TIFFTAG_ORIENTATION, &orientation);
  if (!TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &photometric)) return false;
  uint16_t extraCount = 0;
  uint16_t* extra = nullptr;
  TIFFGetField(t, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
  const bool rgb = photometric == PHOTOMETRIC_RGB && (spp == 3 || (spp == 4 && extraCount == 1));
  const bool grey = photometric == PHOTOMETRIC_MINISBLACK && (spp == 1 || (spp == 2 && extraCount == 1));
  if (TIFFIsTiled(t) || bps != 8 || planar != PLANARCONFIG_CONTIG || orientation != ORIENTATION_TOPLEFT || !(rgb || grey))
    return false;
  const bool alpha = spp == 4 || spp == 2;
  const bool premultiplied = alpha && extra[0] == EXTRASAMPLE_ASSOCALPHA;
  if (TIFFScanlineSize64(t) < uint64_t(w) * spp) return false;
  std::vector<uint8_t> line(size_t(TIFFScanlineSize64(t)));
  std::vector<uint8_t> row(size_t(w) * 4);
  sink.Begin(int(w), int(h), alpha);
  for (uint32_t y = 0; y < h; ++y) {
    if (TIFFReadScanline(t, line.data(), y, 0) < 0) TiffFail("the image data cannot be read");
    const uint8_t* s = line.data();
    uint8_t* o = row.data();
    for (uint32_t x = 0; x < w; ++x, s += spp, o += 4) {
      if (rgb) o[0] = s[2], o[1] = s[1], o[2] = s[0];
      else o[0] = o[1] = o[2] = s[0];
      o[3] = alpha ? s[spp - 1] : 255;
      if (premultiplied) Unpremultiply(o);
    }
    sink.Row(row.data());
  }
  return true;
}

Image DecodeTiff(std::span<const uint8_t> d) {
  MemFile m{d};
  auto t = OpenForRead(m);
  uint32_t w = 0, h = 0;
  Dimensions(t.get(), w, h);
  {
    ImageSink direct;
    if (ReadDirect(t.get(), w, h, direct)) {
      if (direct.image.hasAlpha()) SettleAlpha(direct.image);
      return std::move(direct.image);
    }
  }
  const bool alpha = HasAlpha(t.get());
  Image img = Image::Uninitialized(int(w), int(h), alpha);
  if (!TIFFReadRGBAImageOriented(t.get(), w, h, reinterpret_cast<uint32_t*>(img.data()), ORIENTATION_TOPLEFT, 1))
    TiffFail("the image data cannot be read");
  ToBgra(img.data(), size_t(w) * h, alpha);
  if (alpha) SettleAlpha(img);
  return img;
}

bool StreamTiff(std::span<const uint8_t> d, RowSink& sink) {
  MemFile m{d};
  auto t = OpenForRead(m);
  uint32_t w = 0, h = 0;
  Dimensions(t.get(), w, h);
  if (ReadDirect(t.get(), w, h, sink)) return true;
  uint16_t orientation = ORIENTATION_TOPLEFT;
  TIFFGetFieldDefaulted(t.get(), TIFFTAG_ORIENTATION, &orientation);
  uint32_t rps = 0;
  TIFFGetFieldDefaulted(t.get(), TIFFTAG_ROWSPERSTRIP, &rps);
  if (TIFFIsTiled(t.get()) || orientation != ORIENTATION_TOPLEFT || rps == 0) return false;
  rps = std::min(rps, h);
  if (uint64_t(rps) * w > uint64_t(1) << 24) return false;  // huge strips: no memory saved
  const bool alpha = HasAlpha(t.get());
  std::vector<uint32_t> strip(size_t(rps) * w);
  sink.Begin(int(w), int(h), alpha);
  for (uint32_t row = 0; row < h; row += rps) {
    if (!TIFFReadRGBAStrip(t.get(), row, strip.data())) TiffFail("the image data cannot be read");
    const uint32_t n = std::min(rps, h - row);
    // The strip comes back bottom row first.
    for (uint32_t i = 0; i < n; ++i) {
      uint8_t* p = reinterpret_cast<uint8_t*>(&strip[size_t(n - 1 - i) * w]);
      ToBgra(p, w, alpha);
      sink.Row(p);
    }
  }
  return true;
}

std::vector<uint8_t> EncodeTiff(const Image& image) {
  InstallHandlers();
  t_tiffError.clear();
  std::vector<uint8_t> out;
  MemFile m{{}, &out};
  TIFF* raw = TIFFClientOpen("picture", "w", &m, MemRead, MemWrite, MemSeek, MemClose, MemSize, MemMap, MemUnmap);
  if (!raw) TiffFail("cannot create the file");
  std::unique_ptr<TIFF, TiffCloser> t(raw);
  const uint32_t w = uint32_t(image.width()), h = uint32_t(image.height());
  const bool alpha = image.hasAlpha();
  const uint16_t spp = alpha ? 4 : 3;
  TIFFSetField(raw, TIFFTAG_IMAGEWIDTH, w);
  TIFFSetField(raw, TIFFTAG_IMAGELENGTH, h);
  TIFFSetField(raw, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(raw, TIFFTAG_SAMPLESPERPIXEL, spp);
  TIFFSetField(raw, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(raw, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(raw, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(raw, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(raw, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  TIFFSetField(raw, TIFFTAG_XRESOLUTION, 96.0);
  TIFFSetField(raw, TIFFTAG_YRESOLUTION, 96.0);
  TIFFSetField(raw, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  if (alpha) {
    uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(raw, TIFFTAG_EXTRASAMPLES, 1, &extra);
  }
  TIFFSetField(raw, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(raw, 0));
  std::vector<uint8_t> row(size_t(w) * spp);
  for (uint32_t y = 0; y < h; ++y) {
    const uint8_t* s = image.row(int(y));
    uint8_t* o = row.data();
    for (uint32_t x = 0; x < w; ++x, s += 4, o += spp) {
      o[0] = s[2], o[1] = s[1], o[2] = s[0];
      if (alpha) o[3] = s[3];
    }
    if (TIFFWriteScanline(raw, row.data(), y, 0) < 0) TiffFail("writing failed");
  }
  if (!TIFFFlush(raw)) TiffFail("writing failed");
  t.reset();
  if (!t_tiffError.empty()) TiffFail("");
  return out;
}

}  // namespace zel::img::detail
