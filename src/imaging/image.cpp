#include "imaging/image.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace zel::img {
namespace {
constexpr uint64_t kDefaultMaxPixels = sizeof(void*) >= 8 ? (uint64_t(1) << 28) : (uint64_t(1) << 26);
std::atomic<uint64_t> g_maxPixels{kDefaultMaxPixels};
}  // namespace

uint64_t MaxPixels() { return g_maxPixels.load(std::memory_order_relaxed); }
void SetMaxPixels(uint64_t pixels) { g_maxPixels = pixels ? pixels : kDefaultMaxPixels; }

void CheckSize(int64_t width, int64_t height, const std::string& what) {
  if (width <= 0 || height <= 0)
    throw Error(what + " has no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")");
  if (width > kMaxSide || height > kMaxSide || uint64_t(width) * uint64_t(height) > MaxPixels())
    throw Error(what + " is too large (" + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, the limit is " + std::to_string(MaxPixels()) + " pixels)");
}

Image Image::Uninitialized(int width, int height, bool hasAlpha) {
  CheckSize(width, height);
  Image img;
  img.width_ = width, img.height_ = height, img.hasAlpha_ = hasAlpha;
  try {
    img.pixels_.resize(size_t(width) * size_t(height) * 4);
  } catch (const std::bad_alloc&) {
    throw Error("not enough memory for a " + std::to_string(width) + " x " + std::to_string(height) + " picture");
  }
  return img;
}

Image::Image(int width, int height, bool hasAlpha) : Image(Uninitialized(width, height, hasAlpha)) {
  // Opaque black.
  uint32_t* p = reinterpret_cast<uint32_t*>(pixels_.data());
  std::fill(p, p + pixels_.size() / 4, 0xff000000u);
}

}  // namespace zel::img
