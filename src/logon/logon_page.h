// The Logon Screen Changer page: previews the logon background picture, installs it as the
// Windows logon background (a switch under HKEY_LOCAL_MACHINE and a JPEG file of limited size
// below the Windows folder), switches back to the default picture and locks the workstation.
#pragma once
#include <cstdint>
#include <string>

#include "logon/logon_picture.h"
#include "ui/controls.h"
#include "ui/image_view.h"
#include "ui/picture_dialog.h"

namespace zel::logon {

class LogonPage {
 public:
  LogonPage(const std::string& appDir, ui::PictureDialog& pictureDialog) : appDir_(appDir), dlgLSC(pictureDialog) {}
  void Build(ui::Panel& sheet);

  // Loads the installed logon background into the preview (at start-up); without one, or
  // when it cannot be read, the preview stays empty.
  void LoadLS();
  // "Choose Picture": the picture dialog, single selection.
  void lscCPicClick();
  // Loads a picture file into the preview (chosen, dropped on the window, named on the command
  // line, or sent from the wallpaper page). A file that cannot be read raises an error naming
  // it, and the preview keeps its picture.
  void LoadPicture(const std::string& path);
  // "Apply": installs the picture in the preview as the logon background.
  void lscApplyClick();
  // "Use default Logon Screen": the logon screen shows its own picture again; the installed
  // file stays for a later Apply.
  void BitBtn1Click();
  // "Test": locks the workstation so that the logon screen shows.
  void lscTestClick();

  // The installed file and its folder (below the Windows folder).
  static std::string BackgroundFolder();
  static std::string BackgroundFile();

  // The JPEG quality the next Apply starts from: 80 until an Apply lowers it.
  int JpegQuality() const { return jpegQuality_; }
  // The largest file the logon screen accepts.
  uint64_t maxFileBytes = kMaxBackgroundBytes;

  ui::Panel band;
  ui::Label Label20;
  ui::Label lblSize;     // the preview picture's size, in the header band
  ui::ImageView picLSC;
  ui::Panel Panel1;
  ui::Button lscCPic, lscApply, BitBtn1, lscTest;

 private:
  HWND Owner() const;
  void ShowPicture(img::Image picture);

  const std::string& appDir_;
  int jpegQuality_ = 80;

 public:
  ui::PictureDialog& dlgLSC;
};

}  // namespace zel::logon
