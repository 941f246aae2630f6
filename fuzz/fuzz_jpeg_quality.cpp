// The JPEG quality estimate on arbitrary bytes: a quality 1..100 or zel::img::Error.
#include <cstddef>
#include <cstdint>

#include "imaging/jpeg_quality.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const int q = zel::img::EstimateJpegQuality(std::span<const uint8_t>(data, size));
    if (q < 1 || q > 100) __builtin_trap();
  } catch (const zel::img::Error&) {
  }
  return 0;
}
