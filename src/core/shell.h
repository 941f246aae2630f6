// Shell services the tools rest on: icon refresh, wallpaper reload, icon extraction.
#pragma once
#include <windows.h>

#include <string>

namespace zel {

// Tells the shell that file associations changed, so that it reloads icons.
void NotifyAssociationsChanged();

// Asks the system to reload the desktop wallpaper from the registry and broadcast the change.
void ReloadDesktopWallpaper();

// The icon at `index` of `file` (ExtractIconA: an index of 0 or more counts icons, a negative
// one names a resource id); nullptr when there is none. The caller owns the icon.
HICON ExtractIconFrom(const std::string& file, int index);

}  // namespace zel
