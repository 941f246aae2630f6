#include "ui/bitmap.h"

#include <cstring>

#include "imaging/ops.h"

namespace zel::ui {

HBITMAP ToBitmap(const img::Image& source) {
  img::Image flattened;
  if (source.hasAlpha()) flattened = img::Flatten(source, {255, 255, 255});
  const img::Image& picture = source.hasAlpha() ? flattened : source;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = picture.width();
  bi.bmiHeader.biHeight = -picture.height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) std::memcpy(bits, picture.data(), picture.byteSize());
  return bitmap;
}

}  // namespace zel::ui
