#include "core/shell.h"

#include <shellapi.h>
#include <shlobj.h>

namespace zel {

void NotifyAssociationsChanged() { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

void ReloadDesktopWallpaper() { SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, nullptr, SPIF_SENDWININICHANGE); }

HICON ExtractIconFrom(const std::string& file, int index) {
  HICON icon = ExtractIconA(GetModuleHandleA(nullptr), file.c_str(), static_cast<UINT>(index));
  // ExtractIcon answers 1 for a file that is not an icon container.
  if (icon == reinterpret_cast<HICON>(1)) return nullptr;
  return icon;
}

}  // namespace zel
