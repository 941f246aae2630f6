// TfrmZelvane: the main window. It holds the side panel, the tool set and the five tool
// pages, runs the start-up, show, activate, resize and close sequences, the tray, and routes
// dropped files to the page that is showing.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "capture/capture_page.h"
#include "dashboard/side_panel.h"
#include "extras/extras_page.h"
#include "icons/icons_page.h"
#include "logon/logon_page.h"
#include "ui/form.h"
#include "ui/picture_dialog.h"
#include "wallpaper/wallpaper_page.h"

namespace zel::app {

struct FrameOptions {
  // The folder the data files are read from; empty: the executable's folder.
  std::string appDir;
  // Files named on the command line; nullptr: the process's own arguments.
  const std::vector<std::string>* arguments = nullptr;
  // The first main window ends the program when it closes; further ones only hide.
  bool isMain = true;
  // Closing the window ends the message loop (off for windows made by tests).
  bool endsProgram = true;
  HWND owner = nullptr;
};

// The tags of the tool-set buttons: each names one page of the tool area.
enum ToolTag { kLogonTag = 0, kCaptureTag = 1, kWallpaperTag = 2, kExtrasTag = 3, kIconsTag = 4 };

class TfrmZelvane : public ui::Form {
 public:
  explicit TfrmZelvane(const FrameOptions& options = {});
  ~TfrmZelvane() override;

  // Handlers of the main window.
  void FormCreate();
  void FormShow();
  void FormActivate();
  void FormClose(ui::CloseAction& action);
  void FormResize();
  void ToolSet_Select(ui::Button& sender);
  void BitBtn14Click();
  void TrayIcon1DblClick();
  void IconDblClick();
  void SkinActivate();
  void RouteDroppedFile(const std::string& path);
  // The sheet a tool-set tag selects; nullptr for a tag outside 0 to 4.
  ui::Panel* SheetForTag(int tag) const;

  // Settings file.
  void ReadSettings();
  void SaveSettings();

  std::string AppDir;
  ui::PictureDialog dlgLSC;   // shared by the wallpaper categories, the logon page and the OEM logo
  bool TrayIconVisible() const { return trayIconShown_; }
  const std::vector<std::unique_ptr<TfrmZelvane>>& FurtherWindows() const { return further_; }

  dashboard::SidePanel side;
  ui::PageControl PageControl3;   // the tool set
  ui::Button spdICus, spdLSC, spdSC, spdWC, SpeedButton2;
  ui::PageControl PageControl1;   // the tool area
  ui::Panel *shtLSC = nullptr, *shtSC = nullptr, *shtWC = nullptr, *shtExtras = nullptr, *shtICus = nullptr;

  logon::LogonPage logon{AppDir, dlgLSC};
  capture::CapturePage capture;
  wallpaper::WallpaperPage wallpaper{AppDir, dlgLSC};
  extras::ExtrasPage extras{AppDir};
  icons::IconsPage icons;
  ui::Timer Timer1;

 private:
  void BuildControls();
  void BindHandlers();
  bool HandleShellMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void ShowTrayIcon(bool show);

  FrameOptions options_;
  std::vector<std::string> arguments_;
  std::vector<std::unique_ptr<TfrmZelvane>> further_;
  bool trayIconShown_ = false;
  std::string startupProbe_;   // benchmark: file to write the time of the first full paint to
};

// Writes the milliseconds since process creation to `path` (the start-up benchmark's probe).
void WriteStartupProbe(const std::string& path);

// The three home-page addresses the home button draws from at start-up (the first one twice).
extern const char* const HomeAddresses[3];

}  // namespace zel::app
