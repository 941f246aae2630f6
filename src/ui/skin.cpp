#include "ui/skin.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace zel::ui {

namespace {

struct GlyphName {
  Glyph glyph;
  const char* resource;
};

// The pictures are alpha masks, PNG files in the program's resources, named GLYPH_<NAME>.
constexpr GlyphName kGlyphs[] = {
    {Glyph::AppLogo, "GLYPH_APPLOGO"},
    {Glyph::Home, "GLYPH_HOME"},
    {Glyph::About, "GLYPH_ABOUT"},
    {Glyph::Donate, "GLYPH_DONATE"},
    {Glyph::Update, "GLYPH_UPDATE"},
    {Glyph::Support, "GLYPH_SUPPORT"},
    {Glyph::More, "GLYPH_MORE"},
    {Glyph::ControlPanel, "GLYPH_CONTROLPANEL"},
    {Glyph::ComputerManagement, "GLYPH_COMPUTERMANAGEMENT"},
    {Glyph::SystemProperties, "GLYPH_SYSTEMPROPERTIES"},
    {Glyph::MobilityCenter, "GLYPH_MOBILITYCENTER"},
    {Glyph::FolderOptions, "GLYPH_FOLDEROPTIONS"},
    {Glyph::NetworkConnections, "GLYPH_NETWORKCONNECTIONS"},
    {Glyph::SoundVolume, "GLYPH_SOUNDVOLUME"},
    {Glyph::SafelyRemove, "GLYPH_SAFELYREMOVE"},
    {Glyph::Abort, "GLYPH_ABORT"},
    {Glyph::Shutdown, "GLYPH_SHUTDOWN"},
    {Glyph::Restart, "GLYPH_RESTART"},
    {Glyph::Sleep, "GLYPH_SLEEP"},
    {Glyph::Hibernate, "GLYPH_HIBERNATE"},
    {Glyph::Lock, "GLYPH_LOCK"},
    {Glyph::DarkMode, "GLYPH_DARKMODE"},
    {Glyph::Ram, "GLYPH_RAM"},
    {Glyph::Power, "GLYPH_POWER"},
    {Glyph::IconCustomizer, "GLYPH_ICONCUSTOMIZER"},
    {Glyph::LogonScreen, "GLYPH_LOGONSCREEN"},
    {Glyph::ScreenCapture, "GLYPH_SCREENCAPTURE"},
    {Glyph::Wallpaper, "GLYPH_WALLPAPER"},
    {Glyph::Extras, "GLYPH_EXTRAS"},
    {Glyph::Add, "GLYPH_ADD"},
    {Glyph::Remove, "GLYPH_REMOVE"},
    {Glyph::Rename, "GLYPH_RENAME"},
    {Glyph::Apply, "GLYPH_APPLY"},
    {Glyph::Open, "GLYPH_OPEN"},
    {Glyph::Save, "GLYPH_SAVE"},
    {Glyph::Copy, "GLYPH_COPY"},
    {Glyph::Folder, "GLYPH_FOLDER"},
    {Glyph::Tray, "GLYPH_TRAY"},
    {Glyph::ZoomIn, "GLYPH_ZOOMIN"},
    {Glyph::ZoomOut, "GLYPH_ZOOMOUT"},
    {Glyph::Fit, "GLYPH_FIT"},
    {Glyph::ActualSize, "GLYPH_ACTUALSIZE"},
    {Glyph::Undo, "GLYPH_UNDO"},
    {Glyph::Redo, "GLYPH_REDO"},
    {Glyph::Crop, "GLYPH_CROP"},
    {Glyph::Shadow, "GLYPH_SHADOW"},
    {Glyph::Test, "GLYPH_TEST"},
    {Glyph::Image, "GLYPH_IMAGE"},
    {Glyph::Load, "GLYPH_LOAD"},
    {Glyph::Reset, "GLYPH_RESET"},
    {Glyph::Play, "GLYPH_PLAY"},
    {Glyph::Stop, "GLYPH_STOP"},
};

struct Mask {
  int size = 0;
  std::vector<uint8_t> alpha;  // size * size
};

// Reads a glyph's PNG resource into an alpha mask (empty when the resource is missing).
Mask LoadMask(Glyph glyph) {
  Mask mask;
  const char* name = nullptr;
  for (const auto& g : kGlyphs)
    if (g.glyph == glyph) name = g.resource;
  if (!name) return mask;
  HRSRC res = FindResourceA(nullptr, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!res) return mask;
  HGLOBAL data = LoadResource(nullptr, res);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return mask;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes, SizeofResource(nullptr, res))) return mask;
  image.format = PNG_FORMAT_GA;
  if (image.width != image.height || image.width > 512) {
    png_image_free(&image);
    return mask;
  }
  std::vector<uint8_t> ga(size_t(image.width) * image.height * 2);
  if (!png_image_finish_read(&image, nullptr, ga.data(), 0, nullptr)) return mask;
  mask.size = int(image.width);
  mask.alpha.resize(size_t(mask.size) * mask.size);
  for (size_t i = 0; i < mask.alpha.size(); ++i) mask.alpha[i] = ga[i * 2 + 1];
  return mask;
}

