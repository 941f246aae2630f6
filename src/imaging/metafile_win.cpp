// Windows metafiles (WMF, including Aldus placeable ones, and EMF), drawn by GDI at their
// natural size onto white. Windows builds only.
#ifdef _WIN32

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "imaging/codecs.h"

namespace zel::img::detail {
namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

struct Gdi {
  HENHMETAFILE emf = nullptr;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  ~Gdi() {
    if (dc && old) SelectObject(dc, old);
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    if (emf) DeleteEnhMetaFile(emf);
  }
};

// Pixels of the screen for a length in 0.01 mm, as GDI's reference device sees it.
int HundredthsMmToPixels(LONG v, LONG devicePixels, LONG deviceMm) {
  if (deviceMm <= 0) return 0;
  return int(std::lround(double(v) * devicePixels / (deviceMm * 100.0)));
}

}  // namespace

Image DecodeMetafile(std::span<const uint8_t> d, bool enhanced) {
  if (d.size() > 0x7fffffff) Fail("the metafile is too large");
  Gdi g;
  int width = 0, height = 0;
  if (enhanced) {
    if (d.size() < sizeof(ENHMETAHEADER)) Fail("not an EMF file");
    g.emf = SetEnhMetaFileBits(UINT(d.size()), d.data());
    if (!g.emf) Fail("not an EMF file or a damaged one");
  } else {
    ByteReader r(d);
    std::span<const uint8_t> body = d;
    METAFILEPICT pict{MM_ANISOTROPIC, 0, 0, nullptr};
    if (d.size() >= 22 && r.le32() == kPlaceableKey) {
      r.le16();
      const int16_t left = int16_t(r.le16()), top = int16_t(r.le16()), right = int16_t(r.le16()), bottom = int16_t(r.le16());
      const uint16_t inch = r.le16();
      if (inch == 0) Fail("placeable metafile without units");
      width = int(std::lround(std::abs(right - left) * 96.0 / inch));
      height = int(std::lround(std::abs(bottom - top) * 96.0 / inch));
      pict.xExt = LONG(std::lround(std::abs(right - left) * 2540.0 / inch));
      pict.yExt = LONG(std::lround(std::abs(bottom - top) * 2540.0 / inch));
      body = d.subspan(22);
    }
    if (body.size() < 18) Fail("not a WMF file");
    g.emf = SetWinMetaFileBits(UINT(body.size()), body.data(), nullptr, pict.xExt ? &pict : nullptr);
    if (!g.emf) Fail("not a WMF file or a damaged one");
  }
  ENHMETAHEADER h{};
  if (!GetEnhMetaFileHeader(g.emf, sizeof h, &h)) Fail("the metafile has no header");
  if (width <= 0 || height <= 0) {
    width = HundredthsMmToPixels(h.rclFrame.right - h.rclFrame.left, h.szlDevice.cx, h.szlMillimeters.cx);
    height = HundredthsMmToPixels(h.rclFrame.bottom - h.rclFrame.top, h.szlDevice.cy, h.szlMillimeters.cy);
  }
  if (width <= 0 || height <= 0) {
    width = h.rclBounds.right - h.rclBounds.left + 1;
    height = h.rclBounds.bottom - h.rclBounds.top + 1;
  }
  CheckSize(width, height, "metafile picture");

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down, like Image
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  g.dc = CreateCompatibleDC(nullptr);
  if (!g.dc) Fail("GDI could not create a drawing surface");
  g.bitmap = CreateDIBSection(g.dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!g.bitmap || !bits) Fail("not enough memory for a " + std::to_string(width) + " x " + std::to_string(height) + " picture");
  g.old = SelectObject(g.dc, g.bitmap);
  RECT all{0, 0, width, height};
  FillRect(g.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!PlayEnhMetaFile(g.dc, g.emf, &all)) Fail("GDI could not draw the metafile");
  GdiFlush();
  Image img = Image::Uninitialized(width, height, false);
  std::memcpy(img.data(), bits, img.byteSize());
  for (size_t i = 3; i < img.byteSize(); i += 4) img.data()[i] = 255;  // GDI leaves this byte undefined
  return img;
}

}  // namespace zel::img::detail

#endif  // _WIN32
