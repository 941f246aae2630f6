// The Wallpaper Changer page: categories of pictures, installation as the desktop wallpaper
// and the timed rotation.
#pragma once
#include <functional>
#include <string>

#include "ui/controls.h"
#include "ui/picture_dialog.h"

namespace zel::wallpaper {

class WallpaperPage {
 public:
  WallpaperPage(const std::string& appDir, ui::PictureDialog& pictureDialog) : appDir_(appDir), dlgLSC(pictureDialog) {}
  void Build(ui::Panel& sheet);

  // Refills the category list from the WallCat folder.
  void ReadCategory();
  // Loads the category named by the category list into the thumbnail view.
  void SelectCategory();
  // Brings the rotation timer and the switch's look in line with the switch.
  void SpeedButton7Click();
  // Applies the interval to the rotation timer.
  void spIntervalChange();
  // A file dropped on the window (or named on the command line) while this page shows.
  void AddDroppedPath(const std::string& path);
  // The main window changed size.
  void FormResize();

  // Installs a picture file as the logon background ("Set as Logon Screen"); set by the main window.
  std::function<void(const std::string& path)> sendToLogon;

  // Position of the next picture of the rotation.
  int32_t WallpaperIndex = 0;

  ui::Panel band;
  ui::Label Label18;
  ui::Label Label24;
  ui::ComboBox cmbCat;
  ui::Label Label26, Label27, Label28;
  ui::SpinEdit spInterval;
  ui::Button SpeedButton7;
  ui::Button BitBtn14;   // "Send to Tray"
  ui::Timer WCTimer;

 private:
  const std::string& appDir_;

 public:
  ui::PictureDialog& dlgLSC;
};

}  // namespace zel::wallpaper
