// The rotation through the selected category on a timer, the on/off switch and the interval,
// and the actions on the selected picture: set as wallpaper, send to the logon page, open it,
// show it in Explorer.
#include "core/process.h"
#include "wallpaper/wallpaper_page.h"

namespace zel::wallpaper {

void WallpaperPage::WCTimerTimer() {
  int count = WPList.Count();
  if (count == 0) return;
  if (WallpaperIndex >= count || WallpaperIndex < 0) WallpaperIndex = 0;
  ApplyWallpaper(WPList.FileName(WallpaperIndex), uint8_t(cmbStyle.ItemIndex()));
  ++WallpaperIndex;
}

void WallpaperPage::WPListDblClick() {
  WallpaperIndex = WPList.Selected();
  if (WallpaperIndex >= 0) ApplyWallpaper(WPList.FileName(WallpaperIndex), uint8_t(cmbStyle.ItemIndex()));
  ++WallpaperIndex;
}

void WallpaperPage::SpeedButton7Click() {
  bool on = SpeedButton7.Down();
  WCTimer.SetEnabled(on);
  SpeedButton7.SetText(on ? "ON" : "OFF");
  SpeedButton7.SetFontColour(on ? ui::kGreen : ui::kRed);
}

void WallpaperPage::spIntervalChange() { WCTimer.SetInterval(UINT(spInterval.Value()) * 1000); }

void WallpaperPage::BitBtn20Click() {
  int selected = WPList.Selected();
  if (selected >= 0 && sendToLogon) sendToLogon(WPList.FileName(selected));
}

void WallpaperPage::view1Click() { ShellOpen(Owner(), WPList.FileName(WPList.Selected()), "", SW_SHOW); }

void WallpaperPage::FindTarget1Click() {
  ShellOpen(Owner(), "explorer.exe", "/select,\"" + WPList.FileName(WPList.Selected()) + "\"", SW_SHOW);
}

}  // namespace zel::wallpaper
