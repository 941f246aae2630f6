// Installing a picture as the desktop wallpaper: converted to the wallpaper bitmap at its own
// size, named in the current user's desktop values with a style, then the shell is told.
#include <exception>
#include <string>

#include "core/files.h"
#include "core/registry.h"
#include "core/shell.h"
#include "imaging/io.h"
#include "wallpaper/style_rule.h"
#include "wallpaper/wallpaper_page.h"

namespace zel::wallpaper {

bool WallpaperPage::ApplyWallpaper(const std::string& FileName, uint8_t Style) {
  // A picture that cannot be read leaves the bitmap as it was: the last picture converted
  // stays installed, and its size decides the style.
  img::Image picture;
  try {
    picture = img::Load(FileName);
  } catch (const std::exception&) {
  }
  if (!picture.empty()) {
    FsRedirectionOff redirection;
    img::Save(picture, kWallpaperFile);
    pictureWidth_ = picture.width();
    pictureHeight_ = picture.height();
  }
  picture = img::Image();   // the full-size picture is not kept
  int style = ResolveWallpaperStyle(Style, pictureWidth_, pictureHeight_);

  RegKey desktop;
  desktop.Create(HKEY_CURRENT_USER, "Control Panel\\desktop");
  desktop.WriteString("Wallpaper", kWallpaperFile);
  desktop.WriteString("TileWallpaper", TileWallpaperValue(style));
  desktop.WriteString("WallpaperStyle", std::to_string(style));
  desktop.Close();

  ReloadDesktopWallpaper();
  return true;
}

}  // namespace zel::wallpaper
