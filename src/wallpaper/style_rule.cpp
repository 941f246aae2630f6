#include "wallpaper/style_rule.h"

namespace zel::wallpaper {

int ResolveWallpaperStyle(int styleIndex, int width, int height) {
  if (styleIndex != kStyleAutoSelect) return styleIndex;
  if (width <= 0 || height <= 0) return kStyleStretch;
  double ratio = width > height ? double(height) / width : double(width) / height;
  return ratio >= 0.5 ? kStyleStretch : kStyleTile;
}

const char* TileWallpaperValue(int style) { return style == kStyleTile ? "1" : "0"; }

}  // namespace zel::wallpaper
