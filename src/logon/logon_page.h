// The Logon Screen Changer page: the logon background picture, its preview and installation.
#pragma once
#include <string>

#include "ui/controls.h"
#include "ui/picture_dialog.h"

namespace zel::logon {

class LogonPage {
 public:
  LogonPage(const std::string& appDir, ui::PictureDialog& pictureDialog) : appDir_(appDir), dlgLSC(pictureDialog) {}
  void Build(ui::Panel& sheet);

  // Loads the installed logon background into the preview (at start-up).
  void LoadLS();
  // Loads a picture file into the preview (a file dropped on the window or named on the
  // command line while this page shows).
  void LoadPicture(const std::string& path);
  // "Apply": installs the picture in the preview as the logon background.
  void lscApplyClick();

  ui::Panel band;
  ui::Label Label20;
  ui::Panel picArea;   // where the picture view sits
  ui::Panel Panel1;
  ui::Button lscCPic, lscApply, BitBtn1, lscTest;

 private:
  const std::string& appDir_;

 public:
  ui::PictureDialog& dlgLSC;
};

}  // namespace zel::logon
