// One picture reader on arbitrary bytes (the format is fixed per target by ZEL_FUZZ_FORMAT).
// Readers must either decode or throw zel::img::Error; anything else is a finding.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/codecs.h"
#include "imaging/io.h"

namespace {

using namespace zel::img;

class CountingSink final : public detail::RowSink {
 public:
  void Begin(int w, int, bool) override { width = w; }
  void Row(const uint8_t* p) override {
    for (int x = 0; x < width; ++x) sum += p[x * 4];
  }
  int width = 0;
  unsigned sum = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A budget of 4 megapixels keeps every allocation far below the fuzzer's memory limit.
  SetMaxPixels(uint64_t(1) << 22);
  const std::span<const uint8_t> bytes(data, size);
  const Format format = Format::ZEL_FUZZ_FORMAT;
  try {
    const Image img = LoadFromMemory(bytes, format, "fuzz");
    if (img.empty() || img.byteSize() != size_t(img.width()) * size_t(img.height()) * 4) __builtin_trap();
  } catch (const Error&) {
  }
  // The thumbnail paths read these formats row by row through separate code.
  try {
    CountingSink sink;
    switch (format) {
      case Format::Jpeg: detail::StreamJpeg(bytes, 16, sink); break;
      case Format::Png: detail::StreamPng(bytes, sink); break;
      case Format::Bmp: detail::StreamBmp(bytes, sink); break;
      case Format::Tiff: detail::StreamTiff(bytes, sink); break;
      case Format::Jp2: detail::DecodeJp2(bytes, 16); break;
      default: break;
    }
  } catch (const Error&) {
  }
  return 0;
}
