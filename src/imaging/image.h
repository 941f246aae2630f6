// The picture type every part of the program passes around: 8-bit BGRA, top-down rows,
// tightly packed (stride = width * 4), so a DIB section or StretchDIBits can show it as is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <stdexcept>
#include <string>
#include <vector>

namespace zel::img {

// Every failure of the engine: a file that cannot be read or written, a bad argument.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Colour {
  uint8_t r = 0, g = 0, b = 0;
  // From a Windows COLORREF value (0x00BBGGRR).
  static constexpr Colour FromColorRef(uint32_t v) {
    return {uint8_t(v & 0xff), uint8_t((v >> 8) & 0xff), uint8_t((v >> 16) & 0xff)};
  }
  friend bool operator==(const Colour&, const Colour&) = default;
};

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Leaves new elements uninitialised on resize (pixels are always written before use).
template <class T>
struct DefaultInitAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };
  using std::allocator<T>::allocator;
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... A>
  void construct(U* p, A&&... a) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
  }
};

class Image {
 public:
  Image() = default;
  // A new picture filled with opaque black. Throws Error for sizes outside the budget.
  Image(int width, int height, bool hasAlpha = false);
  // A picture whose pixels are left undefined, for readers that write every pixel anyway.
  static Image Uninitialized(int width, int height, bool hasAlpha = false);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  // Whether the alpha bytes carry transparency; when false they are 255 and mean nothing.
  bool hasAlpha() const { return hasAlpha_; }
  void setHasAlpha(bool v) { hasAlpha_ = v; }

  size_t stride() const { return size_t(width_) * 4; }
  size_t byteSize() const { return pixels_.size(); }
  uint8_t* data() { return pixels_.data(); }
  const uint8_t* data() const { return pixels_.data(); }
  uint8_t* row(int y) { return pixels_.data() + size_t(y) * stride(); }
  const uint8_t* row(int y) const { return pixels_.data() + size_t(y) * stride(); }
  uint8_t* pixel(int x, int y) { return row(y) + size_t(x) * 4; }
  const uint8_t* pixel(int x, int y) const { return row(y) + size_t(x) * 4; }

  friend bool operator==(const Image&, const Image&) = default;

 private:
  int width_ = 0, height_ = 0;
  bool hasAlpha_ = false;
  std::vector<uint8_t, DefaultInitAllocator<uint8_t>> pixels_;
};

// The size budget. A picture may hold at most MaxPixels() pixels and neither side may exceed
// kMaxSide. The default, 2^28 pixels (a 16384 x 16384 picture, 1 GiB of BGRA) on 64-bit builds
// and 2^26 (256 MiB) on 32-bit ones, is far above any photo or screen while keeping a lying
// header from asking for more memory than a desktop has. Readers check before allocating.
constexpr int kMaxSide = 65535;
uint64_t MaxPixels();
void SetMaxPixels(uint64_t pixels);  // for tests and fuzzing; 0 restores the default

// Throws Error("<what>: ...") when width x height is zero, negative or over the budget.
void CheckSize(int64_t width, int64_t height, const std::string& what = "picture");

}  // namespace zel::img