// Area-average reduction of a square mask to `size` pixels, so thin strokes stay smooth.
std::vector<uint8_t> ScaleMask(const Mask& m, int size) {
  std::vector<uint8_t> out(size_t(size) * size);
  double f = double(m.size) / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double x0 = x * f, x1 = (x + 1) * f, y0 = y * f, y1 = (y + 1) * f;
      double sum = 0, area = 0;
      for (int sy = int(y0); sy < int(std::ceil(y1)) && sy < m.size; ++sy) {
        double wy = std::min(y1, sy + 1.0) - std::max(y0, double(sy));
        for (int sx = int(x0); sx < int(std::ceil(x1)) && sx < m.size; ++sx) {
          double wx = std::min(x1, sx + 1.0) - std::max(x0, double(sx));
          sum += m.alpha[size_t(sy) * m.size + sx] * wx * wy;
          area += wx * wy;
        }
      }
      out[size_t(y) * size + x] = uint8_t(area > 0 ? sum / area + 0.5 : 0);
    }
  }
  return out;
}

struct Rendered {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
};

const Rendered* Render(Glyph glyph, int size, COLORREF colour) {
  static std::map<Glyph, Mask> masks;
  static std::map<std::tuple<Glyph, int, COLORREF>, Rendered> cache;
  auto key = std::make_tuple(glyph, size, colour);
  if (auto it = cache.find(key); it != cache.end()) return it->second.dc ? &it->second : nullptr;
  auto mit = masks.find(glyph);
  if (mit == masks.end()) mit = masks.emplace(glyph, LoadMask(glyph)).first;
  Rendered& r = cache[key];
  if (!mit->second.size || size <= 0) return nullptr;
  std::vector<uint8_t> alpha = ScaleMask(mit->second, size);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return nullptr;
  auto* px = static_cast<uint8_t*>(bits);
  for (size_t i = 0; i < alpha.size(); ++i) {
    unsigned a = alpha[i];  // premultiplied, as AlphaBlend wants
    px[i * 4 + 0] = uint8_t(GetBValue(colour) * a / 255);
    px[i * 4 + 1] = uint8_t(GetGValue(colour) * a / 255);
    px[i * 4 + 2] = uint8_t(GetRValue(colour) * a / 255);
    px[i * 4 + 3] = uint8_t(a);
  }
  r.dc = CreateCompatibleDC(nullptr);
  r.bitmap = bmp;
  SelectObject(r.dc, bmp);
  return &r;
}

int CALLBACK NoteFontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

void DrawGlyph(HDC dc, Glyph glyph, const RECT& box, int size, COLORREF colour) {
  if (glyph == Glyph::None || size <= 0) return;
  const Rendered* r = Render(glyph, size, colour);
  if (!r) return;
  int x = box.left + ((box.right - box.left) - size) / 2;
  int y = box.top + ((box.bottom - box.top) - size) / 2;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, size, size, r->dc, 0, 0, size, size, blend);
}

std::string ResolveFontFace(const std::string& face) {
  static const bool hasTrueTypeTwin = [] {
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, "Microsoft Sans Serif");
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &lf, &NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
  }();
  if (face == "MS Sans Serif" && hasTrueTypeTwin) return "Microsoft Sans Serif";
  return face;
}

void RemoveTheme(HWND hwnd) {
  using Fn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static Fn fn = [] {
    HMODULE m = LoadLibraryA("uxtheme.dll");
    return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, "SetWindowTheme"))) : nullptr;
  }();
  if (fn) fn(hwnd, L"", L"");
}

}  // namespace zel::ui
