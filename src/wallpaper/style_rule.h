// Which wallpaper style a picture is installed with, and the desktop values that say it.
// Portable: no windows.h.
#pragma once

namespace zel::wallpaper {

// The items of the style list, in order; the index is what the installer receives.
enum WallpaperStyleIndex { kStyleCenter = 0, kStyleTile = 1, kStyleStretch = 2, kStyleAutoSelect = 3 };

// The style used for a picture of width x height: Center, Tile and Stretch as chosen;
// "(Auto Select)" stretches a picture whose shorter side is at least half its longer side and
// tiles a narrower one. A picture without pixels (nothing could be loaded) is stretched.
int ResolveWallpaperStyle(int styleIndex, int width, int height);

// "TileWallpaper" for a resolved style: "1" for Tile, otherwise "0".
const char* TileWallpaperValue(int style);

}  // namespace zel::wallpaper
