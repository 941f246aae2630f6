// Internal: the readers and writers of each format and the helpers they share.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "imaging/image.h"
#include "imaging/io.h"

namespace zel::img::detail {

[[noreturn]] inline void Fail(const std::string& reason) { throw Error(reason); }

// A failure to read the source while a file is being written (conversions): reported as a read
// error of the source, not as a write error of the target.
class ReadError : public Error {
 public:
  using Error::Error;
};

// Bounds-checked reading of a byte buffer; any read past the end fails as "truncated".
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> d, size_t pos = 0) : d_(d), pos_(pos) {}
  size_t pos() const { return pos_; }
  size_t size() const { return d_.size(); }
  size_t left() const { return pos_ <= d_.size() ? d_.size() - pos_ : 0; }
  void seek(size_t p) {
    if (p > d_.size()) Fail("truncated file");
    pos_ = p;
  }
  void skip(size_t n) {
    if (n > left()) Fail("truncated file");
    pos_ += n;
  }
  const uint8_t* take(size_t n) {
    if (n > left()) Fail("truncated file");
    const uint8_t* p = d_.data() + pos_;
    pos_ += n;
    return p;
  }
  uint8_t u8() { return *take(1); }
  uint16_t le16() { auto p = take(2); return uint16_t(p[0] | p[1] << 8); }
  uint32_t le32() { auto p = take(4); return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
  uint16_t be16() { auto p = take(2); return uint16_t(p[0] << 8 | p[1]); }
  uint32_t be32() { auto p = take(4); return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]); }
  std::span<const uint8_t> rest() const { return d_.subspan(std::min(pos_, d_.size())); }

 private:
  std::span<const uint8_t> d_;
  size_t pos_;
};

class ByteWriter {
 public:
  std::vector<uint8_t> out;
  void u8(uint8_t v) { out.push_back(v); }
  void le16(uint32_t v) { u8(uint8_t(v)); u8(uint8_t(v >> 8)); }
  void le32(uint32_t v) { le16(v & 0xffff); le16(v >> 16); }
  void be16(uint32_t v) { u8(uint8_t(v >> 8)); u8(uint8_t(v)); }
  void be32(uint32_t v) { be16(v >> 16); be16(v & 0xffff); }
  void bytes(const void* p, size_t n) { auto b = static_cast<const uint8_t*>(p); out.insert(out.end(), b, b + n); }
  void text(const std::string& s) { bytes(s.data(), s.size()); }
};

// Receives decoded rows in top-down order, as BGRA.
class RowSink {
 public:
  virtual ~RowSink() = default;
  virtual void Begin(int width, int height, bool hasAlpha) = 0;
  virtual void Row(const uint8_t* bgra) = 0;
};

// Collects the rows into an Image.
class ImageSink final : public RowSink {
 public:
  void Begin(int w, int h, bool alpha) override { image = Image(w, h, alpha); y = 0; }
  void Row(const uint8_t* bgra) override {
    if (y < image.height()) std::memcpy(image.row(y++), bgra, image.stride());
  }
  Image image;
  int y = 0;
};

inline uint8_t Scale16To8(unsigned v) { return uint8_t((v * 255u + 32767u) / 65535u); }
// Un-premultiplies a BGRA pixel in place.
inline void Unpremultiply(uint8_t* p) {
  unsigned a = p[3];
  if (a == 0 || a == 255) return;
  for (int i = 0; i < 3; ++i) p[i] = uint8_t(std::min(255u, (p[i] * 255u + a / 2) / a));
}
// Clears the alpha flag when every pixel is opaque.
void SettleAlpha(Image& image);

// Readers. Each throws Error with the reason (without the file name, which Load adds).
Image DecodeBmp(std::span<const uint8_t> d);
// A DIB without the file header (inside ICO/CUR, clipboard). `icon`: height is doubled and an
// AND mask follows the colour bits.
Image DecodeDib(std::span<const uint8_t> d, bool icon);
Image DecodeIco(std::span<const uint8_t> d);
Image DecodeGif(std::span<const uint8_t> d);
Image DecodeJpeg(std::span<const uint8_t> d);
Image DecodePng(std::span<const uint8_t> d);
Image DecodeTiff(std::span<const uint8_t> d);
Image DecodeTga(std::span<const uint8_t> d);
Image DecodePcx(std::span<const uint8_t> d);
Image DecodeDcx(std::span<const uint8_t> d);
Image DecodePsd(std::span<const uint8_t> d);
Image DecodeWbmp(std::span<const uint8_t> d);
Image DecodePnm(std::span<const uint8_t> d);
// reduceToSide > 0 asks for the smallest resolution level whose longer side is still at least
// that many pixels (thumbnails).
Image DecodeJp2(std::span<const uint8_t> d, int reduceToSide = 0);
Image DecodeCameraRaw(std::span<const uint8_t> d);
#ifdef _WIN32
Image DecodeMetafile(std::span<const uint8_t> d, bool enhanced);
Image DecodeHdPhoto(std::span<const uint8_t> d);
#endif

// Streaming readers for thumbnails. StreamJpeg decodes at the smallest DCT scale whose longer
// side is still >= minSide. The others return false, having sent nothing, when the file's
// layout needs the whole picture at once (interlaced PNG, RLE BMP, tiled TIFF).
void StreamJpeg(std::span<const uint8_t> d, int minSide, RowSink& sink);
// The same, reading the file piecewise instead of holding it in memory; minSide 0: full size.
void StreamJpegFile(FILE* file, int minSide, RowSink& sink);
// Full size, rows of 3 bytes (B, G, R): what a 24-bit BMP holds.
void StreamJpegFileBgr(FILE* file, RowSink& sink);
bool StreamPng(std::span<const uint8_t> d, RowSink& sink);
bool StreamBmp(std::span<const uint8_t> d, RowSink& sink);
bool StreamTiff(std::span<const uint8_t> d, RowSink& sink);

// Writers.
using ByteOut = std::function<void(const uint8_t*, size_t)>;
std::vector<uint8_t> EncodeBmp(const Image& image);
void WriteBmp(const Image& image, const ByteOut& out);  // streams, for large wallpapers
// A JPEG file written as a 24-bit BMP row by row (ReadError for problems with the JPEG).
Size ConvertJpegToBmp(FILE* jpeg, const std::string& out);
// WriteFileReplacing with the bytes produced piecewise by `produce`.
void WriteFileReplacingWith(const std::string& path, const std::function<void(const ByteOut&)>& produce);
// The same, handing the producer the open temporary file (for writers that seek).
void WriteFileReplacingWithFile(const std::string& path, const std::function<void(FILE*)>& produce);
std::vector<uint8_t> EncodeJpegImpl(const Image& image, int quality, bool progressive, uint64_t abortAbove = 0,
                                    bool* aborted = nullptr);
std::vector<uint8_t> EncodePng(const Image& image);
std::vector<uint8_t> EncodeGif(const Image& image);
std::vector<uint8_t> EncodeTiff(const Image& image);
std::vector<uint8_t> EncodeTga(const Image& image);
std::vector<uint8_t> EncodePsd(const Image& image);
std::vector<uint8_t> EncodePdf(const Image& image);

}  // namespace zel::img::detail
