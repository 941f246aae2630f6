// The settings file Zelvane.ini beside the program: the wallpaper changer's interval, on/off
// switch and last category. Read at every activation, written only at close.
#include "app/main_form.h"
#include "core/profile.h"

namespace zel::app {

namespace {
constexpr char kSection[] = "Wallpaper Changer";
}  // namespace

void TfrmZelvane::ReadSettings() {
  IniFile ini(AppDir + "Zelvane.ini");
  wallpaper.spInterval.SetValue(ini.ReadInteger(kSection, "Interval", 23));
  wallpaper.SpeedButton7.SetDown(ini.ReadBool(kSection, "Status", true));
  wallpaper.cmbCat.SetItemIndex(wallpaper.cmbCat.IndexOfText(ini.ReadString(kSection, "LastCategory", "")));
  wallpaper.SelectCategory();
  wallpaper.SpeedButton7Click();
}

void TfrmZelvane::SaveSettings() {
  IniFile ini(AppDir + "Zelvane.ini");
  ini.WriteInteger(kSection, "Interval", wallpaper.spInterval.Value());
  ini.WriteString(kSection, "Status", wallpaper.SpeedButton7.Down() ? "1" : "0");
  ini.WriteString(kSection, "LastCategory", wallpaper.cmbCat.Text());
}

}  // namespace zel::app
