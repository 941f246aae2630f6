#include "wallpaper/wallpaper_page.h"

#include "core/files.h"
#include "core/text.h"

namespace zel::wallpaper {

using ui::Align;

void WallpaperPage::Build(ui::Panel& sheet) {
  ui::CreateBand(band, Label18, sheet, {0, 0, 703, 28}, "WALLPAPER CHANGER");
  Label24.Create(sheet, {10, 42, 60, 16}, "Category :");
  cmbCat.Create(sheet, {72, 38, 220, 21}, false);
  cmbCat.onChange = [this] { SelectCategory(); };

  Label26.Create(sheet, {10, 484, 56, 16}, "Interval : ");
  spInterval.Create(sheet, {66, 480, 64, 21}, 0, 3600, 23);
  spInterval.onChange = [this] { spIntervalChange(); };
  Label27.Create(sheet, {136, 484, 60, 16}, "Second(s)");
  Label28.Create(sheet, {214, 484, 46, 16}, "Status : ");
  SpeedButton7.Create(sheet, {262, 478, 60, 26}, "ON");
  SpeedButton7.SetGroup(1, true);
  SpeedButton7.SetDown(true);
  SpeedButton7.SetFont({"MS Sans Serif", 8, true, false, false, ui::kGreen});
  SpeedButton7.SetDownColours(RGB(222, 240, 222), ui::kInherit);
  SpeedButton7.onClick = [this] { SpeedButton7Click(); };
  BitBtn14.Create(sheet, {583, 476, 110, 30}, "Send to Tray", ui::Glyph::Tray, ui::GlyphLayout::Left);
  WCTimer.onTimer = [] {};
}

void WallpaperPage::ReadCategory() {
  cmbCat.Clear();
  std::string folder = appDir_ + "WallCat";
  if (Trim(folder).empty()) return;
  for (const std::string& name : FindFiles(folder, "*.dat")) cmbCat.Add(ChangeFileExt(name, ""));
}

void WallpaperPage::SelectCategory() {
  // Filled in by the wallpaper categories.
}

void WallpaperPage::SpeedButton7Click() {
  bool on = SpeedButton7.Down();
  WCTimer.SetEnabled(on);
  SpeedButton7.SetText(on ? "ON" : "OFF");
  SpeedButton7.SetFontColour(on ? ui::kGreen : ui::kRed);
}

void WallpaperPage::spIntervalChange() { WCTimer.SetInterval(UINT(spInterval.Value()) * 1000); }

void WallpaperPage::FormResize() {}

void WallpaperPage::AddDroppedPath(const std::string& path) {
  // Filled in by the wallpaper categories.
}

}  // namespace zel::wallpaper
