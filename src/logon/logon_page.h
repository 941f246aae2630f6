// The Logon Screen Changer page: the logon background picture, its preview and installation.
#pragma once
#include <string>

#include "ui/controls.h"

namespace zel::logon {

class LogonPage {
 public:
  explicit LogonPage(const std::string& appDir) : appDir_(appDir) {}
  void Build(ui::Panel& sheet);

  // Loads the installed logon background into the preview (at start-up).
  void LoadLS();
  // Loads a picture file into the preview (a file dropped on the window or named on the
  // command line while this page shows).
  void LoadPicture(const std::string& path);

  ui::Panel band;
  ui::Label Label20;
  ui::Panel picArea;   // where the picture view sits
  ui::Panel Panel1;
  ui::Button lscCPic, lscApply, BitBtn1, lscTest;

 private:
  const std::string& appDir_;
};

}  // namespace zel::logon
